#include "ui/frmhelp.h"

#include "state/numbertext.h"

#include <algorithm>

namespace quorix {

namespace {

const FontStyle kTitleFont{"Arial", 15.75, true};
constexpr Colour kTitleColour = Rgb(192, 0, 0);
constexpr double kDesignWidth = 14340;
constexpr double kDesignHeight = 4575;
constexpr double kDesignHeights[frmHelp::kParagraphLabels] = {2895, 2655, 2655, 2295, 2655};
constexpr double kParagraphLeft = 240;
constexpr double kMargin = 500; // the labels stop this far short of the window's width
constexpr double kFirstTop = 500;
constexpr double kTitleHeight = 375;
// What the window keeps below its last paragraph when the height estimate falls short.
constexpr double kBottomRoom = 120;
constexpr double kBaseHeight = 1000;

// The two height estimates: the opening one, and the one every later size change uses.
constexpr double kOpeningLineFactor = 15000;
constexpr double kOpeningGap = 400;
constexpr double kResizeLineFactor = 18000;
constexpr double kResizeGap = 300;

// The height a label's text takes wrapped within the label's width, in twips.
double WrappedHeight(const Label& label) {
    return PixelsToTwips(label.Widget()->heightForWidth(TwipsToPixels(label.Width())));
}

} // namespace

frmHelp::frmHelp(SharedState& state) : Label0(&DrawingSurface()), state_(state) {
    for (int i = 0; i < kParagraphLabels; ++i) {
        paragraphs_.push_back(std::make_unique<Label>(&DrawingSurface()));
    }
    SetCaption("Help");
    SetFormFont(kWindowFont);
    setMinimumWidth(TwipsToPixels(kMinimumWidth));
    setMaximumWidth(TwipsToPixels(kMaximumWidth));
    Label0.Place(120, 0, kDesignWidth - 2 * 120, 375);
    Label0.SetFont(kTitleFont);
    Label0.SetForeColor(kTitleColour);
    Label0.SetAlignment(TextAlign::kCentre);
    Label0.SetWordWrap(true);
    Label0.SetCaption("Help - ");
    for (int i = 1; i <= kParagraphLabels; ++i) {
        // No background of their own: a paragraph never hides the one below it.
        Label1(i).Place(kParagraphLeft, kFirstTop, kDesignWidth - kMargin, kDesignHeights[i - 1]);
        Label1(i).SetWordWrap(true);
    }
    // The design measures are those of the drawing area; the layout replaces the height at once.
    resize(TwipsToPixels(kDesignWidth), TwipsToPixels(kDesignHeight));
}

void frmHelp::ShowParagraphs() {
    for (int i = 1; i <= kParagraphLabels; ++i) {
        Label1(i).SetVisible(i <= state_.HelpParagraphCount);
    }
    Label0.SetCaption("Help - Modified Fourier Transform");
    const int count = std::clamp<int>(state_.HelpParagraphCount, 0, kParagraphLabels);
    for (int k = 1; k <= count; ++k) {
        Label1(k).SetCaption(state_.HelpParagraphs[k]);
        state_.HelpParagraphLengths[k] =
            RoundClampInt16(static_cast<double>(state_.HelpParagraphs[k].size()));
    }
    LayOut(kOpeningLineFactor, kOpeningGap, false);
}

void frmHelp::Form_Resize() {
    LayOut(kResizeLineFactor, kResizeGap, true);
}

void frmHelp::LayOut(double lineFactor, double gap, bool widenTitle) {
    const double width = std::clamp(Width(), kMinimumWidth, kMaximumWidth);
    const int count = std::clamp<int>(state_.HelpParagraphCount, 0, kParagraphLabels);
    const double labelWidth = RoundClampInt16(width - kMargin);
    if (widenTitle) {
        Label0.SetWidth(labelWidth);
    }
    for (int i = 1; i <= count; ++i) {
        Label1(i).SetWidth(labelWidth);
    }
    // The height estimate from the number of characters falls short in a narrow window: there the
    // title takes a second line and each paragraph the height its wrapped text needs, so that no
    // text is cut; a wide window keeps the estimated places.
    const double titleHeight = std::max(kTitleHeight, WrappedHeight(Label0));
    Label0.SetHeight(titleHeight);
    double top = kFirstTop + (titleHeight - kTitleHeight);
    for (int i = 1; i <= count; ++i) {
        Label& label = Label1(i);
        label.SetTop(top);
        const double estimate =
            RoundClampInt16(label.Top() + state_.HelpParagraphLengths[i] * lineFactor / label.Width() + gap);
        top = RoundClampInt16(std::max(estimate, label.Top() + WrappedHeight(label)));
        // The label ends where the next paragraph starts, so no two of them ever overlap.
        label.SetHeight(top - label.Top());
    }
    double height = kBaseHeight;
    for (int i = 1; i <= count; ++i) {
        height = RoundClampInt16(height + state_.HelpParagraphLengths[i] * lineFactor / width + gap);
    }
    const double frame = Height() - PixelsToTwips(DrawingSurface().height());
    height = RoundClampInt16(std::max(height, top + kBottomRoom + frame));
    // A minimised, maximised or full-screen window keeps the size the desktop gave it.
    if (windowState() == Qt::WindowNoState) {
        SetHeight(height);
    }
}

} // namespace quorix
