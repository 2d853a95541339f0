#pragma once

#include "document/TextEncoding.h"
#include "ui/Dialogs.h"

#include <QMainWindow>

#include <functional>
#include <vector>
#include <optional>
#include <unordered_map>

class QAbstractItemView;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace tarvok {


// The editor's working window. Its controls are the records on show: the trigger panel,
// the team panels, the task force and script panels, the notes and the four registry
// lists. Every operation reads the rules file anew and every change is written back
// through one rewrite of the whole file; nothing of the file is kept between events.
//
// The code is split by panel: FrmMain.cpp (window, start-up, menus, shared helpers),
// FrmMainFile.cpp (opening a rules file), FrmMainRoot.cpp (triggers), FrmMainTeam.cpp
// (team types), FrmMainSpe.cpp (task forces), FrmMainScr.cpp (scripts and the script
// line editor), FrmMainActions.cpp (action catalogue and building tables),
// FrmMainCatalogues.cpp (unit names, notes).
class FrmMain : public QMainWindow {
    Q_OBJECT

public:
    FrmMain(Dialogs& dialogs, QString programDir, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Closing the editor closes this window too (the hidden welcome window).
    void setWelcomeWindow(QWidget* welcome) { welcome_ = welcome; }

    // ---- window-level state ----
    QString RulesFilePath;
    qint16 RecordFound = 0;
    qint16 TeamTypeCount = 0;
    qint16 TaskForceCount = 0;
    qint16 ScriptTypeCount = 0;
    qint16 AutoSave = 0; // -1 on, 0 off
    QString DlgFilter;

    // ---- window ----
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

    // ---- registry lists (tabs of SSTab) ----
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

    // ---- notes ----
    QLineEdit* TxtName = nullptr;
    QLineEdit* TxtNote = nullptr;
    QPushButton* CmdNew = nullptr;
    QPushButton* CmdFind = nullptr;
    QPushButton* CmdDelete = nullptr;

    // ---- trigger panel ----
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

    // ---- team panels ----
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

    // ---- task force panel ----
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

    // ---- script panel ----
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

    // ---- window handlers (FrmMain.cpp) ----
    void Form_Load();
    void Form_Unload();
    void mYes_Click();
    void mNo_Click();
    void mSuo_Click();
    void mJie_Click();
    void mColor_Click();
    void CmdSaveAll_Click();

    // ---- rules file (FrmMainFile.cpp) ----
    void CmdOpen_Click();

    // ---- triggers (FrmMainRoot.cpp) ----
    void LoadTrigger(const QString& key);
    void SaveTrigger(const QString& key);
    void LstRoot_Click();
    void CmdAdd_Click();
    void CmdKill_Click();
    void CmdSaveRoot_Click();
    void CmdRootCopy_Click();
    void CboTech_Change();
    void CboKey_Change();
    void CboKey_Click();
    void CboUnitC_Change();
    void CboUnitC_Click();
    void CmdCE_Click();
    void TxtKeyNum_Change();
    void CboWay_Change();
    void CboWay_Click();
    void CboOwner_Change();
    void CboOwner_Click();
    void CboOwner_LostFocus();
    void CboBase_LostFocus();
    void CboMin_LostFocus();
    void CboMax_LostFocus();

    // ---- team types (FrmMainTeam.cpp) ----
    void LoadTeamType(const QString& id);
    void SaveTeamType(const QString& id);
    bool DeleteTeamType(const QString& id); // false when the file could not be rewritten
    void LstFig_Click();
    void LstTeam_Click();
    void CmdSaveFig_Click();
    void CmdTeamAdd_Click();
    void CmdTeamKill_Click();
    void CmdTeam_Click();
    void CmdTeamDelete_Click();
    void CmdTeamCopy_Click();
    void CmdFigChange_Click();
    void CmdBaseChange_Click();
    void ChkAble_Click();
    void TxtPriority_Change();
    void TxtTeamCount_Change();
    void CboTeamTech_Change();
    void CboAction_Change();
    void CboAction_Click();

    // ---- task forces (FrmMainSpe.cpp) ----
    void LoadTaskForce(const QString& id);
    void SaveTaskForce(const QString& id);
    bool DeleteTaskForce(const QString& id);
    void LstSpe_Click();
    void LstSpeAdd_Click();
    void LvwSpe_Click();
    void CmdSaveSpe_Click();
    void CmdSpeAdd_Click();
    void CmdSpeKill_Click();
    void CmdSpeCopy_Click();
    void CmdSpeTypeAdd_Click();
    void CmdSpeTypeKill_Click();
    void TxtID_Change();
    void TxtSpeNum_Change();
    void CboSpeE_Change();
    void CboSpeE_Click();
    // Shows the selected row of LvwSpe in TxtID, TxtSpeNum and CboSpeE (when it has rows).
    void FillSpeEntryFields();

    // ---- scripts and the script line editor (FrmMainScr.cpp) ----
    void LoadScriptType(const QString& id);
    void SaveScriptType(const QString& id);
    bool DeleteScriptType(const QString& id);
    void LstScr_Click();
    void LstScrAdd_Click();
    void LvwScr_Click();
    void CmdSaveScr_Click();
    void CmdScrAdd_Click();
    void CmdScrKill_Click();
    void CmdScrCopy_Click();
    void CmdScrTypeAdd_Click();
    void CmdScrTypeKill_Click();
    void LstScrAct_Click();
    void LstScrNumber_Click();
    void TxtAct_Change();
    void TxtAct_LostFocus();
    void TxtNumber_Change();
    void TxtNumber_LostFocus();
    void TxtScrID_Change();
    // Shows the selected row of LvwScr in TxtScrID, TxtAct and TxtNumber (when it has
    // rows), then the building rule: TxtScrUnitE is emptied unless the action is 46, 47,
    // 56 or 58.
    void FillScrLineFields();

    // ---- catalogues, unit names and notes (FrmMainCatalogues.cpp) ----
    void LoadActionParameters(const QString& actionName);
    void ListBuildingNames();
    QString LookupBuildingName(const QString& buildingId);
    QString LookupBuildingId(const QString& buildingName);
    QString LookupUnitName(const QString& unitId);
    QString LookupUnitId(const QString& displayName);
    bool FillUnitLists(); // false when NameTable.WQ is missing
    void TxtScrUnitE_Change();
    void Command1_Click();
    void CmdFind_Click();
    void CmdNew_Click();
    void CmdDelete_Click();
    void TxtNote_GotFocus();

    // The program directory: data files, the usage guide and the scratch copy File.ini.
    const QString& programDir() const { return programDir_; }
    QString programFile(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- building the window (each panel file builds its own frame) ----
    void createMenus();
    void createControls();
    void createFileFrame();
    void createTabs();
    void createNotes();
    void createHintArea();
    void createRootFrame();
    void createTeamFrames();
    void createSpeFrame();
    void createScrFrame();
    void connectWindowHandlers();
    void setNaturalTabOrder();
    void connectRootHandlers();
    void connectTeamHandlers();
    void connectSpeHandlers();
    void connectScrHandlers();
    void connectScrLineHandlers();
    void connectCatalogueHandlers();

public:
    // ---- shared helpers (FrmMain.cpp) ----

    // A message box; an empty title means the message has no title of its own, and the
    // application's name is shown.
    MsgAnswer msg(const QString& text, const QString& title = QString(),
                  MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
    void hint(const QString& text); // the caption of LblMsg

    // The rules file's bytes and the codec its texts are in; nothing while no rules file
    // is open or when it cannot be read.
    struct RulesContent {
        QByteArray bytes;
        TextCodec codec;
    };
    std::optional<RulesContent> readRules() const;

    // Within one user selection the loads it makes share one reading of the rules file
    // (a selection loads up to four records). Any rewrite drops the shared reading.
    class SelectionRead {
    public:
        explicit SelectionRead(FrmMain& w) : w_(w) { ++w_.selectionDepth_; }
        ~SelectionRead() {
            if (--w_.selectionDepth_ == 0)
                w_.selectionContent_.reset();
        }
        SelectionRead(const SelectionRead&) = delete;
        SelectionRead& operator=(const SelectionRead&) = delete;

    private:
        FrmMain& w_;
    };

    // Rewrites the rules file through the scratch copy File.ini. makeRule builds the
    // rule in the file's own encoding. On failure the file is unchanged, the user is
    // told so, and false is returned: no confirmation may follow.
    bool rewriteRules(const std::function<QByteArray(const QByteArray& content, const TextCodec& codec)>& transform);

    // The digit filter of a numeric text box: at the first character that is not an
    // ASCII digit, the message (title "错误", information icon) and that character is
    // removed; the removal runs the box's change handler again on the rest. Returns
    // true when it removed a character (the nested handler has then done the work).
    bool digitFilter(QLineEdit* box, const QString& message);

    // Runs handler when the user selects in a list or list view (mouse or keyboard),
    // never when the program changes the selection.
    void onUserSelect(QAbstractItemView* view, std::function<void()> handler);
    // Selection changes made by the program: they run no selection handler.
    void selectRowQuietly(QListWidget* list, int row);
    void clearSelectionQuietly(QListWidget* list);

    // GotFocus / LostFocus handlers of a control.
    void onFocusIn(QWidget* w, std::function<void()> handler);
    void onFocusOut(QWidget* w, std::function<void()> handler);
    // True when the user typed into the control since it last received the focus.
    bool userEditedSinceFocus(QWidget* w) const;

    // One of the program directory's data files, decoded, as lines. When it is missing
    // "无法找到文件" (title "错误", information icon) is shown and nothing is returned.
    std::optional<QStringList> readDataFile(const QString& name);

    // Adding a team type, task force or script: the prompt, the checks of the answer
    // (it must contain "-" and no ","; no duplicate in the list), the entry appended to
    // the list and, with a rules file open, the registry line and the new section with
    // its default block written after the registry run.
    void addRegistryRecord(const QString& promptText, QListWidget* list,
                           const QString& duplicateMessage, const QByteArray& registry,
                           qint16& counter, const std::vector<QByteArray>& block);
    // The file side of a delete: drops the registry line (renumbering the later ones)
    // and the record's section. Nothing while no rules file is open; false when the
    // rewrite failed.
    bool removeFromRegistry(const QByteArray& registry, const QString& id, qint16& counter);
    // The delete buttons beside the registry lists: the question, the file operation,
    // and the entry removed from the list.
    void killSelectedRecord(QListWidget* list, const std::function<bool(const QString&)>& remove);

    // An editable combo box as the panels use it: typed text is never added to the
    // items and never completed behind the user's back.
    QComboBox* makeCombo(const QString& objectName, QWidget* parent);

private:
    Dialogs& dialogs_;
    QString programDir_;
    QWidget* welcome_ = nullptr;
    bool programSelecting_ = false;
    int selectionDepth_ = 0;
    mutable std::optional<RulesContent> selectionContent_;
    std::unordered_map<QObject*, std::function<void()>> focusIn_;
    std::unordered_map<QObject*, std::function<void()>> focusOut_;
    std::unordered_map<QObject*, bool> editedSinceFocus_;

public:
    Dialogs& dialogs() { return dialogs_; }

    // ---- panel-private state ----
    // (each panel adds what it needs here, in its own block)

    // ---- trigger panel private ----
    // The weight check made when the focus leaves CboBase, CboMin or CboMax.
    void checkWeightOnLeave(QComboBox* box);

    // ---- team panel private ----
private:
    // The tail of a team selection: the team type's task force and script shown in
    // their editors, with their selected rows in the entry fields.
    void showTeamTaskForceAndScript();

    // ---- task force and script panels private ----
    // The two panels are twins: one implementation of the section load and save, the
    // row add and remove and the numbering check serves both, given the list view and
    // its three entry fields (number, then the texts of columns 1 and 2).
    struct RowPanel {
        QTreeWidget* view;
        QPushButton* addButton;
        QWidget* fields[3];
    };
    RowPanel spePanel() const;
    RowPanel scrPanel() const;
    void loadSection(bool taskForce, const QString& id, QLineEdit* nameBox,
                     QByteArray& nameLine, QTreeWidget* view);
    void saveSection(bool taskForce, const QString& id, const QString& name,
                     const QByteArray& nameLine, QTreeWidget* view, const QString& confirmation);
    // The texts of the selected row (number, column 1, column 2); empty when none.
    static QStringList selectedRowTexts(QTreeWidget* view);
    static bool rowNumberingFits(QTreeWidget* view);
    void addRowStep(const RowPanel& panel);
    void removeSelectedRow(QTreeWidget* view);
    void selectRegistryEntry(QListWidget* list, QLineEdit* idBox,
                             std::initializer_list<QListWidget*> others,
                             const std::function<void()>& save,
                             const std::function<void(const QString&)>& load,
                             const std::function<void()>& fill);
    void showTeamRecord(QListWidget* list, QLineEdit* idBox, const std::function<void()>& save,
                        const std::function<void(const QString&)>& load,
                        const std::function<void()>& fill);
    QByteArray speNameLine_; // the Name lines as read: written back while the name is unchanged
    QByteArray scrNameLine_;
};

} // namespace tarvok
