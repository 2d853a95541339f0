#pragma once

#include "records/RecordChain.h"
#include "ui/Panels.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace tarvok {

class FrmChain;
class PanelKit;
class RecordSelection;
class RegistryTabs;
class RulesDocument;

// Whole chains of records in one step: 复制整套 copies the trigger or team type on show
// with the records it names, 新建整套 makes a trigger, a team type, a task force and a
// script that name each other. Either is one write, and so one undo step; afterwards the
// new chain is on show.
class ChainCommands : public QObject {
    Q_OBJECT

  public:
    ChainCommands(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs, RecordSelection& selection,
                  Panels panels, QWidget* window);

    void CmdRootClone_Click();
    void CmdTeamClone_Click();
    // The menu's copy acts on the panel of the tab on show: the trigger's or the team type's.
    void mClone_Click();
    void mNewChain_Click();
    // The menu's copy may act: a trigger or team type tab on show, whose panel shows a
    // record of the file.
    bool canClone() const;

  signals:
    // What may be copied changed.
    void cloneableChanged();

  private:
    void clone(references::Kind head);
    void open(const QString& title, std::vector<chain::ChainRow> rows, bool copying);
    void write(bool copying);
    bool cloneable(references::Kind head) const;

    PanelKit& kit_;
    RulesDocument& doc_;
    RegistryTabs& tabs_;
    RecordSelection& selection_;
    Panels panels_;
    QWidget* window_;
    QPointer<FrmChain> dialog_;
};

} // namespace tarvok
