#pragma once

namespace quorix {

// A window as the routines that bring it up reach it: through its view interface, loaded only when
// first touched, so that a routine can raise its window's redraw guard before the window's own load
// and the resizes of that load run.
template <typename View> class LazyView {
public:
    virtual ~LazyView() = default;
    // The window's view, loading the window first when it is not loaded.
    [[nodiscard]] virtual View& Loaded() = 0;
};

} // namespace quorix
