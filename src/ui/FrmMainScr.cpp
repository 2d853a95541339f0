#include "ui/FrmMain.h"

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
#include <QVBoxLayout>

namespace tarvok {
namespace {

// The four building actions: their parameter names a building, shown in TxtScrUnitE.
bool isBuildingAction(const QString& action) {
    return action == QLatin1String("46") || action == QLatin1String("47") ||
           action == QLatin1String("56") || action == QLatin1String("58");
}

} // namespace

// ---------------------------------------------------------------- building the frame

void FrmMain::createScrFrame() {
    FraScr = new QGroupBox(QStringLiteral("脚本"));
    FraScr->setObjectName(QStringLiteral("FraScr"));
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    TxtScrUnitC = makeCombo(QStringLiteral("TxtScrUnitC"), FraScr);
    Command1 = named(new QPushButton(QStringLiteral("<"), FraScr), "Command1");
    Command1->setMaximumWidth(28);
    TxtScrAct = named(new QLineEdit(FraScr), "TxtScrAct");
    TxtScrOther = named(new QLineEdit(FraScr), "TxtScrOther");
    TxtScrUnitE = named(new QLineEdit(FraScr), "TxtScrUnitE");
    TxtNumber = named(new QLineEdit(FraScr), "TxtNumber");
    TxtAct = named(new QLineEdit(FraScr), "TxtAct");
    TxtScrID = named(new QLineEdit(FraScr), "TxtScrID");
    LstScrNumber = named(new QListWidget(FraScr), "LstScrNumber");
    LstScrAct = named(new QListWidget(FraScr), "LstScrAct");
    CmdSaveScr = named(new QPushButton(QStringLiteral("保存脚本"), FraScr), "CmdSaveScr");
    CmdScrTypeKill = named(new QPushButton(QStringLiteral("删除"), FraScr), "CmdScrTypeKill");
    CmdScrTypeAdd = named(new QPushButton(QStringLiteral("添加"), FraScr), "CmdScrTypeAdd");
    LvwScr = named(new QTreeWidget(FraScr), "LvwScr");
    LvwScr->setRootIsDecorated(false);
    LvwScr->setItemsExpandable(false);
    LvwScr->setUniformRowHeights(true);
    LvwScr->setAllColumnsShowFocus(true);
    LvwScr->setSelectionMode(QAbstractItemView::SingleSelection);
    LvwScr->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvwScr->header()->setStretchLastSection(true);
    TxtScrName = named(new QLineEdit(FraScr), "TxtScrName");
    TxtScr = named(new QLineEdit(FraScr), "TxtScr");
    CmdScrCopy = named(new QPushButton(QStringLiteral("复制"), FraScr), "CmdScrCopy");

    auto label = [this](const QString& caption) { return new QLabel(caption, FraScr); };
    auto* v = new QVBoxLayout(FraScr);

    auto* idRow = new QGridLayout;
    idRow->addWidget(TxtScr, 0, 0, 1, 2);
    idRow->addWidget(CmdScrCopy, 0, 2);
    idRow->addWidget(label(QStringLiteral("名称(注释)")), 1, 0);
    idRow->addWidget(TxtScrName, 1, 1, 1, 2);
    idRow->setColumnStretch(1, 1);
    v->addLayout(idRow);

    // The steps, with the action list and the parameter choices beside them.
    auto* lists = new QHBoxLayout;
    lists->addWidget(LvwScr, 3);
    lists->addWidget(LstScrAct, 3);
    lists->addWidget(LstScrNumber, 2);
    v->addLayout(lists, 1);

    auto* step = new QHBoxLayout;
    step->addWidget(label(QStringLiteral("ID:")));
    step->addWidget(TxtScrID, 2);
    step->addWidget(label(QStringLiteral("动作:")));
    step->addWidget(TxtAct, 2);
    step->addWidget(label(QStringLiteral("参数:")));
    step->addWidget(TxtNumber, 2);
    step->addWidget(label(QStringLiteral("动作解释:")));
    step->addWidget(TxtScrAct, 5);
    v->addLayout(step);

    auto* meaning = new QHBoxLayout;
    meaning->addWidget(label(QStringLiteral("参数解释:")));
    meaning->addWidget(label(QStringLiteral("建筑:")));
    meaning->addWidget(TxtScrUnitE, 2);
    meaning->addWidget(Command1);
    meaning->addWidget(TxtScrUnitC, 2);
    meaning->addWidget(label(QStringLiteral("其他:")));
    meaning->addWidget(TxtScrOther, 2);
    v->addLayout(meaning);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdScrTypeAdd);
    buttons->addWidget(CmdScrTypeKill);
    buttons->addStretch(1);
    buttons->addWidget(CmdSaveScr);
    v->addLayout(buttons);
}

