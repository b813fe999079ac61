#include "cli/runprogram.h"
#include "support/filecontents.h"
#include "support/ftgrid.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace quorix::cli {
namespace {

using testing::Contents;

TEST(ProgramTest, FaultsGetOneLineAndTheirStatusAndWriteNothing) {
    testing::TempFolder folder;
    folder.Write("good.txt", "52345.12\r\n52346.43\r\n52350.77\r\n");
    folder.Write("letters.txt", "JD and nothing else\r\n");
    folder.Write("huge.txt", "1e307\r\n2e307\r\n");
    folder.Write("keep.csv", "old");
    // More times than the desktop holds, fewer than the command line's limit.
    folder.Write("many.txt", testing::CrLfBytes(std::vector<std::string>(600, "52000.25")));
    std::filesystem::create_directory(folder.Path() / "sub");
    const char* const steps = "Number of steps must be between 1000 and 100000000, inclusive.";
    const struct {
        const char* arguments;
        int status;
        const char* says; // on stderr, or on stdout for status 0
    } cases[] = {
        // Answers and the entries' accepted edges, on stdout.
        {"--help", 0, "reduced curve"},
        {"--version", 0, "quorix-search 1.5.0\n"},
        {"", 2, "FILE is required"},
        {"good.txt --bogus", 2, "--bogus"},
        {"good.txt --min", 2, "--min"},
        {"good.txt --steps 1e5x", 2, "1e5x"},
        {"good.txt --top -1", 2, "--top"},
        {"good.txt --oc 0", 2, "--oc"},
        {"good.txt --format xml", 2, "xml"},
        {"good.txt other.txt", 2, "other.txt"},
        {"good.txt --plot ft.gif", 2, ".png, .svg or .pdf"},
        {"good.txt --min 0.049 --max 100.1 --steps 1", 2,
         "Minimum period must be between 0.05 and 100 days."}, // the first failing entry speaks
        {"good.txt --max 100.1", 2, "Maximum period must be between 0.05 and 100 days."},
        {"good.txt --min 0.7 --max 0.7", 2, "Minimum period must be less than the maximum period."},
        {"good.txt --steps 999", 2, steps},
        {"good.txt --steps 100000001", 2, steps},
        {"good.txt --steps 1e12", 2, steps},
        {"good.txt --min 0.05 --max 100 --steps 1000", 0, "0.05 to 100 days, 1000 steps"},
        {"good.txt --steps 100000000 --top 1", 0, "0.2 to 1 days, 100000000 steps"},
        {"good.txt --steps 1000.5", 0, "1000 steps"}, // halves go to the even neighbour
        {"good.txt --steps 1001.5", 0, "1002 steps"},
        {"missing.txt", 3, "missing.txt: Error: File not found."},
        {"sub", 3, "sub: Error: Path/file access error."},
        {"letters.txt", 3, "letters.txt: Faulty data or not a text file.  Please try again."},
        {"huge.txt --ft-csv ft.csv", 3, "huge.txt: The times of minima are too large to search."},
        {"good.txt --ft-csv no/such/folder.csv", 3, "cannot write no/such/folder.csv"},
        {"good.txt --ft-csv sub", 3, "cannot write sub"},
        // The CSV file, claimed first, must neither appear nor replace the old one.
        {"good.txt --ft-csv keep.csv --plot no/ft.png", 3, "cannot write no/ft.png"},
        {"good.txt --ft-csv ft.csv --oc 1e-12", 3, "no O-C diagram for 1e-12 days"},
        // Read in full, as the desktop would not: too many for the O-C window that draws the picture.
        {"many.txt --oc 0.8 --plot ft.png", 3, "the picture's O-C diagram takes at most 500 times"},
    };
    const auto before = std::distance(std::filesystem::directory_iterator(folder.Path()), {});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = Program(folder, c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.says), std::string::npos) << run.out << run.err;
        if (c.status != 0) {
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), before)
            << "left a file";
    }
    EXPECT_EQ(Contents(folder.Path() / "keep.csv"), "old");
    // Without a picture the O-C diagram takes every time read.
    const Outcome many = Program(folder, "many.txt --oc 0.8 --format json");
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(nlohmann::json::parse(many.out)["oc"]["points"].size(), 600u);
}

