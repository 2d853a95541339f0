#pragma once

#include "catalogues/ProgramFiles.h"
#include "ui/Dialogs.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;

namespace tarvok {
class NotesPanel;
class PanelKit;
class RecordPanel;
class ReferenceLists;
struct RecordRemoval;
class RulesDocument;
enum class RegistryKind;
class ScriptPanel;
class TaskForcePanel;
class TeamPanel;
class TriggerPanel;

// The editor's window: menus, file frame, registry lists, hint area, one panel per kind of
// record and the notes; a selection settles what is on show and loads the chosen record.
// FrmMain.cpp builds the window and its menus; FrmMainLists.cpp opens files, runs lists.
class FrmMain : public QMainWindow {
    Q_OBJECT

  public:
    FrmMain(Dialogs& dialogs, ProgramFiles files, QWidget* parent = nullptr);
    ~FrmMain() override;
    void setWelcomeWindow(QWidget* welcome) { welcome_ = welcome; } // closed with the editor

    RulesDocument& document();
    PanelKit& kit() { return *kit_; }
    TriggerPanel& triggerPanel() { return *trigger_; }
    TeamPanel& teamPanel() { return *team_; }
    TaskForcePanel& taskForcePanel() { return *taskForce_; }
    ScriptPanel& scriptPanel() { return *script_; }
    bool autoSaveOn() const { return AutoSave == -1; }
    // Before the panels' records are replaced: asks whether to save edited panels; false
    // when the user stays (Cancel, or a save that was refused or failed).
    bool settleEdits();

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
    void mUndo_Click();
    void mRedo_Click();
    void selectRecord(QListView* list, const QString& id); // as a user click would

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
    void showTeamTaskForceAndScript(); // a selection's tail: the team's task force and script
    void settleBaselines();
    void showReloadedLists();       // as another program left the file, selections kept
    void showReferences();          // of the records on show, once the current operation is over
    void restoreVersion(bool redo); // a version from the file's history put back
    // A selection in the task force or script registry list.
    void selectRegistryEntry(QListView* list, const std::function<void()>& show);
    void addRegistryEntry(const QString& promptText, QListView* list,
                          const QString& duplicateMessage, RegistryKind kind,
                          const std::vector<QByteArray>& block);
    void killSelectedRecord(QListView* list, RecordPanel* panel,
                            const std::function<bool(const QString&)>& remove);
    bool reportRemoval(const RecordRemoval& removal);
    // Before the given panels' records are replaced: their auto-save, or with auto-save
    // off the question; false when the user stays and the action must not go on.
    bool leaveRecords(std::initializer_list<RecordPanel*> panels);
    void openRulesFile(const QString& file); // as chosen in the file dialog
    std::array<QListView*, 4> registryLists() const { return {LstRoot, LstFig, LstSpe, LstScr}; }

    qint16 AutoSave = 0; // -1 on, 0 off
    QWidget* welcome_ = nullptr;
    PanelKit* kit_ = nullptr;
    TriggerPanel* trigger_ = nullptr;
    TeamPanel* team_ = nullptr;
    TaskForcePanel* taskForce_ = nullptr;
    ScriptPanel* script_ = nullptr;
    NotesPanel* notes_ = nullptr;
    ReferenceLists* refs_ = nullptr;

    QAction *mYes = nullptr, *mNo = nullptr, *mSuo = nullptr, *mJie = nullptr, *mColor = nullptr;
    QAction *mCheck = nullptr, *mUndo = nullptr, *mRedo = nullptr;

    QGroupBox* FraFile = nullptr;
    QPushButton* CmdOpen = nullptr;
    QLabel* LblRoot = nullptr;
    QTabWidget* SSTab = nullptr;
    QListView* LstRoot = nullptr;
    QPushButton *CmdAdd = nullptr, *CmdKill = nullptr;
    QListView* LstFig = nullptr;
    QPushButton *CmdTeamAdd = nullptr, *CmdTeamKill = nullptr;
    QListView* LstSpe = nullptr;
    QPushButton *CmdSpeAdd = nullptr, *CmdSpeKill = nullptr;
    QListView* LstScr = nullptr;
    QPushButton *CmdScrAdd = nullptr, *CmdScrKill = nullptr;
    std::array<QLineEdit*, 4> finds_{}; // TxtFindRoot, TxtFindFig, TxtFindSpe, TxtFindScr
    QFrame* Picture1 = nullptr;
    QLabel* LblMsg = nullptr;
    QPushButton* CmdSaveAll = nullptr;
    QLabel* LblInfo = nullptr;
};

} // namespace tarvok
