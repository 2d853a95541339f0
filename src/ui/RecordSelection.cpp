#include "ui/RecordSelection.h"

#include "document/RulesDocument.h"
#include "ui/Messages.h"
#include "ui/NotesPanel.h"
#include "ui/PanelKit.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryTabs.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"
#include "ui/WidgetMaking.h"

#include <QListView>
#include <QListWidget>

#include <vector>

namespace tarvok {

using Kind = references::Kind;

namespace {

// What an entry of a trigger's team list names: "<none>", which a save writes into an
// empty slot, names no team type.
QString teamOf(const QString& entry) {
    return entry == QStringLiteral("<none>") ? QString() : entry;
}

} // namespace

std::array<RecordPanel*, 4> Panels::records() const {
    return {trigger, team, taskForce, script};
}

RecordSelection::RecordSelection(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs,
                                 Panels panels, std::function<bool()> autoSaveOn, QObject* parent)
    : QObject(parent), kit_(kit), doc_(doc), tabs_(tabs), panels_(panels),
      autoSaveOn_(std::move(autoSaveOn)) {
    kit_.focus().onUserSelect(tabs_.list(Kind::Trigger), [this] { LstRoot_Click(); });
    kit_.focus().onUserSelect(tabs_.list(Kind::TeamType), [this] { LstFig_Click(); });
    kit_.focus().onUserSelect(tabs_.list(Kind::TaskForce), [this] { LstSpe_Click(); });
    kit_.focus().onUserSelect(tabs_.list(Kind::Script), [this] { LstScr_Click(); });
    kit_.focus().onUserSelect(panels_.trigger->teamList(), [this] { LstTeam_Click(); });
    kit_.focus().onUserSelect(panels_.team->taskForceList(), [this] { LstSpeAdd_Click(); });
    kit_.focus().onUserSelect(panels_.team->scriptList(), [this] { LstScrAdd_Click(); });
}

bool RecordSelection::askToSave(const std::vector<RecordPanel*>& panels) {
    std::vector<RecordPanel*> edited;
    for (RecordPanel* panel : panels)
        if (panel->isEdited())
            edited.push_back(panel);
    if (edited.empty())
        return true;
    switch (kit_.messages().msg(QStringLiteral("当前记录已修改，是否保存？"),
                                messages::kQuestionTitle, MsgIcon::Question,
                                MsgButtons::YesNoCancel)) {
    case MsgAnswer::No:
        return true;
    case MsgAnswer::Yes:
        break;
    default:
        return false;
    }
    for (RecordPanel* panel : edited) {
        const RecordPanel::Saved saved = panel->save(RecordPanel::SaveMode::Button);
        if (saved != RecordPanel::Saved::Done && saved != RecordPanel::Saved::Nothing)
            return false;
    }
    return true;
}

bool RecordSelection::settleEdits() {
    const std::array<RecordPanel*, 4> all = panels_.records();
    return askToSave({all.begin(), all.end()});
}

bool RecordSelection::leaveRecords(std::initializer_list<RecordPanel*> panels) {
    if (!autoSaveOn_())
        return askToSave(panels);
    for (RecordPanel* panel : panels)
        if (RecordPanel::holdsUser(panel->save(RecordPanel::SaveMode::Auto)))
            return false;
    return true;
}

void RecordSelection::LstRoot_Click() {
    const std::optional<QString> entry = tabs_.selected(Kind::Trigger);
    if (!entry)
        return;
    if (!leaveRecords({panels_.trigger, panels_.team, panels_.taskForce, panels_.script})) {
        kit_.focus().restoreSelection(tabs_.list(Kind::Trigger));
        return;
    }
    panels_.notes->showNoteOf(*entry);
    tabs_.clearOtherSelections(Kind::Trigger);
    panels_.trigger->show(*entry);
    // Its first team type, and with it that one's records; a trigger without team types
    // leaves those panels empty.
    QListWidget* teams = panels_.trigger->teamList();
    if (teams->count() > 0)
        kit_.focus().selectRowQuietly(teams, 0);
    panels_.team->show(teams->count() > 0 ? teamOf(teams->item(0)->text()) : QString());
    showTeamsRecords();
}

void RecordSelection::LstFig_Click() {
    const std::optional<QString> id = tabs_.selected(Kind::TeamType);
    if (!id)
        return;
    if (!leaveRecords({panels_.team, panels_.taskForce, panels_.script})) {
        kit_.focus().restoreSelection(tabs_.list(Kind::TeamType));
        return;
    }
    panels_.notes->showNoteOf(*id);
    tabs_.clearOtherSelections(Kind::TeamType);
    panels_.team->show(*id);
    showTeamsRecords();
}

void RecordSelection::LstTeam_Click() {
    QListWidget* teams = panels_.trigger->teamList();
    if (!leaveRecords({panels_.team, panels_.taskForce, panels_.script})) {
        kit_.focus().restoreSelection(teams);
        return;
    }
    if (const QListWidgetItem* item = selectedEntry(teams)) {
        panels_.team->show(teamOf(item->text()));
        showTeamsRecords();
    }
}

void RecordSelection::showTeamsRecords() {
    panels_.taskForce->show(panels_.team->taskForce());
    panels_.script->show(panels_.team->script());
}

void RecordSelection::selectSection(Kind kind) {
    const std::optional<QString> id = tabs_.selected(kind);
    if (!id)
        return;
    RecordPanel* panel = panels_.of(kind);
    if (!leaveRecords({panel})) {
        kit_.focus().restoreSelection(tabs_.list(kind));
        return;
    }
    panels_.notes->showNoteOf(*id);
    tabs_.clearOtherSelections(kind);
    panel->show(*id);
}

void RecordSelection::LstSpe_Click() {
    selectSection(Kind::TaskForce);
}

void RecordSelection::LstScr_Click() {
    selectSection(Kind::Script);
}

// The team type's own task force and script: its one-entry lists show entry 0, whichever
// was hit.
void RecordSelection::LstSpeAdd_Click() {
    if (!leaveRecords({panels_.taskForce})) {
        kit_.focus().restoreSelection(panels_.team->taskForceList());
        return;
    }
    panels_.taskForce->show(panels_.team->taskForce());
}

void RecordSelection::LstScrAdd_Click() {
    if (!leaveRecords({panels_.script})) {
        kit_.focus().restoreSelection(panels_.team->scriptList());
        return;
    }
    panels_.script->show(panels_.team->script());
}

// ---------------------------------------------------------------- the file as a whole

void RecordSelection::showNothing() {
    for (RecordPanel* panel : panels_.records())
        panel->clear();
    panels_.notes->clear();
    kit_.messages().hint(QString());
    showReferences();
}

void RecordSelection::showReloaded() {
    if (!doc_.index())
        return;
    tabs_.refill();
    for (RecordPanel* panel : panels_.records())
        if (!panel->isEdited() && !panel->recordKey().isEmpty())
            panel->show(panel->recordKey());
    // Included files that are there but cannot be read are named, as at the opening.
    QStringList notes{QStringLiteral("文件已被其他程序修改，已重新读取")};
    for (const QString& problem : doc_.includeProblems())
        if (problem.startsWith(QStringLiteral("无法读取")))
            notes << problem;
    kit_.messages().status(notes.join(QStringLiteral("；")));
    showReferences();
}

void RecordSelection::showReferences() {
    for (Kind kind : {Kind::Trigger, Kind::TeamType, Kind::TaskForce, Kind::Script})
        tabs_.references().show(kind, panels_.of(kind)->recordKey());
}

} // namespace tarvok
