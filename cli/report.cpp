#include "cli/report.h"

#include "search/periodsearch.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace quorix::cli {

namespace {

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

std::string DipTable(const CliSearch& search) {
    std::string table = "Deepest distinct dips (best first, at least 1/T apart in frequency):\n";
    table += "  rank  index      period (days)          FT\n";
    int rank = 0;
    for (const FTDip& dip : search.dips) {
        table += Padded(std::to_string(++rank), 6) + "  " + Padded(std::to_string(dip.index), 9) + "  " +
                 Padded(ExactText(search.entries.twoPi / dip.omega), 20) + "  " + ExactText(dip.value) + "\n";
    }
    return table;
}

nlohmann::json DipsJson(const CliSearch& search) {
    nlohmann::json dips = nlohmann::json::array();
    for (const FTDip& dip : search.dips) {
        dips.push_back({{"index", dip.index},
                        {"omega", dip.omega},
                        {"period", search.entries.twoPi / dip.omega},
                        {"ft", dip.value}});
    }
    return dips;
}

std::string Optional(const std::optional<double>& value) {
    return value ? ExactText(*value) : std::string("n/a");
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
    if (report.ephemeris) {
        const Ephemeris& e = *report.ephemeris;
        text += Line("Residual RMS:", ExactText(e.residualRms) + " days (about the line)");
        text += Line("Refined epoch:", ExactText(e.epoch) + " +/- " + Optional(e.epochError));
        text += Line("Refined period:", ExactText(e.period) + " +/- " + Optional(e.periodError) + " days");
    }
    return text;
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
    if (report.ephemeris) {
        const Ephemeris& e = *report.ephemeris;
        json["residualRms"] = e.residualRms;
        json["epoch"] = e.epoch;
        json["refinedPeriod"] = e.period;
        json["epochError"] = e.epochError ? nlohmann::json(*e.epochError) : nlohmann::json();
        json["periodError"] = e.periodError ? nlohmann::json(*e.periodError) : nlohmann::json();
    }
    return json;
}

} // namespace

std::optional<OCReport> MakeOCReport(std::span<const double> times, double baseTime, double period) {
    auto diagram = ComputeOC(times, baseTime, period);
    if (!diagram) {
        return std::nullopt;
    }
    OCReport report{std::move(*diagram), std::nullopt, baseTime};
    report.ephemeris = RefineEphemeris(report.diagram.cycles, report.diagram.oc, baseTime, period);
    return report;
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
        text += DipTable(search);
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
    json["dips"] = DipsJson(search);
    if (report.oc) {
        json["oc"] = OCJson(*report.oc);
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
