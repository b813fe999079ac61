#include "input/tablereader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <variant>

namespace quorix {

namespace {

// One record of the table: the cells of one line (or of several, when a quoted cell holds a line
// end), and whether it was marked as a comment.
struct Record {
    int line = 0;
    std::vector<std::string> cells;
    bool comment = false;
};

// One row the table's values are read from, with exactly as many cells as the table has columns.
struct Row {
    int line = 0;
    std::vector<std::string> cells;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// Each separator's character, the name it is shown by and the other words a user may type for it.
struct SeparatorDesign {
    TableSeparator separator;
    char mark;
    const char* name;
    std::array<std::string_view, 4> spellings;
};

constexpr std::array<SeparatorDesign, 6> kSeparators{{
    {TableSeparator::kComma, ',', "comma (,)", {",", "comma"}},
    {TableSeparator::kTab, '\t', "tab", {"\t", "\\t", "tab"}},
    {TableSeparator::kBlanks, ' ', "blanks", {" ", "space", "spaces", "blank"}},
    {TableSeparator::kBar, '|', "bar (|)", {"|", "bar"}},
    {TableSeparator::kAmpersand, '&', "ampersand (&)", {"&", "ampersand"}},
    {TableSeparator::kSemicolon, ';', "semicolon (;)", {";", "semicolon"}},
}};

const SeparatorDesign& DesignOf(TableSeparator separator) {
    return *std::find_if(kSeparators.begin(), kSeparators.end(), [separator](const SeparatorDesign& design) {
        return design.separator == separator;
    });
}

char SeparatorChar(TableSeparator separator) {
    return DesignOf(separator).mark;
}

// The length of a comment mark at the start of a line ("#", "%", "!", "//" or a LaTeX command's
// backslash), blanks before it included; 0 when the line carries none.
std::size_t CommentMarkLength(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    if (at >= line.size()) {
        return 0;
    }
    if (line.substr(at, 2) == "//") {
        return at + 2;
    }
    const char mark = line[at];
    if (mark == '#' || mark == '%' || mark == '!') {
        while (at < line.size() && line[at] == mark) {
            ++at;
        }
        return at;
    }
    return line[at] == '\\' ? at + 1 : 0;
}

// Splits the text into records. Cells in double quotes may hold the separator, line ends and doubled
// quotes (RFC 4180); a LaTeX row end ("\\" and what follows it) is dropped; blank lines give no record.
class RecordSplitter {
public:
    RecordSplitter(std::string_view text, int firstLine, TableSeparator separator)
        : text_(text), line_(firstLine), separator_(separator), mark_(SeparatorChar(separator)) {}

    std::vector<Record> Split() {
        std::vector<Record> records;
        while (at_ < text_.size()) {
            Record record = Next();
            if (!record.cells.empty()) {
                records.push_back(std::move(record));
            }
        }
        return records;
    }

private:
    bool AtLineEnd() const { return text_[at_] == '\r' || text_[at_] == '\n'; }
    void SkipLineEnd() {
        if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') {
            ++at_;
        }
        ++at_;
        ++line_;
    }

    Record Next() {
        Record record;
        record.line = line_;
        const std::size_t lineEnd = text_.find_first_of("\r\n", at_);
        const std::size_t mark = CommentMarkLength(text_.substr(at_, lineEnd - at_));
        record.comment = mark > 0;
        at_ += mark;
        std::string cell;
        bool quoted = false;
        bool blankRun = false;
        while (at_ < text_.size() && !AtLineEnd()) {
            const char c = text_[at_];
            if (c == '"' && Trim(cell).empty() && !quoted) {
                cell = ReadQuoted();
                quoted = true;
                continue;
            }
            ++at_;
            if (separator_ == TableSeparator::kBlanks ? IsBlank(c) : c == mark_) {
                blankRun = separator_ == TableSeparator::kBlanks;
                if (!blankRun || !Trim(cell).empty() || quoted) {
                    Finish(record, cell, quoted);
                }
                continue;
            }
            cell += c;
        }
        if (at_ < text_.size()) {
            SkipLineEnd();
        }
        if (!(blankRun && Trim(cell).empty() && !quoted)) {
            Finish(record, cell, quoted);
        }
        DropLatexRowEnd(record);
        if (record.cells.size() == 1 && record.cells.front().empty() && !quoted) {
            record.cells.clear();
        }
        return record;
    }

