#pragma once

#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "ui/FrmMain.h"

#include <memory>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QWidget;

namespace tarvok::test {

// Drives the real widgets as a user would: mouse clicks, key presses, focus moves.
void clickRow(QListWidget* list, int row);
void clickRow(QTreeWidget* view, int row);
void chooseItem(QComboBox* box, int index);        // picks an item from the drop-down list
void typeText(QWidget* w, const QString& text);    // keys typed at the caret
void replaceText(QWidget* w, const QString& text); // select all, then type
void focusOn(QWidget* w);
void leave(QWidget* w); // moves the focus to another control
void click(QWidget* button);

QStringList items(const QListWidget* list);
// A row of a list view: its text and both columns.
QStringList row(const QTreeWidget* view, int index);

// A main window with a temporary program directory holding the shipped data files,
// shown so that focus and clicks work.
struct Editor {
    explicit Editor(bool shippedData = true);
    // A second running copy of the program, on the other's program folder.
    explicit Editor(const Editor& other);
    ~Editor();
    // Opens a rules file through the button, answering the file dialog and the
    // warning for paths that contain "ai.ini".
    void open(const QString& path);
    // Closes the window without saving and starts a new one, as a new run of the program
    // on the same program folder (and user data folder dir/user).
    void restart();

    TempDir dir;
    QString programDir; // dir, or the other's
    ScriptedDialogs dialogs;
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<Window> w; // the window's controls and operations
};

} // namespace tarvok::test
