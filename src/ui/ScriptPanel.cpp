#include "ui/ScriptPanel.h"

#include "records/FieldRules.h"
#include "records/ScriptActions.h"
#include "records/ScriptExplain.h"
#include "ui/PanelKit.h"
#include "ui/WidgetMaking.h"
#include "ui/WindowLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarvok {

ScriptPanel::ScriptPanel(PanelKit& kit, RulesDocument& doc, QWidget* parent)
    : SectionPanel(kit, doc, Kind::Script, parent) {
    createControls();
    setParts({FraScr,
              TxtScr,
              TxtScrName,
              LvwScr,
              {TxtScrID, TxtAct, TxtNumber},
              CmdScrTypeAdd,
              CmdScrTypeKill,
              CmdSaveScr,
              CmdScrCopy,
              CmdScrUp,
              CmdScrDown},
             {QStringLiteral("ID"), QStringLiteral("动作"), QStringLiteral("参数"),
              QStringLiteral("动作名称")});
}

void ScriptPanel::compact() {
    windowlayout::compactFrame(FraScr);
    windowlayout::fitDropDowns({TxtScrUnitC});
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{LvwScr, LstScrAct, LstScrNumber})
        view->setMinimumHeight(windowlayout::kRowListHeight);
}

void ScriptPanel::setTextColour(const QColor& colour) {
    SectionPanel::setTextColour(colour);
    tarvok::setTextColour(LstScrAct, colour);
    tarvok::setTextColour(LstScrNumber, colour);
}

void ScriptPanel::createControls() {
    FraScr = new QGroupBox(QStringLiteral("脚本"));
    FraScr->setObjectName(QStringLiteral("FraScr"));
    TxtScrUnitC = FieldHelpers::makeCombo(QStringLiteral("TxtScrUnitC"), FraScr);
    unitNames_ = std::make_unique<UnitChoiceBox>(TxtScrUnitC);
    Command1 = named(new QPushButton(QStringLiteral("<"), FraScr), QStringLiteral("Command1"));
    Command1->setMaximumWidth(28);
    TxtScrAct = named(new QLineEdit(FraScr), QStringLiteral("TxtScrAct"));
    TxtScrOther = named(new QLineEdit(FraScr), QStringLiteral("TxtScrOther"));
    TxtScrUnitE = named(new QLineEdit(FraScr), QStringLiteral("TxtScrUnitE"));
    TxtNumber = named(new QLineEdit(FraScr), QStringLiteral("TxtNumber"));
    TxtAct = named(new QLineEdit(FraScr), QStringLiteral("TxtAct"));
    TxtScrID = named(new QLineEdit(FraScr), QStringLiteral("TxtScrID"));
    LstScrNumber = named(new QListWidget(FraScr), QStringLiteral("LstScrNumber"));
    LstScrAct = named(new QListWidget(FraScr), QStringLiteral("LstScrAct"));
    CmdSaveScr =
        named(new QPushButton(QStringLiteral("保存脚本"), FraScr), QStringLiteral("CmdSaveScr"));
    CmdScrTypeKill =
        named(new QPushButton(QStringLiteral("删除"), FraScr), QStringLiteral("CmdScrTypeKill"));
    CmdScrUp = named(new QPushButton(QStringLiteral("上移"), FraScr), QStringLiteral("CmdScrUp"));
    CmdScrDown =
        named(new QPushButton(QStringLiteral("下移"), FraScr), QStringLiteral("CmdScrDown"));
    CmdScrTypeAdd =
        named(new QPushButton(QStringLiteral("添加"), FraScr), QStringLiteral("CmdScrTypeAdd"));
    LvwScr = named(new QTreeView(FraScr), QStringLiteral("LvwScr"));
    TxtScrName = named(new QLineEdit(FraScr), QStringLiteral("TxtScrName"));
    TxtScr = named(new QLineEdit(FraScr), QStringLiteral("TxtScr"));
    CmdScrCopy =
        named(new QPushButton(QStringLiteral("复制"), FraScr), QStringLiteral("CmdScrCopy"));

    const auto caption = [this](const QString& text) { return label(text, FraScr); };
    auto* v = new QVBoxLayout(FraScr);

    auto* idRow = new QGridLayout;
    idRow->addWidget(TxtScr, 0, 0, 1, 2);
    idRow->addWidget(CmdScrCopy, 0, 2);
    idRow->addWidget(caption(QStringLiteral("名称(注释)")), 1, 0);
    idRow->addWidget(TxtScrName, 1, 1, 1, 2);
    idRow->setColumnStretch(1, 1);
    v->addLayout(idRow);

    // The steps, with the action list and the parameter choices beside them.
    auto* lists = new QHBoxLayout;
    lists->addWidget(LvwScr, 4);
    lists->addWidget(LstScrAct, 3);
    lists->addWidget(LstScrNumber, 3);
    // A parameter choice longer than the list is wide wraps onto a second line.
    LstScrNumber->setWordWrap(true);
    LstScrNumber->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addLayout(lists, 1);

    auto* step = new QHBoxLayout;
    step->addWidget(caption(QStringLiteral("ID:")));
    step->addWidget(TxtScrID, 2);
    step->addWidget(caption(QStringLiteral("动作:")));
    step->addWidget(TxtAct, 2);
    step->addWidget(caption(QStringLiteral("参数:")));
    step->addWidget(TxtNumber, 2);
    step->addWidget(caption(QStringLiteral("动作解释:")));
    step->addWidget(TxtScrAct, 5);
    v->addLayout(step);

    auto* meaning = new QHBoxLayout;
    meaning->addWidget(caption(QStringLiteral("参数解释:")));
    meaning->addWidget(caption(QStringLiteral("建筑:")));
    meaning->addWidget(TxtScrUnitE, 2);
    meaning->addWidget(Command1);
    meaning->addWidget(TxtScrUnitC, 2);
    meaning->addWidget(caption(QStringLiteral("其他:")));
    meaning->addWidget(TxtScrOther, 4);
    v->addLayout(meaning);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdScrTypeAdd);
    buttons->addWidget(CmdScrTypeKill);
    buttons->addWidget(CmdScrUp);
    buttons->addWidget(CmdScrDown);
    buttons->addStretch(1);
    buttons->addWidget(CmdSaveScr);
    v->addLayout(buttons);

    // An explanation longer than its box shows whole when the pointer rests on it.
    for (QLineEdit* box : {TxtScrAct, TxtScrOther})
        connect(box, &QLineEdit::textChanged, box, &QLineEdit::setToolTip);

    LstScrAct->addItem(QString());
    for (const ScriptAction& a : kScriptActions)
        LstScrAct->addItem(QString::fromUtf8(a.name));
}