void FrmMain::connectScrHandlers() {
    onUserSelect(LstScr, [this] { LstScr_Click(); });
    onUserSelect(LstScrAdd, [this] { LstScrAdd_Click(); });
    onUserSelect(LvwScr, [this] { LvwScr_Click(); });
    connect(CmdSaveScr, &QPushButton::clicked, this, &FrmMain::CmdSaveScr_Click);
    connect(CmdScrAdd, &QPushButton::clicked, this, &FrmMain::CmdScrAdd_Click);
    connect(CmdScrKill, &QPushButton::clicked, this, &FrmMain::CmdScrKill_Click);
    connect(CmdScrCopy, &QPushButton::clicked, this, &FrmMain::CmdScrCopy_Click);
    connect(CmdScrTypeAdd, &QPushButton::clicked, this, &FrmMain::CmdScrTypeAdd_Click);
    connect(CmdScrTypeKill, &QPushButton::clicked, this, &FrmMain::CmdScrTypeKill_Click);
}

// ---------------------------------------------------------------- scripts

FrmMain::RowPanel FrmMain::scrPanel() const {
    return {LvwScr, CmdScrTypeAdd, {TxtScrID, TxtAct, TxtNumber}};
}

void FrmMain::LoadScriptType(const QString& id) {
    loadSection(false, id, TxtScrName, scrNameLine_, LvwScr);
}

void FrmMain::SaveScriptType(const QString& id) {
    saveSection(false, id, TxtScrName->text(), scrNameLine_, LvwScr,
                QStringLiteral("脚本已保存！"));
}

bool FrmMain::DeleteScriptType(const QString& id) {
    return removeFromRegistry("ScriptTypes", id, ScriptTypeCount);
}

void FrmMain::LstScr_Click() {
    selectRegistryEntry(
        LstScr, TxtScr, {LstRoot, LstFig, LstSpe}, [this] { CmdSaveScr_Click(); },
        [this](const QString& id) { LoadScriptType(id); }, [this] { FillScrLineFields(); });
}

void FrmMain::LstScrAdd_Click() {
    showTeamRecord(
        LstScrAdd, TxtScr, [this] { CmdSaveScr_Click(); },
        [this](const QString& id) { LoadScriptType(id); }, [this] { FillScrLineFields(); });
}

void FrmMain::LvwScr_Click() {
    if (LvwScr->isEnabled() && !selectedRowTexts(LvwScr).isEmpty())
        FillScrLineFields();
}

void FrmMain::CmdSaveScr_Click() {
    if (TxtScr->text().isEmpty())
        return;
    if (!rowNumberingFits(LvwScr)) {
        msg(QStringLiteral("输入不合法！"));
        return;
    }
    SaveScriptType(TxtScr->text());
}

void FrmMain::CmdScrAdd_Click() {
    addRegistryRecord(QStringLiteral("输入脚本名称（英文）"), LstScr,
                      QStringLiteral("小队名称重复，请重新输入！"), "ScriptTypes", ScriptTypeCount,
                      {"Name="});
}

void FrmMain::CmdScrKill_Click() {
    killSelectedRecord(LstScr, [this](const QString& id) { return DeleteScriptType(id); });
}

void FrmMain::CmdScrCopy_Click() {
    dialogs().setClipboardText(TxtScr->text());
}

void FrmMain::CmdScrTypeAdd_Click() {
    addRowStep(scrPanel());
}

void FrmMain::CmdScrTypeKill_Click() {
    removeSelectedRow(LvwScr);
}

void FrmMain::FillScrLineFields() {
    // Read the row first: the action and parameter fields write back into that row.
    const QStringList texts = selectedRowTexts(LvwScr);
    if (!texts.isEmpty()) {
        TxtScrID->setText(texts[0]);
        TxtAct->setText(texts[1]);
        TxtNumber->setText(texts[2]);
    }
    if (!isBuildingAction(TxtAct->text()))
        TxtScrUnitE->clear();
}

} // namespace tarvok
