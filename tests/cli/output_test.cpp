#include "cli/clisearch.h"
#include "cli/pendingfile.h"
#include "cli/plotcurve.h"
#include "input/minimareader.h"
#include "state/errormessages.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorix::cli {
namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ReaderCapacityTest, TheCommandLinesCapacityWithTheDesktopsMessages) {
    std::string thousand;
    for (int i = 0; i < 1000; ++i) {
        thousand += std::to_string(52000 + i) + ".25\r\n";
    }
    EXPECT_EQ(ParseMinimaText(thousand, 100'000).data.count, 1000);
    EXPECT_EQ(ParseMinimaText(thousand, 100'000).data.times[1000], 52999.25);
    std::vector<std::string> messages(kMaxErrorNumber + 1);
    FillErrorMessages(messages);
    const auto over = ParseMinimaText(thousand); // the desktop's 500
    EXPECT_EQ(MinimaFailureText(over, messages), "Subscript out of range.");
    EXPECT_EQ(MinimaFailureText(ParseMinimaText(thousand, 999), messages), "Subscript out of range.");
    EXPECT_EQ(MinimaFailureText(ParseMinimaText("52000.5\r\nE\r\n", 10), messages),
              "Faulty data, or not a text file.  Please try again.");
    EXPECT_EQ(MinimaFailureText(ParseMinimaText("x52000.5\r\n", 10), messages),
              "Faulty data or not a text file.  Please try again.");
    EXPECT_EQ(MinimaFailureText(ReadMinimaFile("/nonexistent-folder/none.txt", 10), messages),
              "Error: Path not found.");
    EXPECT_EQ(MinimaFailureText(ParseMinimaText(thousand, 1000), messages), "");
}

TEST(CsvRowsTest, EveryPointReadsBackExactly) {
    const std::vector<double> times{52000.1, 52010.7};
    const FTGrid grid = SearchGrid(times, 52000.1, SearchEntries{3.1415926535 * 2, 0.2, 1.0, 1000});
    const std::vector<double> values{0.25, 1.0 / 3};
    const std::string rows = CsvHeader() + CsvRows(grid, 3.1415926535 * 2, 998, values);
    std::istringstream lines(rows);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "index,omega,period,ft\r");
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_EQ(line.back(), '\r') << "records end in CR LF";
        double fields[4];
        const char* at = line.data();
        for (double& field : fields) {
            at = std::from_chars(at, line.data() + line.size(), field).ptr + 1;
        }
        EXPECT_EQ(fields[0], 998 + k);
        EXPECT_EQ(fields[1], grid.omegaLow + grid.omegaStep * (998 + k));
        EXPECT_EQ(fields[2], 3.1415926535 * 2 / fields[1]);
        EXPECT_EQ(fields[3], values[k]);
    }
    EXPECT_FALSE(std::getline(lines, line));
}

TEST(PlotCurveTest, KeepsSmallGridsWholeAndEachColumnsExtremesOfLongOnes) {
    PlotCurve whole(5, 10, 2);
    whole.Add(0, std::vector<double>{0.5, 0.4});
    whole.Add(2, std::vector<double>{0.3, 0.9, 0.1});
    EXPECT_FALSE(whole.Reduced());
    EXPECT_EQ(whole.Values(), (std::vector<double>{0.5, 0.4, 0.3, 0.9, 0.1}));
    // Twelve points in three columns of four: each column gives its extremes in grid order, and a
    // column whose extremes are one point gives it once.
    PlotCurve reduced(12, 10, 3);
    reduced.Add(0, std::vector<double>{0.5, 0.9, 0.2, 0.6, 0.7});
    reduced.Add(5, std::vector<double>{0.1, 0.8, 0.3, 0.4, 0.4, 0.4, 0.4});
    EXPECT_TRUE(reduced.Reduced());
    EXPECT_EQ(reduced.Values(), (std::vector<double>{0.9, 0.2, 0.1, 0.8, 0.4}));
}

TEST(PendingFileTest, AppearsWholeOnCommitAndNotAtAllOtherwise) {
    testing::TempFolder folder;
    const auto target = folder.Path() / "out.csv";
    std::string error;
    {
        PendingFile file;
        ASSERT_TRUE(file.Open(target.string(), error)) << error;
        file.Write("half");
        EXPECT_FALSE(std::filesystem::exists(target)) << "nothing shows before the commit";
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "an abandoned file leaves nothing behind";
    folder.Write("out.csv", "old");
    {
        PendingFile file;
        ASSERT_TRUE(file.Open(target.string(), error)) << error;
        file.Write("new ");
        file.Write("contents");
        EXPECT_EQ(Contents(target), "old");
        ASSERT_TRUE(file.Commit(error)) << error;
    }
    EXPECT_EQ(Contents(target), "new contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    PendingFile missing, folderItself;
    EXPECT_FALSE(missing.Open((folder.Path() / "no" / "out.csv").string(), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(folderItself.Open(folder.Path().string(), error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
}

} // namespace
} // namespace quorix::cli
