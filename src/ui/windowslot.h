#pragma once

#include "platform/lazyview.h"

#include <functional>
#include <memory>
#include <utility>

namespace quorix {

// One window of the program as the application object holds it: not loaded until first used, then
// loaded (hidden or shown); closed by its frame it is let go and made anew, from its remembered
// placement, on the next use. The slot hands the window out as the view `View` it implements.
template <typename Window, typename View = Window> class WindowSlot : public LazyView<View> {
public:
    explicit WindowSlot(std::function<std::unique_ptr<Window>()> make) : make_(std::move(make)) {}
    WindowSlot(const WindowSlot&) = delete;
    WindowSlot& operator=(const WindowSlot&) = delete;

    // The window, created and loaded (not shown) when it is not loaded yet.
    [[nodiscard]] Window& Get() {
        if (!window_) {
            window_ = make_();
            window_->onUnloaded = [this] { window_.release()->deleteLater(); };
            window_->Load();
        }
        return *window_;
    }
    [[nodiscard]] bool IsLoaded() const { return window_ != nullptr; }
    [[nodiscard]] View& Loaded() override { return Get(); }

private:
    std::function<std::unique_ptr<Window>()> make_;
    std::unique_ptr<Window> window_;
};

} // namespace quorix