// The action's name from the catalogue beside its number, which is what the save writes.
QString ScriptPanel::rowNote(const SectionRow& row) const {
    const ScriptAction* a = scripts::actionByNumber(scripts::numericValue(row.first));
    return a ? QString::fromUtf8(a->name) : QString();
}

void ScriptPanel::setUnitChoices(UnitChoices all, UnitChoices buildings) {
    allUnits_ = std::move(all);
    buildings_ = std::move(buildings);
    unitNames_->setChoices(listsBuildings_ ? buildings_ : allUnits_);
}

void ScriptPanel::followActionKind() {
    const bool buildings = fieldrules::isBuildingAction(TxtAct->text());
    if (buildings == listsBuildings_)
        return;
    listsBuildings_ = buildings;
    unitNames_->setChoices(buildings ? buildings_ : allUnits_);
}

void ScriptPanel::entryFieldsEmptied() {
    // No step: no action, building or other parameter is explained.
    TxtScrAct->clear();
    TxtScrUnitE->clear(); // its change empties the building's name
    TxtScrOther->clear();
}

void ScriptPanel::FillScrLineFields() {
    // Read the row first: the action and parameter fields write back into that row.
    const QStringList texts = selectedRowTexts();
    if (!texts.isEmpty()) {
        TxtScrID->setText(texts[0]);
        TxtAct->setText(texts[1]);
        TxtNumber->setText(texts[2]);
    }
    if (!fieldrules::isBuildingAction(TxtAct->text()))
        TxtScrUnitE->clear();
}

} // namespace tarvok
