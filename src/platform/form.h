#pragma once

#include "platform/surface.h"
#include "platform/twips.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <string>

class QMenu;
class QAction;

namespace quorix {

// Base of every window: a top-level window measured in twips, whose Top/Left/Width/Height are the
// outer geometry (frame, caption and menu bar included), with the event handlers the windows
// override. Size changes made through the setters run Form_Resize at once, inside the call; a size
// change made by the user runs it once; the first showing after a load runs it once more.
class Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // Runs Form_Load; the application object calls it once, right after creating the window.
    void Load();
    // Called after Form_Unload when the window is closed by its frame; the owner then lets it go.
    std::function<void()> onUnloaded;

    [[nodiscard]] double Top() const;
    [[nodiscard]] double Left() const;
    [[nodiscard]] double Width() const;
    [[nodiscard]] double Height() const;
    void SetTop(double twips);
    void SetLeft(double twips);
    void SetWidth(double twips);
    void SetHeight(double twips);

    // The outer place as the windows remember it: each measure rounded to the nearest twip (halves
    // to even) and held to the 16-bit range of the remembered fields.
    void StorePlacement(std::int16_t& top, std::int16_t& left, std::int16_t& height,
                        std::int16_t& width) const;
    // Takes a remembered place back: top, left, height, width, in this order, each set at once.
    void ApplyPlacement(double top, double left, double height, double width);

    void SetCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    void SetBackColor(Colour colour);
    void SetFormFont(const FontStyle& font);
    void SetMousePointer(MousePointer pointer) { surface_->SetMousePointer(pointer); }

    // Shows the window without making it modal, bringing it back when minimised; hides it while
    // keeping it and its state.
    void Show();
    void Hide();
    [[nodiscard]] bool IsShown() const { return isVisible(); }

    [[nodiscard]] Surface& DrawingSurface() { return *surface_; }
    [[nodiscard]] const Surface& DrawingSurface() const { return *surface_; }

    // Menus: a menu on the bar, an item with its handler, a separator line.
    QMenu* AddMenu(const std::string& caption);
    QAction* AddMenuItem(QMenu* menu, const std::string& caption, std::function<void()> handler);
    void AddMenuSeparator(QMenu* menu);

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    virtual void Form_GotFocus() {}
    virtual void Form_LostFocus() {}
    virtual void Form_Deactivate() {}
    virtual void Form_MouseMove(int /*button*/, float /*x*/, float /*y*/) {}
    virtual void Form_MouseDown(int /*button*/, float /*x*/, float /*y*/) {}

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // One outer measure as last given in twips, valid while the pixel value it produced stands.
    struct RememberedTwips {
        double twips = 0.0;
        int pixels = -1;
    };
    [[nodiscard]] double Measure(const RememberedTwips& remembered, int pixels) const;
    // The frame around the inside: the one the window manager drew, or the one it will draw.
    [[nodiscard]] QMargins Frame() const;
    [[nodiscard]] bool FrameSeen() const;
    // Created on screen, and not yet framed by the window manager.
    [[nodiscard]] bool AwaitingFrame() const;
    // The outer place and size, frame included, and the move that puts the frame's corner there.
    [[nodiscard]] QRect OuterRect() const;
    void MoveOuter(int left, int top);
    void ResizeOuter(int width, int height);
    void FitFrameOnceKnown();
    void ReportSizeChange();

    Surface* surface_ = nullptr;
    RememberedTwips top_, left_, width_, height_;
    QSize reportedSize_;
    // The outer size last set and the frame it was set for, until the real frame is known.
    QSize wantedOuter_;
    QMargins assumedFrame_;
    // Placed by its outer corner before its first showing; see OuterRect.
    bool placedByCorner_ = false;
    bool shownSinceLoad_ = false;
    bool holdSizeReports_ = false;
};

} // namespace quorix
