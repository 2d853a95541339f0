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

void FrmMain::createTeamFrames() {
    FraTeam = new QGroupBox(QStringLiteral("作战小队"));
    FraTeam->setObjectName(QStringLiteral("FraTeam"));
    auto* grid = new QGridLayout(FraTeam);
    int n = 0;
    CmdSaveFig = new QPushButton(FraTeam);
    CmdSaveFig->setObjectName(QStringLiteral("CmdSaveFig"));
    grid->addWidget(CmdSaveFig, n / 4, n % 4);
    ++n;
    TxtTeam = new QLineEdit(FraTeam);
    TxtTeam->setObjectName(QStringLiteral("TxtTeam"));
    grid->addWidget(TxtTeam, n / 4, n % 4);
    ++n;
    TxtTeamName = new QLineEdit(FraTeam);
    TxtTeamName->setObjectName(QStringLiteral("TxtTeamName"));
    grid->addWidget(TxtTeamName, n / 4, n % 4);
    ++n;
    TxtPriority = new QLineEdit(FraTeam);
    TxtPriority->setObjectName(QStringLiteral("TxtPriority"));
    grid->addWidget(TxtPriority, n / 4, n % 4);
    ++n;
    TxtTeamCount = new QLineEdit(FraTeam);
    TxtTeamCount->setObjectName(QStringLiteral("TxtTeamCount"));
    grid->addWidget(TxtTeamCount, n / 4, n % 4);
    ++n;
    CboAction = makeCombo(QStringLiteral("CboAction"), FraTeam);
    grid->addWidget(CboAction, n / 4, n % 4);
    ++n;
    TxtAction = new QLineEdit(FraTeam);
    TxtAction->setObjectName(QStringLiteral("TxtAction"));
    grid->addWidget(TxtAction, n / 4, n % 4);
    ++n;
    LstSpeAdd = new QListWidget(FraTeam);
    LstSpeAdd->setObjectName(QStringLiteral("LstSpeAdd"));
    grid->addWidget(LstSpeAdd, n / 4, n % 4);
    ++n;
    LstScrAdd = new QListWidget(FraTeam);
    LstScrAdd->setObjectName(QStringLiteral("LstScrAdd"));
    grid->addWidget(LstScrAdd, n / 4, n % 4);
    ++n;
    CmdFigChange = new QPushButton(FraTeam);
    CmdFigChange->setObjectName(QStringLiteral("CmdFigChange"));
    grid->addWidget(CmdFigChange, n / 4, n % 4);
    ++n;
    CmdBaseChange = new QPushButton(FraTeam);
    CmdBaseChange->setObjectName(QStringLiteral("CmdBaseChange"));
    grid->addWidget(CmdBaseChange, n / 4, n % 4);
    ++n;
    CmdTeamCopy = new QPushButton(FraTeam);
    CmdTeamCopy->setObjectName(QStringLiteral("CmdTeamCopy"));
    grid->addWidget(CmdTeamCopy, n / 4, n % 4);
    ++n;
    ChkAble = new QCheckBox(FraTeam);
    ChkAble->setObjectName(QStringLiteral("ChkAble"));
    grid->addWidget(ChkAble, n / 4, n % 4);
    ++n;
    ChkIsBaseDefense = new QCheckBox(FraTeam);
    ChkIsBaseDefense->setObjectName(QStringLiteral("ChkIsBaseDefense"));
    grid->addWidget(ChkIsBaseDefense, n / 4, n % 4);
    ++n;
    ChkAreTeamMembersRecruitable = new QCheckBox(FraTeam);
    ChkAreTeamMembersRecruitable->setObjectName(QStringLiteral("ChkAreTeamMembersRecruitable"));
    grid->addWidget(ChkAreTeamMembersRecruitable, n / 4, n % 4);
    ++n;
    ChkTransportsReturnOnUnload = new QCheckBox(FraTeam);
    ChkTransportsReturnOnUnload->setObjectName(QStringLiteral("ChkTransportsReturnOnUnload"));
    grid->addWidget(ChkTransportsReturnOnUnload, n / 4, n % 4);
    ++n;
    ChkAvoidThreats = new QCheckBox(FraTeam);
    ChkAvoidThreats->setObjectName(QStringLiteral("ChkAvoidThreats"));
    grid->addWidget(ChkAvoidThreats, n / 4, n % 4);
    ++n;
    ChkSuicide = new QCheckBox(FraTeam);
    ChkSuicide->setObjectName(QStringLiteral("ChkSuicide"));
    grid->addWidget(ChkSuicide, n / 4, n % 4);
    ++n;
    ChkAggressive = new QCheckBox(FraTeam);
    ChkAggressive->setObjectName(QStringLiteral("ChkAggressive"));
    grid->addWidget(ChkAggressive, n / 4, n % 4);
    ++n;
    ChkAutocreate = new QCheckBox(FraTeam);
    ChkAutocreate->setObjectName(QStringLiteral("ChkAutocreate"));
    grid->addWidget(ChkAutocreate, n / 4, n % 4);
    ++n;
    ChkRecruiter = new QCheckBox(FraTeam);
    ChkRecruiter->setObjectName(QStringLiteral("ChkRecruiter"));
    grid->addWidget(ChkRecruiter, n / 4, n % 4);
    ++n;
    FraFig1 = new QGroupBox;
    FraFig1->setObjectName(QStringLiteral("FraFig1"));
    CboTeamTech = makeCombo(QStringLiteral("CboTeamTech"), FraTeam);
    grid->addWidget(CboTeamTech, n / 4, n % 4);
    ++n;
    ChkOnlyTargetHouseEnemy = new QCheckBox(FraTeam);
    ChkOnlyTargetHouseEnemy->setObjectName(QStringLiteral("ChkOnlyTargetHouseEnemy"));
    grid->addWidget(ChkOnlyTargetHouseEnemy, n / 4, n % 4);
    ++n;
    ChkIonImmune = new QCheckBox(FraTeam);
    ChkIonImmune->setObjectName(QStringLiteral("ChkIonImmune"));
    grid->addWidget(ChkIonImmune, n / 4, n % 4);
    ++n;
    ChkOnTransOnly = new QCheckBox(FraTeam);
    ChkOnTransOnly->setObjectName(QStringLiteral("ChkOnTransOnly"));
    grid->addWidget(ChkOnTransOnly, n / 4, n % 4);
    ++n;
    ChkDroppod = new QCheckBox(FraTeam);
    ChkDroppod->setObjectName(QStringLiteral("ChkDroppod"));
    grid->addWidget(ChkDroppod, n / 4, n % 4);
    ++n;
    ChkPrebuild = new QCheckBox(FraTeam);
    ChkPrebuild->setObjectName(QStringLiteral("ChkPrebuild"));
    grid->addWidget(ChkPrebuild, n / 4, n % 4);
    ++n;
    ChkFull = new QCheckBox(FraTeam);
    ChkFull->setObjectName(QStringLiteral("ChkFull"));
    grid->addWidget(ChkFull, n / 4, n % 4);
    ++n;
    ChkLoadable = new QCheckBox(FraTeam);
    ChkLoadable->setObjectName(QStringLiteral("ChkLoadable"));
    grid->addWidget(ChkLoadable, n / 4, n % 4);
    ++n;
    ChkLooseRecruit = new QCheckBox(FraTeam);
    ChkLooseRecruit->setObjectName(QStringLiteral("ChkLooseRecruit"));
    grid->addWidget(ChkLooseRecruit, n / 4, n % 4);
    ++n;
    ChkWhiner = new QCheckBox(FraTeam);
    ChkWhiner->setObjectName(QStringLiteral("ChkWhiner"));
    grid->addWidget(ChkWhiner, n / 4, n % 4);
    ++n;
    ChkUseTransportOrigin = new QCheckBox(FraTeam);
    ChkUseTransportOrigin->setObjectName(QStringLiteral("ChkUseTransportOrigin"));
    grid->addWidget(ChkUseTransportOrigin, n / 4, n % 4);
    ++n;
    ChkReinforce = new QCheckBox(FraTeam);
    ChkReinforce->setObjectName(QStringLiteral("ChkReinforce"));
    grid->addWidget(ChkReinforce, n / 4, n % 4);
    ++n;
    ChkGuardSlower = new QCheckBox(FraTeam);
    ChkGuardSlower->setObjectName(QStringLiteral("ChkGuardSlower"));
    grid->addWidget(ChkGuardSlower, n / 4, n % 4);
    ++n;
    ChkAnnoyance = new QCheckBox(FraTeam);
    ChkAnnoyance->setObjectName(QStringLiteral("ChkAnnoyance"));
    grid->addWidget(ChkAnnoyance, n / 4, n % 4);
    ++n;
}

void FrmMain::connectTeamHandlers() {}

void FrmMain::LoadTeamType(const QString& /*id*/) {}
void FrmMain::SaveTeamType(const QString& /*id*/) {}
bool FrmMain::DeleteTeamType(const QString& /*id*/) { return true; }
void FrmMain::LstFig_Click() {}
void FrmMain::LstTeam_Click() {}
void FrmMain::CmdSaveFig_Click() {}
void FrmMain::CmdTeamAdd_Click() {}
void FrmMain::CmdTeamKill_Click() {}
void FrmMain::CmdTeam_Click() {}
void FrmMain::CmdTeamDelete_Click() {}
void FrmMain::CmdTeamCopy_Click() {}
void FrmMain::CmdFigChange_Click() {}
void FrmMain::CmdBaseChange_Click() {}
void FrmMain::ChkAble_Click() {}
void FrmMain::TxtPriority_Change() {}
void FrmMain::TxtTeamCount_Change() {}
void FrmMain::CboTeamTech_Change() {}
void FrmMain::CboAction_Change() {}
void FrmMain::CboAction_Click() {}

} // namespace tarvok
