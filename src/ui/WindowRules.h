#pragma once

#include <QSize>

class QWidget;

// Rules of the window that need no widget: how large it opens, and which text colours
// stay readable.
namespace tarvok::windowrules {

// The most the main window's content asks for: what a 1366x768 screen leaves once the
// title bar, the menu bar and the status bar have their share.
inline constexpr QSize kRoomyContent(1320, 660);

struct InitialGeometry {
    QSize size;
    bool maximised = false;
};

// available: the screen's area for windows (without its taskbar); wanted: the size the
// window asks for, frame not included. The window opens at that size when it fits with
// its title bar and borders, and maximised otherwise.
InitialGeometry initialWindowGeometry(QSize available, QSize wanted);

// Shows a top-level window as initialWindowGeometry says, on the screen it stands on.
void showFitted(QWidget& window);

// The contrast of two colours (0xRRGGBB) as the ratio of their relative luminances,
// from 1 (the same) to 21 (black on white).
double contrastRatio(quint32 rgb1, quint32 rgb2);
// Text in this colour can be read on that background.
bool readableOn(quint32 textRgb, quint32 backgroundRgb);

} // namespace tarvok::windowrules
