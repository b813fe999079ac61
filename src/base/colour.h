#pragma once

#include <cstdint>

namespace quorix {

// A drawing or window colour, one byte per channel. It sits below both the state record and the
// window layer, so that neither has to include the other to speak of a colour.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

constexpr Colour Rgb(int r, int g, int b) {
    return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

} // namespace quorix
