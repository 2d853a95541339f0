#include "ui/TaskForcePanel.h"

#include "records/FieldRules.h"
#include "ui/ChoiceSearch.h"
#include "ui/PanelKit.h"
#include "ui/WidgetMaking.h"
#include "ui/WindowLayout.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace tarvok {

TaskForcePanel::TaskForcePanel(PanelKit& kit, RulesDocument& doc, QWidget* parent)
    : SectionPanel(kit, doc, Kind::TaskForce, parent) {
    FraSpe = named(new QGroupBox(QStringLiteral("特遣小队")), QStringLiteral("FraSpe"));
    QGroupBox* f = FraSpe;
    CmdSaveSpe =
        named(new QPushButton(QStringLiteral("保存特遣小队"), f), QStringLiteral("CmdSaveSpe"));
    CmdSpeTypeKill =
        named(new QPushButton(QStringLiteral("删除"), f), QStringLiteral("CmdSpeTypeKill"));
    CmdSpeUp = named(new QPushButton(QStringLiteral("上移"), f), QStringLiteral("CmdSpeUp"));
    CmdSpeDown = named(new QPushButton(QStringLiteral("下移"), f), QStringLiteral("CmdSpeDown"));
    CmdSpeTypeAdd =
        named(new QPushButton(QStringLiteral("添加"), f), QStringLiteral("CmdSpeTypeAdd"));
    CmdCE2 = named(new QPushButton(QStringLiteral("<"), f), QStringLiteral("CmdCE2"));
    CmdCE2->setMaximumWidth(28);
    CboSpeC = FieldHelpers::makeCombo(QStringLiteral("CboSpeC"), f);
    unitNames_ = std::make_unique<UnitChoiceBox>(CboSpeC);
    CboSpeE = FieldHelpers::makeCombo(QStringLiteral("CboSpeE"), f);
    replaceItemsKeepingText(CboSpeE, {}); // the model the search follows, filled at each opening
    searchInside(CboSpeE, [&kit](const QString& id) { return kit.catalogues().displayName(id); });
    TxtSpeNum = named(new QLineEdit(f), QStringLiteral("TxtSpeNum"));
    TxtID = named(new QLineEdit(f), QStringLiteral("TxtID"));
    TxtSpeName = named(new QLineEdit(f), QStringLiteral("TxtSpeName"));
    TxtSpe = named(new QLineEdit(f), QStringLiteral("TxtSpe"));
    LvwSpe = named(new QTreeView(f), QStringLiteral("LvwSpe"));
    CmdSpeCopy = named(new QPushButton(QStringLiteral("复制"), f), QStringLiteral("CmdSpeCopy"));

    auto* grid = new QGridLayout(f);
    grid->addWidget(TxtSpe, 0, 0, 1, 2);
    grid->addWidget(CmdSpeCopy, 0, 2);
    grid->addWidget(label(QStringLiteral("名称(注释)"), f), 1, 0);
    grid->addWidget(TxtSpeName, 1, 1, 1, 3);
    grid->addLayout(besideList(LvwSpe, CmdSpeUp, CmdSpeDown), 2, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("ID:"), f), 3, 0);
    grid->addWidget(TxtID, 3, 1);
    grid->addWidget(label(QStringLiteral("数量:"), f), 3, 2);
    grid->addWidget(TxtSpeNum, 3, 3);
    grid->addWidget(label(QStringLiteral("单位类型:"), f), 4, 0);
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

    setParts({FraSpe,
              TxtSpe,
              TxtSpeName,
              LvwSpe,
              {TxtID, TxtSpeNum, CboSpeE},
              CmdSpeTypeAdd,
              CmdSpeTypeKill,
              CmdSaveSpe,
              CmdSpeCopy,
              CmdSpeUp,
              CmdSpeDown},
             {QStringLiteral("ID"), QStringLiteral("数量"), QStringLiteral("单位类型"),
              QStringLiteral("单位名称")});
}

