#include "ui/FrmMain.h"

#include "document/Lines.h"
#include "document/Rewrite.h"
#include "records/TaskForceSection.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace tarvok {
namespace {

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

QTreeWidgetItem* selectedItem(QTreeWidget* view) {
    QTreeWidgetItem* item = view->currentItem();
    if (item && item->isSelected())
        return item;
    const QList<QTreeWidgetItem*> selected = view->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

// The line a row was read from travels with the row, so an untouched row is written
// back as it was.
constexpr int kRawLineRole = Qt::UserRole;

QTreeWidgetItem* makeRow(const SectionRow& row) {
    auto* item = new QTreeWidgetItem(QStringList{row.number, row.first, row.second});
    if (!row.raw.isEmpty())
        item->setData(0, kRawLineRole, row.raw);
    return item;
}

QLabel* label(const QString& caption, QWidget* parent) {
    return new QLabel(caption, parent);
}

} // namespace

// ---------------------------------------------------------------- building the frame

void FrmMain::createSpeFrame() {
    FraSpe = new QGroupBox(QStringLiteral("特遣小队"));
    FraSpe->setObjectName(QStringLiteral("FraSpe"));
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    CmdSaveSpe = named(new QPushButton(QStringLiteral("保存特遣小队"), FraSpe), "CmdSaveSpe");
    CmdSpeTypeKill = named(new QPushButton(QStringLiteral("删除"), FraSpe), "CmdSpeTypeKill");
    CmdSpeTypeAdd = named(new QPushButton(kAddCaption, FraSpe), "CmdSpeTypeAdd");
    CmdCE2 = named(new QPushButton(QStringLiteral("<"), FraSpe), "CmdCE2");
    CmdCE2->setMaximumWidth(28);
    CboSpeC = makeCombo(QStringLiteral("CboSpeC"), FraSpe);
    CboSpeE = makeCombo(QStringLiteral("CboSpeE"), FraSpe);
    TxtSpeNum = named(new QLineEdit(FraSpe), "TxtSpeNum");
    TxtID = named(new QLineEdit(FraSpe), "TxtID");
    TxtSpeName = named(new QLineEdit(FraSpe), "TxtSpeName");
    TxtSpe = named(new QLineEdit(FraSpe), "TxtSpe");
    LvwSpe = named(new QTreeWidget(FraSpe), "LvwSpe");
    LvwSpe->setRootIsDecorated(false);
    LvwSpe->setItemsExpandable(false);
    LvwSpe->setUniformRowHeights(true);
    LvwSpe->setAllColumnsShowFocus(true);
    LvwSpe->setSelectionMode(QAbstractItemView::SingleSelection);
    LvwSpe->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvwSpe->header()->setStretchLastSection(true);
    CmdSpeCopy = named(new QPushButton(QStringLiteral("复制"), FraSpe), "CmdSpeCopy");

    auto* grid = new QGridLayout(FraSpe);
    grid->addWidget(TxtSpe, 0, 0, 1, 2);
    grid->addWidget(CmdSpeCopy, 0, 2);
    grid->addWidget(label(QStringLiteral("名称(注释)"), FraSpe), 1, 0);
    grid->addWidget(TxtSpeName, 1, 1, 1, 3);
    grid->addWidget(LvwSpe, 2, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("ID:"), FraSpe), 3, 0);
    grid->addWidget(TxtID, 3, 1);
    grid->addWidget(label(QStringLiteral("数量:"), FraSpe), 3, 2);
    grid->addWidget(TxtSpeNum, 3, 3);
    grid->addWidget(label(QStringLiteral("单位类型:"), FraSpe), 4, 0);
    auto* unit = new QHBoxLayout;
    unit->addWidget(CboSpeE, 1);
    unit->addWidget(CmdCE2);
    unit->addWidget(CboSpeC, 1);
    grid->addLayout(unit, 4, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdSpeTypeAdd);
    buttons->addWidget(CmdSpeTypeKill);
    buttons->addStretch(1);
    buttons->addWidget(CmdSaveSpe);
    grid->addLayout(buttons, 5, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
}

void FrmMain::connectSpeHandlers() {
    onUserSelect(LstSpe, [this] { LstSpe_Click(); });
    onUserSelect(LstSpeAdd, [this] { LstSpeAdd_Click(); });
    onUserSelect(LvwSpe, [this] { LvwSpe_Click(); });
    connect(CmdSaveSpe, &QPushButton::clicked, this, &FrmMain::CmdSaveSpe_Click);
    connect(CmdSpeAdd, &QPushButton::clicked, this, &FrmMain::CmdSpeAdd_Click);
    connect(CmdSpeKill, &QPushButton::clicked, this, &FrmMain::CmdSpeKill_Click);
    connect(CmdSpeCopy, &QPushButton::clicked, this, &FrmMain::CmdSpeCopy_Click);
    connect(CmdSpeTypeAdd, &QPushButton::clicked, this, &FrmMain::CmdSpeTypeAdd_Click);
    connect(CmdSpeTypeKill, &QPushButton::clicked, this, &FrmMain::CmdSpeTypeKill_Click);
    connect(TxtID, &QLineEdit::textChanged, this, &FrmMain::TxtID_Change);
    connect(TxtSpeNum, &QLineEdit::textChanged, this, &FrmMain::TxtSpeNum_Change);
    connect(CboSpeE, &QComboBox::editTextChanged, this, &FrmMain::CboSpeE_Change);
    connect(CboSpeE, &QComboBox::activated, this, &FrmMain::CboSpeE_Click);
    // CmdCE2 does nothing when clicked.
}

// ---------------------------------------------------------------- shared by both panels

FrmMain::RowPanel FrmMain::spePanel() const {
    return {LvwSpe, CmdSpeTypeAdd, {TxtID, TxtSpeNum, CboSpeE}};
}

void FrmMain::loadSection(bool taskForce, const QString& id, QLineEdit* nameBox,
                          QByteArray& nameLine, QTreeWidget* view) {
    const std::optional<RulesContent> rules = readRules();
    if (!rules || id.isEmpty())
        return;
    const QByteArray key = rules->codec.encode(id);
    const std::optional<SectionRecord> record =
        taskForce ? readTaskForceSection(rules->bytes, key, rules->codec)
                  : readScriptSection(rules->bytes, key, rules->codec);
    if (!record)
        return; // the panel keeps what it showed
    nameBox->setText(record->name);
    nameLine = record->nameLine;
    const bool was = programSelecting_;
    programSelecting_ = true;
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(record->rows.size()));
    for (const SectionRow& row : record->rows)
        items.append(makeRow(row));
    view->addTopLevelItems(items);
    // After a load the first row is the selected one.
    if (!items.isEmpty()) {
        view->setCurrentItem(items.first());
        items.first()->setSelected(true);
    }
    programSelecting_ = was;
}

