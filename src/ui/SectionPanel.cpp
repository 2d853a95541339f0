#include "ui/SectionPanel.h"

#include "document/IniText.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/ScriptSection.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/SectionRowsModel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>

namespace tarvok {
namespace {

using namespace messages;

const QString kAddCaption = QStringLiteral("添加");
const QString kWriteCaption = QStringLiteral("写入");

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

SectionPanel::SectionPanel(PanelKit& kit, Kind kind, QObject* parent)
    : RecordPanel(kit, kind == Kind::TaskForce ? kTaskForceNotInFile : kScriptNotInFile, parent),
      kind_(kind) {}

void SectionPanel::setParts(const Parts& parts, const QStringList& columns) {
    parts_ = parts;
    QTreeView* view = parts_.view;
    rows_ = new SectionRowsModel(
        columns, [this](const QString& first) { return rowNote(first); }, view);
    view->setModel(rows_);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->header()->setStretchLastSection(true);
    const int w = std::max(view->viewport()->width(), 200);
    if (columns.size() > 3) { // numbers narrow, the rest of the width for the action's name
        const QFontMetrics fm = view->fontMetrics();
        view->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("ID00")) + 8);
        view->setColumnWidth(1, fm.horizontalAdvance(columns[1] + QStringLiteral("0")) + 8);
        view->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("000000")) + 8);
        return;
    }
    view->setColumnWidth(0, w / 4);
    view->setColumnWidth(1, w / 4);
    view->setColumnWidth(2, w / 2);
}

void SectionPanel::connectCommonHandlers() {
    kit_.onUserSelect(parts_.view, [this] { rowClicked(); });
    connect(parts_.saveButton, &QPushButton::clicked, this, &SectionPanel::saveClicked);
    connect(parts_.copyButton, &QPushButton::clicked, this, &SectionPanel::copyClicked);
    connect(parts_.addButton, &QPushButton::clicked, this, &SectionPanel::addRowClicked);
    connect(parts_.killButton, &QPushButton::clicked, this, &SectionPanel::removeRowClicked);
    watchFrames({{parts_.frame, [this] {
                      return parts_.nameBox->text() != loadedName_ || rows() != loadedRows_;
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

QString SectionPanel::rowNote(const QString&) const {
    return {};
}

// ---------------------------------------------------------------- load and save

void SectionPanel::loadSection(const QString& id) {
    const std::shared_ptr<const RulesIndex> rules = kit_.document().index();
    if (!rules)
        return;
    const SectionKind kind =
        kind_ == Kind::TaskForce ? SectionKind::TaskForce : SectionKind::Script;
    const TextCodec& codec = rules->codec();
    const QByteArray key = codec.encode(id);
    const IniText& text = rules->text();
    const std::optional<recordlines::SectionLines> found =
        id.isEmpty() ? std::nullopt : recordlines::readSection(text, key, codec, kind);
    // A record the file does not have (or not as a task force or script) shows as a new,
    // empty one: no name, no rows.
    const recordlines::SectionLines section = found.value_or(recordlines::SectionLines{});
    bool decodes = true;
    for (qsizetype line : section.lines)
        decodes = decodes && codec.roundTrips(text.text(line));
    setLoaded(found.has_value(), decodes);

    parts_.nameBox->setText(section.name);
    PanelKit::ProgramSelection quiet(kit_);
    rows_->setRows(section.rows);
    // After a load the first row is the selected one.
    if (hasRows())
        parts_.view->selectionModel()->setCurrentIndex(
            rows_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    captureBaseline();
}

const std::vector<SectionRow>& SectionPanel::rows() const {
    return rows_->rows();
}

void SectionPanel::captureBaseline() {
    loadedName_ = parts_.nameBox->text();
    loadedRows_ = rows();
    refreshEdited();
}

void SectionPanel::saveSection(const QString& id) {
    saveUnder(id, SaveMode::Button);
}

RecordPanel::Saved SectionPanel::save(SaveMode mode) {
    return saveUnder(id(), mode);
}

RecordPanel::Saved SectionPanel::saveUnder(const QString& id, SaveMode mode) {
    if (id.isEmpty() || !kit_.document().isOpen())
        return Saved::Nothing;
    if (const Saved s = checkLoaded(mode); s != Saved::Done)
        return s;
    const std::vector<SectionRow> now = rows();
    QStringList numbers;
    for (const SectionRow& row : now)
        numbers << row.number;
    if (!fieldrules::rowNumberingFits(numbers)) {
        kit_.msg(kBadInput);
        return Saved::Refused;
    }
    const SectionKind kind =
        kind_ == Kind::TaskForce ? SectionKind::TaskForce : SectionKind::Script;
    const QString name = parts_.nameBox->text();
    bool found = false;
    const filestore::WriteResult written = kit_.document().edit(
        [&](const QByteArray& content, const TextCodec& codec) -> std::optional<QByteArray> {
            const QByteArray section = codec.encode(id);
            const recordlines::SectionSlice slice(content, section);
            const std::optional<recordlines::SectionLines> old =
                recordlines::readSection(slice.text(), section, codec, kind);
            found = old.has_value();
            if (!found)
                return std::nullopt;
            IniEdits edits;
            recordlines::editSection(slice.text(), *old, loadedName_, loadedRows_, name, now, codec,
                                     edits);
            if (edits.isEmpty())
                return std::nullopt;
            return slice.apply(content, edits);
        });
    const Saved saved = finishWrite(mode, found, written,
                                    kind_ == Kind::TaskForce ? kTaskForceSaved : kScriptSaved);
    if (saved == Saved::Done)
        captureBaseline();
    return saved;
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
    kit_.dialogs().setClipboardText(id());
}

void SectionPanel::addRowClicked() {
    for (QWidget* f : parts_.fields) {
        if (fieldText(f).isEmpty())
            return;
    }
    if (!adding_) {
        // Add mode: the list stops following the fields while the new row is typed.
        adding_ = true;
        parts_.view->setEnabled(false);
        for (QWidget* f : parts_.fields)
            setFieldText(f, QString());
        parts_.addButton->setText(kWriteCaption);
        return;
    }
    const QString number = fieldText(parts_.fields[0]);
    for (const SectionRow& row : rows()) {
        if (row.number == number) {
            kit_.msg(kDuplicateRow);
            return;
        }
    }
    rows_->appendRow({number, fieldText(parts_.fields[1]), fieldText(parts_.fields[2])});
    adding_ = false;
    parts_.view->setEnabled(true);
    parts_.addButton->setText(kAddCaption);
}

void SectionPanel::removeRowClicked() {
    const int row = selectedRow();
    if (!hasRows() || row < 0)
        return;
    if (kit_.msg(kConfirmRowDelete, kQuestionTitle, MsgIcon::Question, MsgButtons::YesNo) ==
        MsgAnswer::No)
        return;
    PanelKit::ProgramSelection quiet(kit_);
    rows_->removeRows(row, 1);
    // No neighbour takes the deleted row's place: the entry fields change no row until
    // the user picks one.
    parts_.view->selectionModel()->clear();
}

void SectionPanel::rowClicked() {
    if (parts_.view->isEnabled() && selectedRow() >= 0)
        fillEntryFields();
}

} // namespace tarvok
