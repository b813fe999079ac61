#include "printing/printhandlers.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/printersetupdialog.h"
#include "support/searchedstate.h"
#include "support/tempfolder.h"
#include "ui/application.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>

namespace quorix {
namespace {

using Messages = std::vector<std::string>;

// What poppler reads back from a printed PDF file: its text laid out, or its words with their
// boxes in points (-bbox), or its first page as a picture of one pixel per point (pdftoppm).
std::string Poppler(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}
std::string PdfText(const std::string& pdf) {
    return Poppler("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
}
// The box, in points, of the first word of the page that reads `text`; an empty box if none does.
QRectF PdfWord(const std::string& pdf, const std::string& text) {
    const std::string xml = Poppler("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), word); it != std::sregex_iterator(); ++it) {
        if ((*it)[5] == text) {
            return QRectF(QPointF(std::stod((*it)[1]), std::stod((*it)[2])),
                          QPointF(std::stod((*it)[3]), std::stod((*it)[4])));
        }
    }
    return {};
}

QAction* MenuItem(Form& form, const QString& caption) {
    const auto actions = form.menuBar()->findChildren<QAction*>();
    return *std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == caption; });
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitialiseSharedState(state);
        for (const char* line :
             {" For Trial Period = 0.500000", " Range 0.2 - 1.2 days", "", "   1   0.333333"}) {
            state.AliasLines[++state.AliasLineCount] = line;
        }
    }

    // Starts on a fresh application printer on the file printer, writing `name` in the test's folder
    // (no file for an empty name), whose every job fails as it starts with `fault` unless it is 0.
    std::string PrintToFile(const std::string& name, int fault = 0) {
        messages.Clear();
        ApplicationPrinter() = Printer();
        fault_.reset();
        if (fault != 0) {
            fault_.emplace(fault);
        }
        const std::string path = name.empty() ? std::string() : (folder.Path() / name).string();
        SetFilePrinterOutput(path);
        const auto printers = InstalledPrinters();
        ApplicationPrinter().Select(
            *std::find_if(printers.begin(), printers.end(),
                          [](const PrinterDevice& d) { return d.deviceName == kFilePrinterName; }));
        return path;
    }

    testing::TempFolder folder;
    SharedState state;
    MessageRecorder messages;
    std::optional<ScopedPrinterFault> fault_;
};

TEST_F(PrintingTest, TheFTPageHoldsTheFrameTheTickLabelsAndTheBlueCurve) {
    Application app;
    SharedState& s = app.State();
    testing::FillSearched(s);
    s.FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT window(app);
    window.Load();
    RedrawFTPlot(s, window);
    const std::string pdf = PrintToFile("ft.pdf");
    MenuItem(window, "Print")->trigger();
    EXPECT_EQ(messages.Messages(), Messages{});
    ASSERT_EQ(ApplicationPrinter().DocumentsSent(), 1);

    Poppler("pdftoppm",
            {"-r", "72", "-png", "-singlefile", QString::fromStdString(pdf), QString::fromStdString(pdf)});
    const QImage page(QString::fromStdString(pdf + ".png"));
    ASSERT_FALSE(page.isNull());
    // The window's grey background shows where its client area landed on the page.
    QRect image;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            image |= page.pixelColor(x, y) == QColor(224, 224, 224) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    ASSERT_GT(image.width(), page.width() * 0.8) << "the wide window fills the page's width";
    const double scale = image.width() / (window.DrawingSurface().width() * TwipsPerPixel());
    const auto at = [&](double x, double y) {
        return QPointF(image.left() + x * scale, image.top() + y * scale);
    };
    // Whether a pixel next to the point is black, as a hairline lands on one of two rows or columns.
    const auto black = [&](QPointF p) {
        for (int d = 0; d < 9; ++d) {
            const QColor c = page.pixelColor(std::lround(p.x()) + d % 3 - 1, std::lround(p.y()) + d / 3 - 1);
            if (c.red() < 90 && c.green() < 90 && c.blue() < 90) {
                return true;
            }
        }
        return false;
    };
    const double midX = (s.PlotLeft + s.PlotRight) / 2.0, midY = (s.PlotTop + s.PlotBottom) / 2.0;
    for (const QPointF side :
         {at(s.PlotLeft, midY), at(s.PlotRight, midY), at(midX, s.PlotTop), at(midX, s.PlotBottom)}) {
        EXPECT_TRUE(black(side)) << "the frame at " << side.x() << ", " << side.y();
    }
    EXPECT_FALSE(black(at(midX, s.PlotTop + 60))) << "nothing black inside the frame's top";
    int blue = 0;
    for (double py = at(0, s.PlotTop).y() + 2; py < at(0, s.PlotBottom).y() - 1; ++py) {
        for (double px = at(s.PlotLeft, 0).x() + 2; px < at(s.PlotRight, 0).x() - 1; ++px) {
            const QColor c = page.pixelColor(static_cast<int>(px), static_cast<int>(py));
            blue += c.blue() > 200 && c.red() < 100 && c.green() < 100;
        }
    }
    EXPECT_GT(blue, image.width()) << "the curve crosses the whole frame in blue";

    // The tick labels are text on the page, under their ticks.
    for (const auto control : {FTControl::kLabel1, FTControl::kLabel2}) {
        const Control& label = window.ControlOf(control);
        const QRectF word = PdfWord(pdf, window.CaptionOf(control));
        ASSERT_FALSE(word.isEmpty()) << window.CaptionOf(control);
        EXPECT_NEAR(word.left(), at(label.Left(), 0).x(), 6.0) << window.CaptionOf(control);
        EXPECT_GT(word.top(), at(0, label.Top()).y() - 2.0);
        EXPECT_LT(word.bottom(), at(0, label.Top() + label.Height()).y() + 2.0);
    }
    EXPECT_NE(PdfText(pdf).find("Tick interval (days):   0.2"), std::string::npos);
}

