#pragma once

#include "input/minimareader.h"
#include "state/sharedstate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorix {

// How the cells of one row are told apart.
enum class TableSeparator { kComma, kTab, kBlanks, kBar, kAmpersand, kSemicolon };

// A separator's name for people: "comma (,)", "tab", "blanks", "bar (|)", "ampersand (&)", "semicolon (;)".
[[nodiscard]] std::string SeparatorName(TableSeparator separator);
// Reads a separator given by the user: the character itself or its name ("," "comma", "\t" "tab",
// " " "space" "blank" "blanks", "|" "bar", "&" "ampersand", ";" "semicolon"); empty when unknown.
[[nodiscard]] std::optional<TableSeparator> ParseSeparator(std::string_view text);

// Which column the user wants for one role: found by the reader, none at all, or named by its
// number (counted from 1) or its header text (compared without regard to case).
struct ColumnChoice {
    enum class Kind { kDetect, kNone, kNumber, kName };
    Kind kind = Kind::kDetect;
    int number = 0;
    std::string name;

    [[nodiscard]] static ColumnChoice Detect() { return {}; }
    [[nodiscard]] static ColumnChoice None() { return {Kind::kNone, 0, {}}; }
    [[nodiscard]] static ColumnChoice Number(int number) { return {Kind::kNumber, number, {}}; }
    [[nodiscard]] static ColumnChoice Name(std::string name) { return {Kind::kName, 0, std::move(name)}; }
};
// A column given on a command line: digits are a number, "none" is no column, anything else a name.
[[nodiscard]] ColumnChoice ParseColumnChoice(std::string_view text);

inline constexpr std::int32_t kMaxTableRows = 100000;

// What the user lets the reader find and what the user decides.
struct TableOptions {
    ColumnChoice timeColumn;
    ColumnChoice typeColumn;
    ColumnChoice errorColumn;
    std::optional<TableSeparator> separator; // found by the reader when empty
    int skipLines = 0;                       // lines at the start that are not looked at at all
    std::int32_t maxRows = kMaxTableRows;
};

// A table read whole, or the reason it was refused. Columns are counted from 1; 0 means none. A
// refused table keeps the layout and the columns found before the refusal, and holds no values.
// `types` and `errors` always have one entry per time: kUnknown and 0 where the table says nothing.
struct TableReadResult {
    std::string refusal; // empty when the table was read
    int refusalLine = 0; // the file line the refusal is about, 0 when it is about the whole table

    TableSeparator separator = TableSeparator::kBlanks;
    int headerLine = 0;                   // file line of the column names, 0 without one
    int firstDataLine = 0;                // file line of the first row read
    std::vector<std::string> columnNames; // one per column, empty texts without a header
    int timeColumn = 0;
    int typeColumn = 0;
    int errorColumn = 0;

    std::vector<double> times; // in file order, each as written (full or reduced Julian dates)
    std::vector<MinimumType> types;
    std::vector<double> errors; // days
    std::vector<std::string> warnings;

    [[nodiscard]] bool Loaded() const { return refusal.empty(); }
};

// Reads a table of times of minima as observers publish them: comment and preamble lines, a header
// row, cells split by one separator, the time column found by its name or its values, an optional
// minimum-type and error column. Anything it cannot read for certain is refused, never guessed.
[[nodiscard]] TableReadResult ReadTimesTable(std::string_view text, const TableOptions& options = {});

// The columns a read took, for a line on the error stream:
// time: column 2 "BJD", type: column 3 "p/s", error: column 5 (empty when no time column was found).
[[nodiscard]] std::string DescribeColumns(const TableReadResult& result);

// The plain file "Open" reads: one time per line, CR LF line ends, every time with 17 significant
// digits so that reading it back gives the very same number.
[[nodiscard]] std::string PlainMinimaText(const std::vector<double>& times);

// Whether the plain reader takes the text as it is, with room for `capacity` records.
[[nodiscard]] bool IsPlainMinimaText(std::string_view text, std::int32_t capacity = kMaxTableRows);

// Whether the first field of a plain text counts the records 0, 1, 2, ... or 1, 2, 3, ... with
// further fields after it: a row index written by a spreadsheet, with the times in a later field.
[[nodiscard]] bool FirstFieldCountsRows(std::string_view text);

// Loads a table that was read into the program as a successful "Open" loads a file: `folder` and
// `fileName` become DataFolder and DataFileName, the times, types and errors replace the
// observations and BaseTime is the lowest time. A table with more times than the desktop keeps
// (or a refused one) shows a message and changes nothing; the result tells whether it loaded.
bool LoadTableIntoState(SharedState& state, ReaderWindow& window, const TableReadResult& table,
                        const std::string& folder, const std::string& fileName);

} // namespace quorix
