#include "state/sharedstate.h"

#include "state/errormessages.h"

namespace quorix {

void InitWindowPlacements(SharedState& state) {
    state.FTWinTop = 50;
    state.FTWinLeft = 50;
    state.FTWinHeight = 5055;
    state.FTWinWidth = 14900;
    state.OCWinTop = 5100;
    state.OCWinLeft = 6700;
    state.OCWinHeight = 5500;
    state.OCWinWidth = 7000;
    state.AliasWinTop = 50;
    state.AliasWinLeft = 14950;
    state.AliasWinHeight = 6000;
    state.AliasWinWidth = 3600;
}

void InitSearchDefaults(SharedState& state) {
    state.PeriodMin = kDefaultPeriodMin;
    state.PeriodMax = kDefaultPeriodMax;
    state.StepCount = kDefaultStepCount;
}

void InitMarks(SharedState& state) {
    state.MarksShown = kFalse;
    state.MarkColour = Rgb(128, 0, 128);
}

void InitHelpParagraphs(SharedState& state) {
    state.HelpParagraphs[1] =
        "This period-search software analyzes times of minima for eclipsing binary stars using a modified "
        "Fourier transform."
        "  A range of frequencies is searched, resulting in a function FT which is then plotted."
        "  For each trial frequency f [= 1/P], the program calculates FT(f) = the sum of terms "
        "sin (2 pi f (HJDi-HJDo)) ^2 where HJDo is the lowest Heliocentric Julian Date and the sum is over "
        "all data points, HJDi. "
        "  (Function FT is then normalized by dividing by the number of data points.) "
        "  Thus FT will approach zero for frequencies close to 1/Po, where Po is the correct period, and can "
        "have a maximum value of unity elsewhere."
        "  Note that frequency increases from left to right; however, for convenience, the period is "
        "labelled, increasing from right to left.";
    state.HelpParagraphs[2] =
        "To use, first save all the available times of minima (in Julian Day format) to a text file, one "
        "value per line."
        "  (The latter is easy to generate in Excel; save a worksheet containing the single column of data "
        "in .csv format.)"
        "  After loading the file, select the range of periods to search and the number of steps or "
        "frequency intervals (typically 10,000 or 100,000)."
        "  To execute, click 'Compute'."
        "  Computations may take several seconds to execute (depending on the number of data points and "
        "steps), after which a plot will appear in a separate (FT) window.";
    state.HelpParagraphs[3] =
        "On the FT plot window, move the mouse around; the equivalent period under cross-hair is displayed."
        "  Look for places where the dense plot displays a line dipping down close to the x-axis."
        "  (If you don't see any such place it may have been skipped over."
        "  In this case, decrease the range of periods, or increase the number of steps.)"
        "  To expand the plot around the point of interest, right-click close to that point on the left and "
        "then on the right."
        "  For greater sensitivity in selecting the period, you may want to repeat the procedure."
        "  (To go back to the original plot at any time, click 'Restore'.)"
        "  Now left-click at a point on the plot to create (in a separate window) an O-C diagram for that "
        "period and the RMS deviation of points from the best-fit line.";
    state.HelpParagraphs[4] =
        "Note that lower harmonics of the period can also give good fits."
        "  That is, given a reasonable period P, then 1/2 P, 1/3 P, etc. will also give good fits."
        "  The rule is the following: the true period is the highest one that will give good fits in "
        "accordance with the data."
        "  That is, times of minima known to be secondary must give cycle counts that are integers plus 0.5."
        "  You will have to do further checking of candidate periods somewhere else -- likely on a "
        "spreadsheet.";
}

void InitResultFlags(SharedState& state) {
    state.FTComputed = kFalse;
}

void InitDecimalFormats(SharedState& state) {
    std::string pattern = "0.";
    for (int decimals = 1; decimals <= 8; ++decimals) {
        pattern += '0';
        state.DecimalFormats[decimals] = pattern;
    }
}

void InitErrorMessages(SharedState& state) {
    FillErrorMessages(state.ErrorMessages);
}

void InitialiseSharedState(SharedState& state) {
    InitWindowPlacements(state);
    InitSearchDefaults(state);
    InitMarks(state);
    InitHelpParagraphs(state);
    InitResultFlags(state);
    InitDecimalFormats(state);
    InitErrorMessages(state);
}

} // namespace quorix
