#pragma once

#include "document/RulesDocument.h"
#include "ui/FrmMain.h"
#include "ui/PanelKit.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace tarvok::test {

// Every control of the main window, found by its objectName, as a user finds it by its
// place: tests and benchmarks drive the window through these.
struct Controls {
    explicit Controls(QObject* window) {
        find(window, CmdSaveAll, "CmdSaveAll");
        find(window, SSTab, "SSTab");
        find(window, Picture1, "Picture1");
        find(window, LblMsg, "LblMsg");
        find(window, FraFile, "FraFile");
        find(window, CmdOpen, "CmdOpen");
        find(window, LblRoot, "LblRoot");
        find(window, LblInfo, "LblInfo");
        find(window, mAutoSave, "mAutoSave");
        find(window, mYes, "mYes");
        find(window, mNo, "mNo");
        find(window, mSuoJie, "mSuoJie");
        find(window, mSuo, "mSuo");
        find(window, mJie, "mJie");
        find(window, mColor, "mColor");
        find(window, LstRoot, "LstRoot");
        find(window, CmdAdd, "CmdAdd");
        find(window, CmdKill, "CmdKill");
        find(window, LstFig, "LstFig");
        find(window, CmdTeamAdd, "CmdTeamAdd");
        find(window, CmdTeamKill, "CmdTeamKill");
        find(window, LstSpe, "LstSpe");
        find(window, CmdSpeAdd, "CmdSpeAdd");
        find(window, CmdSpeKill, "CmdSpeKill");
        find(window, LstScr, "LstScr");
        find(window, CmdScrAdd, "CmdScrAdd");
        find(window, CmdScrKill, "CmdScrKill");
        find(window, TxtName, "TxtName");
        find(window, TxtNote, "TxtNote");
        find(window, CmdNew, "CmdNew");
        find(window, CmdFind, "CmdFind");
        find(window, CmdDelete, "CmdDelete");
        find(window, FraRoot, "FraRoot");
        find(window, TxtRoot, "TxtRoot");
        find(window, CmdRootCopy, "CmdRootCopy");
        find(window, CmdSaveRoot, "CmdSaveRoot");
        find(window, LstTeam, "LstTeam");
        find(window, CmdTeam, "CmdTeam");
        find(window, CmdTeamDelete, "CmdTeamDelete");
        find(window, CboCountry, "CboCountry");
        find(window, CboTech, "CboTech");
        find(window, CboKey, "CboKey");
        find(window, TxtKey, "TxtKey");
        find(window, CboUnit, "CboUnit");
        find(window, CboUnitC, "CboUnitC");
        find(window, CmdCE, "CmdCE");
        find(window, TxtKeyNum, "TxtKeyNum");
        find(window, CboWay, "CboWay");
        find(window, TxtWay, "TxtWay");
        find(window, CboBase, "CboBase");
        find(window, CboMin, "CboMin");
        find(window, CboMax, "CboMax");
        find(window, CboOwner, "CboOwner");
        find(window, TxtOwner, "TxtOwner");
        find(window, ChkLow, "ChkLow");
        find(window, ChkMid, "ChkMid");
        find(window, ChkHigh, "ChkHigh");
        find(window, ChkRnd, "ChkRnd");
        find(window, FraTeam, "FraTeam");
        find(window, CmdSaveFig, "CmdSaveFig");
        find(window, TxtTeam, "TxtTeam");
        find(window, TxtTeamName, "TxtTeamName");
        find(window, TxtPriority, "TxtPriority");
        find(window, TxtTeamCount, "TxtTeamCount");
        find(window, CboAction, "CboAction");
        find(window, TxtAction, "TxtAction");
        find(window, LstSpeAdd, "LstSpeAdd");
        find(window, LstScrAdd, "LstScrAdd");
        find(window, CmdFigChange, "CmdFigChange");
        find(window, CmdBaseChange, "CmdBaseChange");
        find(window, CmdTeamCopy, "CmdTeamCopy");
        find(window, ChkAble, "ChkAble");
        find(window, ChkIsBaseDefense, "ChkIsBaseDefense");
        find(window, ChkAreTeamMembersRecruitable, "ChkAreTeamMembersRecruitable");
        find(window, ChkTransportsReturnOnUnload, "ChkTransportsReturnOnUnload");
        find(window, ChkAvoidThreats, "ChkAvoidThreats");
        find(window, ChkSuicide, "ChkSuicide");
        find(window, ChkAggressive, "ChkAggressive");
        find(window, ChkAutocreate, "ChkAutocreate");
        find(window, ChkRecruiter, "ChkRecruiter");
        find(window, FraFig1, "FraFig1");
        find(window, CboTeamTech, "CboTeamTech");
        find(window, ChkOnlyTargetHouseEnemy, "ChkOnlyTargetHouseEnemy");
        find(window, ChkIonImmune, "ChkIonImmune");
        find(window, ChkOnTransOnly, "ChkOnTransOnly");
        find(window, ChkDroppod, "ChkDroppod");
        find(window, ChkPrebuild, "ChkPrebuild");
        find(window, ChkFull, "ChkFull");
        find(window, ChkLoadable, "ChkLoadable");
        find(window, ChkLooseRecruit, "ChkLooseRecruit");
        find(window, ChkWhiner, "ChkWhiner");
        find(window, ChkUseTransportOrigin, "ChkUseTransportOrigin");
        find(window, ChkReinforce, "ChkReinforce");
        find(window, ChkGuardSlower, "ChkGuardSlower");
        find(window, ChkAnnoyance, "ChkAnnoyance");
        find(window, FraSpe, "FraSpe");
        find(window, TxtSpe, "TxtSpe");
        find(window, TxtSpeName, "TxtSpeName");
        find(window, LvwSpe, "LvwSpe");
        find(window, TxtID, "TxtID");
        find(window, TxtSpeNum, "TxtSpeNum");
        find(window, CboSpeE, "CboSpeE");
        find(window, CboSpeC, "CboSpeC");
        find(window, CmdCE2, "CmdCE2");
        find(window, CmdSaveSpe, "CmdSaveSpe");
        find(window, CmdSpeTypeAdd, "CmdSpeTypeAdd");
        find(window, CmdSpeTypeKill, "CmdSpeTypeKill");
        find(window, CmdSpeCopy, "CmdSpeCopy");
        find(window, FraScr, "FraScr");
        find(window, TxtScr, "TxtScr");
        find(window, TxtScrName, "TxtScrName");
        find(window, LvwScr, "LvwScr");
        find(window, LstScrAct, "LstScrAct");
        find(window, LstScrNumber, "LstScrNumber");
        find(window, TxtScrID, "TxtScrID");
        find(window, TxtAct, "TxtAct");
        find(window, TxtNumber, "TxtNumber");
        find(window, TxtScrAct, "TxtScrAct");
        find(window, TxtScrUnitE, "TxtScrUnitE");
        find(window, TxtScrUnitC, "TxtScrUnitC");
        find(window, Command1, "Command1");
        find(window, TxtScrOther, "TxtScrOther");
        find(window, CmdSaveScr, "CmdSaveScr");
        find(window, CmdScrTypeAdd, "CmdScrTypeAdd");
        find(window, CmdScrTypeKill, "CmdScrTypeKill");
        find(window, CmdScrCopy, "CmdScrCopy");
    }

