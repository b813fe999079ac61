#include "state/settingsfile.h"

#include "state/numbertext.h"

namespace quorix {

namespace {

// The period with a digit before its point ("0.2", not ".2"), as most readers expect.
std::string PeriodText(double period) {
    std::string text = ShortNumberText(period);
    const std::size_t point = text.find('.');
    if (point != std::string::npos && (point == 0 || text[point - 1] == '-')) {
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(point), '0');
    }
    return text;
}

} // namespace

std::vector<std::string> SettingsFileLines(const SharedState& state, double mainTop, double mainLeft,
                                           PeriodLine periodLine) {
    std::vector<std::string> lines;
    for (const std::int16_t measure : {RoundClampInt16(mainTop), RoundClampInt16(mainLeft)}) {
        lines.push_back(std::to_string(measure));
    }
    for (const std::int16_t measure :
         {state.FTWinTop, state.FTWinLeft, state.FTWinHeight, state.FTWinWidth, state.OCWinTop,
          state.OCWinLeft, state.OCWinHeight, state.OCWinWidth, state.AliasWinTop, state.AliasWinLeft,
          state.AliasWinHeight, state.AliasWinWidth}) {
        lines.push_back(std::to_string(measure));
    }
    const std::string period = PeriodText(state.PeriodMin);
    lines.push_back(periodLine == PeriodLine::kSecondField ? "," + period : period);
    // Nothing in the program sets the value of this line; it stays so that the steps remain on line 17.
    lines.emplace_back();
    lines.push_back(std::to_string(state.StepCount));
    return lines;
}

} // namespace quorix
