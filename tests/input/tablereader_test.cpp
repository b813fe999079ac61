#include "input/tablereader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quorix {
namespace {

using ::testing::DoubleEq;
using ::testing::HasSubstr;
using ::testing::Pointwise;

// Types written one letter per row: P primary, S secondary, U unknown.
std::string TypeLetters(const std::vector<MinimumType>& types) {
    std::string letters;
    for (MinimumType type : types) {
        letters += type == MinimumType::kPrimary ? 'P' : type == MinimumType::kSecondary ? 'S' : 'U';
    }
    return letters;
}

// Numbers written with blanks between, read by the standard library as the expected values.
std::vector<double> Numbers(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<double>(in), std::istream_iterator<double>()};
}

// A table as observers publish it, and what reading it must give.
struct Shape {
    const char* name;
    std::string text;
    TableSeparator separator;
    std::string columns; // DescribeColumns of the result
    std::string times, types, errors;
};

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes{
        {"one column under a name", "BJD\r\n2459001.4312\r\n2459002.0551\r\n2459003.3170\r\n",
         TableSeparator::kComma, R"(time: column 1 "BJD")", "2459001.4312 2459002.0551 2459003.3170", "UUU",
         "0 0 0"},
        {"comment, commented header, blanks, free-text references",
         "# Minima of an invented W UMa star\n#BJD p/s type error ref\n"
         "2459001.43121  p  ccd  0.00012  IBVS 6001\n2459001.61873  s  ccd  0.00025  IBVS 6001\n"
         "2459014.52130  p  pe   4.00E-05 BAV Mitt. 91\n",
         TableSeparator::kBlanks, R"(time: column 1 "BJD", type: column 2 "p/s", error: column 4 "error")",
         "2459001.43121 2459001.61873 2459014.52130", "PSP", "0.00012 0.00025 4e-5"},
        {"data-frame export: quoted preamble, row index, empty error cell",
         "\"Ref_mintime= 57608.69,Ref_period=0.52\"\n,Mintimes,Mintypes,Errors,Units\n"
         "0,57608.6912,pri,0.0003,d\n1,57609.2143,sec,0.0005,d\n2,57611.7990,pri,,d\n",
         TableSeparator::kComma,
         R"(time: column 2 "Mintimes", type: column 3 "Mintypes", error: column 4 "Errors")",
         "57608.6912 57609.2143 57611.7990", "PSP", "0.0003 0.0005 0"},
        {"bar-separated with cycles, O-C and references holding commas",
         "HJD(2,400,000+) | Min. | E | (O-C)1 | ref\n52500.3811 | I | -1520 | 0.0021 | Smith, J. 2003\n"
         "52500.6427 | II | -1519.5 | -0.0013 | Smith, J. 2003\n"
         "55000.5120 | I | 3260 | 0.0004 | this paper\n",
         TableSeparator::kBar, R"x(time: column 1 "HJD(2,400,000+)", type: column 2 "Min.")x",
         "52500.3811 52500.6427 55000.5120", "PSP", "0 0 0"},
        {"LaTeX rows with a commented header",
         "\\begin{tabular}{lcc}\n\\hline\n# JD & E & OMC \\\\\n2456001.3342 & 0 & 0.0011 \\\\\n"
         "2456010.7805 & 18 & -0.0007 \\\\ \\hline\n\\end{tabular}\n",
         TableSeparator::kAmpersand, R"(time: column 1 "JD")", "2456001.3342 2456010.7805", "UU", "0 0"},
        {"tab-separated, types as 1 and 2",
         "BJD_TDB\tMin\terr\tmethod\n2458000.40112\t1\t0.00031\tccd\n2458000.66010\t2\t0.00040\tccd\n"
         "2458013.39075\t1\t0.00001\tpe\n",
         TableSeparator::kTab, R"(time: column 1 "BJD_TDB", type: column 2 "Min", error: column 3 "err")",
         "2458000.40112 2458000.66010 2458013.39075", "PSP", "0.00031 0.00040 0.00001"},
        {"semicolons with decimal commas, types as 0 and 1",
         "JD;typ;E\r\n2457001,3815;0;-12\r\n2457001,6302;1;-11,5\r\n", TableSeparator::kSemicolon,
         R"(time: column 1 "JD", type: column 2 "typ")", "2457001.3815 2457001.6302", "PS", "0 0"},
        {"no header: cycle first, then the times",
         "-3,2455999.0410,0.0002\n-2.5,2456000.2990,0.0003\n0,2456002.8150,0.0001\n", TableSeparator::kComma,
         "time: column 2", "2455999.0410 2456000.2990 2456002.8150", "UUU", "0 0 0"},
        {"modified Julian dates split by blanks, no header", "58001.2231  0.0004\n58003.7719  0.0006\n",
         TableSeparator::kBlanks, "time: column 1", "58001.2231 58003.7719", "UU", "0 0"},
        {"JD - 2450000 with quoted cells",
         "\"HJD-2450000\",\"type\",\"note\"\n\"8001.2231\",\"s\",\"poor, clouds\"\n"
         "\"8003.7719\",\"p\",\"\"\n",
         TableSeparator::kComma, R"(time: column 1 "HJD-2450000", type: column 2 "type")",
         "8001.2231 8003.7719", "SP", "0 0"},
    };
    return shapes;
}

