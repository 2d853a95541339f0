#pragma once

#include "ui/Panels.h"

#include <QObject>
#include <QString>

class QWidget;

namespace tarvok {

class PanelKit;
class RegistryTabs;
class RulesDocument;
struct RecordRemoval;

// The add and delete buttons under the four registry lists: a new record's ID asked for,
// checked and written; a selected record deleted after a question that says how many
// records use it.
class RecordCommands : public QObject {
    Q_OBJECT

  public:
    using Kind = references::Kind;

    RecordCommands(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs, QWidget* window);

    void CmdAdd_Click();
    void CmdKill_Click();
    void CmdTeamAdd_Click();
    void CmdTeamKill_Click();
    void CmdSpeAdd_Click();
    void CmdSpeKill_Click();
    void CmdScrAdd_Click();
    void CmdScrKill_Click();
    // The file side of a delete; false when nothing was removed (the user was told why).
    bool DeleteTeamType(const QString& id) { return remove(Kind::TeamType, id); }
    bool DeleteTaskForce(const QString& id) { return remove(Kind::TaskForce, id); }
    bool DeleteScriptType(const QString& id) { return remove(Kind::Script, id); }

  private:
    void add(Kind kind);
    void kill(Kind kind);
    bool remove(Kind kind, const QString& id);
    bool reportRemoval(const RecordRemoval& removal);

    PanelKit& kit_;
    RulesDocument& doc_;
    RegistryTabs& tabs_;
    QWidget* window_;
};

} // namespace tarvok
