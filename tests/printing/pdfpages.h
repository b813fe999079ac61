#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace quorix::testing {

// What poppler reads back from a printed PDF file: its text, its words with their boxes in
// points, and its first page as a picture of one pixel per point.
inline std::string RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}

inline std::string PdfLayoutText(const std::string& pdf) {
    return RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
}

struct PdfWord {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string text;
};

inline std::vector<PdfWord> PdfWords(const std::string& pdf) {
    const std::string xml = RunTool("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    static const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), word); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return words;
}

inline QImage PdfFirstPage(const std::string& pdf, const std::filesystem::path& prefix) {
    RunTool("pdftoppm", {"-r", "72", "-png", "-f", "1", "-l", "1", "-singlefile", QString::fromStdString(pdf),
                         QString::fromStdString(prefix.string())});
    return QImage(QString::fromStdString(prefix.string() + ".png"));
}

} // namespace quorix::testing
