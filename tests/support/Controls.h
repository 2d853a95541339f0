#pragma once

#include "document/RulesDocument.h"
#include "ui/FileCommands.h"
#include "ui/FrmMain.h"
#include "ui/PanelKit.h"
#include "ui/RecordCommands.h"
#include "ui/RecordSelection.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"

#include <QAbstractItemView>
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

// Every control of the main window by type and objectName.
// clang-format off
#define TARVOK_MAIN_WINDOW_CONTROLS(X) \
    X(QPushButton, CmdSaveAll) X(QTabWidget, SSTab) X(QFrame, Picture1) X(QLabel, LblMsg) \
    X(QGroupBox, FraFile) X(QPushButton, CmdOpen) X(QLabel, LblRoot) X(QLabel, LblInfo) \
    X(QMenu, mAutoSave) X(QAction, mYes) X(QAction, mNo) X(QMenu, mSuoJie) X(QAction, mSuo) \
    X(QAction, mJie) X(QAction, mColor) X(QAction, mCheck) X(QAction, mUndo) X(QAction, mRedo) \
    X(QListWidget, LstRefRoot) X(QListWidget, LstRefFig) X(QListWidget, LstRefSpe) \
    X(QListWidget, LstRefScr) X(QAbstractItemView, LstRoot) X(QPushButton, CmdAdd) \
    X(QPushButton, CmdKill) X(QAbstractItemView, LstFig) X(QPushButton, CmdTeamAdd) \
    X(QPushButton, CmdTeamKill) X(QAbstractItemView, LstSpe) X(QPushButton, CmdSpeAdd) \
    X(QPushButton, CmdSpeKill) X(QAbstractItemView, LstScr) X(QPushButton, CmdScrAdd) \
    X(QPushButton, CmdScrKill) X(QLineEdit, TxtName) X(QLineEdit, TxtNote) X(QPushButton, CmdNew) \
    X(QPushButton, CmdFind) X(QPushButton, CmdDelete) X(QGroupBox, FraRoot) X(QLineEdit, TxtRoot) \
    X(QPushButton, CmdRootCopy) X(QPushButton, CmdSaveRoot) X(QListWidget, LstTeam) \
    X(QPushButton, CmdTeam) X(QPushButton, CmdTeamDelete) X(QComboBox, CboCountry) \
    X(QComboBox, CboTech) X(QComboBox, CboKey) X(QLineEdit, TxtKey) X(QComboBox, CboUnit) \
    X(QComboBox, CboUnitC) X(QPushButton, CmdCE) X(QLineEdit, TxtKeyNum) X(QComboBox, CboWay) \
    X(QLineEdit, TxtWay) X(QComboBox, CboBase) X(QComboBox, CboMin) X(QComboBox, CboMax) \
    X(QComboBox, CboOwner) X(QLineEdit, TxtOwner) X(QCheckBox, ChkLow) X(QCheckBox, ChkMid) \
    X(QCheckBox, ChkHigh) X(QCheckBox, ChkRnd) X(QGroupBox, FraTeam) X(QPushButton, CmdSaveFig) \
    X(QLineEdit, TxtTeam) X(QLineEdit, TxtTeamName) X(QLineEdit, TxtPriority) \
    X(QLineEdit, TxtTeamCount) X(QComboBox, CboAction) X(QLineEdit, TxtAction) \
    X(QListWidget, LstSpeAdd) X(QListWidget, LstScrAdd) X(QPushButton, CmdFigChange) \
    X(QPushButton, CmdBaseChange) X(QPushButton, CmdTeamCopy) X(QCheckBox, ChkAble) \
    X(QCheckBox, ChkIsBaseDefense) X(QCheckBox, ChkAreTeamMembersRecruitable) \
    X(QCheckBox, ChkTransportsReturnOnUnload) X(QCheckBox, ChkAvoidThreats) \
    X(QCheckBox, ChkSuicide) X(QCheckBox, ChkAggressive) X(QCheckBox, ChkAutocreate) \
    X(QCheckBox, ChkRecruiter) X(QGroupBox, FraFig1) X(QComboBox, CboTeamTech) \
    X(QCheckBox, ChkOnlyTargetHouseEnemy) X(QCheckBox, ChkIonImmune) X(QCheckBox, ChkOnTransOnly) \
    X(QCheckBox, ChkDroppod) X(QCheckBox, ChkPrebuild) X(QCheckBox, ChkFull) \
    X(QCheckBox, ChkLoadable) X(QCheckBox, ChkLooseRecruit) X(QCheckBox, ChkWhiner) \
    X(QCheckBox, ChkUseTransportOrigin) X(QCheckBox, ChkReinforce) X(QCheckBox, ChkGuardSlower) \
    X(QCheckBox, ChkAnnoyance) X(QGroupBox, FraSpe) X(QLineEdit, TxtSpe) X(QLineEdit, TxtSpeName) \
    X(QAbstractItemView, LvwSpe) X(QLineEdit, TxtID) X(QLineEdit, TxtSpeNum) X(QComboBox, CboSpeE) \
    X(QComboBox, CboSpeC) X(QPushButton, CmdCE2) X(QPushButton, CmdSaveSpe) \
    X(QPushButton, CmdSpeTypeAdd) X(QPushButton, CmdSpeTypeKill) X(QPushButton, CmdSpeCopy) \
    X(QGroupBox, FraScr) X(QLineEdit, TxtScr) X(QLineEdit, TxtScrName) \
    X(QAbstractItemView, LvwScr) X(QListWidget, LstScrAct) X(QListWidget, LstScrNumber) \
    X(QLineEdit, TxtScrID) X(QLineEdit, TxtAct) X(QLineEdit, TxtNumber) X(QLineEdit, TxtScrAct) \
    X(QLineEdit, TxtScrUnitE) X(QComboBox, TxtScrUnitC) X(QPushButton, Command1) \
    X(QLineEdit, TxtScrOther) X(QPushButton, CmdSaveScr) X(QPushButton, CmdScrTypeAdd) \
    X(QPushButton, CmdScrTypeKill) X(QPushButton, CmdScrCopy) X(QPushButton, CmdSpeUp) \
    X(QPushButton, CmdSpeDown) X(QPushButton, CmdScrUp) X(QPushButton, CmdScrDown) \
    X(QPushButton, CmdRootClone) X(QPushButton, CmdTeamClone) X(QAction, mClone) \
    X(QAction, mNewChain) X(QAction, mModRules) X(QAction, mNoModRules) X(QLabel, LblModRules)
