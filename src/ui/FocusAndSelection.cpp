#include "ui/FocusAndSelection.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace tarvok {

void FocusAndSelection::onUserSelect(QAbstractItemView* view, std::function<void()> handler) {
    // What the list looked like before the user touched it, for restoreSelection.
    for (QObject* target : {static_cast<QObject*>(view), static_cast<QObject*>(view->viewport())}) {
        target->installEventFilter(this);
        selectable_[target] = view;
    }
    selectHandlers_[view] = handler;
    connect(view, &QAbstractItemView::clicked, this, [this, handler](const QModelIndex&) {
        if (programSelecting_)
            return;
        handler();
    });
    // Keyboard moves: only while the list has the focus, and not as part of a click
    // (the click above reports that one).
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, view, handler](const QModelIndex& current, const QModelIndex&) {
                if (programSelecting_ || !view->hasFocus() || !current.isValid() ||
                    QApplication::mouseButtons() != Qt::NoButton)
                    return;
                handler();
            });
}

void FocusAndSelection::selectRowQuietly(QAbstractItemView* view, int row) {
    ProgramSelection quiet(*this);
    view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect);
}

void FocusAndSelection::selectAsUser(QAbstractItemView* view, int row) {
    rememberSelection(view);
    selectRowQuietly(view, row);
    view->scrollTo(view->model()->index(row, 0));
    if (const auto it = selectHandlers_.find(view); it != selectHandlers_.end())
        it->second();
}

void FocusAndSelection::clearSelectionQuietly(QAbstractItemView* view) {
    ProgramSelection quiet(*this);
    view->selectionModel()->clear();
}

void FocusAndSelection::restoreSelection(QAbstractItemView* view) {
    const auto it = beforeUser_.find(view);
    ProgramSelection quiet(*this);
    QItemSelectionModel* model = view->selectionModel();
    model->clear();
    if (it == beforeUser_.end())
        return;
    for (const QPersistentModelIndex& index : it->second.selected)
        if (index.isValid())
            model->select(index, QItemSelectionModel::Select);
    if (it->second.current.isValid())
        model->setCurrentIndex(it->second.current, QItemSelectionModel::NoUpdate);
}

void FocusAndSelection::onFocusIn(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(this);
    focusIn_[w] = std::move(handler);
}

void FocusAndSelection::onFocusOut(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(this);
    focusOut_[w] = std::move(handler);
    editedSinceFocus_[w] = false;
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        edit = combo->lineEdit();
        connect(combo, &QComboBox::activated, this,
                [this, w](int) { editedSinceFocus_[w] = true; });
    }
    if (edit)
        connect(edit, &QLineEdit::textEdited, this,
                [this, w](const QString&) { editedSinceFocus_[w] = true; });
}

bool FocusAndSelection::userEditedSinceFocus(QWidget* w) const {
    const auto it = editedSinceFocus_.find(w);
    return it != editedSinceFocus_.end() && it->second;
}

void FocusAndSelection::runLeaveCheck(QWidget* w) {
    if (const auto it = focusOut_.find(w); it != focusOut_.end())
        it->second();
    if (const auto it = editedSinceFocus_.find(w); it != editedSinceFocus_.end())
        it->second = false;
}

void FocusAndSelection::rememberSelection(QAbstractItemView* view) {
    QItemSelectionModel* model = view->selectionModel();
    SelectionSnapshot& snapshot = beforeUser_[view];
    snapshot.current = model->currentIndex();
    snapshot.selected.clear();
    for (const QModelIndex& index : model->selectedIndexes())
        snapshot.selected.append(index);
}

bool FocusAndSelection::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::KeyPress) {
        if (const auto it = selectable_.find(watched); it != selectable_.end())
            rememberSelection(it->second);
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus for a moment is no move of the user's.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn) {
                if (editedSinceFocus_.count(watched))
                    editedSinceFocus_[watched] = false;
                if (const auto it = focusIn_.find(watched); it != focusIn_.end())
                    it->second();
            } else if (const auto it = focusOut_.find(watched); it != focusOut_.end()) {
                it->second();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tarvok
