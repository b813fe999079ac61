#pragma once

#include "ocdiagram/ocplotview.h"

#include <map>

namespace quorix::testing {

// An O-C window made of plain data: a display list, control tops and captions.
class FakeOCView : public OCPlotView, public LazyView<OCPlotView> {
public:
    OCPlotView& Loaded() override {
        ++loads;
        return *this;
    }
    void ShowPlotWindow() override { ++shows; }
    double PlotWindowWidth() override { return width; }
    double PlotWindowHeight() override { return height; }
    DisplayList& PlotDrawing() override { return drawing; }
    void SetControlTop(OCControl control, double top) override { tops[control] = top; }
    void SetControlCaption(OCControl control, const std::string& caption) override {
        captions[control] = caption;
    }

    double width = 7000;
    double height = 5500;
    int loads = 0;
    int shows = 0;
    DisplayList drawing;
    std::map<OCControl, double> tops;
    std::map<OCControl, std::string> captions;
};

} // namespace quorix::testing
