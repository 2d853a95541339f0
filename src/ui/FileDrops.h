#pragma once

#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace tarvok {

// The one local file a drag carries; empty when it carries none, or several.
QString droppedFile(const QMimeData* data);

// A file dropped anywhere on window is passed to open, once the drop is over (a message
// box inside the drop would hold the program the file came from). The controls that
// would take the drop as text (the text boxes) pass it to the window too.
void acceptFileDrops(QWidget* window, std::function<void(const QString&)> open);

} // namespace tarvok
