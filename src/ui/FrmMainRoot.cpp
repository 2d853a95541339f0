// Placeholder panel: controls exist so that the window builds; the panel's behaviour is not written yet.
#include "ui/FrmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace tarvok {

void FrmMain::createRootFrame() {
    FraRoot = new QGroupBox(QStringLiteral("AI触发"));
    FraRoot->setObjectName(QStringLiteral("FraRoot"));
    auto* grid = new QGridLayout(FraRoot);
    int n = 0;
    TxtRoot = new QLineEdit(FraRoot);
    TxtRoot->setObjectName(QStringLiteral("TxtRoot"));
    grid->addWidget(TxtRoot, n / 4, n % 4);
    ++n;
    CmdRootCopy = new QPushButton(FraRoot);
    CmdRootCopy->setObjectName(QStringLiteral("CmdRootCopy"));
    grid->addWidget(CmdRootCopy, n / 4, n % 4);
    ++n;
    CmdSaveRoot = new QPushButton(FraRoot);
    CmdSaveRoot->setObjectName(QStringLiteral("CmdSaveRoot"));
    grid->addWidget(CmdSaveRoot, n / 4, n % 4);
    ++n;
    LstTeam = new QListWidget(FraRoot);
    LstTeam->setObjectName(QStringLiteral("LstTeam"));
    grid->addWidget(LstTeam, n / 4, n % 4);
    ++n;
    CmdTeam = new QPushButton(FraRoot);
    CmdTeam->setObjectName(QStringLiteral("CmdTeam"));
    grid->addWidget(CmdTeam, n / 4, n % 4);
    ++n;
    CmdTeamDelete = new QPushButton(FraRoot);
    CmdTeamDelete->setObjectName(QStringLiteral("CmdTeamDelete"));
    grid->addWidget(CmdTeamDelete, n / 4, n % 4);
    ++n;
    CboCountry = makeCombo(QStringLiteral("CboCountry"), FraRoot);
    grid->addWidget(CboCountry, n / 4, n % 4);
    ++n;
    CboTech = makeCombo(QStringLiteral("CboTech"), FraRoot);
    grid->addWidget(CboTech, n / 4, n % 4);
    ++n;
    CboKey = makeCombo(QStringLiteral("CboKey"), FraRoot);
    grid->addWidget(CboKey, n / 4, n % 4);
    ++n;
    TxtKey = new QLineEdit(FraRoot);
    TxtKey->setObjectName(QStringLiteral("TxtKey"));
    grid->addWidget(TxtKey, n / 4, n % 4);
    ++n;
    CboUnit = makeCombo(QStringLiteral("CboUnit"), FraRoot);
    grid->addWidget(CboUnit, n / 4, n % 4);
    ++n;
    CboUnitC = makeCombo(QStringLiteral("CboUnitC"), FraRoot);
    grid->addWidget(CboUnitC, n / 4, n % 4);
    ++n;
    CmdCE = new QPushButton(FraRoot);
    CmdCE->setObjectName(QStringLiteral("CmdCE"));
    grid->addWidget(CmdCE, n / 4, n % 4);
    ++n;
    TxtKeyNum = new QLineEdit(FraRoot);
    TxtKeyNum->setObjectName(QStringLiteral("TxtKeyNum"));
    grid->addWidget(TxtKeyNum, n / 4, n % 4);
    ++n;
    CboWay = makeCombo(QStringLiteral("CboWay"), FraRoot);
    grid->addWidget(CboWay, n / 4, n % 4);
    ++n;
    TxtWay = new QLineEdit(FraRoot);
    TxtWay->setObjectName(QStringLiteral("TxtWay"));
    grid->addWidget(TxtWay, n / 4, n % 4);
    ++n;
    CboBase = makeCombo(QStringLiteral("CboBase"), FraRoot);
    grid->addWidget(CboBase, n / 4, n % 4);
    ++n;
    CboMin = makeCombo(QStringLiteral("CboMin"), FraRoot);
    grid->addWidget(CboMin, n / 4, n % 4);
    ++n;
    CboMax = makeCombo(QStringLiteral("CboMax"), FraRoot);
    grid->addWidget(CboMax, n / 4, n % 4);
    ++n;
    CboOwner = makeCombo(QStringLiteral("CboOwner"), FraRoot);
    grid->addWidget(CboOwner, n / 4, n % 4);
    ++n;
    TxtOwner = new QLineEdit(FraRoot);
    TxtOwner->setObjectName(QStringLiteral("TxtOwner"));
    grid->addWidget(TxtOwner, n / 4, n % 4);
    ++n;
    ChkLow = new QCheckBox(FraRoot);
    ChkLow->setObjectName(QStringLiteral("ChkLow"));
    grid->addWidget(ChkLow, n / 4, n % 4);
    ++n;
    ChkMid = new QCheckBox(FraRoot);
    ChkMid->setObjectName(QStringLiteral("ChkMid"));
    grid->addWidget(ChkMid, n / 4, n % 4);
    ++n;
    ChkHigh = new QCheckBox(FraRoot);
    ChkHigh->setObjectName(QStringLiteral("ChkHigh"));
    grid->addWidget(ChkHigh, n / 4, n % 4);
    ++n;
    ChkRnd = new QCheckBox(FraRoot);
    ChkRnd->setObjectName(QStringLiteral("ChkRnd"));
    grid->addWidget(ChkRnd, n / 4, n % 4);
    ++n;
}

void FrmMain::connectRootHandlers() {}

void FrmMain::LoadTrigger(const QString& /*key*/) {}
void FrmMain::SaveTrigger(const QString& /*key*/) {}
void FrmMain::LstRoot_Click() {}
void FrmMain::CmdAdd_Click() {}
void FrmMain::CmdKill_Click() {}
void FrmMain::CmdSaveRoot_Click() {}
void FrmMain::CmdRootCopy_Click() {}
void FrmMain::CboTech_Change() {}
void FrmMain::CboKey_Change() {}
void FrmMain::CboKey_Click() {}
void FrmMain::CboUnitC_Change() {}
void FrmMain::CboUnitC_Click() {}
void FrmMain::CmdCE_Click() {}
void FrmMain::TxtKeyNum_Change() {}
void FrmMain::CboWay_Change() {}
void FrmMain::CboWay_Click() {}
void FrmMain::CboOwner_Change() {}
void FrmMain::CboOwner_Click() {}
void FrmMain::CboOwner_LostFocus() {}
void FrmMain::CboBase_LostFocus() {}
void FrmMain::CboMin_LostFocus() {}
void FrmMain::CboMax_LostFocus() {}

} // namespace tarvok
