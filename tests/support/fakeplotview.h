#pragma once

#include "ftplot/ftplotview.h"

#include <map>

namespace quorix::testing {

// An FT plot window made of plain data: a display list, control places and captions.
class FakePlotView : public FTPlotView, public LazyView<FTPlotView> {
public:
    FTPlotView& Loaded() override { return *this; }
    void ShowPlotWindow() override { ++shows; }
    double PlotWindowWidth() override { return width; }
    double PlotWindowHeight() override { return height; }
    DisplayList& PlotDrawing() override { return drawing; }
    void SetControlTop(FTControl control, double top) override { tops[control] = top; }
    void SetControlLeft(FTControl control, double left) override { lefts[control] = left; }
    void SetControlCaption(FTControl control, const std::string& caption) override {
        captions[control] = caption;
    }
    char DecimalSeparator() const override { return separator; }

    double width = 14900;
    double height = 5055;
    char separator = '.';
    int shows = 0;
    DisplayList drawing;
    std::map<FTControl, double> tops, lefts;
    std::map<FTControl, std::string> captions;
};

} // namespace quorix::testing
