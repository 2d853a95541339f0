#include "ui/SectionPanel.h"

#include "records/FieldRules.h"
#include "records/RowOrder.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/SectionRowsModel.h"
#include "ui/WidgetMaking.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>

namespace tarvok {
namespace {

using namespace messages;

const QString kAddCaption = QStringLiteral("添加");
const QString kWriteCaption = QStringLiteral("写入");
const QString kNoRowForValue = QStringLiteral("“%1”中的值没有对应的行，请先选择或添加一行");
const QString kNewRowNotWritten = QStringLiteral("“%1”中的新行尚未写入，请先按“写入”");

QString fieldText(QWidget* w) {
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    return static_cast<QLineEdit*>(w)->text();
}

// Setting a field from code runs its change handler, as typing does.
void setFieldText(QWidget* w, const QString& text) {
    if (auto* box = qobject_cast<QComboBox*>(w))
        box->setEditText(text);
    else
        static_cast<QLineEdit*>(w)->setText(text);
}

} // namespace

SectionPanel::SectionPanel(PanelKit& kit, RulesDocument& doc, Kind kind, QWidget* parent)
    : RecordPanel(kit, doc, kind == Kind::TaskForce ? kTaskForceNotInFile : kScriptNotInFile,
                  parent),
      kind_(kind) {}

void SectionPanel::setParts(const Parts& parts, const QStringList& columns) {
    parts_ = parts;
    columns_ = columns;
    QTreeView* view = parts_.view;
    rows_ = new SectionRowsModel(
        columns, [this](const SectionRow& row) { return rowNote(row); }, view);
    view->setModel(rows_);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    // Several rows are selected to be copied; the row fields show the current one.
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->installEventFilter(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->header()->setStretchLastSection(true);
    const int w = std::max(view->viewport()->width(), 200);
    if (columns.size() > 3) { // numbers narrow, the rest of the width for the action's name
        const QFontMetrics fm = view->fontMetrics();
        view->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("ID00")) + 8);
        view->setColumnWidth(1, fm.horizontalAdvance(columns[1] + QStringLiteral("0")) + 8);
        view->setColumnWidth(2, std::max(fm.horizontalAdvance(QStringLiteral("000000")),
                                         fm.horizontalAdvance(columns[2] + QStringLiteral("00"))) +
                                    8);
    } else {
        view->setColumnWidth(0, w / 4);
        view->setColumnWidth(1, w / 4);
        view->setColumnWidth(2, w / 2);
    }
    // The widths as measured above, in the frame's own font and size as built.
    holdFrame(this, parts_.frame);
}

void SectionPanel::setTextColour(const QColor& colour) {
    tarvok::setTextColour(parts_.view, colour);
}

void SectionPanel::connectCommonHandlers() {
    kit_.focus().onUserSelect(parts_.view, [this] { rowClicked(); });
    connect(parts_.saveButton, &QPushButton::clicked, this, &SectionPanel::saveClicked);
    connect(parts_.copyButton, &QPushButton::clicked, this, &SectionPanel::copyClicked);
    connect(parts_.addButton, &QPushButton::clicked, this, &SectionPanel::addRowClicked);
    connect(parts_.killButton, &QPushButton::clicked, this, &SectionPanel::removeRowClicked);
    connect(parts_.upButton, &QPushButton::clicked, this, [this] { moveRowClicked(true); });
    connect(parts_.downButton, &QPushButton::clicked, this, [this] { moveRowClicked(false); });
    watchFrames({{parts_.frame, [this] {
                      return parts_.nameBox->text() != loaded_.name || rows() != loaded_.rows;
                  }}});
}

QString SectionPanel::id() const {
    return parts_.idBox->text();
}
QString SectionPanel::name() const {
    return parts_.nameBox->text();
}
void SectionPanel::setId(const QString& id) {
    parts_.idBox->setText(id);
}
bool SectionPanel::hasRows() const {
    return rows_->rowCount() > 0;
}

int SectionPanel::selectedRow() const {
    const QItemSelectionModel* selection = parts_.view->selectionModel();
    const QModelIndex current = parts_.view->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.row();
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QStringList SectionPanel::selectedRowTexts() const {
    const int row = selectedRow();
    return row < 0 ? QStringList() : rows_->texts(row);
}

void SectionPanel::updateSelectedRow(int column, const QString& text) {
    // Rows only follow the fields while the list is usable and a row is selected, so
    // typing with no row selected (or while a new row is typed) changes no row.
    if (!parts_.view->isEnabled())
        return;
    if (const int row = selectedRow(); row >= 0)
        rows_->setData(rows_->index(row, column), text);
}

QString SectionPanel::rowNote(const SectionRow&) const {
    return {};
}

// ---------------------------------------------------------------- load and save

void SectionPanel::loadSection(const QString& id) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    if (!rules)
        return;
    put(kind_ == Kind::TaskForce ? records::LoadTaskForce(*rules, id)
                                 : records::LoadScriptType(*rules, id));
}