void TaskForcePanel::compact() {
    windowlayout::compactFrame(FraSpe);
    windowlayout::fitDropDowns({CboSpeC, CboSpeE});
    LvwSpe->setMinimumHeight(windowlayout::kRowListHeight);
}

QString TaskForcePanel::rowNote(const SectionRow& row) const {
    return kit_.catalogues().displayName(row.second);
}

void TaskForcePanel::setUnitChoices(const QStringList& ids, UnitChoices names,
                                    QStringList defined) {
    replaceItemsKeepingText(CboSpeE, ids);
    unitNames_->setChoices(std::move(names));
    definedUnits_ = std::move(defined);
}

std::optional<QString> TaskForcePanel::rowsRefused() const {
    const std::optional<fieldrules::RowRefusal> refusal =
        fieldrules::refusedTaskForceRow(loadedFields().rows, rows(), definedUnits_);
    if (!refusal)
        return std::nullopt;
    const SectionRow& row = rows()[static_cast<size_t>(refusal->index)];
    const QString which =
        QStringLiteral("第 %1 行（ID %2）").arg(refusal->index + 1).arg(row.number);
    if (refusal->reason == fieldrules::RowRefusal::Reason::Count)
        return which + QStringLiteral("的数量必须是 1 以上的整数");
    return which + (kit_.catalogues().mod().inUse() ? QStringLiteral("的单位 %1 在当前模组中未定义")
                                                    : QStringLiteral("的单位 %1 不在单位名称表中"))
                       .arg(row.second);
}

void TaskForcePanel::connectHandlers() {
    connectCommonHandlers();
    connect(TxtID, &QLineEdit::textChanged, this, &TaskForcePanel::TxtID_Change);
    connect(TxtSpeNum, &QLineEdit::textChanged, this, &TaskForcePanel::TxtSpeNum_Change);
    connect(CboSpeE, &QComboBox::editTextChanged, this, &TaskForcePanel::CboSpeE_Change);
    connect(CboSpeE, &QComboBox::activated, this, &TaskForcePanel::CboSpeE_Click);
    connect(CboSpeC, &QComboBox::activated, this, &TaskForcePanel::CboSpeC_Click);
    // A typed name or ID counts when the user leaves the box (Enter too).
    kit_.focus().onFocusOut(CboSpeC, [this] {
        if (kit_.focus().userEditedSinceFocus(CboSpeC))
            CboSpeC_Click();
    });
    // CmdCE2 does nothing when clicked.
}

void TaskForcePanel::TxtID_Change() {
    // The rows do not follow the number field.
    kit_.fields().digitFilter(TxtID, QStringLiteral("特遣小队ID输入不合法！"));
}

void TaskForcePanel::TxtSpeNum_Change() {
    if (kit_.fields().digitFilter(TxtSpeNum, QStringLiteral("数量输入不合法！")))
        return;
    updateSelectedRow(1, TxtSpeNum->text());
}

void TaskForcePanel::CboSpeE_Change() {
    CboSpeC->setEditText(unitNames_->labelOf(kit_, CboSpeE->currentText()));
    updateSelectedRow(2, CboSpeE->currentText());
}

void TaskForcePanel::CboSpeE_Click() {
    CboSpeE_Change();
}

// A name chosen from the list puts its own unit in the unit box (whose change shows the
// name); a typed ID or name, the unit it stands for.
void TaskForcePanel::CboSpeC_Click() {
    if (const std::optional<QString> id = unitNames_->chosenId(kit_, CboSpeE->currentText());
        id && !id->isEmpty())
        CboSpeE->setEditText(*id);
}

void TaskForcePanel::FillSpeEntryFields() {
    // Read the row first: setting the count and the unit writes back into that row.
    const QStringList texts = selectedRowTexts();
    if (texts.isEmpty())
        return;
    TxtID->setText(texts[0]);
    TxtSpeNum->setText(texts[1]);
    CboSpeE->setEditText(texts[2]);
}

} // namespace tarvok