TEST(ProgramTest, SearchesWritesTheWholeCurveAndPicturesAndSaysTheSameInJson) {
    testing::TempFolder folder;
    const std::string sample = "'" QUORIX_EXAMPLES "/algol_type_reduced.csv' ";
    const std::string range = sample + "--min 0.5 --max 1 --steps 70000 "; // two blocks of the walk
    folder.Write("ft.csv", "an older curve");
    // The O-C diagram and the alias list ride along, and the picture holds both plots.
    const Outcome json = Program(folder, range + "--top 3 --format json --ft-csv ft.csv --oc 0.8372914 "
                                                 "--aliases 0.8372914 --plot both.pdf");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(json.err.empty()) << "a grid fine enough for the data gets no warning: " << json.err;
    const auto report = nlohmann::json::parse(json.out);
    const auto& best = report["best"];
    EXPECT_EQ(report["dips"].size(), 3u);
    EXPECT_NEAR(best["period"].get<double>(), 0.8372914, 2e-5);
    EXPECT_EQ(report["oc"]["points"].size(), 45u);
    EXPECT_NEAR(report["oc"]["refinedPeriod"].get<double>(), 0.8372914, 1e-5);
    // Plain times carry no errors: the unweighted linear and quadratic fits, the refined period the line's.
    ASSERT_EQ(report["ephemeris"]["fits"].size(), 2u);
    EXPECT_EQ(report["ephemeris"]["fits"][0]["period"], report["oc"]["refinedPeriod"]);
    EXPECT_EQ(report["ephemeris"]["comparison"]["weighted"], false);
    // Every dip has its candidate columns; the pick only when asked for.
    EXPECT_EQ(report["dips"][0]["family"], "P");
    EXPECT_LT(report["dips"][0]["fap"].get<double>(), 1e-6);
    EXPECT_TRUE(report["dips"][2]["typeAgreement"].is_null());
    EXPECT_FALSE(report.contains("pick"));
    const Outcome picked = Program(folder, range + "--top 2 --pick --oc 0.8372914");
    EXPECT_NE(picked.out.find("Pick:                 none. Without minimum types"), std::string::npos)
        << picked.out;
    EXPECT_NE(picked.out.find("Ephemeris for the trial period 0.8372914 d"), std::string::npos);
    EXPECT_EQ(report["aliasLines"][0], " For Trial Period = 0.837291");
    EXPECT_EQ(Contents(folder.Path() / "both.pdf").substr(0, 5), "%PDF-");
    EXPECT_NEAR(best["resolution"].get<double>(),
                best["period"].get<double>() * best["period"].get<double>() *
                    report["grid"]["omegaStep"].get<double>() / testing::kTwoPi,
                1e-9);

    // The CSV replaced the old one: a header, then every grid point in order in CR LF records; the
    // best point's row reads back exactly.
    const std::string csv = Contents(folder.Path() / "ft.csv");
    EXPECT_EQ(csv.substr(0, 23), "index,omega,period,ft\r\n");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 70002);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\r'), 70002);
    const auto row = csv.find(std::string("\n").append(best["index"].dump()).append(","));
    ASSERT_NE(row, std::string::npos);
    double index = -1, omega = 0, period = 0, ft = 2;
    char comma = 0;
    std::istringstream(csv.substr(row + 1, 100)) >> index >> comma >> omega >> comma >> period >> comma >> ft;
    EXPECT_EQ(
        std::tuple(omega, period, ft),
        std::tuple(best["omega"].get<double>(), best["period"].get<double>(), best["ft"].get<double>()));

    // The desktop's default entries: too coarse a grid for the 806-day span warns, and still answers.
    const Outcome coarse = Program(folder, sample + "--top 0 --plot ft.png");
    EXPECT_EQ(coarse.status, 0);
    EXPECT_NE(coarse.out.find("0.2 to 1 days, 10000 steps"), std::string::npos) << coarse.out;
    EXPECT_NE(coarse.err.find("coarser than a fifth of 1/T"), std::string::npos) << coarse.err;
    EXPECT_EQ(coarse.out.find("Deepest"), std::string::npos);
    EXPECT_EQ(Contents(folder.Path() / "ft.png").substr(1, 3), "PNG");
    EXPECT_EQ(Program(folder, sample + "--plot ft.svg").status, 0);
    EXPECT_NE(Contents(folder.Path() / "ft.svg").find("<svg"), std::string::npos);
}

} // namespace
} // namespace quorix::cli