void SectionPanel::put(const records::SectionRecord& r) {
    setLoaded(r.found, r.decodes);
    parts_.nameBox->setText(r.fields.name);
    FocusAndSelection::ProgramSelection quiet(kit_.focus());
    rows_->setRows(r.fields.rows);
    // After a load the first row is the selected one.
    if (hasRows())
        parts_.view->selectionModel()->setCurrentIndex(
            rows_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    captureBaseline();
}

void SectionPanel::show(const QString& id) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    // Read once: whether it is there, and its values.
    const records::SectionRecord r = id.isEmpty() || !rules ? records::SectionRecord{}
                                     : kind_ == Kind::TaskForce
                                         ? records::LoadTaskForce(*rules, id)
                                         : records::LoadScriptType(*rules, id);
    if (!r.found) {
        // No values of another record: the panel is empty, and says why.
        clear();
        setId(id);
        setAbsence(id.isEmpty() ? Absence::NoRecord : Absence::NotInFile);
        return;
    }
    setId(id);
    put(r);
    setAbsence(Absence::None);
    // Filling the row fields runs their checks, which may mend a row: what the selection
    // leaves on show is the record as loaded.
    if (selectedRow() >= 0)
        fillEntryFields();
    else
        emptyEntryFields();
    captureBaseline();
}

void SectionPanel::emptyEntryFields() {
    for (QWidget* f : parts_.fields)
        setFieldText(f, QString());
    entryFieldsEmptied();
}

std::optional<QString> SectionPanel::strayRowValue() const {
    // While a new row is typed its number is offered by the editor; a count, unit, action
    // or parameter is the user's.
    if (adding_) {
        for (int i = 1; i < 3; ++i)
            if (!fieldText(parts_.fields[i]).isEmpty())
                return kNewRowNotWritten.arg(columns_[i]);
        return std::nullopt;
    }
    if (selectedRow() >= 0)
        return std::nullopt;
    // No row selected: the fields may still show a row as it is (the one just written);
    // any other value has no row to go to.
    const QString texts[3] = {fieldText(parts_.fields[0]), fieldText(parts_.fields[1]),
                              fieldText(parts_.fields[2])};
    const auto shown = std::find_if(rows().begin(), rows().end(),
                                    [&texts](const SectionRow& r) { return r.number == texts[0]; });
    for (int i = 0; i < 3; ++i) {
        const bool asInRow = shown != rows().end() && texts[i] == (i == 0   ? shown->number
                                                                   : i == 1 ? shown->first
                                                                            : shown->second);
        if (!texts[i].isEmpty() && !asInRow)
            return kNoRowForValue.arg(columns_[i]);
    }
    return std::nullopt;
}

void SectionPanel::clear() {
    setId(QString());
    leaveAddMode();
    {
        FocusAndSelection::ProgramSelection quiet(kit_.focus());
        rows_->setRows({});
    }
    restoreStart();
    emptyEntryFields();
    setLoaded(false, true);
    setAbsence(Absence::None);
    captureBaseline();
}

void SectionPanel::leaveAddMode() {
    adding_ = false;
    parts_.view->setEnabled(true);
    parts_.addButton->setText(kAddCaption);
}

const std::vector<SectionRow>& SectionPanel::rows() const {
    return rows_->rows();
}

SectionKind SectionPanel::sectionKind() const {
    return kind_ == Kind::TaskForce ? SectionKind::TaskForce : SectionKind::Script;
}

std::optional<QString> SectionPanel::rowsRefused() const {
    return std::nullopt;
}

void SectionPanel::captureBaseline() {
    loaded_ = {parts_.nameBox->text(), rows()};
    refreshEdited();
}

RecordPanel::Saved SectionPanel::save(SaveMode mode) {
    const QString key = id();
    if (!saveable(key))
        return Saved::Nothing;
    if (const Saved s = checkLoaded(mode); s != Saved::Done)
        return s;
    // A value in a row field that no row takes is never dropped in silence.
    if (const std::optional<QString> stray = strayRowValue()) {
        kit_.messages().msg(*stray, kErrorTitle, MsgIcon::Information);
        return Saved::Refused;
    }
    if (const std::optional<QString> refused = rowsRefused()) {
        kit_.messages().msg(*refused, kErrorTitle, MsgIcon::Information);
        return Saved::Refused;
    }
    const records::SectionFields now{parts_.nameBox->text(), rows()};
    return kind_ == Kind::TaskForce
               ? finishSave(mode, records::SaveTaskForce(doc_, key, loaded_, now), kTaskForceSaved)
               : finishSave(mode, records::SaveScriptType(doc_, key, loaded_, now), kScriptSaved);
}

// ---------------------------------------------------------------- buttons and rows

void SectionPanel::saveClicked() {
    save(SaveMode::Button);
}

void SectionPanel::enterPressed() {
    if (adding_)
        addRowClicked();
    else
        save(SaveMode::Button);
}

void SectionPanel::copyClicked() {
    kit_.messages().dialogs().setClipboardText(id());
}

bool SectionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copyRows();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            pasteRows();
            return true;
        }
    }
    return RecordPanel::eventFilter(watched, event);
}

