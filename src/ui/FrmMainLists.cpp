// Opening a rules file, and the registry lists: selections, adds and deletes.
#include "ui/FrmMain.h"

#include "records/FieldRules.h"
#include "records/RecordWrites.h"
#include "records/TeamTypeSection.h"
#include "ui/Messages.h"
#include "ui/NotesPanel.h"
#include "ui/PanelKit.h"
#include "ui/RegistryLists.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"
#include "ui/WidgetMaking.h"

#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QStatusBar>
#include <QListWidget>

#include <algorithm>
#include <limits>

namespace tarvok {
namespace {

using namespace messages;

QStringList decodeAll(const std::vector<QByteArrayView>& entries, const TextCodec& codec) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (QByteArrayView e : entries)
        out.append(codec.decode(e));
    return out;
}


QStringList entries(const QListWidget* list) {
    QStringList out;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

// ---------------------------------------------------------------- the rules file

namespace {

// What the user should know of a file just opened: lines the editor could not read,
// no record at all, other names of the file.
QStringList openingNotes(const RulesDocument::Opened& opened) {
    QStringList notes;
    const std::vector<qsizetype>& skipped = opened.scan.skippedLines;
    if (!skipped.empty()) {
        QStringList first;
        for (size_t i = 0; i < std::min<size_t>(skipped.size(), 5); ++i)
            first << QString::number(skipped[i]);
        notes << QStringLiteral("有 %1 行未能读取（第 %2 行）")
                     .arg(skipped.size())
                     .arg(first.join(QStringLiteral("、")) + (skipped.size() > 5 ? QStringLiteral("……") : QString()));
    }
    const RulesScan& scan = opened.scan;
    if (scan.triggerKeys.empty() && scan.teamTypes.empty() && scan.taskForces.empty() &&
        scan.scriptTypes.empty())
        notes << QStringLiteral("文件中没有找到 AI 记录");
    if (opened.hardLinks > 1)
        notes << QStringLiteral("该文件还有其他硬链接，保存后它们不会随之更新");
    return notes;
}

} // namespace

void FrmMain::CmdOpen_Click() {
    const QString file = kit_->dialogs().openFile(this, QStringLiteral("规则文件(*.ini)|*.ini"));
    if (file.isEmpty()) {
        kit_->msg(QStringLiteral("请选择文件!"), kQuestionTitle, MsgIcon::Information);
        return;
    }
    if (!fieldrules::isRulesFileName(file)) {
        kit_->msg(QStringLiteral("请正确选择文件！"), kQuestionTitle, MsgIcon::Information);
        return;
    }
    if (fieldrules::mayBeOriginalAi(file))
        kit_->msg(QStringLiteral("使用原版AI时请谨慎"));

    // The records on show belong to the file they were loaded from: with auto-save on
    // they are written there before another file takes its place.
    if (AutoSave == -1 && !autoSave({trigger_, team_, taskForce_, script_}))
        return; // the user stays with the record whose save was refused

    const std::optional<RulesDocument::Opened> opened = document().open(file);
    if (!opened) {
        kit_->msg(QStringLiteral("无法打开文件"), kErrorTitle, MsgIcon::Information);
        return;
    }
    LblRoot->setText(QString());
    LblRoot->setText(file);

    const TextCodec& codec = opened->content.codec;
    const auto namesOf = [&](const std::vector<QByteArrayView>& ids) {
        QStringList names;
        names.reserve(static_cast<qsizetype>(ids.size()));
        for (QByteArrayView id : ids)
            names.append(codec.decode(opened->names.value(id)));
        return names;
    };
    registrylists::fill(LstRoot, decodeAll(opened->scan.triggerKeys, codec));
    registrylists::fill(LstFig, decodeAll(opened->scan.teamTypes, codec), namesOf(opened->scan.teamTypes));
    registrylists::fill(LstSpe, decodeAll(opened->scan.taskForces, codec), namesOf(opened->scan.taskForces));
    registrylists::fill(LstScr, decodeAll(opened->scan.scriptTypes, codec), namesOf(opened->scan.scriptTypes));
    QListWidget* const lists[] = {LstRoot, LstFig, LstSpe, LstScr};
    for (int i = 0; i < 4; ++i) // a filter typed before stays in force
        registrylists::applyFilter(lists[i], finds_[i]->text());

    statusBar()->showMessage(openingNotes(*opened).join(QStringLiteral("；")));
    mCheck->setEnabled(true);

    // No record of the previous file may be saved under its key into this one.
    trigger_->setKey(QString());
    team_->setId(QString());
    taskForce_->setId(QString());
    script_->setId(QString());
}

// ---------------------------------------------------------------- selections

// A trigger is found by its ID, whatever its name. A list that is locked takes no
// selection, as it takes no click.
void FrmMain::selectRecord(QListWidget* list, const QString& id) {
    if (!list->isEnabled())
        return;
    int row = -1;
    for (int i = 0; i < list->count() && row < 0; ++i) {
        const QString entry = list->item(i)->text();
        if (entry == id || (list == LstRoot && fieldrules::triggerId(entry) == id))
            row = i;
    }
    if (row < 0)
        return;
    const QListWidget* const lists[] = {LstRoot, LstFig, LstSpe, LstScr};
    if (const auto tab = std::find(std::begin(lists), std::end(lists), list); tab != std::end(lists)) {
        const int index = static_cast<int>(tab - std::begin(lists));
        SSTab->setCurrentIndex(index);
        if (list->item(row)->isHidden())
            finds_[index]->clear();
    }
    kit_->selectAsUser(list, row);
}

void FrmMain::LstRoot_Click() {
    const QListWidgetItem* item = selectedEntry(LstRoot);
    if (!item)
        return;
    const QString entry = item->text();
    if (AutoSave == -1 && !autoSave({trigger_, team_, taskForce_, script_})) {
        kit_->restoreSelection(LstRoot);
        return;
    }
    notes_->showNoteOf(entry);
    trigger_->setKey(entry);
    kit_->clearSelectionQuietly(LstFig);
    kit_->clearSelectionQuietly(LstSpe);
    kit_->clearSelectionQuietly(LstScr);
    trigger_->LoadTrigger(entry);
    trigger_->CmdCE_Click();

    QListWidget* teams = trigger_->teamList();
    if (teams->count() == 0)
        return; // the team, task force and script panels keep what they showed
    kit_->selectRowQuietly(teams, 0);
    const QString team = teams->item(0)->text();
    team_->setId(team);
    team_->LoadTeamType(team);
    kit_->selectRowQuietly(team_->taskForceList(), 0);
    kit_->selectRowQuietly(team_->scriptList(), 0);
    const QString taskForce = team_->taskForce();
    const QString script = team_->script();
    taskForce_->setId(taskForce);
    script_->setId(script);
    taskForce_->LoadTaskForce(taskForce);
    script_->LoadScriptType(script);
    taskForce_->FillSpeEntryFields();
    script_->FillScrLineFields();
    settleBaselines();
}

void FrmMain::LstFig_Click() {
    const QListWidgetItem* item = selectedEntry(LstFig);
    if (!item)
        return;
    const QString id = item->text();
    if (AutoSave == -1 && !autoSave({team_, taskForce_, script_})) {
        kit_->restoreSelection(LstFig);
        return;
    }
    notes_->showNoteOf(id);
    team_->setId(id);
    kit_->clearSelectionQuietly(LstRoot);
    kit_->clearSelectionQuietly(LstSpe);
    kit_->clearSelectionQuietly(LstScr);
    team_->LoadTeamType(id);
    showTeamTaskForceAndScript();
}

void FrmMain::LstTeam_Click() {
    if (AutoSave == -1 && !autoSave({team_, taskForce_, script_})) {
        kit_->restoreSelection(trigger_->teamList());
        return;
    }
    const QListWidgetItem* item = selectedEntry(trigger_->teamList());
    if (!item)
        return;
    const QString id = item->text();
    team_->setId(id);
    team_->LoadTeamType(id);
    showTeamTaskForceAndScript();
}

void FrmMain::showTeamTaskForceAndScript() {
    kit_->selectRowQuietly(team_->taskForceList(), 0);
    kit_->selectRowQuietly(team_->scriptList(), 0);
    taskForce_->setId(team_->taskForce());
    script_->setId(team_->script());
    taskForce_->LoadTaskForce(taskForce_->id());
    script_->LoadScriptType(script_->id());
    if (taskForce_->hasRows())
        taskForce_->FillSpeEntryFields();
    if (script_->hasRows())
        script_->FillScrLineFields();
    settleBaselines();
}

// Filling the row fields runs their checks, which may mend a row: what the selection
// leaves on show is the record as loaded.
void FrmMain::settleBaselines() {
    taskForce_->captureBaseline();
    script_->captureBaseline();
}

void FrmMain::selectRegistryEntry(QListWidget* list, const std::function<void()>& show) {
    const QListWidgetItem* item = selectedEntry(list);
    if (!item)
        return;
    const QString id = item->text();
    SectionPanel* panel = list == LstSpe ? static_cast<SectionPanel*>(taskForce_)
                                         : static_cast<SectionPanel*>(script_);
    if (AutoSave == -1 && !autoSave({panel})) {
        kit_->restoreSelection(list);
        return;
    }
    notes_->showNoteOf(id);
    panel->setId(id);
    for (QListWidget* other : {LstRoot, LstFig, LstSpe, LstScr}) {
        if (other != list)
            kit_->clearSelectionQuietly(other);
    }
    show();
}

void FrmMain::LstSpe_Click() {
    selectRegistryEntry(LstSpe, [this] {
        taskForce_->LoadTaskForce(taskForce_->id());
        taskForce_->FillSpeEntryFields();
        taskForce_->captureBaseline();
    });
}

void FrmMain::LstScr_Click() {
    selectRegistryEntry(LstScr, [this] {
        script_->LoadScriptType(script_->id());
        script_->FillScrLineFields();
        script_->captureBaseline();
    });
}

// The team type's own task force and script: its one-entry lists show entry 0,
// whichever was hit.
void FrmMain::LstSpeAdd_Click() {
    if (AutoSave == -1 && !autoSave({taskForce_})) {
        kit_->restoreSelection(team_->taskForceList());
        return;
    }
    taskForce_->setId(team_->taskForce());
    taskForce_->LoadTaskForce(taskForce_->id());
    taskForce_->FillSpeEntryFields();
    taskForce_->captureBaseline();
}

void FrmMain::LstScrAdd_Click() {
    if (AutoSave == -1 && !autoSave({script_})) {
        kit_->restoreSelection(team_->scriptList());
        return;
    }
    script_->setId(team_->script());
    script_->LoadScriptType(script_->id());
    script_->FillScrLineFields();
    script_->captureBaseline();
}

// ---------------------------------------------------------------- adds and deletes

void FrmMain::CmdAdd_Click() {
    const QString answer = fieldrules::trimBlanks(kit_->dialogs().prompt(
        this, QStringLiteral("输入新增ID和名称（ID和名称用=分开|英文）"), QStringLiteral("新增"),
        QString()));
    if (answer.isEmpty())
        return;
    switch (fieldrules::checkNewTriggerKey(answer, entries(LstRoot))) {
    case fieldrules::IdCheck::Invalid: kit_->msg(kBadInputShort, kErrorTitle); return;
    case fieldrules::IdCheck::Duplicate:
        kit_->msg(QStringLiteral("注册ID重复，请重新输入！"), kErrorTitle, MsgIcon::Information);
        return;
    case fieldrules::IdCheck::Ok: break;
    }
    LstRoot->insertItem(0, answer);
    if (!document().isOpen())
        return;
    if (!kit_->reportWrite(addTriggerRecord(document(), answer)))
        delete LstRoot->takeItem(0); // the file does not have it
}

void FrmMain::CmdKill_Click() {
    const QListWidgetItem* item = selectedEntry(LstRoot);
    if (item && fieldrules::triggerId(item->text()).isEmpty())
        return; // a line without a key: nothing names it
    killSelectedRecord(LstRoot, trigger_, [this](const QString& key) {
        return !document().isOpen() || reportRemoval(removeTriggerRecord(document(), key));
    });
}

void FrmMain::addRegistryEntry(const QString& promptText, QListWidget* list,
                               const QString& duplicateMessage, RegistryKind kind,
                               const std::vector<QByteArray>& block) {
    const QString answer =
        fieldrules::trimBlanks(kit_->dialogs().prompt(this, promptText, QStringLiteral("新增"), QString()));
    if (answer.isEmpty())
        return;
    // A new record never shares a section with an old one, of whatever kind.
    fieldrules::IdCheck check = fieldrules::checkNewRecordId(answer, entries(list));
    if (check == fieldrules::IdCheck::Ok && recordIdInUse(document(), answer))
        check = fieldrules::IdCheck::Duplicate;
    switch (check) {
    case fieldrules::IdCheck::Invalid: kit_->msg(kBadInputShort, kErrorTitle); return;
    case fieldrules::IdCheck::Duplicate:
        kit_->msg(duplicateMessage, kErrorTitle, MsgIcon::Information);
        return;
    case fieldrules::IdCheck::Ok: break;
    }
    // The registry counters are 16-bit: a full registry takes no more entries rather
    // than writing a negative number into the file.
    if (document().count(kind) == std::numeric_limits<qint16>::max()) {
        kit_->msg(kRegistryFull, kErrorTitle, MsgIcon::Information);
        return;
    }
    list->addItem(answer);
    if (!document().isOpen())
        return;
    if (!kit_->reportWrite(addRegistryRecord(document(), kind, answer, block)))
        delete list->takeItem(list->count() - 1); // the file does not have it
}

void FrmMain::killSelectedRecord(QListWidget* list, RecordPanel* panel,
                                 const std::function<bool(const QString&)>& remove) {
    QListWidgetItem* item = selectedEntry(list);
    if (!item)
        return;
    if (kit_->msg(kConfirmDelete, kQuestionTitle, MsgIcon::Question, MsgButtons::YesNo) ==
        MsgAnswer::No)
        return;
    const QString id = item->text();
    if (!remove(id))
        return;
    delete list->takeItem(list->row(item));
    // No neighbour takes the deleted entry's place: a second delete must be a new choice.
    kit_->clearSelectionQuietly(list);
    // The panel may go on showing the deleted record, but never saves it again.
    if (panelId(panel) == id)
        panel->forgetRecord();
}

bool FrmMain::reportRemoval(const RecordRemoval& removal) {
    if (!removal.found) {
        kit_->msg(kNothingDeleted, kErrorTitle, MsgIcon::Information);
        return false;
    }
    return kit_->reportWrite(removal.write);
}

void FrmMain::CmdTeamAdd_Click() {
    addRegistryEntry(QStringLiteral("输入新增作战小队名称（英文）"), LstFig,
                     QStringLiteral("作战小队名称重复，请重新输入！"), RegistryKind::TeamTypes,
                     teamtype::defaultBlock());
}

void FrmMain::CmdSpeAdd_Click() {
    addRegistryEntry(QStringLiteral("输入新增特遣小队名称（英文）"), LstSpe, kDuplicateRecord,
                     RegistryKind::TaskForces, {"Name=", "Group=-1"});
}

void FrmMain::CmdScrAdd_Click() {
    addRegistryEntry(QStringLiteral("输入脚本名称（英文）"), LstScr, kDuplicateRecord,
                     RegistryKind::ScriptTypes, {"Name="});
}

void FrmMain::CmdTeamKill_Click() {
    killSelectedRecord(LstFig, team_, [this](const QString& id) { return DeleteTeamType(id); });
}

void FrmMain::CmdSpeKill_Click() {
    killSelectedRecord(LstSpe, taskForce_, [this](const QString& id) { return DeleteTaskForce(id); });
}

void FrmMain::CmdScrKill_Click() {
    killSelectedRecord(LstScr, script_, [this](const QString& id) { return DeleteScriptType(id); });
}

bool FrmMain::DeleteTeamType(const QString& id) {
    return !document().isOpen() ||
           reportRemoval(removeRegistryRecord(document(), RegistryKind::TeamTypes, id));
}

bool FrmMain::DeleteTaskForce(const QString& id) {
    return !document().isOpen() ||
           reportRemoval(removeRegistryRecord(document(), RegistryKind::TaskForces, id));
}

bool FrmMain::DeleteScriptType(const QString& id) {
    return !document().isOpen() ||
           reportRemoval(removeRegistryRecord(document(), RegistryKind::ScriptTypes, id));
}

QString FrmMain::panelId(RecordPanel* panel) const {
    if (panel == team_)
        return team_->id();
    if (panel == taskForce_)
        return taskForce_->id();
    if (panel == script_)
        return script_->id();
    return trigger_->key();
}

} // namespace tarvok