TEST(TableReaderTest, ReadsEveryPublishedShape) {
    for (const Shape& shape : Shapes()) {
        SCOPED_TRACE(shape.name);
        const TableReadResult result = ReadTimesTable(shape.text);
        ASSERT_TRUE(result.Loaded()) << result.refusal;
        EXPECT_EQ(result.separator, shape.separator);
        EXPECT_EQ(DescribeColumns(result), shape.columns);
        EXPECT_EQ(result.times, Numbers(shape.times));
        EXPECT_EQ(TypeLetters(result.types), shape.types);
        EXPECT_THAT(result.errors, Pointwise(DoubleEq(), Numbers(shape.errors)));
    }
}

TEST(TableReaderTest, ReportsWhereTheHeaderAndTheRowsStandAndWhatItSkipped) {
    const TableReadResult latex = ReadTimesTable(Shapes()[4].text);
    EXPECT_EQ(latex.headerLine, 3);
    EXPECT_EQ(latex.firstDataLine, 4);
    EXPECT_THAT(latex.warnings, ::testing::ElementsAre(HasSubstr("2 line(s) before the table skipped"),
                                                       HasSubstr("1 comment line(s) inside the table")));
    const TableReadResult onlyOnes = ReadTimesTable("BJD,type\n2459001.4312,1\n2459002.0551,1\n");
    EXPECT_EQ(TypeLetters(onlyOnes.types), "UU");
    EXPECT_THAT(onlyOnes.warnings, ::testing::ElementsAre(HasSubstr("cannot be told")));
}

// A table that must not be read, and the line and words of the refusal.
struct BadTable {
    const char* name;
    std::string text;
    int line;
    std::string says;
    TableOptions options{};
};

TEST(TableReaderTest, RefusesWhatItCannotReadForCertainNamingTheLineAndColumn) {
    TableOptions indexAsTime, methodAsType, seventhColumn, threeRows;
    indexAsTime.timeColumn = ColumnChoice::Number(1);
    methodAsType.typeColumn = ColumnChoice::Name("METHOD");
    seventhColumn.errorColumn = ColumnChoice::Number(7);
    threeRows.maxRows = 3;
    const std::vector<BadTable> tables{
        {"blank inside a number in a cell", "BJD,type\n2454174.4301,p\n2454175. 4301,s\n", 3,
         R"(line 3, column 1 "BJD": a number with a blank inside ("2454175. 4301").)"},
        {"blank inside a number split by blanks", "2454174.4301 p\n2454175. 4301 s\n2454176.1102 p\n", 2,
         R"(line 2, column 1: a number with a blank inside ("2454175. 4301").)"},
        {"a time that is not a number", "HJD,E\n2454174.4301,0\n24541x5.0012,1\n", 3,
         R"(line 3, column 1 "HJD": "24541x5.0012" is not a number.)"},
        {"no column of times", "E,O-C\n0,0.0012\n1,-0.0004\n", 0,
         "No column holds times that can be told for certain; name the time column."},
        {"two named time columns", "HJD,BJD,type\n2454174.4301,2454174.4309,p\n2454175.1123,2454175.1131,s\n",
         1, R"(The times could be in column 1 "HJD" and column 2 "BJD"; name the time column.)"},
        {"two unnamed columns of dates", "2454174.4301 2454174.4288\n2454175.1123 2454175.1130\n", 0,
         "The times could be in column 1 and column 2; name the time column."},
        {"a row short of a cell", "BJD,type\n2454174.4301,p\n2454175.1123\n2454176.0032,s\n", 3,
         "line 3: 1 cell(s) where the table has 2 columns."},
        {"a row index named as the time column", Shapes()[2].text, 0,
         R"(column 1 counts the rows and holds no times.)", indexAsTime},
        {"a method named as the type column", Shapes()[5].text, 2,
         R"(line 2, column 4 "method": "ccd" is not a minimum type (p/s, I/II, pri/sec, 0/1 or 1/2).)",
         methodAsType},
        {"a column that is not there", Shapes()[5].text, 0,
         "There is no column 7 for the error: the table has 4 columns.", seventhColumn},
        {"full and reduced dates mixed", "HJD\n2454174.4301\n54175.1123\n", 3,
         R"(line 3, column 1 "HJD": full and reduced Julian dates are mixed.)"},
        {"a negative error", "BJD,error\n2454174.4301,0.0002\n2454175.1123,-0.0001\n", 3,
         R"(line 3, column 2 "error": a negative error.)"},
        {"more rows than allowed", "BJD\n1.5e6\n2454174.1\n2454175.2\n2454176.3\n", 5,
         "More than 3 rows; line 5 is one too many.", threeRows},
        {"a zero byte", std::string("BJD\n2454174.4301\n24541") + '\0' + "75.1\n", 3,
         "line 3 holds a zero byte: this is not a text file."},
        {"nothing but words", "Minima of XY Abc\nsee the paper\n", 0, "No line of the table holds a number."},
    };
    for (const BadTable& table : tables) {
        SCOPED_TRACE(table.name);
        const TableReadResult result = ReadTimesTable(table.text, table.options);
        EXPECT_FALSE(result.Loaded());
        EXPECT_EQ(result.refusal, table.says);
        EXPECT_EQ(result.refusalLine, table.line);
        EXPECT_TRUE(result.times.empty()) << "a refused table hands out no times";
    }
}

