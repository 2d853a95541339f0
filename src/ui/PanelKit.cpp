#include "ui/PanelKit.h"

#include "document/Logging.h"
#include "records/FieldRules.h"
#include "ui/Messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QWheelEvent>

#include <algorithm>

namespace tarvok {

PanelKit::PanelKit(Dialogs& dialogs, QWidget* window, const Catalogues& catalogues)
    : QObject(window), dialogs_(dialogs), window_(window), catalogues_(catalogues) {}

MsgAnswer PanelKit::msg(const QString& text, const QString& title, MsgIcon icon,
                        MsgButtons buttons) {
    if (icon == MsgIcon::Information && buttons == MsgButtons::Ok)
        ++refusals_;
    qCDebug(lcUi) << "message:" << title << text;
    return dialogs_.message(window_, text, title.isEmpty() ? kAppName : title, icon, buttons);
}

bool PanelKit::reportWrite(const filestore::WriteResult& result) {
    if (result.ok()) {
        if (!result.versionKept())
            status(messages::versionNotKept(result.versionFailure()));
        return true;
    }
    msg(messages::writeFailure(result), messages::kErrorTitle, MsgIcon::Information);
    return false;
}

void PanelKit::status(const QString& text) {
    if (statusBar_)
        statusBar_->showMessage(text);
}

void PanelKit::hint(const QString& text) {
    if (hintLabel_)
        hintLabel_->setText(text);
}

std::optional<QStringList> PanelKit::dataFile(const QString& name) {
    std::optional<QStringList> lines = catalogues_.lines(name);
    if (!lines)
        msg(messages::kFileMissing, messages::kErrorTitle, MsgIcon::Information);
    return lines;
}

QString PanelKit::told(const std::optional<QString>& found) {
    if (!found)
        msg(messages::kFileMissing, messages::kErrorTitle, MsgIcon::Information);
    return found.value_or(QString());
}

QString PanelKit::LookupUnitName(const QString& unitId) {
    return told(catalogues_.unitName(unitId));
}

QString PanelKit::LookupUnitId(const QString& displayName) {
    return told(catalogues_.unitId(displayName));
}

QString PanelKit::LookupBuildingName(const QString& buildingId) {
    return told(catalogues_.buildingName(buildingId));
}

QString PanelKit::LookupBuildingId(const QString& buildingName, const QString& oldParameter) {
    return told(catalogues_.buildingParameter(buildingName, oldParameter));
}

bool PanelKit::digitFilter(QLineEdit* box, const QString& message) {
    const QString text = box->text();
    const std::optional<fieldrules::NonDigit> bad = fieldrules::firstNonDigit(text);
    if (!bad)
        return false;
    msg(message, messages::kErrorTitle, MsgIcon::Information);
    const int cursor = box->cursorPosition();
    QString rest = text;
    rest.remove(bad->index, bad->length);
    box->setText(rest); // runs the change handler again on the rest
    const QString now = box->text();
    const int removed = static_cast<int>(text.size() - now.size());
    box->setCursorPosition(std::clamp(cursor - removed, 0, static_cast<int>(now.size())));
    return true;
}

void PanelKit::onUserSelect(QAbstractItemView* view, std::function<void()> handler) {
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

void PanelKit::selectRowQuietly(QAbstractItemView* view, int row) {
    ProgramSelection quiet(*this);
    view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect);
}

void PanelKit::selectAsUser(QAbstractItemView* view, int row) {
    rememberSelection(view);
    selectRowQuietly(view, row);
    view->scrollTo(view->model()->index(row, 0));
    if (const auto it = selectHandlers_.find(view); it != selectHandlers_.end())
        it->second();
}

void PanelKit::clearSelectionQuietly(QAbstractItemView* view) {
    ProgramSelection quiet(*this);
    view->selectionModel()->clear();
}

void PanelKit::restoreSelection(QAbstractItemView* view) {
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

void PanelKit::onFocusIn(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(this);
    focusIn_[w] = std::move(handler);
}

void PanelKit::onFocusOut(QWidget* w, std::function<void()> handler) {
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

bool PanelKit::userEditedSinceFocus(QWidget* w) const {
    const auto it = editedSinceFocus_.find(w);
    return it != editedSinceFocus_.end() && it->second;
}

void PanelKit::runLeaveCheck(QWidget* w) {
    if (const auto it = focusOut_.find(w); it != focusOut_.end())
        it->second();
    if (const auto it = editedSinceFocus_.find(w); it != editedSinceFocus_.end())
        it->second = false;
}

void PanelKit::rememberSelection(QAbstractItemView* view) {
    QItemSelectionModel* model = view->selectionModel();
    SelectionSnapshot& snapshot = beforeUser_[view];
    snapshot.current = model->currentIndex();
    snapshot.selected.clear();
    for (const QModelIndex& index : model->selectedIndexes())
        snapshot.selected.append(index);
}

bool PanelKit::eventFilter(QObject* watched, QEvent* event) {
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

namespace {

// The wheel over a combo box that the user has not clicked into scrolls the window: it
// never changes a value the user did not mean to touch.
class FieldCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void wheelEvent(QWheelEvent* event) override {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore(); // to the window, which scrolls
    }
};

} // namespace

QComboBox* PanelKit::makeCombo(const QString& objectName, QWidget* parent) {
    auto* box = new FieldCombo(parent);
    box->setFocusPolicy(Qt::StrongFocus); // the wheel gives no focus either
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    return box;
}

} // namespace tarvok
