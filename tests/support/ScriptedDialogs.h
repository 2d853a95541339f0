#pragma once

#include "ui/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace tarvok::test {

// One message box as the user saw it.
struct ShownMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
    bool operator==(const ShownMessage&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ShownMessage& m);

// The dialogs of a test: answers are scripted in advance, and everything shown is
// recorded. A question without a scripted answer is answered No, a prompt with an
// empty text, a file dialog by cancelling, the colour dialog with 0.
class ScriptedDialogs : public Dialogs {
  public:
    MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    QString prompt(QWidget* parent, const QString& text, const QString& title,
                   const QString& defaultText) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& startFolder,
                     const QString& hiddenFile) override;
    // Answered from files too.
    QString saveFile(QWidget* parent, const QString& filter, const QString& startFolder,
                     const QString& fileName) override;
    std::optional<quint32> chooseColor(QWidget* parent) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override; // the last text of clipboard
    void setClipboardRows(const ClipboardRows& rows) override;
    ClipboardRows clipboardRows() override; // the last text of clipboard, and clipboardKind

    // Scripted answers, used in order.
    std::deque<MsgAnswer> answers;
    std::deque<QString> promptAnswers;
    std::deque<QString> files;
    std::deque<std::optional<quint32>> colors; // nothing: the dialog is cancelled

    // Called as each message box shows, with the window as it stands behind it.
    std::function<void()> onMessage;

    // What was shown.
    std::vector<ShownMessage> messages;
    struct Prompt {
        QString text, title, defaultText;
    };
    std::vector<Prompt> prompts;
    QStringList fileFilters;
    QStringList fileFolders; // the folder each file dialog started in
    QStringList hiddenFiles; // the file each file dialog left out
    int colorDialogs = 0;
    QStringList clipboard; // every text put on the clipboard, in order; a test may add one
    QString clipboardKind; // the kind of rows beside the editor's last text, if rows

    // The texts of the messages shown so far, in order.
    QStringList texts() const;
    void clear();
};

// Shorthands for expected messages.
ShownMessage info(const QString& text, const QString& title);             // OK, information
ShownMessage plain(const QString& text, const QString& title = kAppName); // OK, no icon
ShownMessage question(const QString& text, const QString& title);         // Yes/No, question

} // namespace tarvok::test
