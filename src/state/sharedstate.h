#pragma once

#include "base/colour.h"
#include "state/minimumtype.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorix {

// A 16-bit truth value as the whole program keeps them: 0 is false, -1 is true.
using Flag = std::int16_t;
inline constexpr Flag kFalse = 0;
inline constexpr Flag kTrue = -1;
constexpr Flag ToFlag(bool value) {
    return value ? kTrue : kFalse;
}

// The plain colours the plots draw in.
inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kBlue = Rgb(0, 0, 255);
inline constexpr Colour kRed = Rgb(255, 0, 0);
inline constexpr Colour kSilver = Rgb(192, 192, 192);
inline constexpr Colour kWhite = Rgb(255, 255, 255);
// The FT plot window's background, on screen and in exported pictures alike.
inline constexpr Colour kFTPlotBackground = Rgb(224, 224, 224);

// The search entries a first start offers.
inline constexpr double kDefaultPeriodMin = 0.2;
inline constexpr double kDefaultPeriodMax = 1.0;
inline constexpr std::int32_t kDefaultStepCount = 10000;

inline constexpr int kMaxObservations = 500;
inline constexpr int kExtraColumns = 6;
inline constexpr int kMaxSteps = 500000;
inline constexpr int kMaxAliases = 100;
inline constexpr int kMaxAliasLines = 200;
inline constexpr int kMaxErrorNumber = 1000;
inline constexpr int kTextTableSize = 11;

// One listed alias period and how it relates to the trial period.
struct AliasEntry {
    float Period = 0.0f;  // kept in single precision: sorting, display and marks all use this value
    std::string TypeText; // exactly five characters once written
};

// The one record that every window and routine of the program shares. One instance lives in the
// application object from start to exit; everything is passed a reference to it.
struct SharedState {
    // Observations, replaced as a whole by every successful load.
    std::string DataFolder;
    std::string DataFileName;
    std::array<double, kMaxObservations + 1> ObsTimes{};
    std::vector<std::array<double, kExtraColumns>> ObsExtraColumns =
        std::vector<std::array<double, kExtraColumns>>(kMaxObservations + 1);
    std::int16_t ObsCount = 0;
    double BaseTime = 0.0;
    // Minimum type and timing error (days, 0 when not given) of each observation, as an imported
    // table gives them; indexed like ObsTimes.
    std::array<MinimumType, kMaxObservations + 1> ObsTypes{};
    std::array<double, kMaxObservations + 1> ObsErrors{};

    // Constants, stored at the start of every search.
    double Pi = 0.0;
    double TwoPi = 0.0;

    // Search parameters and frequency grid.
    double PeriodMin = 0.0;
    double PeriodMax = 0.0;
    std::int32_t StepCount = 0;
    double OmegaLow = 0.0;
    double OmegaHigh = 0.0;
    double OmegaStep = 0.0;
    // Grid size of the last completed search: StepCount may hold a rejected entry, this never does.
    std::int32_t CompletedStepCount = 0;

    // FT results.
    std::vector<double> FTValues = std::vector<double>(kMaxSteps + 1);
    double BestFT = 0.0;
    double BestOmega = 0.0;
    Flag FTComputed = kFalse;

    // What the FT plot shows now, and the full range it returns to.
    std::int32_t ViewStartIndex = 0;
    std::int32_t ViewEndIndex = 0;
    double ViewOmegaStart = 0.0;
    double ViewOmegaEnd = 0.0;
    double FullOmegaStart = 0.0;
    double FullOmegaEnd = 0.0;

    // FT plot geometry, recomputed at every redraw from the window's outer size.
    std::int16_t PlotLeft = 0;
    std::int16_t PlotRight = 0;
    std::int16_t PlotWidth = 0;
    std::int16_t PlotTop = 0;
    std::int16_t PlotBottom = 0;
    std::int16_t PlotHeight = 0;
    std::int16_t ControlsOffset = 0;
    float TickInterval = 0.0f;
    Flag FTRedrawing = kFalse;

