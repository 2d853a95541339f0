#pragma once

#include "catalogues/Catalogues.h"
#include "ui/Dialogs.h"
#include "ui/Panels.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QActionGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace tarvok {

class ChainCommands;
class FileCommands;
class FileFollower;
class FrmPredict;
class FrmCompare;
class FrmTable;
class PanelKit;
class RecordCommands;
class RecordSelection;
class RegistryTabs;
class RulesDocument;

// The editor's window: menus, the file frame, the registry lists, the hint area, one panel
// per kind of record and the notes. It builds them, connects them and runs the menus; the
// open file is the session it is handed, what a selection shows is RecordSelection's, the
// lists' adds and deletes are RecordCommands', opening, undo and the mod FileCommands',
// copies of whole chains ChainCommands'.
class FrmMain : public QMainWindow {
    Q_OBJECT

  public:
    FrmMain(Dialogs& dialogs, ProgramFiles files, RulesDocument& document,
            QWidget* parent = nullptr);
    ~FrmMain() override;
    void setWelcomeWindow(QWidget* welcome) { welcome_ = welcome; } // closed with the editor
    // Opens the first of the files named on the command line as the file dialog's choice
    // would be opened, with the same messages; the status bar names the others as not
    // opened.
    void openAtStart(const QStringList& paths);

    RulesDocument& document() { return document_; }
    PanelKit& kit() { return *kit_; }
    const Panels& panels() const { return panels_; }
    TriggerPanel& triggerPanel() { return *panels_.trigger; }
    TeamPanel& teamPanel() { return *panels_.team; }
    TaskForcePanel& taskForcePanel() { return *panels_.taskForce; }
    ScriptPanel& scriptPanel() { return *panels_.script; }
    RegistryTabs& tabs() { return *tabs_; }
    RecordSelection& selection() { return *selection_; }
    RecordCommands& commands() { return *commands_; }
    FileCommands& files() { return *files_; }
    ChainCommands& chains() { return *chains_; }
    bool autoSaveOn() const { return mYes->isChecked(); }

    void Form_Load();
    void Form_Unload();
    void mYes_Click();
    void mNo_Click();
    void mSuo_Click();
    void mJie_Click();
    void mColor_Click();
    void CmdSaveAll_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A menu item; each looks at the file before its command runs.
    QAction* item(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys);
    // Reads another program's change before a command of the user.
    void lookAtFile();
    void createMenus();
    void createControls();
    void connectHandlers();

    void showAutoSave();

    QWidget* welcome_ = nullptr;
    Catalogues catalogues_;
    RulesDocument& document_;
    PanelKit* kit_ = nullptr;
    RegistryTabs* tabs_ = nullptr;
    RecordSelection* selection_ = nullptr;
    RecordCommands* commands_ = nullptr;
    FileCommands* files_ = nullptr;
    ChainCommands* chains_ = nullptr;
    FileFollower* follower_ = nullptr;
    QPointer<FrmTable> table_;     // 触发总表, made at its first use
    QPointer<FrmPredict> predict_; // 推演电脑的选择, made at its first use
    QPointer<FrmCompare> compare_; // 比较文件, made at its first use
    Panels panels_;

    // Auto-save is on while 是 is the checked item of its group.
    QActionGroup* autoSave_ = nullptr;
    bool justTurnedOn_ = false; // 是 was checked by the click being handled
    QAction *mYes = nullptr, *mNo = nullptr, *mSuo = nullptr, *mJie = nullptr, *mColor = nullptr;
    QAction *mCheck = nullptr, *mUndo = nullptr, *mRedo = nullptr;
    QAction* mTriggerTable = nullptr;
    QAction* mPredict = nullptr;
    QAction* mCompare = nullptr;
    QAction *mClone = nullptr, *mNewChain = nullptr, *mModRules = nullptr, *mNoModRules = nullptr;
    QGroupBox* FraFile = nullptr;
    QPushButton* CmdOpen = nullptr;
    QLabel* LblRoot = nullptr;
    QFrame* Picture1 = nullptr;
    QLabel* LblMsg = nullptr;
    QPushButton* CmdSaveAll = nullptr;
    QLabel* LblInfo = nullptr;
};

} // namespace tarvok