    // Reads a quoted cell from its opening quote to its closing one; the text after the closing
    // quote up to the separator is kept with it.
    std::string ReadQuoted() {
        std::string cell;
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                    cell += '"';
                    at_ += 2;
                    continue;
                }
                ++at_;
                return cell;
            }
            if (AtLineEnd()) {
                cell += '\n';
                SkipLineEnd();
                continue;
            }
            cell += c;
            ++at_;
        }
        return cell;
    }

    static void Finish(Record& record, std::string& cell, bool& quoted) {
        record.cells.emplace_back(quoted ? std::string_view(cell) : Trim(cell));
        cell.clear();
        quoted = false;
    }

    static void DropLatexRowEnd(Record& record) {
        for (std::size_t i = 0; i < record.cells.size(); ++i) {
            const std::size_t end = record.cells[i].find("\\\\");
            if (end != std::string::npos) {
                record.cells[i] = std::string(Trim(std::string_view(record.cells[i]).substr(0, end)));
                record.cells.resize(i + 1);
                if (record.cells.back().empty() && i > 0) {
                    record.cells.pop_back();
                }
                return;
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_;
    TableSeparator separator_;
    char mark_;
};

// A whole cell read as a decimal number (sign, digits, one decimal point, exponent with "e" or
// "E"); with `decimalComma` a single comma may stand for the point. Nothing else may be in the cell.
std::optional<double> ParseNumber(std::string_view cell, bool decimalComma) {
    cell = Trim(cell);
    std::string normal;
    std::size_t at = 0;
    if (at < cell.size() && (cell[at] == '+' || cell[at] == '-')) {
        if (cell[at] == '-') {
            normal += '-';
        }
        ++at;
    }
    int digits = 0;
    bool point = false;
    for (; at < cell.size(); ++at) {
        const char c = cell[at];
        if (c >= '0' && c <= '9') {
            ++digits;
            normal += c;
        } else if (!point && (c == '.' || (decimalComma && c == ','))) {
            point = true;
            normal += '.';
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at < cell.size() && (cell[at] == 'e' || cell[at] == 'E')) {
        normal += 'e';
        ++at;
        if (at < cell.size() && (cell[at] == '+' || cell[at] == '-')) {
            normal += cell[at++];
        }
        const std::size_t exponentStart = at;
        while (at < cell.size() && cell[at] >= '0' && cell[at] <= '9') {
            normal += cell[at++];
        }
        if (at == exponentStart) {
            return std::nullopt;
        }
    }
    if (at != cell.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// "54174. 4301": a number once the blanks inside it are taken out.
bool IsNumberWithBlankInside(std::string_view cell, bool decimalComma) {
    cell = Trim(cell);
    std::string joined;
    for (char c : cell) {
        if (!IsBlank(c)) {
            joined += c;
        }
    }
    return joined.size() != cell.size() && ParseNumber(joined, decimalComma).has_value();
}

std::optional<MinimumType> LetterType(std::string_view cell) {
    static constexpr std::array<std::string_view, 6> kPrimary{"p", "pri", "prim", "primary", "i", "min i"};
    static constexpr std::array<std::string_view, 6> kSecondary{"s",  "sec",    "secondary",
                                                                "ii", "min ii", "sek"};
    cell = Trim(cell);
    const auto matches = [cell](std::string_view token) { return EqualsIgnoringCase(cell, token); };
    if (std::any_of(kPrimary.begin(), kPrimary.end(), matches)) {
        return MinimumType::kPrimary;
    }
    if (std::any_of(kSecondary.begin(), kSecondary.end(), matches)) {
        return MinimumType::kSecondary;
    }
    return std::nullopt;
}

// The letters and digits of a column name in lower case: "p/s" gives "ps", "Min." gives "min".
std::string Letters(std::string_view name) {
    std::string out;
    for (char c : name) {
        const char lower = Lower(c);
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
            out += lower;
        }
    }
    return out;
}

// The first word of a column name in lower case: "HJD(2,400,000+)" gives "hjd".
std::string LeadingWord(std::string_view name) {
    name = Trim(name);
    std::string out;
    for (char c : name) {
        const char lower = Lower(c);
        if (lower < 'a' || lower > 'z') {
            break;
        }
        out += lower;
    }
    return out;
}

bool OneOf(const std::string& word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

enum class TimeName { kNone, kWeak, kStrong };

TimeName TimeNameOf(std::string_view name) {
    const std::string word = LeadingWord(name);
    if (OneOf(word, {"bjd", "hjd", "jd", "mjd", "rjd", "time", "times", "mintime", "mintimes", "tmin", "tobs",
                     "hjdmin", "bjdmin", "timemin"})) {
        return TimeName::kStrong;
    }
    return OneOf(word, {"min", "minimum", "minima", "t"}) ? TimeName::kWeak : TimeName::kNone;
}

bool IsTypeName(std::string_view name) {
    const std::string letters = Letters(name);
    return letters.find("type") != std::string::npos ||
           OneOf(letters, {"ps", "prisec", "kind", "typ", "min", "minimum"});
}

bool IsErrorName(std::string_view name) {
    const std::string letters = Letters(name);
    return letters.find("err") != std::string::npos || letters.find("sigma") != std::string::npos ||
           letters.find("uncert") != std::string::npos || OneOf(letters, {"sd", "unc"});
}

// What the cells of one column hold, over all rows.
struct ColumnFacts {
    int numbers = 0;
    int empties = 0;
    int letterTypes = 0;
    bool allHalves = true;      // every number an integer or a half-integer (a cycle count)
    bool countsRows = false;    // 0, 1, 2, ... or 1, 2, 3, ... down the rows
    bool typeDigitsOnly = true; // every number is 0, 1 or 2
    double min = 0;
    double max = 0;

    int Filled(std::size_t rows) const { return static_cast<int>(rows) - empties; }
};

struct Table {
    TableSeparator separator = TableSeparator::kBlanks;
    bool decimalComma = false;
    int columns = 0;
    int headerLine = 0;
    std::vector<std::string> names;
    std::vector<Row> rows;
    std::vector<ColumnFacts> facts;
};

struct Refusal {
    std::string text;
    int line = 0;
};

std::string ColumnText(const Table& table, int column) {
    std::string text = "column " + std::to_string(column);
    const std::string& name = table.names[static_cast<std::size_t>(column - 1)];
    return name.empty() ? text : text + " \"" + name + "\"";
}

std::string LineText(int line) {
    return "line " + std::to_string(line);
}

bool IsNumericish(const Record& record, bool decimalComma) {
    return !record.comment &&
           std::any_of(record.cells.begin(), record.cells.end(),
                       [&](const std::string& cell) { return ParseNumber(cell, decimalComma).has_value(); });
}

// The number of cells most rows holding a number have (the first such count on a tie).
int UsualCellCount(const std::vector<Record>& records, bool decimalComma, int& rowsWithIt) {
    std::map<std::size_t, int> counts;
    std::vector<std::size_t> order;
    for (const Record& record : records) {
        if (IsNumericish(record, decimalComma)) {
            if (counts[record.cells.size()]++ == 0) {
                order.push_back(record.cells.size());
            }
        }
    }
    std::size_t best = 0;
    rowsWithIt = 0;
    for (std::size_t count : order) {
        if (counts[count] > rowsWithIt) {
            best = count;
            rowsWithIt = counts[count];
        }
    }
    return static_cast<int>(best);
}

// The separator that splits the most rows holding numbers into the same number of cells, two or
// more; on a tie the one named first here. A single column of values is read as comma-separated.
TableSeparator DetectSeparator(std::string_view text, int firstLine) {
    constexpr std::array kCandidates{TableSeparator::kTab,       TableSeparator::kBar,
                                     TableSeparator::kAmpersand, TableSeparator::kSemicolon,
                                     TableSeparator::kComma,     TableSeparator::kBlanks};
    TableSeparator best = TableSeparator::kComma;
    int bestRows = 0;
    for (TableSeparator candidate : kCandidates) {
        const auto records = RecordSplitter(text, firstLine, candidate).Split();
        int rows = 0;
        const int cells = UsualCellCount(records, candidate != TableSeparator::kComma, rows);
        if (cells >= 2 && rows > bestRows) {
            best = candidate;
            bestRows = rows;
        }
    }
    return best;
}

bool HasNoNumber(const Record& record, bool decimalComma) {
    return std::none_of(record.cells.begin(), record.cells.end(),
                        [&](const std::string& cell) { return ParseNumber(cell, decimalComma).has_value(); });
}

// For tables split by blanks: a header with fewer names than the rows have cells stands over a last
// column of free text ("IBVS 5713") whose words were split apart.
bool LastColumnIsFreeText(const std::vector<Record>& records, std::size_t from, int columns,
                          bool decimalComma) {
    for (std::size_t i = from; i < records.size(); ++i) {
        const Record& record = records[i];
        if (!record.comment && static_cast<int>(record.cells.size()) >= columns &&
            ParseNumber(record.cells[static_cast<std::size_t>(columns - 1)], decimalComma)) {
            return false;
        }
    }
    return true;
}

// "54174. 4301" split by blanks into two cells: the first pair of neighbouring cells that are the
// two halves of one number.
std::optional<std::size_t> SplitNumberAt(const std::vector<std::string>& cells, bool decimalComma) {
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        const std::string& left = cells[i];
        const std::string& right = cells[i + 1];
        const bool pointBetween =
            (!left.empty() && left.back() == '.') || (!right.empty() && right.front() == '.');
        if (pointBetween && ParseNumber(left + right, decimalComma) &&
            (ParseNumber(left, decimalComma) || ParseNumber("0" + right, decimalComma))) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<Refusal> CollectRows(const std::vector<Record>& records, std::size_t start, Table& table,
                                   std::int32_t maxRows, int& commentsInside) {
    const bool blanks = table.separator == TableSeparator::kBlanks;
    for (std::size_t i = start; i < records.size(); ++i) {
        const Record& record = records[i];
        if (record.comment) {
            ++commentsInside;
            continue;
        }
        std::vector<std::string> cells = record.cells;
        const int count = static_cast<int>(cells.size());
        if (count != table.columns && blanks) {
            if (const auto split = SplitNumberAt(cells, table.decimalComma)) {
                return Refusal{LineText(record.line) + ", column " + std::to_string(*split + 1) +
                                   ": a number with a blank inside (\"" + cells[*split] + " " +
                                   cells[*split + 1] + "\").",
                               record.line};
            }
        }
        if (count > table.columns && blanks &&
            !ParseNumber(cells[static_cast<std::size_t>(table.columns - 1)], table.decimalComma)) {
            for (std::size_t extra = static_cast<std::size_t>(table.columns); extra < cells.size(); ++extra) {
                cells[static_cast<std::size_t>(table.columns - 1)] += " " + cells[extra];
            }
            cells.resize(static_cast<std::size_t>(table.columns));
        }
        if (static_cast<int>(cells.size()) != table.columns) {
            return Refusal{LineText(record.line) + ": " + std::to_string(count) +
                               " cell(s) where the table has " + std::to_string(table.columns) + " columns.",
                           record.line};
        }
        if (static_cast<std::int32_t>(table.rows.size()) >= maxRows) {
            return Refusal{"More than " + std::to_string(maxRows) + " rows; " + LineText(record.line) +
                               " is one too many.",
                           record.line};
        }
        table.rows.push_back(Row{record.line, std::move(cells)});
    }
    if (table.rows.empty()) {
        return Refusal{"The table has no rows of values.", 0};
    }
    return std::nullopt;
}

// Finds the first row of values, the header above it and the number of columns, then collects the
// rows. Lines before the header are a preamble and are skipped.
std::optional<Refusal> LayOut(const std::vector<Record>& records, Table& table, std::int32_t maxRows,
                              std::vector<std::string>& warnings) {
    int usualRows = 0;
    table.columns = UsualCellCount(records, table.decimalComma, usualRows);
    if (table.columns == 0) {
        return Refusal{"No line of the table holds a number.", 0};
    }
    std::size_t start = 0;
    while (start < records.size() && !(IsNumericish(records[start], table.decimalComma) &&
                                       static_cast<int>(records[start].cells.size()) == table.columns)) {
        ++start;
    }
    table.names.assign(static_cast<std::size_t>(table.columns), std::string());
    if (start > 0) {
        const Record& above = records[start - 1];
        const int names = static_cast<int>(above.cells.size());
        if (HasNoNumber(above, table.decimalComma)) {
            const bool freeTextTail = table.separator == TableSeparator::kBlanks && names >= 2 &&
                                      names < table.columns &&
                                      LastColumnIsFreeText(records, start, names, table.decimalComma);
            if (freeTextTail) {
                table.columns = names;
            }
            if (names == table.columns) {
                table.names = above.cells;
                table.headerLine = above.line;
            } else if (names >= 2) {
                warnings.push_back(LineText(above.line) + " has " + std::to_string(names) + " names for " +
                                   std::to_string(table.columns) + " columns and is not used as the header.");
            }
        }
        const std::size_t preamble = start - (table.headerLine != 0 ? 1 : 0);
        if (preamble > 0) {
            warnings.push_back(std::to_string(preamble) + " line(s) before the table skipped (" +
                               LineText(records.front().line) + " to " +
                               LineText(records[preamble - 1].line) + ").");
        }
    }
    int commentsInside = 0;
    if (auto refusal = CollectRows(records, start, table, maxRows, commentsInside)) {
        return refusal;
    }
    if (commentsInside > 0) {
        warnings.push_back(std::to_string(commentsInside) + " comment line(s) inside the table skipped.");
    }
    return std::nullopt;
}

ColumnFacts FactsOf(const Table& table, int column) {
    ColumnFacts facts;
    bool first = true;
    double expected = 0;
    facts.countsRows = table.rows.size() >= 2;
    for (const Row& row : table.rows) {
        const std::string& cell = row.cells[static_cast<std::size_t>(column - 1)];
        if (Trim(cell).empty()) {
            ++facts.empties;
            facts.countsRows = false;
            continue;
        }
        facts.letterTypes += LetterType(cell).has_value();
        const auto value = ParseNumber(cell, table.decimalComma);
        if (!value) {
            facts.countsRows = false;
            continue;
        }
        ++facts.numbers;
        facts.allHalves = facts.allHalves && std::floor(*value * 2) == *value * 2;
        facts.typeDigitsOnly = facts.typeDigitsOnly && (*value == 0 || *value == 1 || *value == 2);
        if (first) {
            facts.min = facts.max = *value;
            facts.countsRows = facts.countsRows && (*value == 0 || *value == 1);
            expected = *value;
            first = false;
        } else {
            facts.min = std::min(facts.min, *value);
            facts.max = std::max(facts.max, *value);
        }
        facts.countsRows = facts.countsRows && *value == expected;
        expected += 1;
    }
    facts.allHalves = facts.allHalves && facts.numbers > 0;
    return facts;
}

// Numbers down the whole column that are not cycle counts and lie where Julian dates, reduced ones
// included, lie.
bool LooksLikeDates(const ColumnFacts& facts, std::size_t rows) {
    return facts.numbers == static_cast<int>(rows) && !facts.allHalves && facts.min >= 1000 &&
           facts.max <= 3e6;
}

std::string ColumnList(const Table& table, const std::vector<int>& columns) {
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == columns.size() ? " and " : ", ") + ColumnText(table, columns[i]);
    }
    return text;
}

// The column the user named, counted from 1, or a refusal.
std::variant<int, Refusal> ResolveChoice(const Table& table, const ColumnChoice& choice,
                                         std::string_view role) {
    if (choice.kind == ColumnChoice::Kind::kNumber) {
        if (choice.number < 1 || choice.number > table.columns) {
            return Refusal{"There is no column " + std::to_string(choice.number) + " for the " +
                               std::string(role) + ": the table has " + std::to_string(table.columns) +
                               " columns.",
                           0};
        }
        return choice.number;
    }
    std::vector<int> matches;
    for (int column = 1; column <= table.columns; ++column) {
        if (EqualsIgnoringCase(Trim(table.names[static_cast<std::size_t>(column - 1)]), Trim(choice.name))) {
            matches.push_back(column);
        }
    }
    if (matches.size() == 1) {
        return matches.front();
    }
    return Refusal{(matches.empty() ? "No column is named \"" : "More than one column is named \"") +
                       choice.name + "\" for the " + std::string(role) + "; give the column's number.",
                   table.headerLine};
}

std::variant<int, Refusal> FindTimeColumn(const Table& table, const ColumnChoice& choice) {
    if (choice.kind != ColumnChoice::Kind::kDetect) {
        auto column = ResolveChoice(table, choice, "time");
        if (const int* number = std::get_if<int>(&column);
            number != nullptr && table.facts[static_cast<std::size_t>(*number - 1)].countsRows) {
            return Refusal{ColumnText(table, *number) + " counts the rows and holds no times.", 0};
        }
        return column;
    }
    std::vector<int> strong, weak, dated;
    for (int column = 1; column <= table.columns; ++column) {
        const ColumnFacts& facts = table.facts[static_cast<std::size_t>(column - 1)];
        const TimeName name = TimeNameOf(table.names[static_cast<std::size_t>(column - 1)]);
        const bool mostlyNumbers = facts.numbers * 2 >= facts.Filled(table.rows.size()) && facts.numbers > 0;
        const bool dates = LooksLikeDates(facts, table.rows.size());
        if (name == TimeName::kStrong && mostlyNumbers && !facts.allHalves) {
            strong.push_back(column);
        } else if (name == TimeName::kWeak && dates) {
            weak.push_back(column);
        } else if (dates) {
            dated.push_back(column);
        }
    }
    for (const auto* candidates : {&strong, &weak, &dated}) {
        if (candidates->size() == 1) {
            return candidates->front();
        }
        if (candidates->size() > 1) {
            return Refusal{"The times could be in " + ColumnList(table, *candidates) +
                               "; name the time column.",
                           table.headerLine};
        }
    }
    return Refusal{"No column holds times that can be told for certain; name the time column.", 0};
}

std::optional<Refusal> ReadTimes(const Table& table, int column, std::vector<double>& times) {
    const auto index = static_cast<std::size_t>(column - 1);
    const std::string where = ", " + ColumnText(table, column);
    for (const Row& row : table.rows) {
        const std::string& cell = row.cells[index];
        const auto value = ParseNumber(cell, table.decimalComma);
        if (!value) {
            std::string why = Trim(cell).empty() ? ": no time."
                              : IsNumberWithBlankInside(cell, table.decimalComma)
                                  ? ": a number with a blank inside (\"" + cell + "\")."
                                  : ": \"" + cell + "\" is not a number.";
            return Refusal{LineText(row.line) + where + why, row.line};
        }
        if (*value == 0) {
            return Refusal{LineText(row.line) + where + ": a time of 0.", row.line};
        }
        // Full Julian dates mixed with reduced ones would be read as times millions of days apart.
        if (!times.empty() && (std::fabs(*value) >= 1e6) != (std::fabs(times.front()) >= 1e6)) {
            return Refusal{LineText(row.line) + where + ": full and reduced Julian dates are mixed.",
                           row.line};
        }
        times.push_back(*value);
    }
    return std::nullopt;
}

// How digits name the minima in a type column: 0/1 or 1/2 for primary/secondary.
// kUntold: only 1s, which mean primary in one way and secondary in the other.
enum class DigitTypes { kNone, kZeroOne, kOneTwo, kUntold, kMixed };

DigitTypes DigitTypesOf(const Table& table, int column) {
    bool zero = false, one = false, two = false;
    for (const Row& row : table.rows) {
        const auto value = ParseNumber(row.cells[static_cast<std::size_t>(column - 1)], table.decimalComma);
        zero = zero || (value && *value == 0);
        one = one || (value && *value == 1);
        two = two || (value && *value == 2);
    }
    if (zero && two) {
        return DigitTypes::kMixed;
    }
    return zero  ? DigitTypes::kZeroOne
           : two ? DigitTypes::kOneTwo
           : one ? DigitTypes::kUntold
                 : DigitTypes::kNone;
}

bool IsTypeColumn(const Table& table, int column) {
    const ColumnFacts& facts = table.facts[static_cast<std::size_t>(column - 1)];
    const int filled = facts.Filled(table.rows.size());
    if (filled == 0) {
        return false;
    }
    if (facts.letterTypes == filled) {
        return true;
    }
    return facts.numbers + facts.letterTypes == filled && facts.typeDigitsOnly &&
           IsTypeName(table.names[static_cast<std::size_t>(column - 1)]) &&
           DigitTypesOf(table, column) != DigitTypes::kMixed;
}

std::optional<Refusal> ReadTypes(const Table& table, int column, std::vector<MinimumType>& types,
                                 std::vector<std::string>& warnings) {
    const DigitTypes digits = DigitTypesOf(table, column);
    if (digits == DigitTypes::kUntold) {
        warnings.push_back(ColumnText(table, column) +
                           " writes types as digits but only as 1: primary or secondary cannot be told.");
    }
    const auto index = static_cast<std::size_t>(column - 1);
    for (const Row& row : table.rows) {
        const std::string& cell = row.cells[index];
        MinimumType type = MinimumType::kUnknown;
        if (const auto letters = LetterType(cell)) {
            type = *letters;
        } else if (const auto value = ParseNumber(cell, false);
                   value && digits != DigitTypes::kMixed && (*value == 0 || *value == 1 || *value == 2)) {
            const double primary = digits == DigitTypes::kZeroOne ? 0 : 1;
            if (digits != DigitTypes::kUntold) {
                type = *value == primary ? MinimumType::kPrimary : MinimumType::kSecondary;
            }
        } else if (!Trim(cell).empty()) {
            return Refusal{LineText(row.line) + ", " + ColumnText(table, column) + ": \"" + cell +
                               "\" is not a minimum type (p/s, I/II, pri/sec, 0/1 or 1/2).",
                           row.line};
        }
        types.push_back(type);
    }
    return std::nullopt;
}

std::optional<Refusal> ReadErrors(const Table& table, int column, std::vector<double>& errors,
                                  std::vector<std::string>& warnings) {
    const auto index = static_cast<std::size_t>(column - 1);
    bool large = false;
    for (const Row& row : table.rows) {
        const std::string& cell = row.cells[index];
        const auto value = ParseNumber(cell, table.decimalComma);
        if (!value && !Trim(cell).empty()) {
            const bool blank = IsNumberWithBlankInside(cell, table.decimalComma);
            return Refusal{LineText(row.line) + ", " + ColumnText(table, column) +
                               (blank ? ": a number with a blank inside (\"" : ": \"") + cell +
                               (blank ? "\")." : "\" is not an error in days."),
                           row.line};
        }
        if (value && *value < 0) {
            return Refusal{LineText(row.line) + ", " + ColumnText(table, column) + ": a negative error.",
                           row.line};
        }
        large = large || (value && *value > 0.1);
        errors.push_back(value.value_or(0.0));
    }
    if (large) {
        warnings.push_back(ColumnText(table, column) + " holds errors above 0.1 d; errors are read as days.");
    }
    return std::nullopt;
}

bool IsErrorColumn(const Table& table, int column) {
    const ColumnFacts& facts = table.facts[static_cast<std::size_t>(column - 1)];
    return IsErrorName(table.names[static_cast<std::size_t>(column - 1)]) && facts.numbers > 0 &&
           facts.numbers == facts.Filled(table.rows.size());
}

// The type or error column: the user's choice, or the first column that passes `fits`.
std::variant<int, Refusal> FindOptionalColumn(const Table& table, const ColumnChoice& choice,
                                              std::string_view role, const std::vector<int>& taken,
                                              bool (*fits)(const Table&, int)) {
    if (choice.kind == ColumnChoice::Kind::kNone) {
        return 0;
    }
    if (choice.kind != ColumnChoice::Kind::kDetect) {
        return ResolveChoice(table, choice, role);
    }
    for (int column = 1; column <= table.columns; ++column) {
        if (std::find(taken.begin(), taken.end(), column) == taken.end() && fits(table, column)) {
            return column;
        }
    }
    return 0;
}

void Refuse(TableReadResult& result, const Refusal& refusal) {
    result.refusal = refusal.text;
    result.refusalLine = refusal.line;
}

// The text after the first `lines` lines, and the number of the first line it starts with.
std::string_view SkipLines(std::string_view text, int lines, int& firstLine) {
    firstLine = 1;
    while (lines-- > 0 && !text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        ++firstLine;
    }
    return text;
}

std::optional<Refusal> ReadColumns(const Table& table, const TableOptions& options, TableReadResult& result) {
    // The type and error columns are found even when the time column is not, so that the user who
    // names the time column sees the others already chosen.
    const auto time = FindTimeColumn(table, options.timeColumn);
    const int* timeColumn = std::get_if<int>(&time);
    result.timeColumn = timeColumn != nullptr ? *timeColumn : 0;
    auto type = FindOptionalColumn(table, options.typeColumn, "type", {result.timeColumn}, IsTypeColumn);
    if (auto* refusal = std::get_if<Refusal>(&type)) {
        return *refusal;
    }
    result.typeColumn = std::get<int>(type);
    auto error = FindOptionalColumn(table, options.errorColumn, "error",
                                    {result.timeColumn, result.typeColumn}, IsErrorColumn);
    if (auto* refusal = std::get_if<Refusal>(&error)) {
        return *refusal;
    }
    result.errorColumn = std::get<int>(error);
    if (const auto* refusal = std::get_if<Refusal>(&time)) {
        return *refusal;
    }
    if (auto refusal = ReadTimes(table, result.timeColumn, result.times)) {
        return refusal;
    }
    if (result.typeColumn != 0) {
        if (auto refusal = ReadTypes(table, result.typeColumn, result.types, result.warnings)) {
            return refusal;
        }
    }
    if (result.errorColumn != 0) {
        if (auto refusal = ReadErrors(table, result.errorColumn, result.errors, result.warnings)) {
            return refusal;
        }
    }
    result.types.resize(result.times.size(), MinimumType::kUnknown);
    result.errors.resize(result.times.size(), 0.0);
    return std::nullopt;
}

} // namespace

std::string SeparatorName(TableSeparator separator) {
    return DesignOf(separator).name;
}

std::optional<TableSeparator> ParseSeparator(std::string_view text) {
    for (const SeparatorDesign& design : kSeparators) {
        const auto spelt = [text](std::string_view spelling) {
            return !spelling.empty() && EqualsIgnoringCase(text, spelling);
        };
        if (EqualsIgnoringCase(text, design.name) ||
            std::any_of(design.spellings.begin(), design.spellings.end(), spelt)) {
            return design.separator;
        }
    }
    return std::nullopt;
}

ColumnChoice ParseColumnChoice(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (EqualsIgnoringCase(trimmed, "none")) {
        return ColumnChoice::None();
    }
    int number = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
    if (!trimmed.empty() && error == std::errc() && end == trimmed.data() + trimmed.size()) {
        return ColumnChoice::Number(number);
    }
    return ColumnChoice::Name(std::string(trimmed));
}

TableReadResult ReadTimesTable(std::string_view text, const TableOptions& options) {
    TableReadResult result;
    int firstLine = 1;
    text = SkipLines(text, std::max(options.skipLines, 0), firstLine);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        const auto lineEnds =
            std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n');
        const int line = firstLine + static_cast<int>(lineEnds);
        Refuse(result, {LineText(line) + " holds a zero byte: this is not a text file.", line});
        return result;
    }
    Table table;
    table.separator = options.separator.value_or(DetectSeparator(text, firstLine));
    table.decimalComma = table.separator != TableSeparator::kComma;
    result.separator = table.separator;
    const auto records = RecordSplitter(text, firstLine, table.separator).Split();
    if (auto refusal = LayOut(records, table, options.maxRows, result.warnings)) {
        Refuse(result, *refusal);
        return result;
    }
    for (int column = 1; column <= table.columns; ++column) {
        table.facts.push_back(FactsOf(table, column));
    }
    result.headerLine = table.headerLine;
    result.firstDataLine = table.rows.front().line;
    result.columnNames = table.names;
    if (auto refusal = ReadColumns(table, options, result)) {
        result.times.clear();
        result.types.clear();
        result.errors.clear();
        Refuse(result, *refusal);
    }
    return result;
}

std::string DescribeColumns(const TableReadResult& result) {
    const auto describe = [&result](std::string_view role, int column) {
        std::string text = std::string(role) + ": column " + std::to_string(column);
        const auto index = static_cast<std::size_t>(column - 1);
        if (index < result.columnNames.size() && !result.columnNames[index].empty()) {
            text += " \"" + result.columnNames[index] + "\"";
        }
        return text;
    };
    if (result.timeColumn == 0) {
        return {};
    }
    std::string text = describe("time", result.timeColumn);
    if (result.typeColumn != 0) {
        text += ", " + describe("type", result.typeColumn);
    }
    if (result.errorColumn != 0) {
        text += ", " + describe("error", result.errorColumn);
    }
    return text;
}

std::string PlainMinimaText(const std::vector<double>& times) {
    std::string text;
    for (double time : times) {
        std::array<char, 40> buffer{};
        const int length = std::snprintf(buffer.data(), buffer.size(), "%.17g\r\n", time);
        text.append(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
    }
    return text;
}

bool IsPlainMinimaText(std::string_view text, std::int32_t capacity) {
    return ParseMinimaText(text, capacity).failure == MinimaFailure::kNone;
}

bool FirstFieldCountsRows(std::string_view text) {
    long expected = -1;
    bool any = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty()) {
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            return false;
        }
        const std::string_view first = Trim(line.substr(0, comma));
        long value = 0;
        const auto [at, error] = std::from_chars(first.data(), first.data() + first.size(), value);
        if (first.empty() || error != std::errc() || at != first.data() + first.size()) {
            return false;
        }
        if (expected < 0 && value != 0 && value != 1) {
            return false;
        }
        if (expected >= 0 && value != expected) {
            return false;
        }
        expected = value + 1;
        any = true;
    }
    return any;
}

bool LoadTableIntoState(SharedState& state, ReaderWindow& window, const TableReadResult& table,
                        const std::string& folder, const std::string& fileName) {
    if (!table.Loaded()) {
        window.ShowMessage(table.refusal);
        return false;
    }
    const std::size_t count = table.times.size();
    if (count > static_cast<std::size_t>(kMaxObservations)) {
        window.ShowMessage("The table holds " + std::to_string(count) + " times; at most " +
                           std::to_string(kMaxObservations) + " can be loaded.  Nothing was loaded.");
        return false;
    }
    state.DataFolder = folder;
    state.DataFileName = fileName;
    state.ObsTimes.fill(0.0);
    state.ObsTypes.fill(MinimumType::kUnknown);
    state.ObsErrors.fill(0.0);
    state.ObsExtraColumns.assign(kMaxObservations + 1, {});
    std::copy(table.times.begin(), table.times.end(), state.ObsTimes.begin() + 1);
    std::copy(table.types.begin(), table.types.end(), state.ObsTypes.begin() + 1);
    std::copy(table.errors.begin(), table.errors.end(), state.ObsErrors.begin() + 1);
    state.ObsCount = static_cast<std::int16_t>(count);
    state.BaseTime = *std::min_element(table.times.begin(), table.times.end());
    window.SetFileNameCaption(fileName);
    state.FTComputed = kFalse;
    window.EnableCompute();
    window.SetCountCaption(" " + std::to_string(count));
    return true;
}

} // namespace quorix
