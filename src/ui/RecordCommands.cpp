#include "ui/RecordCommands.h"

#include "records/FieldRules.h"
#include "records/RecordOps.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/RecordPanel.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryLists.h"
#include "ui/RegistryTabs.h"

#include <QListView>
#include <QPushButton>

namespace tarvok {
namespace {

using namespace messages;

struct AddText {
    const char* prompt;
    const QString& duplicate;
};

const QString kDuplicateTrigger = QStringLiteral("注册ID重复，请重新输入！");
const QString kDuplicateTeam = QStringLiteral("作战小队名称重复，请重新输入！");

// In the kinds' order.
const AddText kAddTexts[] = {
    {"输入新增ID和名称（ID和名称用=分开|英文）", kDuplicateTrigger},
    {"输入新增作战小队名称（英文）", kDuplicateTeam},
    {"输入新增特遣小队名称（英文）", kDuplicateRecord},
    {"输入脚本名称（英文）", kDuplicateRecord},
};

records::RecordAdd addRecord(RecordCommands::Kind kind, RulesDocument& doc, const QString& id,
                             const QStringList& listed) {
    switch (kind) {
    case RecordCommands::Kind::Trigger:
        return records::AddTrigger(doc, id, listed);
    case RecordCommands::Kind::TeamType:
        return records::AddTeamType(doc, id, listed);
    case RecordCommands::Kind::TaskForce:
        return records::AddTaskForce(doc, id, listed);
    case RecordCommands::Kind::Script:
        return records::AddScriptType(doc, id, listed);
    }
    return {};
}

} // namespace

RecordCommands::RecordCommands(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs,
                               QWidget* window)
    : QObject(window), kit_(kit), doc_(doc), tabs_(tabs), window_(window) {
    const std::pair<Kind, std::pair<void (RecordCommands::*)(), void (RecordCommands::*)()>>
        buttons[] = {
            {Kind::Trigger, {&RecordCommands::CmdAdd_Click, &RecordCommands::CmdKill_Click}},
            {Kind::TeamType,
             {&RecordCommands::CmdTeamAdd_Click, &RecordCommands::CmdTeamKill_Click}},
            {Kind::TaskForce,
             {&RecordCommands::CmdSpeAdd_Click, &RecordCommands::CmdSpeKill_Click}},
            {Kind::Script, {&RecordCommands::CmdScrAdd_Click, &RecordCommands::CmdScrKill_Click}},
        };
    for (const auto& [kind, handlers] : buttons) {
        connect(tabs_.addButton(kind), &QPushButton::clicked, this, handlers.first);
        connect(tabs_.killButton(kind), &QPushButton::clicked, this, handlers.second);
    }
}

void RecordCommands::CmdAdd_Click() {
    add(Kind::Trigger);
}
void RecordCommands::CmdKill_Click() {
    kill(Kind::Trigger);
}
void RecordCommands::CmdTeamAdd_Click() {
    add(Kind::TeamType);
}
void RecordCommands::CmdTeamKill_Click() {
    kill(Kind::TeamType);
}
void RecordCommands::CmdSpeAdd_Click() {
    add(Kind::TaskForce);
}
void RecordCommands::CmdSpeKill_Click() {
    kill(Kind::TaskForce);
}
void RecordCommands::CmdScrAdd_Click() {
    add(Kind::Script);
}
void RecordCommands::CmdScrKill_Click() {
    kill(Kind::Script);
}

void RecordCommands::add(Kind kind) {
    const AddText& text = kAddTexts[static_cast<size_t>(kind)];
    const QString answer = fieldrules::trimBlanks(kit_.messages().dialogs().prompt(
        window_, QString::fromUtf8(text.prompt), QStringLiteral("新增"), QString()));
    if (answer.isEmpty())
        return;
    RegistryListModel* entries = tabs_.entries(kind);
    const records::RecordAdd added = addRecord(kind, doc_, answer, entries->texts());
    switch (added.outcome) {
    case records::RecordAdd::Invalid:
        kit_.messages().msg(kBadInputShort, kErrorTitle);
        return;
    case records::RecordAdd::Duplicate:
        kit_.messages().msg(text.duplicate, kErrorTitle, MsgIcon::Information);
        return;
    case records::RecordAdd::Full:
        kit_.messages().msg(kRegistryFull, kErrorTitle, MsgIcon::Information);
        return;
    case records::RecordAdd::Failed:
    case records::RecordAdd::Added:
        if (!kit_.messages().reportWrite(added.write))
            return; // the file does not have it
        break;
    }
    // The list shows the new entry where the file has it (FileFollower). Without a file
    // nothing is written, and the list alone takes it: a new trigger first, any other
    // record last.
    if (!doc_.isOpen())
        entries->insertEntry(kind == Kind::Trigger ? 0 : entries->rowCount(), answer);
}

void RecordCommands::kill(Kind kind) {
    QListView* list = tabs_.list(kind);
    const int row = registrylists::selectedRow(list);
    if (row < 0)
        return;
    RegistryListModel* entries = tabs_.entries(kind);
    const QString id = entries->text(row);
    if (kind == Kind::Trigger && fieldrules::triggerId(id).isEmpty())
        return; // a line without a key: nothing names it
    if (kit_.messages().msg(tabs_.references().deleteQuestion(kind, id), kQuestionTitle,
                            MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    if (!remove(kind, id))
        return;
    // The entry leaves the list, and a panel showing the record forgets it (FileFollower);
    // without a file only the list had it.
    if (!doc_.isOpen())
        entries->removeEntry(row);
    // No neighbour takes the deleted entry's place: a second delete must be a new choice.
    kit_.focus().clearSelectionQuietly(list);
}

bool RecordCommands::remove(Kind kind, const QString& id) {
    if (!doc_.isOpen())
        return true;
    switch (kind) {
    case Kind::Trigger:
        return reportRemoval(records::DeleteTrigger(doc_, id));
    case Kind::TeamType:
        return reportRemoval(records::DeleteTeamType(doc_, id));
    case Kind::TaskForce:
        return reportRemoval(records::DeleteTaskForce(doc_, id));
    case Kind::Script:
        return reportRemoval(records::DeleteScriptType(doc_, id));
    }
    return false;
}

bool RecordCommands::reportRemoval(const RecordRemoval& removal) {
    if (!removal.found) {
        kit_.messages().msg(kNothingDeleted, kErrorTitle, MsgIcon::Information);
        return false;
    }
    return kit_.messages().reportWrite(removal.write);
}

} // namespace tarvok