TEST(TableReaderTest, TheUserDecidesColumnsSeparatorAndSkippedLines) {
    TableOptions bjd, numbered, skipAndSplit;
    bjd.timeColumn = ParseColumnChoice("bjd");
    const TableReadResult named =
        ReadTimesTable("HJD,BJD,type\n2454174.4301,2454174.4309,p\n2454175.1123,2454175.1131,s\n", bjd);
    EXPECT_EQ(DescribeColumns(named), R"(time: column 2 "BJD", type: column 3 "type")");

    numbered.timeColumn = ParseColumnChoice("2");
    numbered.typeColumn = ParseColumnChoice("none");
    numbered.errorColumn = ParseColumnChoice(" 3 ");
    const TableReadResult byNumber =
        ReadTimesTable("2454174.4301 2454174.4288 0.0002\n2454175.1123 2454175.1130 0.0003\n", numbered);
    EXPECT_EQ(byNumber.times, (std::vector<double>{2454174.4288, 2454175.1130}));
    EXPECT_EQ(byNumber.errors, (std::vector<double>{0.0002, 0.0003}));

    // Split by blanks, the comma-separated header row would be one name over two columns.
    skipAndSplit.skipLines = 2;
    skipAndSplit.separator = ParseSeparator("comma");
    const TableReadResult skipped = ReadTimesTable(
        "Star XY Abc, 12 minima, 2021 2022\n\nBJD,p/s\n2459001.4312,s\n2459002.0551,p\n", skipAndSplit);
    ASSERT_TRUE(skipped.Loaded()) << skipped.refusal;
    EXPECT_EQ(skipped.headerLine, 3);
    EXPECT_EQ(TypeLetters(skipped.types), "SP");
    EXPECT_EQ(ParseSeparator("tab"), TableSeparator::kTab);
    EXPECT_EQ(ParseSeparator("|"), TableSeparator::kBar);
    EXPECT_EQ(ParseSeparator(SeparatorName(TableSeparator::kSemicolon)), TableSeparator::kSemicolon);
    EXPECT_EQ(ParseSeparator("colon"), std::nullopt);
}

TEST(TableReaderTest, ConvertedTimesReadBackUnchangedByThePlainReader) {
    const std::vector<double> times{2459001.5, 2459001.4312123456, 57608.69120000001, 8001.2231, -0.1};
    const std::string plain = PlainMinimaText(times);
    EXPECT_EQ(plain.substr(0, plain.find('\n') + 1), "2459001.5\r\n");
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 5);
    const MinimaReadResult back = ParseMinimaText(plain);
    ASSERT_EQ(back.failure, MinimaFailure::kNone);
    EXPECT_EQ(std::vector<double>(back.data.times.begin() + 1, back.data.times.end()), times);
    EXPECT_TRUE(IsPlainMinimaText(plain));
    EXPECT_FALSE(IsPlainMinimaText(Shapes()[0].text)) << "a header line is no plain file";
}