void FrmMain::saveSection(bool taskForce, const QString& id, const QString& name,
                          const QByteArray& nameLine, QTreeWidget* view,
                          const QString& confirmation) {
    if (RulesFilePath.isEmpty())
        return;
    SectionRecord record;
    record.name = name;
    record.nameLine = nameLine;
    record.rows.reserve(static_cast<size_t>(view->topLevelItemCount()));
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = view->topLevelItem(i);
        record.rows.push_back(SectionRow{item->text(0), item->text(1), item->text(2),
                                         item->data(0, kRawLineRole).toByteArray()});
    }
    const bool written = rewriteRules([&](const QByteArray& content, const TextCodec& codec) {
        const std::vector<QByteArray> block =
            taskForce ? taskForceBlock(record, codec) : scriptBlock(record, codec);
        return rewriteLines(content, ReplaceSectionBody(codec.encode(id), block));
    });
    if (written)
        msg(confirmation);
}

QStringList FrmMain::selectedRowTexts(QTreeWidget* view) {
    const QTreeWidgetItem* item = selectedItem(view);
    if (!item)
        return {};
    return {item->text(0), item->text(1), item->text(2)};
}

bool FrmMain::rowNumberingFits(QTreeWidget* view) {
    const int count = view->topLevelItemCount();
    // An empty list is saved as the Name line alone (and the Group line).
    if (count == 0)
        return true;
    const QByteArray last = view->topLevelItem(count - 1)->text(0).toUtf8();
    return lines::leadingNumber(last) + 1 == count;
}

void FrmMain::addRowStep(const RowPanel& panel) {
    for (QWidget* f : panel.fields) {
        if (fieldText(f).isEmpty())
            return;
    }
    if (panel.addButton->text() == kAddCaption) {
        // Add mode: the list stops following the fields while the new row is typed.
        panel.view->setEnabled(false);
        for (QWidget* f : panel.fields)
            setFieldText(f, QString());
        panel.addButton->setText(kWriteCaption);
        return;
    }
    const QString number = fieldText(panel.fields[0]);
    for (int i = 0; i < panel.view->topLevelItemCount(); ++i) {
        if (panel.view->topLevelItem(i)->text(0) == number) {
            msg(QStringLiteral("ID重复，请重新输入！"));
            return;
        }
    }
    panel.view->addTopLevelItem(new QTreeWidgetItem(
        QStringList{number, fieldText(panel.fields[1]), fieldText(panel.fields[2])}));
    panel.view->setEnabled(true);
    panel.addButton->setText(kAddCaption);
}

