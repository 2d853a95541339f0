#pragma once

#include "catalogues/ModWorld.h"
#include "ui/Panels.h"

#include <QObject>

#include <functional>

class QAction;
class QLabel;
class QMainWindow;

namespace tarvok {

class Catalogues;
class FrmCheck;
class FrmTable;
class PanelKit;
class RecordSelection;
class RegistryTabs;
class RulesDocument;

// What acts on the file as a whole: opening one, undo and redo, the whole-file check, and
// the mod the file belongs to (the game's rules file and string tables, whose units and
// buildings fill the unit choices at each opening).
class FileCommands : public QObject {
    Q_OBJECT

  public:
    FileCommands(PanelKit& kit, RulesDocument& doc, Catalogues& catalogues, RegistryTabs& tabs,
                 RecordSelection& selection, Panels panels, QMainWindow* window);

    void CmdOpen_Click();
    void openRulesFile(const QString& file); // as chosen in the file dialog or dropped
    void mUndo_Click() { restoreVersion(false); }
    void mRedo_Click() { restoreVersion(true); }
    void mCheck_Click();
    void mModRules_Click();
    void mNoModRules_Click(bool off);

    // The status bar's permanent note on the mod in use, LblModRules.
    QLabel* modLabel() const { return LblModRules; }
    // The unit choices of the panels, from the mod in use or the shipped table; false
    // when neither is there.
    bool fillUnitChoices();
    // Reads the mod of the open file again where its files changed; the choices follow
    // when refill is set or the mod changed.
    void followMod(bool refill);
    // The windows and the menu item it acts on, once the main window has made them.
    void setWindows(std::function<FrmTable*()> table, QAction* noModRules) {
        table_ = std::move(table);
        noModRules_ = noModRules;
    }
    FrmCheck* checkWindow() const { return check_; }

  signals:
    void opened(const QString& path);
    // The mod in use was read again or changed, and shown.
    void modShown();

  private:
    void restoreVersion(bool redo); // a version from the file's history put back
    void showMod();                 // in LblModRules

    PanelKit& kit_;
    RulesDocument& doc_;
    Catalogues& catalogues_;
    RegistryTabs& tabs_;
    RecordSelection& selection_;
    Panels panels_;
    QMainWindow* window_;
    QLabel* LblModRules = nullptr;
    std::function<FrmTable*()> table_; // the trigger table, when made
    QAction* noModRules_ = nullptr;
    FrmCheck* check_ = nullptr;    // made at its first use
    ModWorld::Choice modChoice_;   // in force
    ModWorld::Choice chosenRules_; // what 不使用游戏规则文件 goes back to
};

} // namespace tarvok
