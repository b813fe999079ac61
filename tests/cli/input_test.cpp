#include "cli/runprogram.h"
#include "support/filecontents.h"
#include "support/ftgrid.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quorix::cli {
namespace {

using testing::Contents;

constexpr double kPeriod = 0.8372914;
const std::string kRange = " --min 0.5 --max 1 --steps 400000 --top 1 --format json";

// 80 minima of one binary in full Julian dates, primaries and secondaries in turn.
std::vector<double> BinaryMinima() {
    std::mt19937 random(29);
    auto times = testing::Minima(random, 80, 2452000.3123, kPeriod, 0.0004, 900);
    std::sort(times.begin(), times.end());
    return times;
}

std::string Fixed(const char* format, double value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// A table of the minima: `row(k, time)` writes one record, after the lines of `head`.
std::string Table(const std::string& head, const std::function<std::string(std::size_t, double)>& row) {
    const auto times = BinaryMinima();
    std::string text = head;
    for (std::size_t k = 0; k < times.size(); ++k) {
        text += row(k, times[k]);
    }
    return text;
}

TEST(TableInputTest, PublishedShapesAreReadAndTheirColumnsNamedOnStderr) {
    testing::TempFolder folder;
    const struct {
        const char* name;
        std::string text;
        const char* options;
        const char* columns; // the line on stderr after the file's name; a plain file says nothing
    } cases[] = {
        {"bjd.txt",
         Table("# times of minima of one binary\n#BJD p/s type error ref\n",
               [](std::size_t k, double t) {
                   return Fixed("%.5f ", t) + (k % 2 ? "s" : "p") + " ccd " +
                          (k % 3 ? "4.00E-05" : "1.2E-03") + " IBVS\n";
               }),
         "", "time: column 1 \"BJD\", type: column 2 \"p/s\", error: column 4 \"error\""},
        {"export.csv",
         Table("\"Ref_mintime= 52000.31,Ref_period=0.84\"\r\n,Mintimes,Mintypes,Errors,Units\r\n",
               [](std::size_t k, double t) {
                   return std::to_string(k) + Fixed(",%.5f,", t - 2400000) + (k % 2 ? "sec" : "pri") +
                          ",0.0003,\"BJD, TDB\"\r\n";
               }),
         "", "time: column 2 \"Mintimes\", type: column 3 \"Mintypes\", error: column 4 \"Errors\""},
        {"bars.dat",
         Table("HJD(2,400,000+) | Min. | E | (O-C)1 | ref\n",
               [](std::size_t k, double t) {
                   return Fixed("%.4f | ", t - 2400000) + (k % 2 ? "II" : "I") + " | " + std::to_string(k) +
                          " | 0.001 | BAV\n";
               }),
         "", "time: column 1 \"HJD(2,400,000+)\", type: column 2 \"Min.\""},
        // A row index before the times: named by the user, then read.
        {"indexed.txt",
         Table("", [](std::size_t k, double t) { return std::to_string(k + 1) + Fixed(",%.5f\r\n", t); }),
         "--time-col 2", "time: column 2"},
        {"plain.txt", Table("", [](std::size_t, double t) { return Fixed("%.5f\r\n", t); }), "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write(c.name, c.text);
        const Outcome run = Program(folder, std::string(c.name) + " " + c.options + kRange);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string said = *c.columns ? std::string(c.name) + ": " + c.columns + "\n" : "";
        EXPECT_EQ(run.err.empty(), said.empty()) << run.err;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
        const auto json = nlohmann::json::parse(run.out);
        EXPECT_EQ(json["observations"], 80);
        EXPECT_NEAR(json["best"]["period"].get<double>(), kPeriod, 2e-5);
    }
    // Without a column named, a row index is never searched, nor a later field taken unasked.
    const Outcome indexed = Program(folder, "indexed.txt" + kRange);
    EXPECT_EQ(indexed.status, 3);
    EXPECT_NE(indexed.err.find("indexed.txt: the first field counts the records"), std::string::npos);
    EXPECT_NE(indexed.err.find("--time-col"), std::string::npos) << indexed.err;
    EXPECT_TRUE(indexed.out.empty());
    // A table the reader refuses says why, by line.
    folder.Write("blank.csv", "BJD,type\r\n2452000.3123,p\r\n2452 001.1496,s\r\n");
    const Outcome blank = Program(folder, "blank.csv" + kRange);
    EXPECT_EQ(blank.status, 3);
    EXPECT_NE(blank.err.find("line 3"), std::string::npos) << blank.err;
}

TEST(TableInputTest, ConvertWritesThePlainFileThatSearchesTheSame) {
    testing::TempFolder folder;
    folder.Write("table.csv", Table("JD,type,err\r\n", [](std::size_t k, double t) {
                     return Fixed("%.6f,", t) + (k % 2 ? "II" : "I") + ",0.0002\r\n";
                 }));
    const Outcome table = Program(folder, "table.csv --convert plain.txt" + kRange);
    ASSERT_EQ(table.status, 0) << table.err;
    const std::string plain = Contents(folder.Path() / "plain.txt");
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 80);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\r'), 80);
    EXPECT_EQ(plain.find(','), std::string::npos);
    const Outcome again = Program(folder, "plain.txt" + kRange);
    ASSERT_EQ(again.status, 0) << again.err;
    auto first = nlohmann::json::parse(table.out), second = nlohmann::json::parse(again.out);
    // The plain file keeps the times only: the types that agree with the table's dips are gone.
    EXPECT_EQ(first["dips"][0]["typeAgreement"], 0.65);
    EXPECT_TRUE(second["dips"][0]["typeAgreement"].is_null());
    for (auto* json : {&first, &second}) {
        json->erase("file");
        (*json)["dips"][0].erase("typeAgreement");
    }
    EXPECT_EQ(first, second) << "the plain file holds the very same times";
    // An output that cannot be written stops the run before any search, and leaves nothing.
    const Outcome unwritable = Program(folder, "table.csv --convert no/such/plain.txt" + kRange);
    EXPECT_EQ(unwritable.status, 3);
    EXPECT_NE(unwritable.err.find("cannot write no/such/plain.txt"), std::string::npos);
}

TEST(BatchTest, EveryFileGetsItsRowInEveryFormatAndAFailureStopsNoOther) {
    testing::TempFolder folder;
    folder.Write("a.txt", Table("", [](std::size_t, double t) { return Fixed("%.5f\r\n", t); }));
    folder.Write("b, with comma.csv", Table("#BJD;type\n", [](std::size_t k, double t) {
                     return Fixed("%.5f;", t) + (k % 2 ? "s" : "p") + "\n";
                 }));
    folder.Write("c.dat", "2452000.3123\r\nnot a time\r\n");
    const std::string batch =
        "--min 0.5 --max 1 --steps 400000 --batch a.txt 'b, with comma.csv' c.dat missing.txt";

    const Outcome text = Program(folder, batch);
    EXPECT_EQ(text.status, 3) << "some files failed";
    EXPECT_TRUE(text.err.empty()) << text.err;
    // The headings, then one line per file in the order given.
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 5) << text.out;
    EXPECT_EQ(text.out.find("file "), 0u) << text.out;
    EXPECT_LT(text.out.find("a.txt"), text.out.find("b, with comma.csv"));
    EXPECT_NE(text.out.find("error: c.dat: "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("error: missing.txt: Error: File not found."), std::string::npos) << text.out;

    const Outcome csv = Program(folder, batch + " --format csv");
    EXPECT_EQ(csv.status, 3);
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n') + 1),
              "file,observations,timeSpan,bestPeriod,ft,resolution,columns,warnings,error\r\n");
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 5);
    EXPECT_NE(csv.out.find("\r\n\"b, with comma.csv\",80,"), std::string::npos) << csv.out;

