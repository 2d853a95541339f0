#pragma once

#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "ui/FrmMain.h"

#include <QVariant>

#include <memory>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QWidget;

namespace tarvok::test {

// Drives the real widgets as a user would: mouse clicks, key presses, focus moves.
// A row of a list or list view counts all its entries, those its filter hides too.
void clickRow(QAbstractItemView* view, int row);
void chooseItem(QComboBox* box, int index);        // picks an item from the drop-down list
void typeText(QWidget* w, const QString& text);    // keys typed at the caret
void replaceText(QWidget* w, const QString& text); // select all, then type
void focusOn(QWidget* w);
void leave(QWidget* w); // moves the focus to another control
void click(QWidget* button);

QStringList items(const QAbstractItemView* view);
int rowCount(const QAbstractItemView* view);
// A row of a list view: its text and both columns.
QStringList row(const QAbstractItemView* view, int index);
QVariant cell(const QAbstractItemView* view, int row, int column = 0, int role = Qt::DisplayRole);
void setCell(QAbstractItemView* view, int row, int column, const QString& text);
void appendRow(QAbstractItemView* view, const QStringList& texts); // one text per column
bool isRowHidden(const QAbstractItemView* view, int row);
bool isRowSelected(const QAbstractItemView* view, int row);
QList<int> selectedRows(const QAbstractItemView* view);
int currentRow(const QAbstractItemView* view); // -1 for none
// As the program selects a row: the row alone, current and selected.
void setCurrentRow(QAbstractItemView* view, int row);

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
    std::unique_ptr<RulesDocument> document; // the open file's session, as main makes it
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<Window> w; // the window's controls and operations
};

} // namespace tarvok::test
