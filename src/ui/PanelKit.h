#pragma once

#include "catalogues/Catalogues.h"
#include "document/FileStore.h"
#include "ui/Dialogs.h"

#include <QObject>
#include <QPersistentModelIndex>

#include <functional>
#include <optional>
#include <unordered_map>

class QAbstractItemView;
class QComboBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QWidget;

namespace tarvok {

// What the panels of the main window share about widgets: the dialogs, the hint area and
// the status bar, the catalogue look-ups as the user is told of a missing file, and the
// small behaviours every field and list of the window has (digit filter, user
// selections, focus handlers).
class PanelKit : public QObject {
    Q_OBJECT

  public:
    PanelKit(Dialogs& dialogs, QWidget* window, const Catalogues& catalogues);

    Dialogs& dialogs() { return dialogs_; }
    QWidget* window() const { return window_; }
    const Catalogues& catalogues() const { return catalogues_; }
    const ProgramFiles& files() const { return catalogues_.files(); }

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

    // One of the program directory's data files as lines. When it is missing
    // "无法找到文件" (title "错误", information icon) is shown and nothing is returned.
    std::optional<QStringList> dataFile(const QString& name);

    // Look-ups in the mod's lists, then the unit name table NameTable.WQ and the building
    // tables ID.WQ and ID2.WQ, read anew each time; empty when not found. A missing file
    // is said. A building's parameter keeps the high bits of oldParameter.
    QString LookupUnitName(const QString& unitId);
    QString LookupUnitId(const QString& displayName);
    QString LookupBuildingName(const QString& parameter);
    QString LookupBuildingId(const QString& buildingName, const QString& oldParameter = {});

    // The digit filter of a numeric text box: at the first character that is not an
    // ASCII digit, the message (title "错误", information icon) and that character is
    // removed; the removal runs the box's change handler again on the rest. Returns
    // true when it removed a character (the nested handler has then done the work).
    bool digitFilter(QLineEdit* box, const QString& message);

    // Runs handler when the user selects in a list or list view (mouse or keyboard),
    // never when the program changes the selection. The loads of one selection share
    // one reading of the rules file.
    void onUserSelect(QAbstractItemView* view, std::function<void()> handler);

    // While one lives, selection changes are the program's: they run no selection handler.
    class ProgramSelection {
      public:
        explicit ProgramSelection(PanelKit& kit) : kit_(kit), was_(kit.programSelecting_) {
            kit_.programSelecting_ = true;
        }
        ~ProgramSelection() { kit_.programSelecting_ = was_; }
        ProgramSelection(const ProgramSelection&) = delete;
        ProgramSelection& operator=(const ProgramSelection&) = delete;

      private:
        PanelKit& kit_;
        bool was_;
    };
    // Rows as the view shows them; -1 selects nothing.
    void selectRowQuietly(QAbstractItemView* view, int row);
    // Selects a row of a list as if the user had clicked it: its selection handler runs,
    // and restoreSelection can put back what was selected before.
    void selectAsUser(QAbstractItemView* view, int row);
    void clearSelectionQuietly(QAbstractItemView* view);
    // Puts back a list's selection and current entry as they were before the user's
    // last click or key in it, without running its handler: an action the user was held
    // from (a refused auto-save) leaves the list as it found it.
    void restoreSelection(QAbstractItemView* view);

    // GotFocus / LostFocus handlers of a control.
    void onFocusIn(QWidget* w, std::function<void()> handler);
    void onFocusOut(QWidget* w, std::function<void()> handler);
    // True when the user typed into the control since it last received the focus.
    bool userEditedSinceFocus(QWidget* w) const;
    // Runs the control's LostFocus handler as if the user had left it, and counts what
    // was typed so far as checked.
    void runLeaveCheck(QWidget* w);

    // An editable combo box as the panels use it: typed text is never added to the
    // items and never completed behind the user's back.
    static QComboBox* makeCombo(const QString& objectName, QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A look-up's answer, the missing file said.
    QString told(const std::optional<QString>& found);

    Dialogs& dialogs_;
    QWidget* window_;
    const Catalogues& catalogues_;
    QLabel* hintLabel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    bool programSelecting_ = false;
    int refusals_ = 0;
    std::unordered_map<QObject*, std::function<void()>> focusIn_;
    std::unordered_map<QObject*, std::function<void()>> focusOut_;
    std::unordered_map<QObject*, bool> editedSinceFocus_;
    struct SelectionSnapshot {
        QPersistentModelIndex current;
        QList<QPersistentModelIndex> selected;
    };
    // The user-selectable views, by the object that receives their clicks and keys.
    std::unordered_map<QObject*, QAbstractItemView*> selectable_;
    std::unordered_map<QAbstractItemView*, SelectionSnapshot> beforeUser_;
    std::unordered_map<QAbstractItemView*, std::function<void()>> selectHandlers_;
    void rememberSelection(QAbstractItemView* view);
};

} // namespace tarvok
