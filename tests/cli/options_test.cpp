#include "cli/options.h"
#include "cli/searchentries.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorix::cli {
namespace {

ParseOutcome Parse(std::vector<const char*> words) {
    words.insert(words.begin(), "quorix-search");
    return ParseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(ParseCommandLineTest, UsageFaultsHelpVersionAndAFullLine) {
    const struct {
        std::vector<const char*> words;
        ParseStatus status;
        const char* says; // part of the text
    } cases[] = {
        {{}, ParseStatus::kUsageFault, "FILE is required"},
        {{"a.txt", "--frobnicate"}, ParseStatus::kUsageFault, "--frobnicate"},
        {{"a.txt", "--min"}, ParseStatus::kUsageFault, "--min"},
        {{"a.txt", "--min", "abc"}, ParseStatus::kUsageFault, "abc"},
        {{"a.txt", "--steps", "1e5x"}, ParseStatus::kUsageFault, "1e5x"},
        {{"a.txt", "--top", "-1"}, ParseStatus::kUsageFault, "--top"},
        {{"a.txt", "--oc", "0"}, ParseStatus::kUsageFault, "--oc"},
        {{"a.txt", "--plot", "ft.jpg"}, ParseStatus::kUsageFault, ".png, .svg or .pdf"},
        {{"a.txt", "--format", "xml"}, ParseStatus::kUsageFault, "xml"},
        {{"a.txt", "b.txt"}, ParseStatus::kUsageFault, "b.txt"},
        {{"--help"}, ParseStatus::kDone, "--steps"},
        {{"--help"}, ParseStatus::kDone, "reduced curve"},
        {{"--version"}, ParseStatus::kDone, "quorix-search 1.5.0"},
    };
    for (const auto& c : cases) {
        const ParseOutcome outcome = Parse(c.words);
        EXPECT_EQ(outcome.status, c.status) << (c.words.empty() ? "(nothing)" : c.words.back());
        EXPECT_NE(outcome.text.find(c.says), std::string::npos) << outcome.text;
    }
    EXPECT_EQ(Parse({"--help"}).text.find("--kernel"), std::string::npos) << "the timing option stays hidden";

    const ParseOutcome full =
        Parse({"data.txt", "--min",  "0.5",    "--max",     "2",         "--steps",  "250000",
               "--top",    "9",      "--oc",   "0.6523417", "--aliases", "1.1",      "--ft-csv",
               "ft.csv",   "--plot", "ft.svg", "--format",  "json",      "--kernel", "literal"});
    ASSERT_EQ(full.status, ParseStatus::kRun) << full.text;
    const CliOptions& o = full.options;
    EXPECT_EQ(o.file, "data.txt");
    EXPECT_EQ(o.minimumText, "0.5");
    EXPECT_EQ(o.maximumText, "2");
    EXPECT_EQ(o.stepsText, "250000");
    EXPECT_EQ(o.top, 9);
    EXPECT_EQ(o.ocPeriod, 0.6523417);
    EXPECT_EQ(o.aliasPeriod, 1.1);
    EXPECT_EQ(o.csvPath, "ft.csv");
    EXPECT_EQ(o.plotPath, "ft.svg");
    EXPECT_EQ(o.format, OutputFormat::kJson);
    EXPECT_EQ(o.kernel, FTKernelChoice::kLiteral);

    // The desktop's search defaults stand where nothing is given.
    const ParseOutcome plain = Parse({"data.txt"});
    EXPECT_EQ(plain.options.minimumText, "0.2");
    EXPECT_EQ(plain.options.maximumText, "1");
    EXPECT_EQ(plain.options.stepsText, "10000");
    EXPECT_FALSE(plain.options.ocPeriod);
    EXPECT_EQ(plain.options.format, OutputFormat::kText);
    EXPECT_EQ(plain.options.kernel, FTKernelChoice::kFast);
}

TEST(CheckSearchEntriesTest, DesktopPeriodChecksAndTheCommandLinesStepLimit) {
    const char* const minimum = "Minimum period must be between 0.05 and 100 days.";
    const char* const maximum = "Maximum period must be between 0.05 and 100 days.";
    const char* const order = "Minimum period must be less than the maximum period.";
    const char* const steps = "Number of steps must be between 1000 and 100000000, inclusive.";
    const struct {
        const char *min, *max, *steps, *message;
        std::int32_t taken;
    } cases[] = {
        {"0.05", "100", "1000", "", 1000},
        {"0.049", "1", "1000", minimum, 0},
        {"0.049", "100.1", "1", minimum, 0}, // the first failure is the one reported
        {"0.2", "100.1", "1000", maximum, 0},
        {"0.7", "0.7", "1000", order, 0},
        {"0.9", "0.7", "1000", order, 0},
        {"0.2", "1", "999", steps, 0},
        {"0.2", "1", "100000001", steps, 0},
        {"0.2", "1", "1e12", steps, 0},
        {"0.2", "1", "100000000", "", 100'000'000},
        {"0.2", "1", "1000.5", "", 1000}, // halves go to the even neighbour, as on the desktop
        {"0.2", "1", "1001.5", "", 1002},
    };
    for (const auto& c : cases) {
        const EntryCheck check = CheckSearchEntries(c.min, c.max, c.steps);
        EXPECT_EQ(check.message, c.message) << c.min << " " << c.max << " " << c.steps;
        ASSERT_EQ(check.entries.has_value(), c.taken > 0);
        if (check.entries) {
            EXPECT_EQ(check.entries->steps, c.taken);
            EXPECT_EQ(check.entries->twoPi, 3.1415926535 * 2);
        }
    }
}

} // namespace
} // namespace quorix::cli