    QPushButton* CmdSaveAll = nullptr;
    QTabWidget* SSTab = nullptr;
    QFrame* Picture1 = nullptr;
    QLabel* LblMsg = nullptr;
    QGroupBox* FraFile = nullptr;
    QPushButton* CmdOpen = nullptr;
    QLabel* LblRoot = nullptr;
    QLabel* LblInfo = nullptr;
    QMenu* mAutoSave = nullptr;
    QAction* mYes = nullptr;
    QAction* mNo = nullptr;
    QMenu* mSuoJie = nullptr;
    QAction* mSuo = nullptr;
    QAction* mJie = nullptr;
    QAction* mColor = nullptr;
    QListWidget* LstRoot = nullptr;
    QPushButton* CmdAdd = nullptr;
    QPushButton* CmdKill = nullptr;
    QListWidget* LstFig = nullptr;
    QPushButton* CmdTeamAdd = nullptr;
    QPushButton* CmdTeamKill = nullptr;
    QListWidget* LstSpe = nullptr;
    QPushButton* CmdSpeAdd = nullptr;
    QPushButton* CmdSpeKill = nullptr;
    QListWidget* LstScr = nullptr;
    QPushButton* CmdScrAdd = nullptr;
    QPushButton* CmdScrKill = nullptr;
    QLineEdit* TxtName = nullptr;
    QLineEdit* TxtNote = nullptr;
    QPushButton* CmdNew = nullptr;
    QPushButton* CmdFind = nullptr;
    QPushButton* CmdDelete = nullptr;
    QGroupBox* FraRoot = nullptr;
    QLineEdit* TxtRoot = nullptr;
    QPushButton* CmdRootCopy = nullptr;
    QPushButton* CmdSaveRoot = nullptr;
    QListWidget* LstTeam = nullptr;
    QPushButton* CmdTeam = nullptr;
    QPushButton* CmdTeamDelete = nullptr;
    QComboBox* CboCountry = nullptr;
    QComboBox* CboTech = nullptr;
    QComboBox* CboKey = nullptr;
    QLineEdit* TxtKey = nullptr;
    QComboBox* CboUnit = nullptr;
    QComboBox* CboUnitC = nullptr;
    QPushButton* CmdCE = nullptr;
    QLineEdit* TxtKeyNum = nullptr;
    QComboBox* CboWay = nullptr;
    QLineEdit* TxtWay = nullptr;
    QComboBox* CboBase = nullptr;
    QComboBox* CboMin = nullptr;
    QComboBox* CboMax = nullptr;
    QComboBox* CboOwner = nullptr;
    QLineEdit* TxtOwner = nullptr;
    QCheckBox* ChkLow = nullptr;
    QCheckBox* ChkMid = nullptr;
    QCheckBox* ChkHigh = nullptr;
    QCheckBox* ChkRnd = nullptr;
    QGroupBox* FraTeam = nullptr;
    QPushButton* CmdSaveFig = nullptr;
    QLineEdit* TxtTeam = nullptr;
    QLineEdit* TxtTeamName = nullptr;
    QLineEdit* TxtPriority = nullptr;
    QLineEdit* TxtTeamCount = nullptr;
    QComboBox* CboAction = nullptr;
    QLineEdit* TxtAction = nullptr;
    QListWidget* LstSpeAdd = nullptr;
    QListWidget* LstScrAdd = nullptr;
    QPushButton* CmdFigChange = nullptr;
    QPushButton* CmdBaseChange = nullptr;
    QPushButton* CmdTeamCopy = nullptr;
    QCheckBox* ChkAble = nullptr;
    QCheckBox* ChkIsBaseDefense = nullptr;
    QCheckBox* ChkAreTeamMembersRecruitable = nullptr;
    QCheckBox* ChkTransportsReturnOnUnload = nullptr;
    QCheckBox* ChkAvoidThreats = nullptr;
    QCheckBox* ChkSuicide = nullptr;
    QCheckBox* ChkAggressive = nullptr;
    QCheckBox* ChkAutocreate = nullptr;
    QCheckBox* ChkRecruiter = nullptr;
    QGroupBox* FraFig1 = nullptr;
    QComboBox* CboTeamTech = nullptr;
    QCheckBox* ChkOnlyTargetHouseEnemy = nullptr;
    QCheckBox* ChkIonImmune = nullptr;
    QCheckBox* ChkOnTransOnly = nullptr;
    QCheckBox* ChkDroppod = nullptr;
    QCheckBox* ChkPrebuild = nullptr;
    QCheckBox* ChkFull = nullptr;
    QCheckBox* ChkLoadable = nullptr;
    QCheckBox* ChkLooseRecruit = nullptr;
    QCheckBox* ChkWhiner = nullptr;
    QCheckBox* ChkUseTransportOrigin = nullptr;
    QCheckBox* ChkReinforce = nullptr;
    QCheckBox* ChkGuardSlower = nullptr;
    QCheckBox* ChkAnnoyance = nullptr;
    QGroupBox* FraSpe = nullptr;
    QLineEdit* TxtSpe = nullptr;
    QLineEdit* TxtSpeName = nullptr;
    QTreeWidget* LvwSpe = nullptr;
    QLineEdit* TxtID = nullptr;
    QLineEdit* TxtSpeNum = nullptr;
    QComboBox* CboSpeE = nullptr;
    QComboBox* CboSpeC = nullptr;
    QPushButton* CmdCE2 = nullptr;
    QPushButton* CmdSaveSpe = nullptr;
    QPushButton* CmdSpeTypeAdd = nullptr;
    QPushButton* CmdSpeTypeKill = nullptr;
    QPushButton* CmdSpeCopy = nullptr;
    QGroupBox* FraScr = nullptr;
    QLineEdit* TxtScr = nullptr;
    QLineEdit* TxtScrName = nullptr;
    QTreeWidget* LvwScr = nullptr;
    QListWidget* LstScrAct = nullptr;
    QListWidget* LstScrNumber = nullptr;
    QLineEdit* TxtScrID = nullptr;
    QLineEdit* TxtAct = nullptr;
    QLineEdit* TxtNumber = nullptr;
    QLineEdit* TxtScrAct = nullptr;
    QLineEdit* TxtScrUnitE = nullptr;
    QComboBox* TxtScrUnitC = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* TxtScrOther = nullptr;
    QPushButton* CmdSaveScr = nullptr;
    QPushButton* CmdScrTypeAdd = nullptr;
    QPushButton* CmdScrTypeKill = nullptr;
    QPushButton* CmdScrCopy = nullptr;

private:
    template <class T>
    static void find(QObject* window, T*& member, const char* name) {
        member = window->findChild<T*>(QLatin1String(name));
        if (!member) {
            std::fprintf(stderr, "no control named %s\n", name);
            std::abort();
        }
    }
};