// clang-format on

// Every control of the main window, found by its objectName, as a user finds it by its
// place: tests and benchmarks drive the window through these.
struct Controls {
    explicit Controls(QObject* window) {
#define TARVOK_FIND(Type, name) find(window, name, #name);
        TARVOK_MAIN_WINDOW_CONTROLS(TARVOK_FIND)
#undef TARVOK_FIND
    }

#define TARVOK_MEMBER(Type, name) Type* name = nullptr;
    TARVOK_MAIN_WINDOW_CONTROLS(TARVOK_MEMBER)
#undef TARVOK_MEMBER

  private:
    template <class T> static void find(QObject* window, T*& member, const char* name) {
        member = window->findChild<T*>(QLatin1String(name));
        if (!member) {
            std::fprintf(stderr, "no control named %s\n", name);
            std::abort();
        }
    }
};

// The check window "检查文件", once the menu command has made it (nullptr before).
struct CheckControls {
    explicit CheckControls(QObject* window)
        : FrmCheck(window->findChild<QWidget*>(QStringLiteral("FrmCheck"))),
          LvwCheck(FrmCheck ? FrmCheck->findChild<QTreeWidget*>(QStringLiteral("LvwCheck"))
                            : nullptr) {}
    QWidget* FrmCheck;
    QTreeWidget* LvwCheck;
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

    void CmdOpen_Click() { main.files().CmdOpen_Click(); }
    void CmdSaveAll_Click() { main.CmdSaveAll_Click(); }
    void mYes_Click() { main.mYes_Click(); }
    void LstRoot_Click() { main.selection().LstRoot_Click(); }
    void CmdSpeAdd_Click() { main.commands().CmdSpeAdd_Click(); }
    void CmdSpeKill_Click() { main.commands().CmdSpeKill_Click(); }
    bool DeleteTeamType(const QString& id) { return main.commands().DeleteTeamType(id); }
    bool DeleteTaskForce(const QString& id) { return main.commands().DeleteTaskForce(id); }
    bool DeleteScriptType(const QString& id) { return main.commands().DeleteScriptType(id); }

    void CmdSaveRoot_Click() { main.triggerPanel().CmdSaveRoot_Click(); }
    void CmdSaveFig_Click() { main.teamPanel().CmdSaveFig_Click(); }
    void CmdSaveSpe_Click() { main.taskForcePanel().CmdSaveSpe_Click(); }
    void CmdSaveScr_Click() { main.scriptPanel().CmdSaveScr_Click(); }
    void LoadTrigger(const QString& key) { main.triggerPanel().LoadTrigger(key); }
    void LoadTeamType(const QString& id) { main.teamPanel().LoadTeamType(id); }
    void LoadTaskForce(const QString& id) { main.taskForcePanel().LoadTaskForce(id); }
    void LoadScriptType(const QString& id) { main.scriptPanel().LoadScriptType(id); }
    void LoadActionParameters(const QString& name) {
        main.scriptPanel().LoadActionParameters(name);
    }
    void ListBuildingNames() { main.scriptPanel().ListBuildingNames(); }
    QString LookupUnitName(const QString& id) { return main.kit().fields().LookupUnitName(id); }
    QString LookupUnitId(const QString& name) { return main.kit().fields().LookupUnitId(name); }
    QString LookupBuildingName(const QString& id) {
        return main.kit().fields().LookupBuildingName(id);
    }
    QString LookupBuildingId(const QString& name) {
        return main.kit().fields().LookupBuildingId(name);
    }
};

} // namespace tarvok::test
