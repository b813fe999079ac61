#include "ui/frmabout.h"

#include "quorix_version.h"

#include <string>
#include <utility>

namespace quorix {

namespace {

constexpr Colour kBackground = Rgb(192, 255, 192);
const FontStyle kTitleFont{"MS Serif", 13.5, true};
constexpr double kDesignWidth = 4710;
constexpr double kDesignHeight = 2505;

} // namespace

frmAbout::frmAbout(std::function<void()> redrawPlot)
    : Label1(&DrawingSurface()), Label6(&DrawingSurface()), Label7(&DrawingSurface()),
      Label4(&DrawingSurface()), Label5(&DrawingSurface()), redrawPlot_(std::move(redrawPlot)) {
    SetCaption("About");
    SetBackColor(kBackground);
    SetFormFont(kWindowFont);
    struct Design {
        Label* label;
        double top, height;
        std::string caption;
    };
    const Design designs[] = {
        {&Label1, 120, 375, "Quorix Period Search Software"},
        {&Label6, 960, 255, std::string("Version ") + kQuorixVersion + ", built " + kQuorixBuildDate},
        {&Label7, 1200, 255, std::string(61, '-')},
        {&Label4, 1800, 255, "Please report bugs, plus suggestions to:"},
        {&Label5, 2160, 255, "the project's issue tracker"},
    };
    for (const auto& design : designs) {
        design.label->Place(120, design.top, 4455, design.height);
        design.label->SetAlignment(TextAlign::kCentre);
        design.label->SetBackColor(kBackground);
        design.label->SetCaption(design.caption);
    }
    Label1.SetFont(kTitleFont);
    Label1.SetForeColor(Rgb(0, 0, 128));
    // The design measures are those of the drawing area, inside the frame and caption.
    resize(TwipsToPixels(kDesignWidth), TwipsToPixels(kDesignHeight));
}

} // namespace quorix