void FrmMain::removeSelectedRow(QTreeWidget* view) {
    QTreeWidgetItem* item = selectedItem(view);
    if (view->topLevelItemCount() == 0 || !item)
        return;
    if (msg(QStringLiteral("确定删除吗？注意正确选定删除项"), QStringLiteral("提示"),
            MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    const bool was = programSelecting_;
    programSelecting_ = true;
    delete item;
    programSelecting_ = was;
}

void FrmMain::selectRegistryEntry(QListWidget* list, QLineEdit* idBox,
                                  std::initializer_list<QListWidget*> others,
                                  const std::function<void()>& save,
                                  const std::function<void(const QString&)>& load,
                                  const std::function<void()>& fill) {
    const QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString id = item->text();
    if (AutoSave == -1)
        save(); // the record on show, under the ID it was shown with
    TxtName->setText(id);
    TxtNote->clear();
    idBox->setText(id);
    for (QListWidget* other : others)
        clearSelectionQuietly(other);
    CmdFind_Click();
    load(id);
    fill();
}

void FrmMain::showTeamRecord(QListWidget* list, QLineEdit* idBox, const std::function<void()>& save,
                             const std::function<void(const QString&)>& load,
                             const std::function<void()>& fill) {
    if (AutoSave == -1)
        save();
    // The list holds the one record of the team type on show: entry 0, whichever was hit.
    const QString id = list->count() > 0 ? list->item(0)->text() : QString();
    idBox->setText(id);
    load(id);
    fill();
}

// ---------------------------------------------------------------- task forces

void FrmMain::LoadTaskForce(const QString& id) {
    loadSection(true, id, TxtSpeName, speNameLine_, LvwSpe);
}

void FrmMain::SaveTaskForce(const QString& id) {
    saveSection(true, id, TxtSpeName->text(), speNameLine_, LvwSpe,
                QStringLiteral("特遣小队已保存！"));
}

bool FrmMain::DeleteTaskForce(const QString& id) {
    return removeFromRegistry("TaskForces", id, TaskForceCount);
}

void FrmMain::LstSpe_Click() {
    selectRegistryEntry(
        LstSpe, TxtSpe, {LstRoot, LstFig, LstScr}, [this] { CmdSaveSpe_Click(); },
        [this](const QString& id) { LoadTaskForce(id); }, [this] { FillSpeEntryFields(); });
}

void FrmMain::LstSpeAdd_Click() {
    showTeamRecord(
        LstSpeAdd, TxtSpe, [this] { CmdSaveSpe_Click(); },
        [this](const QString& id) { LoadTaskForce(id); }, [this] { FillSpeEntryFields(); });
}

void FrmMain::LvwSpe_Click() {
    if (LvwSpe->isEnabled())
        FillSpeEntryFields();
}

void FrmMain::CmdSaveSpe_Click() {
    if (TxtSpe->text().isEmpty())
        return;
    if (!rowNumberingFits(LvwSpe)) {
        msg(QStringLiteral("输入不合法！"));
        return;
    }
    SaveTaskForce(TxtSpe->text());
}

void FrmMain::CmdSpeAdd_Click() {
    addRegistryRecord(QStringLiteral("输入新增特遣小队名称（英文）"), LstSpe,
                      QStringLiteral("小队名称重复，请重新输入！"), "TaskForces", TaskForceCount,
                      {"Name=", "Group=-1"});
}

void FrmMain::CmdSpeKill_Click() {
    killSelectedRecord(LstSpe, [this](const QString& id) { return DeleteTaskForce(id); });
}

void FrmMain::CmdSpeCopy_Click() {
    dialogs().setClipboardText(TxtSpe->text());
}

void FrmMain::CmdSpeTypeAdd_Click() {
    addRowStep(spePanel());
}

void FrmMain::CmdSpeTypeKill_Click() {
    removeSelectedRow(LvwSpe);
}

void FrmMain::TxtID_Change() {
    // The rows do not follow the number field.
    digitFilter(TxtID, QStringLiteral("特遣小队ID输入不合法！"));
}

void FrmMain::TxtSpeNum_Change() {
    if (digitFilter(TxtSpeNum, QStringLiteral("数量输入不合法！")))
        return;
    if (!LvwSpe->isEnabled())
        return;
    if (QTreeWidgetItem* item = selectedItem(LvwSpe))
        item->setText(1, TxtSpeNum->text());
}

void FrmMain::CboSpeE_Change() {
    CboSpeC->setEditText(LookupUnitName(CboSpeE->currentText()));
    if (!LvwSpe->isEnabled())
        return;
    if (QTreeWidgetItem* item = selectedItem(LvwSpe))
        item->setText(2, CboSpeE->currentText());
}

void FrmMain::CboSpeE_Click() {
    CboSpeE_Change();
}

void FrmMain::FillSpeEntryFields() {
    // Read the row first: setting the count and the unit writes back into that row.
    const QStringList texts = selectedRowTexts(LvwSpe);
    if (texts.isEmpty())
        return;
    TxtID->setText(texts[0]);
    TxtSpeNum->setText(texts[1]);
    CboSpeE->setEditText(texts[2]);
}

} // namespace tarvok
