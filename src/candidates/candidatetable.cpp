#include "candidates/candidates.h"

#include <cstdio>

namespace quorix {
namespace {

std::string Printed(const char* format, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string Row(int rank, const Candidate& dip) {
    const std::string types = dip.typeAgreement ? Printed("%.2f", *dip.typeAgreement) : "-";
    return Printed("%3d  %-12.7f %-10.6f %-9.2e %-15.9f %-10.3e %-28s %-5s %s\n", rank, dip.period, dip.ft,
                   dip.falseAlarm, dip.refinedPeriod, dip.refinedFT, dip.family.c_str(), types.c_str(),
                   dip.gridTooCoarse ? "too coarse" : "");
}

} // namespace

std::string FormatCandidateTable(const CandidateList& list) {
    std::string text = Printed("%3s  %-12s %-10s %-9s %-15s %-10s %-28s %-5s %s\n", "#", "Period", "FT",
                               "FAP", "Refined period", "Refined FT", "Family", "Types", "Grid");
    for (std::size_t k = 0; k < list.dips.size(); ++k) {
        text += Row(static_cast<int>(k) + 1, list.dips[k]);
    }
    if (list.gridTooCoarse) {
        text += "The grid is too coarse for these dips: a dip may fall between its points. Use more steps or "
                "a narrower range.\n";
    }
    if (list.pick.period) {
        text += Printed("Pick: %.9f d. ", *list.pick.period);
    } else {
        text += "Pick: none. ";
    }
    return text + list.pick.reason + "\n";
}

} // namespace quorix
