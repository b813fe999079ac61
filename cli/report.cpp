#include "cli/report.h"

#include "cli/fitsreport.h"
#include "search/periodsearch.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace quorix::cli {

namespace {

std::string Printed(const char* format, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Padded(const std::string& text, std::size_t width) {
    std::string padded(width > text.size() ? width - text.size() : 0, ' ');
    padded += text;
    return padded;
}

std::string Line(const std::string& heading, const std::string& value) {
    std::string line = heading;
    line.resize(std::max<std::size_t>(heading.size() + 1, 22), ' ');
    return line + value + "\n";
}

// What the candidate columns rest on, below the table.
std::string CandidateNotes(const CandidateColumns& columns) {
    std::string notes = "FAP: chance of so deep a dip from data without a period, over " +
                        Printed("%.0f", columns.independentFrequencies) + " independent frequencies.\n";
    if (columns.stride > 1) {
        notes += "Candidates from the lowest FT of each " + std::to_string(columns.stride) +
                 " neighbouring grid points, refined by the exact formula.\n";
    }
    if (columns.gridTooCoarse) {
        notes += "The grid is too coarse for some of these dips: a dip may fall between its points.\n";
    }
    return notes;
}

std::string PickLine(const CandidatePick& pick) {
    return Line("Pick:",
                (pick.period ? ExactText(*pick.period) + " days. " : std::string("none. ")) + pick.reason);
}

// The candidate columns of one dip: false-alarm probability, refined period, type agreement, family.
std::string CandidateCells(const std::optional<Candidate>& candidate) {
    if (!candidate) {
        return "  " + Padded("-", 8) + "  " + Padded("-", 20) + "  " + Padded("-", 5) + "  -";
    }
    const std::string types = candidate->typeAgreement ? Printed("%.2f", *candidate->typeAgreement) : "-";
    return "  " + Padded(Printed("%.2e", candidate->falseAlarm), 8) + "  " +
           Padded(ExactText(candidate->refinedPeriod), 20) + "  " + Padded(types, 5) + "  " +
           candidate->family + (candidate->gridTooCoarse ? " (grid too coarse)" : "");
}

std::string DipTable(const CliSearch& search, const std::optional<CandidateColumns>& columns) {
    std::string table = "Deepest distinct dips (best first, at least 1/T apart in frequency):\n";
    table += "  rank  index      period (days)          FT";
    if (columns) {
        table += "                       FAP  refined period (days)  types  family";
    }
    table += "\n";
    for (std::size_t k = 0; k < search.dips.size(); ++k) {
        const FTDip& dip = search.dips[k];
        std::string row = Padded(std::to_string(k + 1), 6) + "  " + Padded(std::to_string(dip.index), 9) +
                          "  " + Padded(ExactText(search.entries.twoPi / dip.omega), 20) + "  ";
        if (columns) {
            row += ExactText(dip.value);
            row.resize(std::max<std::size_t>(row.size(), 62), ' ');
            row += CandidateCells(columns->dips[k]);
        } else {
            row += ExactText(dip.value);
        }
        table += row + "\n";
    }
    if (columns) {
        table += CandidateNotes(*columns);
    }
    return table;
}

nlohmann::json Nullable(const std::optional<double>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json();
}

nlohmann::json DipsJson(const CliSearch& search, const std::optional<CandidateColumns>& columns) {
    nlohmann::json dips = nlohmann::json::array();
    for (std::size_t k = 0; k < search.dips.size(); ++k) {
        const FTDip& dip = search.dips[k];
        nlohmann::json entry = {{"index", dip.index},
                                {"omega", dip.omega},
                                {"period", search.entries.twoPi / dip.omega},
                                {"ft", dip.value}};
        if (columns) {
            const std::optional<Candidate>& candidate = columns->dips[k];
            entry["fap"] = candidate ? nlohmann::json(candidate->falseAlarm) : nlohmann::json();
            entry["family"] = candidate ? nlohmann::json(candidate->family) : nlohmann::json();
            entry["typeAgreement"] = candidate ? Nullable(candidate->typeAgreement) : nlohmann::json();
            entry["refinedPeriod"] = candidate ? nlohmann::json(candidate->refinedPeriod) : nlohmann::json();
            entry["gridTooCoarse"] = candidate ? nlohmann::json(candidate->gridTooCoarse) : nlohmann::json();
        }
        dips.push_back(entry);
    }
    return dips;
}

std::string OCText(const OCReport& report) {
    const OCDiagram& oc = report.diagram;
    std::string text = "O-C for trial period " + ExactText(oc.period) + " days, from BaseTime " +
                       ExactText(report.baseTime) + ":\n";
    text += "     cycle            O-C (days)\n";
    for (std::size_t i = 0; i < oc.cycles.size(); ++i) {
        text += Padded(ExactText(oc.cycles[i]), 10) + "  " + Padded(ExactText(oc.oc[i]), 20) + "\n";
    }
    text += Line("Fit O-C = a + b E:", oc.fitDefined ? "a = " + ExactText(oc.intercept) +
                                                           " days, b = " + ExactText(oc.slope) + " days/cycle"
                                                     : "not defined (every cycle count is the same)");
    text += Line("RMS deviation:", ExactText(oc.rms) + " days (about a, as the O-C window shows it)");
    if (const EphemerisFit* line = PreferredLinearFit(report.ephemeris)) {
        text += Line("Residual RMS:", ExactText(line->rms) + " days (about the line)");
        text += Line("Refined epoch:", ExactText(line->t0) + " +/- " + ExactText(line->t0Err));
        text +=
            Line("Refined period:", ExactText(line->period) + " +/- " + ExactText(line->periodErr) + " days");
    }
    return text + '\n' + EphemerisText(report.ephemeris);
}

nlohmann::json OCJson(const OCReport& report) {
    const OCDiagram& oc = report.diagram;
    nlohmann::json points = nlohmann::json::array();
    for (std::size_t i = 0; i < oc.cycles.size(); ++i) {
        points.push_back({{"cycle", oc.cycles[i]}, {"oc", oc.oc[i]}});
    }
    nlohmann::json json = {{"period", oc.period},
                           {"baseTime", report.baseTime},
                           {"points", points},
                           {"fitDefined", oc.fitDefined},
                           {"intercept", oc.intercept},
                           {"slope", oc.slope},
                           {"rms", oc.rms}};
    if (const EphemerisFit* line = PreferredLinearFit(report.ephemeris)) {
        json["residualRms"] = line->rms;
        json["epoch"] = line->t0;
        json["refinedPeriod"] = line->period;
        json["epochError"] = line->t0Err;
        json["periodError"] = line->periodErr;
    }
    return json;
}

} // namespace

std::optional<OCReport> MakeOCReport(std::span<const double> times, double baseTime, double period,
                                     std::span<const MinimumType> types, std::span<const double> errors) {
    auto diagram = ComputeOC(times, baseTime, period);
    if (!diagram) {
        return std::nullopt;
    }
    return OCReport{std::move(*diagram), FitTrialEphemeris(times, baseTime, period, types, errors), baseTime};
}

std::string TextReport(const Report& report) {
    const CliSearch& search = *report.search;
    const SearchEntries& entries = search.entries;
    std::string text;
    text += Line("File:", report.file);
    text += Line("Observations:", std::to_string(report.observations) +
                                      ", time span T = " + ExactText(search.timeSpan) + " days");
    text += Line("Period range:", ExactText(entries.periodMin) + " to " + ExactText(entries.periodMax) +
                                      " days, " + std::to_string(entries.steps) + " steps");
    text += Line("Best period:", ExactText(search.bestPeriod) + " days (desktop read-out " +
                                     BestPeriodText(search.bestPeriod) + ")");
    text += Line("FT there:", ExactText(search.best.value));
    text +=
        Line("Grid point:", std::to_string(search.best.index) + ", omega " + ExactText(search.best.omega));
    text +=
        Line("Resolution there:", ExactText(search.resolution) + " days between neighbouring grid points");
    if (!search.dips.empty()) {
        text += '\n';
        text += DipTable(search, report.candidates);
    }
    if (report.pickAsked && report.candidates) {
        text += '\n';
        text += PickLine(report.candidates->pick);
    }
    if (report.oc) {
        text += '\n';
        text += OCText(*report.oc);
    }
    if (!report.aliasLines.empty()) {
        text += '\n';
        for (const std::string& line : report.aliasLines) {
            text += line;
            text += '\n';
        }
    }
    return text;
}

std::string JsonReport(const Report& report) {
    const CliSearch& search = *report.search;
    const SearchEntries& entries = search.entries;
    nlohmann::json json;
    json["file"] = report.file;
    json["observations"] = report.observations;
    json["timeSpan"] = search.timeSpan;
    json["grid"] = {{"periodMin", entries.periodMin},
                    {"periodMax", entries.periodMax},
                    {"steps", entries.steps},
                    {"omegaLow", search.grid.omegaLow},
                    {"omegaStep", search.grid.omegaStep},
                    {"tooCoarse", search.coarse}};
    json["best"] = {{"index", search.best.index},      {"omega", search.best.omega},
                    {"period", search.bestPeriod},     {"ft", search.best.value},
                    {"resolution", search.resolution}, {"readOut", BestPeriodText(search.bestPeriod)}};
    json["dips"] = DipsJson(search, report.candidates);
    if (report.candidates) {
        json["candidates"] = {{"independentFrequencies", report.candidates->independentFrequencies},
                              {"keptStride", report.candidates->stride},
                              {"gridTooCoarse", report.candidates->gridTooCoarse}};
    }
    if (report.pickAsked && report.candidates) {
        const CandidatePick& pick = report.candidates->pick;
        json["pick"] = {{"period", Nullable(pick.period)}, {"reason", pick.reason}};
    }
    if (report.oc) {
        json["oc"] = OCJson(*report.oc);
        json["ephemeris"] = EphemerisJson(report.oc->ephemeris);
    }
    if (!report.aliasLines.empty()) {
        json["aliasLines"] = report.aliasLines;
    }
    return json.dump(2) + "\n";
}

std::string CoarseGridWarning(const CliSearch& search) {
    if (!search.coarse) {
        return {};
    }
    return "warning: the frequency step " + ExactText(search.grid.omegaStep / search.entries.twoPi) +
           " cycles/day is coarser than a fifth of 1/T (T = " + ExactText(search.timeSpan) +
           " days): a true dip can fall between grid points; about " + ExactText(search.stepsForFine) +
           " steps resolve this range";
}

} // namespace quorix::cli