// The main window as tests and benchmarks see it: its controls by name, and the
// operations and state they call on directly.
struct Window : Controls {
    explicit Window(FrmMain& window) : Controls(&window), main(window) {}

    FrmMain& main;

    QString RulesFilePath() const { return main.document().path(); }
    int TeamTypeCount() const { return main.document().count(RegistryKind::TeamTypes); }
    int TaskForceCount() const { return main.document().count(RegistryKind::TaskForces); }
    int ScriptTypeCount() const { return main.document().count(RegistryKind::ScriptTypes); }
    int AutoSave() const { return main.autoSaveOn() ? -1 : 0; }
    int RecordFound() const { return main.triggerPanel().recordFound() ? -1 : 0; }

    void CmdOpen_Click() { main.CmdOpen_Click(); }
    void CmdSaveAll_Click() { main.CmdSaveAll_Click(); }
    void mYes_Click() { main.mYes_Click(); }
    void LstRoot_Click() { main.LstRoot_Click(); }
    void CmdSpeAdd_Click() { main.CmdSpeAdd_Click(); }
    void CmdSpeKill_Click() { main.CmdSpeKill_Click(); }
    bool DeleteTeamType(const QString& id) { return main.DeleteTeamType(id); }
    bool DeleteTaskForce(const QString& id) { return main.DeleteTaskForce(id); }
    bool DeleteScriptType(const QString& id) { return main.DeleteScriptType(id); }

