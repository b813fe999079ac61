#pragma once

#include "base/colour.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

namespace quorix {

// Twips per screen pixel: 1440 divided by the screen's logical dots per inch (15 at 96 dpi).
[[nodiscard]] double TwipsPerPixel();
[[nodiscard]] int TwipsToPixels(double twips);
[[nodiscard]] double PixelsToTwips(int pixels);

// A font as the windows name it; the classic faces map onto metric-compatible free fonts. The
// defaults are the face and size every window of the program uses.
struct FontStyle {
    std::string family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
};
// The windows' font for their controls and drawings: the default face and size, in bold.
inline const FontStyle kWindowFont{.bold = true};
[[nodiscard]] QFont ToQFont(const FontStyle& face);

// How a label or a text box sets its text within its box, vertically centred in every case.
enum class TextAlign { kLeft, kCentre, kRight };
[[nodiscard]] Qt::Alignment ToQAlignment(TextAlign align);

[[nodiscard]] inline QColor ToQColor(Colour colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

[[nodiscard]] inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace quorix
