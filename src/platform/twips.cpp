#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace quorix {

double TwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

double PixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel();
}

Qt::Alignment ToQAlignment(TextAlign align) {
    switch (align) {
    case TextAlign::kCentre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::kRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::kLeft:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QFont ToQFont(const FontStyle& face) {
    QString family = "Liberation Sans";
    if (face.family == "MS Serif") {
        family = "Liberation Serif";
    }
    QFont font(family);
    font.setPointSizeF(face.points);
    font.setBold(face.bold);
    return font;
}

} // namespace quorix