    const Outcome json = Program(folder, batch + " --format json");
    EXPECT_EQ(json.status, 3);
    const auto files = nlohmann::json::parse(json.out)["files"];
    ASSERT_EQ(files.size(), 4u);
    for (int k : {0, 1}) {
        EXPECT_TRUE(files[k]["error"].is_null()) << files[k];
        EXPECT_EQ(files[k]["observations"], 80);
        EXPECT_NEAR(files[k]["bestPeriod"].get<double>(), kPeriod, 2e-5);
    }
    EXPECT_EQ(files[0]["bestPeriod"], files[1]["bestPeriod"]) << "the same times, however written";
    EXPECT_EQ(files[1]["columns"], "time: column 1 \"BJD\", type: column 2 \"type\"");
    EXPECT_NE(files[2]["error"].get<std::string>().find("c.dat"), std::string::npos);
    EXPECT_FALSE(files[2].contains("bestPeriod"));

    // Only good files: status 0; a batch with single-file outputs is a usage fault.
    EXPECT_EQ(Program(folder, "--batch a.txt 'b, with comma.csv' --steps 20000").status, 0);
    EXPECT_EQ(Program(folder, "--batch a.txt --ft-csv x.csv").status, 2);
    EXPECT_EQ(Program(folder, "a.txt --format csv").status, 2);
}

} // namespace
} // namespace quorix::cli