TEST_F(PrintingTest, EachPrintCommandSendsItsDocumentsOrTellsWhyNot) {
    Form form;
    form.SetWidth(6000);
    form.SetHeight(4000);
    Label inside(&form.DrawingSurface()), beyond(&form.DrawingSurface());
    inside.Place(300, 2500, 2000, 255);
    inside.SetCaption("Inside label");
    beyond.Place(300, 4500, 2000, 255); // below the client area
    beyond.SetCaption("Past the edge");
    form.Show();
    form.DrawingSurface().EditDrawing().Print("Quorix test page", form.DrawingSurface().TextLineHeight());
    const auto drawn = form.DrawingSurface().Drawing().Ops().size();
    // The plot and list prints tell every failure; the list print dialog fails silently, and
    // prints one document per copy once the user confirms.
    enum Command { kPlot, kList, kListDialog };
    const struct {
        Command command;
        int fault;
        const char* file;
        std::string message;
        int documents;
        int copies = 1;
        bool confirm = true;
    } cases[] = {
        {kPlot, 27, "a.pdf", " 27 Error: Out of paper.", 0},
        {kPlot, 482, "a.pdf", " 482 ", 0},
        {kPlot, 0, "", " 68 Error: Device unavailable.", 0},
        {kPlot, 0, "missing/a.pdf", " 76 Error: Path not found.", 0},
        {kPlot, 0, ".", " 75 Error: Path/file access error.", 0},
        {kPlot, 0, "page.pdf", "", 1},
        {kList, 0, "", " 68 Error: Device unavailable.", 0},
        {kList, 27, "list.pdf", " 27 Error: Out of paper.", 0},
        {kList, 0, "missing/list.pdf", " 76 Error: Path not found.", 0},
        {kListDialog, 0, "copies.pdf", "", 3, 3},
        {kListDialog, 0, "cancelled.pdf", "", 0, 3, false},
        {kListDialog, 0, "", "", 0, 2},
        {kListDialog, 27, "paper.pdf", "", 0, 2},
    };
    for (const auto& c : cases) {
        const std::string pdf = PrintToFile(c.file, c.fault);
        DialogResponder<QPrinter> user([&](QPrinter& printer) {
            printer.setCopyCount(c.copies);
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return c.confirm;
        });
        c.command == kPlot   ? PlotPrint(form, state)
        : c.command == kList ? ListPrint(state)
                             : ListPrintSetup(form, state);
        const std::string what = std::to_string(c.command) + " " + c.file + " " + std::to_string(c.fault);
        EXPECT_EQ(user.Shown(), c.command == kListDialog ? 1 : 0) << what;
        EXPECT_EQ(messages.Messages(), c.message.empty() ? Messages{} : Messages{c.message}) << what;
        EXPECT_EQ(ApplicationPrinter().DocumentsSent(), c.documents) << what;
        EXPECT_EQ(std::filesystem::is_regular_file(pdf), c.documents > 0) << "a failed start writes nothing";
        EXPECT_EQ(form.DrawingSurface().Drawing().Ops().size(), drawn) << "the drawing stays: " << what;
        const std::string text = c.documents > 0 ? PdfText(pdf) : std::string();
        if (c.command == kListDialog) {
            EXPECT_EQ(ApplicationPrinter().Settings.Orientation, c.confirm ? QPageLayout::Landscape : 0)
                << what;
            EXPECT_EQ(text.find("For Trial"), text.rfind("For Trial")) << "one copy in each document";
        } else if (c.documents > 0) {
            EXPECT_NE(text.find("Quorix test page"), std::string::npos) << "drawn text stays text";
            EXPECT_NE(text.find("Inside label"), std::string::npos);
            EXPECT_EQ(text.find("Past the edge"), std::string::npos) << "what is not seen is not printed";
        }
    }
}

