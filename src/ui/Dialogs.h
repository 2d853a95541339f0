#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace tarvok {

// The application's name: the title of every message box that has none of its own.
inline const QString kAppName = QStringLiteral("Tarvok");

enum class MsgIcon { None, Information, Question };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// Every message box, prompt, file and colour dialog and clipboard use of the editor
// goes through this interface, so that tests can answer them and read what was shown.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal message box. title is shown as given; callers pass kAppName for
    // messages without a title of their own.
    virtual MsgAnswer message(QWidget* parent, const QString& text, const QString& title,
                              MsgIcon icon, MsgButtons buttons) = 0;
    // A one-line input prompt; empty when cancelled.
    virtual QString prompt(QWidget* parent, const QString& text, const QString& title,
                           const QString& defaultText) = 0;
    // The file-open dialog, showing startFolder first and never offering the file
    // hiddenFile. filter is in the "description|pattern|..." form; the result is the
    // chosen path, empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& filter, const QString& startFolder,
                             const QString& hiddenFile) = 0;
    // The file-save dialog, showing startFolder first and suggesting fileName; the chosen
    // path, empty when cancelled.
    virtual QString saveFile(QWidget* parent, const QString& filter, const QString& startFolder,
                             const QString& fileName) = 0;
    // The colour dialog: a 24-bit RGB value, nothing when the dialog was cancelled (black is
    // a colour like any other).
    virtual std::optional<quint32> chooseColor(QWidget* parent) = 0;
    // Empties the system clipboard and puts plain text on it.
    virtual void setClipboardText(const QString& text) = 0;
    // The plain text on the system clipboard; empty when it holds none.
    virtual QString clipboardText() = 0;

    // Copied rows: their plain text, and beside it the kind of the rows in the editor's own
    // format application/x-tarvok-rows, which other programs pass over.
    struct ClipboardRows {
        QString text;
        QString kind; // empty when the clipboard holds no such format
    };
    // Empties the system clipboard and puts rows on it, the kind beside the text. Where
    // the dialogs hold plain text only, the text alone.
    virtual void setClipboardRows(const ClipboardRows& rows) { setClipboardText(rows.text); }
    // What the system clipboard holds, read at once: its plain text, and the kind of rows
    // when the editor's format is beside it.
    virtual ClipboardRows clipboardRows() { return {clipboardText(), {}}; }
};

// The real dialogs, through Qt.
class QtDialogs : public Dialogs {
  public:
    MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    QString prompt(QWidget* parent, const QString& text, const QString& title,
                   const QString& defaultText) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& startFolder,
                     const QString& hiddenFile) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& startFolder,
                     const QString& fileName) override;
    std::optional<quint32> chooseColor(QWidget* parent) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void setClipboardRows(const ClipboardRows& rows) override;
    ClipboardRows clipboardRows() override;
};

// The filter for Qt's file dialog: "规则|*.ini;*.bak" becomes "规则 (*.ini *.bak)"; a caption
// that shows its patterns, "规则文件(*.ini)|*.ini", stays as it is.
QString qtFileFilter(const QString& filter);

} // namespace tarvok
