#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorix::cli {
namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs the real program in `folder` with a shell command line of arguments.
Outcome Program(const testing::TempFolder& folder, const std::string& arguments) {
    const auto out = folder.Path() / ".stdout", err = folder.Path() / ".stderr";
    const std::string command = "cd '" + folder.Path().string() + "' && '" QUORIX_SEARCH "' " + arguments +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int wait = std::system(command.c_str());
    Outcome run{WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, Contents(out), Contents(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

// The folder's files other than the captured output.
int FileCount(const testing::TempFolder& folder) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder.Path()), {}));
}

TEST(ProgramTest, BadInputGetsOneLineAndItsStatusAndWritesNothing) {
    testing::TempFolder folder;
    folder.Write("good.txt", "52345.12\r\n52346.43\r\n52350.77\r\n");
    folder.Write("letters.txt", "JD 52345.12\r\n");
    folder.Write("zero.txt", "52345.12\r\n0\r\n");
    std::filesystem::create_directory(folder.Path() / "sub");
    const struct {
        const char* arguments;
        int status;
        const char* says;
    } cases[] = {
        {"good.txt --bogus", 2, "--bogus"},
        {"good.txt --min", 2, "--min"},
        {"good.txt --steps many", 2, "many"},
        {"", 2, "FILE"},
        {"good.txt --min 0.01", 2, "Minimum period must be between 0.05 and 100 days."},
        {"good.txt --steps 100000001", 2, "Number of steps must be between 1000 and 100000000, inclusive."},
        {"good.txt --plot ft.gif", 2, ".png, .svg or .pdf"},
        {"missing.txt", 3, "missing.txt: Error: File not found."},
        {"sub", 3, "sub: Error: Path/file access error."},
        {"letters.txt", 3, "letters.txt: Faulty data or not a text file.  Please try again."},
        {"zero.txt", 3, "zero.txt: Faulty data, or not a text file.  Please try again."},
        {"good.txt --ft-csv no/such/folder.csv", 3, "cannot write no/such/folder.csv"},
        {"good.txt --ft-csv sub", 3, "cannot write sub"},
        // The CSV file, claimed first, must not appear when the plot cannot be written.
        {"good.txt --ft-csv ft.csv --plot no/ft.png", 3, "cannot write no/ft.png"},
    };
    const int before = FileCount(folder);
    for (const auto& c : cases) {
        const Outcome run = Program(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(FileCount(folder), before) << c.arguments << " left a file behind";
    }
}

TEST(ProgramTest, SearchesWritesTheWholeCurveAndAPictureAndSaysTheSameInJson) {
    testing::TempFolder folder;
    const std::string sample = QUORIX_EXAMPLES "/algol_type_reduced.csv";
    const Outcome text = Program(folder, "'" + sample + "' --min 0.5 --max 1 --steps 20000 --top 3");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(text.err.empty()) << "a grid fine enough for the data gets no warning: " << text.err;
    EXPECT_NE(text.out.find("Best period:          0.8372"), std::string::npos) << text.out;

    const Outcome json = Program(folder, "'" + sample +
                                             "' --min 0.5 --max 1 --steps 20000 --top 3 --format json "
                                             "--ft-csv ft.csv --plot ft.png");
    ASSERT_EQ(json.status, 0) << json.err;
    const auto report = nlohmann::json::parse(json.out);
    EXPECT_EQ(report["observations"], 45);
    EXPECT_EQ(report["dips"].size(), 3u);
    EXPECT_EQ(report["dips"][0]["index"], report["best"]["index"]);
    const double period = report["best"]["period"];
    EXPECT_NEAR(period, 0.8372914, 2e-5);
    EXPECT_NE(text.out.find(std::to_string(report["best"]["index"].get<int>())), std::string::npos);

    // The CSV holds every grid point once, and its lowest FT is the best point's.
    std::istringstream csv(Contents(folder.Path() / "ft.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "index,omega,period,ft\r");
    int rows = 0;
    double lowest = 2;
    int lowestIndex = -1;
    while (std::getline(csv, line)) {
        const double ft = std::stod(line.substr(line.rfind(',') + 1));
        if (ft < lowest) {
            lowest = ft;
            lowestIndex = rows;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 20001);
    EXPECT_EQ(lowestIndex, report["best"]["index"]);
    EXPECT_EQ(lowest, report["best"]["ft"].get<double>());
    EXPECT_EQ(Contents(folder.Path() / "ft.png").substr(1, 3), "PNG");

    // The O-C diagram and the alias list ride along, and the picture holds both plots.
    const Outcome oc = Program(folder, "'" + sample +
                                           "' --min 0.5 --max 1 --steps 20000 --top 1 --format json "
                                           "--oc 0.8372914 --aliases 0.8372914 --plot both.pdf");
    ASSERT_EQ(oc.status, 0) << oc.err;
    const auto withOC = nlohmann::json::parse(oc.out);
    EXPECT_EQ(withOC["oc"]["points"].size(), 45u);
    EXPECT_NEAR(withOC["oc"]["refinedPeriod"].get<double>(), 0.8372914, 1e-5);
    EXPECT_EQ(withOC["aliasLines"][0], " For Trial Period = 0.837291");
    EXPECT_EQ(Contents(folder.Path() / "both.pdf").substr(0, 5), "%PDF-");

    // A grid too coarse for the 806-day span: the warning, and still a result.
    const Outcome coarse = Program(folder, "'" + sample + "' --steps 1000 --top 0 --plot ft.svg");
    EXPECT_EQ(coarse.status, 0);
    EXPECT_NE(coarse.err.find("coarser than a fifth of 1/T"), std::string::npos) << coarse.err;
    EXPECT_EQ(coarse.out.find("Deepest"), std::string::npos);
    EXPECT_NE(Contents(folder.Path() / "ft.svg").find("<svg"), std::string::npos);
}

} // namespace
} // namespace quorix::cli