TEST_F(PrintingTest, TheListStandsFiveLinesDownAndTwentySpacesInAsOneDocument) {
    const std::string pdf = PrintToFile("aliases.pdf");
    ListPrint(state);
    EXPECT_EQ(messages.Messages(), Messages{});
    EXPECT_EQ(ApplicationPrinter().DocumentsSent(), 1);
    EXPECT_TRUE(
        std::regex_search(PdfText(pdf), std::regex("Range 0.2 - 1.2 days\\s*\\n\\s*\\n\\s*1   0.333333")));

    // Measured on the page from the printable area's corner, in the font's own advance and spacing.
    QPrinter probe(QPrinter::HighResolution);
    ApplicationPrinter().Configure(probe);
    const QPointF corner = probe.pageLayout().paintRectPoints().topLeft();
    const QRectF first = PdfWord(pdf, "For"), second = PdfWord(pdf, "Trial"), below = PdfWord(pdf, "Range");
    ASSERT_FALSE(first.isEmpty() || second.isEmpty() || below.isEmpty());
    const double advance = (second.left() - first.left()) / 4; // "For "
    const double spacing = below.top() - first.top();
    EXPECT_NEAR((first.left() - corner.x()) / advance, 20.0, 0.05) << "19 spaces and the line's own";
    EXPECT_NEAR((below.left() - corner.x()) / advance, 20.0, 0.05);
    EXPECT_NEAR((first.top() - corner.y()) / spacing, 5.0, 0.3) << "five empty lines above";
}

TEST_F(PrintingTest, ThePlotSetupCopiesTheChoicesOrLeavesEverythingOnCancel) {
    Application app;
    frmPlot_FT window(app);
    window.Load();
    const std::string before = (folder.Path() / "before.pdf").string();
    const std::string after = (folder.Path() / "after.pdf").string();
    const PrinterSettings kept{2,
                               QPageLayout::Landscape,
                               QPrinter::GrayScale,
                               QPrinter::DuplexLongSide,
                               QPrinter::Manual,
                               QPageSize::Letter,
                               300};
    const PrinterSettings chosen{
        3,  QPageLayout::Portrait, QPrinter::Color, QPrinter::DuplexShortSide, QPrinter::Lower, QPageSize::A5,
        600};
    const struct {
        const char* what;
        bool confirm;
        std::int16_t bin;
        PrinterSettings expected;
        std::string port;
    } cases[] = {
        {"cancelled", false, QPrinter::Manual, kept, before},
        {"confirmed", true, QPrinter::Manual, chosen, after},
        {"a bin the dialog does not name comes back as it was", true, 13, {.PaperBin = 13}, before},
    };
    for (const auto& c : cases) {
        PrintToFile("before.pdf");
        Printer& printer = ApplicationPrinter();
        printer.Settings = kept;
        printer.Settings.PaperBin = c.bin;
        DialogResponder<PrinterSetupWindow> user([&](PrinterSetupWindow& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &window);
            EXPECT_EQ(dialog.printerBox->currentText().toStdString(), kFilePrinterName);
            EXPECT_EQ(dialog.fileEdit->text().toStdString(), before);
            EXPECT_EQ(PrinterSetupWindow::CodeOf(*dialog.paperBinBox), c.bin);
            if (c.port == after) {
                dialog.fileEdit->setText(QString::fromStdString(after));
                dialog.copiesBox->setValue(chosen.Copies);
                for (const auto& [box, code] : {std::pair{dialog.orientationBox, chosen.Orientation},
                                                {dialog.colourBox, chosen.ColorMode},
                                                {dialog.duplexBox, chosen.Duplex},
                                                {dialog.paperBinBox, chosen.PaperBin},
                                                {dialog.paperSizeBox, chosen.PaperSize},
                                                {dialog.qualityBox, chosen.PrintQuality}}) {
                    PrinterSetupWindow::SelectCode(*box, code);
                }
            }
            return c.confirm;
        });
        MenuItem(window, "Print Setup ...")->trigger();
        EXPECT_EQ(user.Shown(), 1) << c.what;
        EXPECT_EQ(printer.Settings, c.confirm ? c.expected : kept) << c.what;
        EXPECT_EQ(printer.DeviceName(), kFilePrinterName) << c.what;
        EXPECT_EQ(printer.Port(), c.port) << c.what;
        EXPECT_FALSE(printer.TrackDefault()) << "switched off before the dialog: " << c.what;
    }
}

} // namespace
} // namespace quorix
