#pragma once

#include <QObject>
#include <QPersistentModelIndex>

#include <functional>
#include <unordered_map>

class QAbstractItemView;
class QWidget;

namespace tarvok {

// The state the window keeps about focus and selections: which selections are the user's
// (and what a list showed before the user's last click, to put back), and the handlers that
// run when a field gets or leaves the focus, with whether the user typed in it since.
class FocusAndSelection : public QObject {
    Q_OBJECT

  public:
    explicit FocusAndSelection(QObject* parent) : QObject(parent) {}

    // Runs handler when the user selects in a list or list view (mouse or keyboard),
    // never when the program changes the selection. The loads of one selection share
    // one reading of the rules file.
    void onUserSelect(QAbstractItemView* view, std::function<void()> handler);

    // While one lives, selection changes are the program's: they run no selection handler.
    class ProgramSelection {
      public:
        explicit ProgramSelection(FocusAndSelection& kit) : kit_(kit), was_(kit.programSelecting_) {
            kit_.programSelecting_ = true;
        }
        ~ProgramSelection() { kit_.programSelecting_ = was_; }
        ProgramSelection(const ProgramSelection&) = delete;
        ProgramSelection& operator=(const ProgramSelection&) = delete;

      private:
        FocusAndSelection& kit_;
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool programSelecting_ = false;
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