    // Zoom pair on the FT plot.
    Flag ZoomFirstPending = kFalse;
    std::int32_t ZoomIndexFirst = 0;
    std::int32_t ZoomIndexSecond = 0;

    // Trial period chosen on the FT plot.
    double TrialPeriod = 0.0;

    // O-C diagram of the last accepted trial period: cycle counts and O-C values of entries
    // 1..OCPointCount, their extremes, the least-squares line and the deviation shown with it.
    std::array<double, kMaxObservations + 1> CycleNumbers{};
    std::array<double, kMaxObservations + 1> OCValues{};
    double CycleMax = 0.0;
    double OCMin = 0.0;
    double OCMax = 0.0;
    double OCRange = 0.0;
    double FitIntercept = 0.0;
    double FitSlope = 0.0;
    double OCRms = 0.0;
    // The period and the number of observations the diagram describes, so that a redraw after a
    // refused period or a new load still shows one consistent diagram.
    double OCPeriod = 0.0;
    std::int16_t OCPointCount = 0;
    // False when every cycle count is the same: no line is defined through such points.
    Flag OCFitDefined = kFalse;

    // O-C plot frame, recomputed at every redraw from the window's outer size.
    std::int16_t OCPlotLeft = 0;
    std::int16_t OCPlotTop = 0;
    std::int16_t OCPlotRight = 0;
    std::int16_t OCPlotBottom = 0;
    std::int16_t OCPlotWidth = 0;
    std::int16_t OCPlotHeight = 0;
    // Keeps the O-C window's resizes from drawing while it loads and while a drawing is under way.
    Flag OCWinLoading = kFalse;

    // Alias periods and their marks.
    std::array<AliasEntry, kMaxAliases + 1> AliasPeriods{};
    std::int16_t AliasCount = 0;
    std::int16_t AliasBuildCount = 0;
    double AliasBasePeriod = 0.0;
    double AliasRangeLow = 0.0;
    double AliasRangeHigh = 0.0;
    std::array<std::string, kMaxAliasLines + 1> AliasLines{};
    std::int16_t AliasLineCount = 0;
    Colour MarkColour{};
    Flag MarksShown = kFalse;

    // Remembered placements of the result windows, outer measures in twips.
    std::int16_t FTWinTop = 0;
    std::int16_t FTWinLeft = 0;
    std::int16_t FTWinHeight = 0;
    std::int16_t FTWinWidth = 0;
    std::int16_t OCWinTop = 0;
    std::int16_t OCWinLeft = 0;
    std::int16_t OCWinHeight = 0;
    std::int16_t OCWinWidth = 0;
    std::int16_t AliasWinTop = 0;
    std::int16_t AliasWinLeft = 0;
    std::int16_t AliasWinHeight = 0;
    std::int16_t AliasWinWidth = 0;
    Flag AliasWinLoading = kFalse;

    // Help window layout.
    std::array<std::int16_t, kTextTableSize> HelpParagraphLengths{};
    std::int16_t HelpParagraphCount = 0;

    // Text tables, filled once at start.
    std::array<std::string, kTextTableSize> DecimalFormats{};
    std::array<std::string, kTextTableSize> HelpParagraphs{};
    std::vector<std::string> ErrorMessages = std::vector<std::string>(kMaxErrorNumber + 1);
};

// Start-up steps, in the order the main window runs them while it loads. The main window places
// itself between the search defaults and the marks, and prepares its dialog after the marks.
void InitWindowPlacements(SharedState& state);
void InitSearchDefaults(SharedState& state);
void InitMarks(SharedState& state);
void InitHelpParagraphs(SharedState& state);
void InitResultFlags(SharedState& state);
void InitDecimalFormats(SharedState& state);
void InitErrorMessages(SharedState& state);

// Every start-up step that concerns the state alone, in order; for callers without windows.
void InitialiseSharedState(SharedState& state);

} // namespace quorix
