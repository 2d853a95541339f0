#include "ui/RecordPanel.h"

#include "document/RulesDocument.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace tarvok {

RecordPanel::RecordPanel(PanelKit& kit, RulesDocument& doc, QString notFoundMessage,
                         QWidget* parent)
    : QWidget(parent), kit_(kit), doc_(doc), notFoundMessage_(std::move(notFoundMessage)) {}

RecordPanel::~RecordPanel() {
    // The controls go while the panel is whole: their models' last signals reach a panel
    // that knows it is closing.
    closing_ = true;
    const QObjectList children = this->children();
    for (QObject* child : children)
        if (child->isWidgetType())
            delete child;
}

bool RecordPanel::saveable(const QString& key) const {
    return !key.isEmpty() && doc_.isOpen();
}

RecordPanel::Saved RecordPanel::refuse(SaveMode mode, const QString& message) {
    if (mode == SaveMode::Button)
        kit_.messages().msg(message, messages::kErrorTitle, MsgIcon::Information);
    return Saved::Skipped;
}

RecordPanel::Saved RecordPanel::checkLoaded(SaveMode mode) {
    if (!found_)
        return refuse(mode, notFoundMessage_);
    if (!decodes_)
        return refuse(mode, messages::kUndecodable);
    return Saved::Done;
}

RecordPanel::Saved RecordPanel::finishSave(SaveMode mode, const records::RecordSave& save,
                                           const QString& confirmation) {
    if (save.refused) {
        kit_.messages().msg(messages::kBadInput);
        return Saved::Refused;
    }
    if (!kit_.messages().reportWrite(save.write))
        return Saved::Failed;
    if (!save.found)
        return refuse(mode, notFoundMessage_);
    // The record on show is the file's again before the user is told so.
    captureBaseline();
    kit_.messages().msg(confirmation);
    emit saved();
    return Saved::Done;
}

namespace {

// The parts of a combo box (its text box, its drop-down list) belong to the combo box.
bool insideCombo(const QObject* o) {
    for (o = o->parent(); o; o = o->parent())
        if (qobject_cast<const QComboBox*>(o))
            return true;
    return false;
}

} // namespace

void RecordPanel::watchFrames(std::vector<WatchedFrame> frames) {
    const auto refresh = [this] { refreshEdited(); };
    for (const WatchedFrame& w : frames) {
        frames_.push_back({w, w.frame->title()});
        for (QLineEdit* edit : w.frame->findChildren<QLineEdit*>()) {
            if (edit->isReadOnly())
                continue; // a description the handlers write
            edit->installEventFilter(this);
            if (!insideCombo(edit))
                connect(edit, &QLineEdit::textChanged, this, refresh);
        }
        for (QComboBox* box : w.frame->findChildren<QComboBox*>()) {
            box->installEventFilter(this);
            connect(box, &QComboBox::editTextChanged, this, refresh);
        }
        for (QCheckBox* box : w.frame->findChildren<QCheckBox*>())
            connect(box, &QCheckBox::toggled, this, refresh);
        for (QAbstractItemView* view : w.frame->findChildren<QAbstractItemView*>()) {
            if (insideCombo(view))
                continue;
            QAbstractItemModel* model = view->model();
            connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
            connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
            connect(model, &QAbstractItemModel::dataChanged, this, refresh);
            connect(model, &QAbstractItemModel::modelReset, this, refresh);
        }
    }
    rememberStart();
    refreshEdited();
}

void RecordPanel::setAbsence(Absence absence) {
    absence_ = absence;
    refreshEdited();
}

void RecordPanel::rememberStart() {
    start_.clear();
    for (const FrameMark& f : frames_) {
        for (QLineEdit* edit : f.watched.frame->findChildren<QLineEdit*>())
            if (!insideCombo(edit))
                start_.push_back([edit, text = edit->text()] {
                    const QSignalBlocker quiet(edit);
                    edit->setText(text);
                });
        for (QComboBox* box : f.watched.frame->findChildren<QComboBox*>())
            start_.push_back([box, text = box->currentText()] {
                const QSignalBlocker quiet(box);
                box->setEditText(text);
            });
        for (QCheckBox* box : f.watched.frame->findChildren<QCheckBox*>())
            start_.push_back([box, on = box->isChecked()] {
                const QSignalBlocker quiet(box);
                box->setChecked(on);
            });
        for (QListWidget* list : f.watched.frame->findChildren<QListWidget*>()) {
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            start_.push_back([list, items] {
                QStringList now;
                for (int i = 0; i < list->count(); ++i)
                    now << list->item(i)->text();
                if (now == items)
                    return;
                const QSignalBlocker quiet(list);
                list->clear();
                list->addItems(items);
            });
        }
    }
}

void RecordPanel::restoreStart() {
    for (const std::function<void()>& put : start_)
        put();
}

void RecordPanel::refreshEdited() {
    if (closing_)
        return;
    const bool onShow = found_ && decodes_ && saveable(recordKey());
    bool any = false;
    const QString absent = absence_ == Absence::NoRecord    ? QStringLiteral("（无）")
                           : absence_ == Absence::NotInFile ? QStringLiteral("（文件中没有）")
                                                            : QString();
    for (const FrameMark& f : frames_) {
        const bool differs = onShow && f.watched.differs();
        any = any || differs;
        const QString caption = &f == &frames_.front() ? f.caption + absent : f.caption;
        const QString title = differs ? caption + QStringLiteral(" *") : caption;
        if (f.watched.frame->title() != title)
            f.watched.frame->setTitle(title);
    }
    if (any != edited_) {
        edited_ = any;
        emit editedChanged(any);
    }
}

bool RecordPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // A combo box's own text box is checked as the combo box.
            auto* field = static_cast<QWidget*>(watched);
            if (auto* box = qobject_cast<QComboBox*>(field->parentWidget()))
                field = box;
            // A field its check refused is corrected first: one message, no save after it.
            const int refusals = kit_.messages().refusalsShown();
            kit_.focus().runLeaveCheck(field);
            if (kit_.messages().refusalsShown() == refusals)
                enterPressed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvok
