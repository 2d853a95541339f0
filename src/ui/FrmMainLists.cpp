// Opening a rules file, and the registry lists: selections, adds and deletes.
#include "ui/FrmMain.h"

#include "records/FieldRules.h"
#include "records/RecordWrites.h"
#include "records/TeamTypeSection.h"
#include "ui/FrmCheck.h"
#include "ui/Messages.h"
#include "ui/NotesPanel.h"
#include "ui/PanelKit.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryLists.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"
#include "ui/WidgetMaking.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>

#include <algorithm>
#include <limits>

namespace tarvok {
namespace {

using namespace messages;

} // namespace

// ---------------------------------------------------------------- the rules file

namespace {

// What the user should know of a file just opened: lines the editor could not read,
// no record at all, other names of the file.
QStringList openingNotes(const RulesDocument::Opened& opened) {
    QStringList notes;
    const RulesScan& scan = opened.index->scan();
    const std::vector<qsizetype>& skipped = scan.skippedLines;
    if (!skipped.empty()) {
        QStringList first;
        for (size_t i = 0; i < std::min<size_t>(skipped.size(), 5); ++i)
            first << QString::number(skipped[i]);
        notes << QStringLiteral("有 %1 行未能读取（第 %2 行）")
                     .arg(skipped.size())
                     .arg(first.join(QStringLiteral("、")) +
                          (skipped.size() > 5 ? QStringLiteral("……") : QString()));
    }
    if (scan.triggerKeys.empty() && scan.teamTypes.empty() && scan.taskForces.empty() &&
        scan.scriptTypes.empty())
        notes << QStringLiteral("文件中没有找到 AI 记录");
    if (opened.hardLinks > 1)
        notes << QStringLiteral("该文件还有其他硬链接，保存后它们不会随之更新");
    return notes;
}

} // namespace

void FrmMain::CmdOpen_Click() {
    // The dialog starts where the last file came from, and never offers the scratch copy.
    const QString folder =
        document().isOpen() ? QFileInfo(document().path()).absolutePath() : kit_->files().dir();
    openRulesFile(kit_->dialogs().openFile(this, QStringLiteral("规则文件(*.ini)|*.ini"), folder,
                                           kit_->files().scratchCopy()));
}

void FrmMain::openRulesFile(const QString& file) {
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

    // The records on show belong to the file they were loaded from: they are written
    // there (auto-save, or the user's answer) before another file takes its place.
    if (!leaveRecords({trigger_, team_, taskForce_, script_}))
        return; // the user stays with the records on show

    const std::optional<RulesDocument::Opened> opened = document().open(file);
    if (!opened) {
        kit_->msg(QStringLiteral("无法打开文件"), kErrorTitle, MsgIcon::Information);
        return;
    }
    LblRoot->setText(QString());
    LblRoot->setText(file);

    registrylists::fillAll(registryLists(), opened->index);
    statusBar()->showMessage(openingNotes(*opened).join(QStringLiteral("；")));
    mCheck->setEnabled(true);
    if (auto* check = findChild<FrmCheck*>(QString(), Qt::FindDirectChildrenOnly);
        check && check->isVisible())
        check->checkFile(document(), kit_->files()); // the list is of the file now open

    // No record of the previous file may be saved under its key into this one.
    trigger_->setKey(QString());
    team_->setId(QString());
    taskForce_->setId(QString());
    script_->setId(QString());
    showReferences();
}

void FrmMain::mUndo_Click() {
    restoreVersion(false);
}

void FrmMain::mRedo_Click() {
    restoreVersion(true);
}

void FrmMain::restoreVersion(bool redo) {
    const History* history = document().history();
    const History::Stack from = redo ? History::Stack::Redo : History::Stack::Undo;
    if (!history || history->size(from) == 0) {
        statusBar()->showMessage(redo ? QStringLiteral("没有可重做的修改")
                                      : QStringLiteral("没有可撤销的修改"));
        return;
    }
    if (!settleEdits())
        return;
    const RulesDocument::Restored restored = document().restore(from);
    switch (restored.outcome) {
    case RulesDocument::Restored::Nothing:
        return;
    case RulesDocument::Restored::ChangedOutside:
        kit_->msg(QStringLiteral("文件已被其他程序修改，无法撤销"), kErrorTitle,
                  MsgIcon::Information);
        return;
    case RulesDocument::Restored::LockedElsewhere:
        kit_->msg(QStringLiteral("该文件正在另一个窗口中编辑，无法撤销"), kErrorTitle,
                  MsgIcon::Information);
        return;
    case RulesDocument::Restored::Failed:
        kit_->reportWrite(restored.write);
        return;
    case RulesDocument::Restored::Done:
        break;
    }
    // The lists as opening reads them; no record on show.
    registrylists::fillAll(registryLists(), document().index());
    trigger_->setKey(QString());
    trigger_->LoadTrigger(QString());
    team_->setId(QString());
    team_->LoadTeamType(QString());
    taskForce_->setId(QString());
    taskForce_->LoadTaskForce(QString());
    script_->setId(QString());
    script_->LoadScriptType(QString());
    QString note = QStringLiteral("已恢复到 %1 的版本")
                       .arg(restored.time.toString(QStringLiteral("HH:mm:ss")));
    if (!restored.write.versionKept())
        note += QStringLiteral("；") + messages::versionNotKept(restored.write.versionFailure());
    statusBar()->showMessage(note);
}

void FrmMain::showReloadedLists() {
    const std::shared_ptr<const RulesIndex> index = document().index();
    if (!index)
        return;
    const std::array<QListView*, 4> lists = registryLists();
    QString selected[4];
    for (int i = 0; i < 4; ++i)
        selected[i] = registrylists::selectedEntry(lists[i]).value_or(QString());
    registrylists::fillAll(lists, index);
    for (int i = 0; i < 4; ++i) {
        if (selected[i].isEmpty())
            continue;
        const int found = registrylists::entriesOf(lists[i])->texts().indexOf(selected[i]);
        if (const int row = found < 0 ? -1 : registrylists::viewRow(lists[i], found); row >= 0)
            kit_->selectRowQuietly(lists[i], row);
    }
    statusBar()->showMessage(QStringLiteral("文件已被其他程序修改，已重新读取"));
    showReferences();
}

void FrmMain::showReferences() {
    refs_->show(references::Kind::Trigger, trigger_->key());
    refs_->show(references::Kind::TeamType, team_->id());
    refs_->show(references::Kind::TaskForce, taskForce_->id());
    refs_->show(references::Kind::Script, script_->id());
}

// ---------------------------------------------------------------- selections

// A trigger is found by its ID, whatever its name. A list that is locked takes no
// selection, as it takes no click.
void FrmMain::selectRecord(QListView* list, const QString& id) {
    if (!list->isEnabled())
        return;
    const QStringList entries = registrylists::entriesOf(list)->texts();
    int row = -1;
    for (int i = 0; i < entries.size() && row < 0; ++i) {
        if (entries[i] == id || (list == LstRoot && fieldrules::triggerId(entries[i]) == id))
            row = i;
    }
    if (row < 0)
        return;
    const std::array<QListView*, 4> lists = registryLists();
    if (const auto tab = std::find(lists.begin(), lists.end(), list); tab != lists.end()) {
        const int index = static_cast<int>(tab - lists.begin());
        SSTab->setCurrentIndex(index);
        if (registrylists::viewRow(list, row) < 0)
            finds_[index]->clear();
    }
    kit_->selectAsUser(list, registrylists::viewRow(list, row));
}

void FrmMain::LstRoot_Click() {
    const std::optional<QString> selected = registrylists::selectedEntry(LstRoot);
    if (!selected)
        return;
    const QString entry = *selected;
    if (!leaveRecords({trigger_, team_, taskForce_, script_})) {
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
    const std::optional<QString> selected = registrylists::selectedEntry(LstFig);
    if (!selected)
        return;
    const QString id = *selected;
    if (!leaveRecords({team_, taskForce_, script_})) {
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
    if (!leaveRecords({team_, taskForce_, script_})) {
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

void FrmMain::selectRegistryEntry(QListView* list, const std::function<void()>& show) {
    const std::optional<QString> selected = registrylists::selectedEntry(list);
    if (!selected)
        return;
    const QString id = *selected;
    SectionPanel* panel = list == LstSpe ? static_cast<SectionPanel*>(taskForce_)
                                         : static_cast<SectionPanel*>(script_);
    if (!leaveRecords({panel})) {
        kit_->restoreSelection(list);
        return;
    }
    notes_->showNoteOf(id);
    panel->setId(id);
    for (QListView* other : registryLists()) {
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
    if (!leaveRecords({taskForce_})) {
        kit_->restoreSelection(team_->taskForceList());
        return;
    }
    taskForce_->setId(team_->taskForce());
    taskForce_->LoadTaskForce(taskForce_->id());
    taskForce_->FillSpeEntryFields();
    taskForce_->captureBaseline();
}

void FrmMain::LstScrAdd_Click() {
    if (!leaveRecords({script_})) {
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
    const QString answer = fieldrules::trimBlanks(
        kit_->dialogs().prompt(this, QStringLiteral("输入新增ID和名称（ID和名称用=分开|英文）"),
                               QStringLiteral("新增"), QString()));
    if (answer.isEmpty())
        return;
    RegistryListModel* entries = registrylists::entriesOf(LstRoot);
    switch (fieldrules::checkNewTriggerKey(answer, entries->texts())) {
    case fieldrules::IdCheck::Invalid:
        kit_->msg(kBadInputShort, kErrorTitle);
        return;
    case fieldrules::IdCheck::Duplicate:
        kit_->msg(QStringLiteral("注册ID重复，请重新输入！"), kErrorTitle, MsgIcon::Information);
        return;
    case fieldrules::IdCheck::Ok:
        break;
    }
    entries->insertEntry(0, answer);
    if (!document().isOpen())
        return;
    if (!kit_->reportWrite(addTriggerRecord(document(), answer)))
        entries->removeEntry(0); // the file does not have it
}

void FrmMain::CmdKill_Click() {
    const std::optional<QString> selected = registrylists::selectedEntry(LstRoot);
    if (selected && fieldrules::triggerId(*selected).isEmpty())
        return; // a line without a key: nothing names it
    killSelectedRecord(LstRoot, trigger_, [this](const QString& key) {
        return !document().isOpen() || reportRemoval(removeTriggerRecord(document(), key));
    });
}

void FrmMain::addRegistryEntry(const QString& promptText, QListView* list,
                               const QString& duplicateMessage, RegistryKind kind,
                               const std::vector<QByteArray>& block) {
    const QString answer = fieldrules::trimBlanks(
        kit_->dialogs().prompt(this, promptText, QStringLiteral("新增"), QString()));
    if (answer.isEmpty())
        return;
    // A new record never shares a section with an old one, of whatever kind.
    RegistryListModel* entries = registrylists::entriesOf(list);
    fieldrules::IdCheck check = fieldrules::checkNewRecordId(answer, entries->texts());
    if (check == fieldrules::IdCheck::Ok && recordIdInUse(document(), answer))
        check = fieldrules::IdCheck::Duplicate;
    switch (check) {
    case fieldrules::IdCheck::Invalid:
        kit_->msg(kBadInputShort, kErrorTitle);
        return;
    case fieldrules::IdCheck::Duplicate:
        kit_->msg(duplicateMessage, kErrorTitle, MsgIcon::Information);
        return;
    case fieldrules::IdCheck::Ok:
        break;
    }
    // The registry counters are 16-bit: a full registry takes no more entries rather
    // than writing a negative number into the file.
    if (document().count(kind) == std::numeric_limits<qint16>::max()) {
        kit_->msg(kRegistryFull, kErrorTitle, MsgIcon::Information);
        return;
    }
    entries->insertEntry(entries->rowCount(), answer);
    if (!document().isOpen())
        return;
    if (!kit_->reportWrite(addRegistryRecord(document(), kind, answer, block)))
        entries->removeEntry(entries->rowCount() - 1); // the file does not have it
}

void FrmMain::killSelectedRecord(QListView* list, RecordPanel* panel,
                                 const std::function<bool(const QString&)>& remove) {
    const int row = registrylists::selectedRow(list);
    if (row < 0)
        return;
    RegistryListModel* entries = registrylists::entriesOf(list);
    const QString id = entries->text(row);
    const std::array<QListView*, 4> lists = registryLists(); // in the kinds' order
    const auto kind =
        static_cast<references::Kind>(std::find(lists.begin(), lists.end(), list) - lists.begin());
    if (kit_->msg(refs_->deleteQuestion(kind, id), kQuestionTitle, MsgIcon::Question,
                  MsgButtons::YesNo) == MsgAnswer::No)
        return;
    if (!remove(id))
        return;
    entries->removeEntry(row);
    // No neighbour takes the deleted entry's place: a second delete must be a new choice.
    kit_->clearSelectionQuietly(list);
    // The panel may go on showing the deleted record, but never saves it again.
    if (panel->recordKey() == id)
        panel->forgetRecord();
    // What used the record says so at once the list is shown without it.
    QMetaObject::invokeMethod(this, &FrmMain::showReferences, Qt::QueuedConnection);
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
    killSelectedRecord(LstSpe, taskForce_,
                       [this](const QString& id) { return DeleteTaskForce(id); });
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

} // namespace tarvok