TEST(TableReaderTest, TellsARowIndexInTheFirstFieldOfAPlainFile) {
    for (const char* text :
         {"0,2454174.43\r\n1,2454175.12\r\n2,2454176.01\r\n", "1,2454174.43\n2,2454175.12\n"}) {
        EXPECT_TRUE(FirstFieldCountsRows(text)) << text;
    }
    for (const char* text : {"1,2454174.43\n3,2454175.12\n", "2,2454174.43\n3,2454175.12\n",
                             "2454174.43,1\n2454175.12,2\n", "1\n2\n3\n", ""}) {
        EXPECT_FALSE(FirstFieldCountsRows(text)) << text;
    }
}

// Seeded random edits of the shapes above: every outcome is a complete table or a refusal with
// words, never a crash, a hang or a half-read table.
constexpr int kFuzzInputs = 100000;

// Inserts a letter or any byte, erases a run, copies a piece elsewhere, cuts the text short or
// overwrites a letter, one to eight times.
std::string Mutate(std::string text, std::mt19937& random) {
    static const std::string alphabet = "0123456789.,;|&\t \"\r\n#eE+-psIi\\%/abcXYZ";
    const auto pick = [&random](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size == 0 ? 0 : size - 1)(random);
    };
    for (int edits = std::uniform_int_distribution<int>(1, 8)(random); edits > 0; --edits) {
        const std::size_t at = pick(text.size() + 1);
        const int kind = std::uniform_int_distribution<int>(0, 5)(random);
        const char letter = kind == 2 ? static_cast<char>(pick(256)) : alphabet[pick(alphabet.size())];
        if (kind == 4) {
            text.resize(at);
        } else if (kind == 0 || kind == 2 || at == text.size()) {
            text.insert(at, 1, letter);
        } else if (kind == 1) {
            text.erase(at, 1 + pick(4));
        } else if (kind == 3) {
            text.insert(pick(text.size() + 1), text.substr(at, 1 + pick(40)));
        } else {
            text[at] = letter;
        }
    }
    return text;
}

TableOptions RandomOptions(std::mt19937& random) {
    TableOptions options;
    const int roll = std::uniform_int_distribution<int>(0, 9)(random);
    if (roll == 0) {
        options.separator = static_cast<TableSeparator>(std::uniform_int_distribution<int>(0, 5)(random));
    } else if (roll == 1) {
        options.timeColumn = ColumnChoice::Number(std::uniform_int_distribution<int>(0, 6)(random));
    } else if (roll == 2) {
        options.skipLines = std::uniform_int_distribution<int>(0, 3)(random);
    } else if (roll == 3) {
        options.maxRows = 2;
    }
    return options;
}

TEST(TableReaderTest, SurvivesSeededRandomEditsOfRealShapes) {
    std::mt19937 random(20261208);
    int loaded = 0;
    for (int i = 0; i < kFuzzInputs; ++i) {
        const std::string text = Mutate(Shapes()[static_cast<std::size_t>(i) % Shapes().size()].text, random);
        const TableOptions options = RandomOptions(random);
        const TableReadResult result = ReadTimesTable(text, options);
        if (result.Loaded()) {
            ++loaded;
            ASSERT_FALSE(result.times.empty()) << text;
            ASSERT_LE(result.times.size(), static_cast<std::size_t>(options.maxRows)) << text;
            ASSERT_EQ(result.types.size(), result.times.size()) << text;
            ASSERT_EQ(result.errors.size(), result.times.size()) << text;
            ASSERT_GE(result.timeColumn, 1) << text;
            ASSERT_LE(result.timeColumn, static_cast<int>(result.columnNames.size())) << text;
            for (double time : result.times) {
                ASSERT_TRUE(std::isfinite(time) && time != 0) << text;
            }
        } else {
            ASSERT_GT(result.refusal.size(), 10u) << text;
            ASSERT_TRUE(result.times.empty()) << text;
        }
    }
    RecordProperty("inputs", kFuzzInputs);
    RecordProperty("loaded", loaded);
    std::printf("%d edited tables: %d read, %d refused\n", kFuzzInputs, loaded, kFuzzInputs - loaded);
    EXPECT_GT(loaded, kFuzzInputs / 20) << "the edits must leave many tables readable";
    EXPECT_GT(kFuzzInputs - loaded, kFuzzInputs / 20) << "and break many";
}

} // namespace
} // namespace quorix
