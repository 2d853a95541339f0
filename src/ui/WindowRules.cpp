#include "ui/WindowRules.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tarvok::windowrules {
namespace {

// Room for a title bar and the borders, which are not known before the window is shown.
constexpr QSize kFrameAllowance(16, 40);

// Relative luminance of an sRGB colour.
double luminance(quint32 rgb) {
    const auto channel = [](quint32 value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) +
           0.0722 * channel(rgb & 0xFF);
}

} // namespace

InitialGeometry initialWindowGeometry(QSize available, QSize wanted) {
    const QSize room = available - kFrameAllowance;
    if (wanted.width() > room.width() || wanted.height() > room.height())
        return {available, true};
    return {wanted, false};
}

void showFitted(QWidget& window) {
    const QScreen* screen = window.screen();
    const InitialGeometry g = initialWindowGeometry(
        screen ? screen->availableGeometry().size() : kRoomyContent, window.sizeHint());
    if (g.maximised) {
        window.showMaximized();
        return;
    }
    window.resize(g.size);
    window.show();
}

double contrastRatio(quint32 rgb1, quint32 rgb2) {
    const double a = luminance(rgb1);
    const double b = luminance(rgb2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool readableOn(quint32 textRgb, quint32 backgroundRgb) {
    // 3:1 is the least contrast large text is still read at without effort.
    return contrastRatio(textRgb, backgroundRgb) >= 3.0;
}

} // namespace tarvok::windowrules
