#pragma once

#include "ui/Dialogs.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace tarvok {
class NotesPanel;
class PanelKit;
class RecordPanel;
struct RecordRemoval;
class RulesDocument;
enum class RegistryKind;
class ScriptPanel;
class TaskForcePanel;
class TeamPanel;
class TriggerPanel;

// The editor's working window: menus, file frame, the four registry lists with their add
// and delete buttons, hint area, and one panel per kind of record (TriggerPanel, TeamPanel,
// TaskForcePanel, ScriptPanel) and the notes; a selection saves what is on show (with
// auto-save on) and loads the chosen record into its panel and those it names.
// FrmMain.cpp builds the window and its menus; FrmMainLists.cpp the file and the lists.
class FrmMain : public QMainWindow {
    Q_OBJECT

public:
    FrmMain(Dialogs& dialogs, QString programDir, QWidget* parent = nullptr);
    ~FrmMain() override;
    void setWelcomeWindow(QWidget* welcome) { welcome_ = welcome; } // closed with the editor

    RulesDocument& document();
    PanelKit& kit() { return *kit_; }
    TriggerPanel& triggerPanel() { return *trigger_; }
    TeamPanel& teamPanel() { return *team_; }
    TaskForcePanel& taskForcePanel() { return *taskForce_; }
    ScriptPanel& scriptPanel() { return *script_; }
    bool autoSaveOn() const { return AutoSave == -1; }

    void Form_Load();
    void Form_Unload();
    void mYes_Click();
    void mNo_Click();
    void mSuo_Click();
    void mJie_Click();
    void mColor_Click();
    void CmdSaveAll_Click();
    void CmdOpen_Click();
    void mCheck_Click();
    void selectRecord(QListWidget* list, const QString& id); // as a user click would

    void LstRoot_Click();
    void CmdAdd_Click();
    void CmdKill_Click();
    void LstFig_Click();
    void LstTeam_Click();
    void CmdTeamAdd_Click();
    void CmdTeamKill_Click();
    void LstSpe_Click();
    void LstSpeAdd_Click();
    void CmdSpeAdd_Click();
    void CmdSpeKill_Click();
    void LstScr_Click();
    void LstScrAdd_Click();
    void CmdScrAdd_Click();
    void CmdScrKill_Click();
    // The file side of a delete; false when nothing was removed (the user was told why).
    bool DeleteTeamType(const QString& id);
    bool DeleteTaskForce(const QString& id);
    bool DeleteScriptType(const QString& id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createControls();
    QWidget* createTabs();
    void connectHandlers();
    void setTabChain();
    // The tail of a selection: the team type's task force and script shown in their
    // panels, with their selected rows in the entry fields.
    void showTeamTaskForceAndScript();
    void settleBaselines();
    // A selection in the task force or script registry list.
    void selectRegistryEntry(QListWidget* list, const std::function<void()>& show);
    void addRegistryEntry(const QString& promptText, QListWidget* list,
                          const QString& duplicateMessage, RegistryKind kind,
                          const std::vector<QByteArray>& block);
    void killSelectedRecord(QListWidget* list, RecordPanel* panel,
                            const std::function<bool(const QString&)>& remove);
    bool reportRemoval(const RecordRemoval& removal);
    QString panelId(RecordPanel* panel) const;
    // The auto-save of the given panels, in order: false when one of them holds the
    // user (its refusal or failure was shown), and the action must not go on.
    bool autoSave(std::initializer_list<RecordPanel*> panels);

    qint16 AutoSave = 0; // -1 on, 0 off
    QWidget* welcome_ = nullptr;
    PanelKit* kit_ = nullptr;
    TriggerPanel* trigger_ = nullptr;
    TeamPanel* team_ = nullptr;
    TaskForcePanel* taskForce_ = nullptr;
    ScriptPanel* script_ = nullptr;
    NotesPanel* notes_ = nullptr;

    QAction* mYes = nullptr;
    QAction* mNo = nullptr;
    QAction* mSuo = nullptr;
    QAction* mJie = nullptr;
    QAction* mColor = nullptr;
    QAction* mCheck = nullptr;

    QGroupBox* FraFile = nullptr;
    QPushButton* CmdOpen = nullptr;
    QLabel* LblRoot = nullptr;
    QTabWidget* SSTab = nullptr;
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
    QLineEdit* finds_[4] = {}; // TxtFindRoot, TxtFindFig, TxtFindSpe, TxtFindScr
    QFrame* Picture1 = nullptr;
    QLabel* LblMsg = nullptr;
    QPushButton* CmdSaveAll = nullptr;
    QLabel* LblInfo = nullptr;
};

} // namespace tarvok
