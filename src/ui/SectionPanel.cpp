#include "ui/SectionPanel.h"

#include "document/IniText.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/ScriptSection.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

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
    QTreeWidget* view = parts_.view;
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->header()->setStretchLastSection(true);
    view->setHeaderLabels(columns);
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
    return parts_.view->topLevelItemCount() > 0;
}

QTreeWidgetItem* SectionPanel::selectedRow() const {
    QTreeWidgetItem* item = parts_.view->currentItem();
    if (item && item->isSelected())
        return item;
    const QList<QTreeWidgetItem*> selected = parts_.view->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QStringList SectionPanel::selectedRowTexts() const {
    const QTreeWidgetItem* item = selectedRow();
    if (!item)
        return {};
    return {item->text(0), item->text(1), item->text(2)};
}

void SectionPanel::updateSelectedRow(int column, const QString& text) {
    // Rows only follow the fields while the list is usable and a row is selected, so
    // typing with no row selected (or while a new row is typed) changes no row.
    if (!parts_.view->isEnabled())
        return;
    if (QTreeWidgetItem* item = selectedRow()) {
        item->setText(column, text);
        if (column == 1 && parts_.view->columnCount() > 3) {
            item->setText(3, rowNote(text));
            item->setToolTip(3, item->text(3));
        }
    }
}

QString SectionPanel::rowNote(const QString&) const {
    return {};
}

QTreeWidgetItem* SectionPanel::makeRow(const QStringList& texts) const {
    auto* item = new QTreeWidgetItem(texts);
    if (parts_.view->columnCount() > 3) {
        item->setText(3, rowNote(texts.value(1)));
        item->setToolTip(3, item->text(3)); // the whole name where the column is narrow
    }
    return item;
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
    QTreeWidget* view = parts_.view;
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(section.rows.size()));
    for (const SectionRow& row : section.rows)
        items.append(makeRow({row.number, row.first, row.second}));
    view->addTopLevelItems(items);
    // After a load the first row is the selected one.
    if (!items.isEmpty()) {
        view->setCurrentItem(items.first());
        items.first()->setSelected(true);
    }
    captureBaseline();
}

std::vector<SectionRow> SectionPanel::rows() const {
    std::vector<SectionRow> out;
    out.reserve(static_cast<size_t>(parts_.view->topLevelItemCount()));
    for (int i = 0; i < parts_.view->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = parts_.view->topLevelItem(i);
        out.push_back(SectionRow{item->text(0), item->text(1), item->text(2)});
    }
    return out;
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
    if (parts_.addButton->text() == kWriteCaption)
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
    QTreeWidget* view = parts_.view;
    if (parts_.addButton->text() == kAddCaption) {
        // Add mode: the list stops following the fields while the new row is typed.
        view->setEnabled(false);
        for (QWidget* f : parts_.fields)
            setFieldText(f, QString());
        parts_.addButton->setText(kWriteCaption);
        return;
    }
    const QString number = fieldText(parts_.fields[0]);
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        if (view->topLevelItem(i)->text(0) == number) {
            kit_.msg(kDuplicateRow);
            return;
        }
    }
    view->addTopLevelItem(
        makeRow({number, fieldText(parts_.fields[1]), fieldText(parts_.fields[2])}));
    view->setEnabled(true);
    parts_.addButton->setText(kAddCaption);
}

void SectionPanel::removeRowClicked() {
    QTreeWidgetItem* item = selectedRow();
    if (parts_.view->topLevelItemCount() == 0 || !item)
        return;
    if (kit_.msg(kConfirmRowDelete, kQuestionTitle, MsgIcon::Question, MsgButtons::YesNo) ==
        MsgAnswer::No)
        return;
    PanelKit::ProgramSelection quiet(kit_);
    delete item;
    // No neighbour takes the deleted row's place: the entry fields change no row until
    // the user picks one.
    parts_.view->selectionModel()->clear();
}

void SectionPanel::rowClicked() {
    if (parts_.view->isEnabled() && !selectedRowTexts().isEmpty())
        fillEntryFields();
}

} // namespace tarvok
