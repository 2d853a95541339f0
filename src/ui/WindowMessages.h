#pragma once

#include "document/FileStore.h"
#include "ui/Dialogs.h"

#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

namespace tarvok {

// What the window tells the user: message boxes through the dialog interface (so that tests
// answer them and read what was shown), the status bar's note on the open file and the
// hint area LblMsg.
class WindowMessages {
  public:
    WindowMessages(Dialogs& dialogs, QWidget* window) : dialogs_(dialogs), window_(window) {}

    Dialogs& dialogs() { return dialogs_; }
    QWidget* window() const { return window_; }

    // A message box; an empty title means the message has no title of its own, and the
    // application's name is shown.
    MsgAnswer msg(const QString& text, const QString& title = QString(),
                  MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
    // How many refusals (information icon, OK) were shown so far.
    int refusalsShown() const { return refusals_; }
    // Tells the user why a write failed; true when it succeeded. A write that went ahead
    // without its undo version says so in the status bar.
    bool reportWrite(const filestore::WriteResult& result);
    // The status bar's note on the open file.
    void setStatusBar(QStatusBar* bar) { statusBar_ = bar; }
    void status(const QString& text);
    // The caption of the hint label LblMsg.
    void setHintLabel(QLabel* label) { hintLabel_ = label; }
    void hint(const QString& text);

  private:
    Dialogs& dialogs_;
    QWidget* window_;
    QLabel* hintLabel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    int refusals_ = 0;
};

} // namespace tarvok