void SectionPanel::copyRows() {
    QModelIndexList selected = parts_.view->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    std::sort(selected.begin(), selected.end());
    std::vector<SectionRow> copied;
    for (const QModelIndex& index : selected)
        copied.push_back(rows()[static_cast<size_t>(index.row())]);
    kit_.messages().dialogs().setClipboardRows(
        {tarvok::copiedRows(copied), rowsKindName(sectionKind())});
}

void SectionPanel::pasteRows() {
    if (adding_ || !saveable(id()) || !recordFound())
        return;
    const bool taskForce = kind_ == Kind::TaskForce;
    const Dialogs::ClipboardRows clipboard = kit_.messages().dialogs().clipboardRows();
    const PastedRows pasted =
        tarvok::pasteRows(rows(), clipboard.text, sectionKind(), clipboard.kind);
    if (pasted.otherKind) {
        kit_.messages().msg(taskForce ? QStringLiteral("剪贴板中是脚本的行，不能粘贴到特遣小队")
                                      : QStringLiteral("剪贴板中是特遣小队的行，不能粘贴到脚本"),
                            kErrorTitle, MsgIcon::Information);
        return;
    }
    if (pasted.badLine > 0) {
        const QString line = pasted.badText.size() > 40
                                 ? pasted.badText.left(40) + QStringLiteral("…")
                                 : pasted.badText;
        kit_.messages().msg(
            QStringLiteral("剪贴板第 %1 行不是%2的行（%3,%4）：%5")
                .arg(pasted.badLine)
                .arg(taskForce ? QStringLiteral("特遣小队") : QStringLiteral("脚本"), columns_[1],
                     columns_[2], line),
            kErrorTitle, MsgIcon::Information);
        return;
    }
    if (pasted.unsaveable) { // the save would refuse these rows
        kit_.messages().msg(kBadInput);
        return;
    }
    if (pasted.added == 0)
        return;
    const int first = rows_->rowCount();
    FocusAndSelection::ProgramSelection quiet(kit_.focus());
    rows_->setRows(pasted.rows);
    // The pasted rows are selected, the last one on show in the row fields.
    QItemSelectionModel* selection = parts_.view->selectionModel();
    const int last = rows_->rowCount() - 1;
    selection->setCurrentIndex(rows_->index(last, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->select(QItemSelection(rows_->index(first, 0), rows_->index(last, 0)),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    parts_.view->scrollTo(rows_->index(last, 0));
    fillEntryFields();
}

void SectionPanel::addRowClicked() {
    if (!adding_) {
        // Add mode: the list stops following the fields while the new row is typed, and
        // the number field offers the next number, selected so that typing replaces it.
        adding_ = true;
        parts_.view->setEnabled(false);
        for (QWidget* f : parts_.fields)
            setFieldText(f, QString());
        parts_.addButton->setText(kWriteCaption);
        auto* number = static_cast<QLineEdit*>(parts_.fields[0]);
        number->setText(QString::number(rows_->rowCount()));
        number->setFocus(Qt::OtherFocusReason);
        number->selectAll();
        return;
    }
    for (QWidget* f : parts_.fields) {
        if (fieldText(f).isEmpty())
            return;
    }
    const QString number = fieldText(parts_.fields[0]);
    for (const SectionRow& row : rows()) {
        if (row.number == number) {
            kit_.messages().msg(kDuplicateRow);
            return;
        }
    }
    rows_->appendRow({number, fieldText(parts_.fields[1]), fieldText(parts_.fields[2])});
    leaveAddMode();
}

void SectionPanel::removeRowClicked() {
    QModelIndexList selected = parts_.view->selectionModel()->selectedRows();
    if (!hasRows() || selected.isEmpty())
        return;
    if (kit_.messages().msg(kConfirmRowDelete, kQuestionTitle, MsgIcon::Question,
                            MsgButtons::YesNo) == MsgAnswer::No)
        return;
    FocusAndSelection::ProgramSelection quiet(kit_.focus());
    // Every selected row goes, the last first, so that the others keep their places.
    std::sort(selected.begin(), selected.end());
    for (auto it = selected.crbegin(); it != selected.crend(); ++it)
        rows_->removeRows(it->row(), 1);
    // No neighbour takes the deleted row's place: the entry fields are empty and change no
    // row until the user picks one.
    parts_.view->selectionModel()->clear();
    emptyEntryFields();
}

void SectionPanel::moveRowClicked(bool up) {
    const int row = selectedRow();
    if (adding_ || row < 0)
        return;
    const std::optional<MovedRows> moved = moveRow(rows(), row, up);
    if (!moved)
        return;
    FocusAndSelection::ProgramSelection quiet(kit_.focus());
    rows_->setRows(moved->rows);
    parts_.view->selectionModel()->setCurrentIndex(rows_->index(static_cast<int>(moved->index), 0),
                                                   QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    fillEntryFields(); // the number field shows the row's new number
}

void SectionPanel::rowClicked() {
    if (parts_.view->isEnabled() && selectedRow() >= 0)
        fillEntryFields();
}

} // namespace tarvok