    void CmdSaveRoot_Click() { main.triggerPanel().CmdSaveRoot_Click(); }
    void CmdSaveFig_Click() { main.teamPanel().CmdSaveFig_Click(); }
    void CmdSaveSpe_Click() { main.taskForcePanel().CmdSaveSpe_Click(); }
    void CmdSaveScr_Click() { main.scriptPanel().CmdSaveScr_Click(); }
    void LoadTrigger(const QString& key) { main.triggerPanel().LoadTrigger(key); }
    void LoadTeamType(const QString& id) { main.teamPanel().LoadTeamType(id); }
    void LoadTaskForce(const QString& id) { main.taskForcePanel().LoadTaskForce(id); }
    void LoadScriptType(const QString& id) { main.scriptPanel().LoadScriptType(id); }
    void LoadActionParameters(const QString& name) { main.scriptPanel().LoadActionParameters(name); }
    void ListBuildingNames() { main.scriptPanel().ListBuildingNames(); }
    QString LookupUnitName(const QString& id) { return main.kit().LookupUnitName(id); }
    QString LookupUnitId(const QString& name) { return main.kit().LookupUnitId(name); }
    QString LookupBuildingName(const QString& id) { return main.kit().LookupBuildingName(id); }
    QString LookupBuildingId(const QString& name) { return main.kit().LookupBuildingId(name); }
};

} // namespace tarvok::test
