#include "ui/FileCommands.h"

#include "catalogues/Catalogues.h"
#include "document/RulesDocument.h"
#include "records/FieldRules.h"
#include "ui/FrmCheck.h"
#include "ui/FrmTable.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/RecordSelection.h"
#include "ui/RegistryTabs.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"

#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace tarvok {

using Kind = references::Kind;

// The file dialog's choices: AI files first, then maps, which hold the same lists.
const QString kFileFilter =
    QStringLiteral("规则文件(*.ini)|*.ini|地图文件(*.map *.mpr)|*.map;*.mpr|所有文件(*)|*");

namespace {

const QString kGameRulesFilter =
    QStringLiteral("游戏规则文件(rulesmd.ini rules.ini)|rulesmd.ini;rules.ini|所有文件(*)|*");

} // namespace

FileCommands::FileCommands(PanelKit& kit, RulesDocument& doc, Catalogues& catalogues,
                           RegistryTabs& tabs, RecordSelection& selection, Panels panels,
                           QMainWindow* window)
    : QObject(window), kit_(kit), doc_(doc), catalogues_(catalogues), tabs_(tabs),
      selection_(selection), panels_(panels), window_(window) {
    LblModRules = new QLabel;
    LblModRules->setObjectName(QStringLiteral("LblModRules"));
    showMod();
    LblModRules->setTextInteractionFlags(Qt::TextSelectableByMouse);
    window_->statusBar()->addPermanentWidget(LblModRules);
}

// ---------------------------------------------------------------- opening

void FileCommands::CmdOpen_Click() {
    // The dialog starts where the last file came from, and never offers the scratch copy.
    const QString folder =
        doc_.isOpen() ? QFileInfo(doc_.path()).absolutePath() : catalogues_.files().dir();
    openRulesFile(
        kit_.messages().dialogs().openFile(window_, kFileFilter, folder, doc_.scratchPath()));
}

void FileCommands::openRulesFile(const QString& file) {
    if (file.isEmpty()) {
        kit_.messages().msg(QStringLiteral("请选择文件!"), messages::kQuestionTitle,
                            MsgIcon::Information);
        return;
    }
    // A mod names its AI file as it likes: what the file holds decides.
    const bool named = fieldrules::isRulesFileName(file);
    if (!named && !RulesDocument::holdsAiSections(file)) {
        kit_.messages().msg(QStringLiteral("请正确选择文件！"), messages::kQuestionTitle,
                            MsgIcon::Information);
        return;
    }
    if (named && fieldrules::mayBeOriginalAi(file))
        kit_.messages().msg(QStringLiteral("使用原版AI时请谨慎"));
    // The records on show belong to the file they were loaded from: they are written
    // there (auto-save, or the user's answer) before another file takes its place.
    if (!selection_.leaveRecords(
            {panels_.trigger, panels_.team, panels_.taskForce, panels_.script}))
        return;
    if (FrmTable* table = table_ ? table_() : nullptr; table && !table->leave())
        return;
    const std::optional<RulesDocument::Opened> reading = doc_.open(file);
    if (!reading) {
        kit_.messages().msg(QStringLiteral("无法打开文件"), messages::kErrorTitle,
                            MsgIcon::Information);
        return;
    }
    kit_.messages().status(messages::openingNotes(*reading));
    followMod(true);
    emit opened(file);
    if (check_ && check_->isVisible())
        check_->checkFile(doc_, catalogues_); // the list is of the file now open
}

// ---------------------------------------------------------------- the mod

void FileCommands::showMod() {
    // A mod with many string tables makes a long note: it is shortened in the middle
    // rather than widen the window, and its tooltip holds all of it.
    const QString text = catalogues_.mod().statusText();
    LblModRules->setText(LblModRules->fontMetrics().elidedText(text, Qt::ElideMiddle, 560));
    LblModRules->setToolTip(text);
    emit modShown();
}

bool FileCommands::fillUnitChoices() {
    const std::optional<Catalogues::Choices> units = catalogues_.unitChoices(false);
    const std::optional<Catalogues::Choices> all = catalogues_.unitChoices(true);
    const std::optional<Catalogues::Choices> buildings = catalogues_.buildingChoices();
    if (!units || !all)
        return false;
    // A row's unit is defined when the mod lists it as a unit or a building, as the check
    // takes it.
    panels_.taskForce->setUnitChoices(units->ids, units->nameEntries(), all->ids);
    // A trigger's condition counts buildings too; the script's name box turns a building's
    // name into its ID, and lists the buildings alone while a building action is on show.
    panels_.trigger->setUnitChoices(all->ids, all->nameEntries());
    panels_.script->setUnitChoices(all->nameEntries(),
                                   (buildings ? buildings : all)->nameEntries());
    tabs_.unitNamesChanged(); // the filters find units by these names
    return true;
}

void FileCommands::followMod(bool refill) {
    const std::shared_ptr<const RulesIndex> index = doc_.index();
    if (!index)
        return;
    if (catalogues_.updateMod(doc_.path(), *index, modChoice_) || refill) {
        fillUnitChoices();
        showMod();
    }
}

void FileCommands::mModRules_Click() {
    const QString start = catalogues_.mod().inUse()
                              ? QFileInfo(catalogues_.mod().rulesPath()).absolutePath()
                          : doc_.isOpen() ? QFileInfo(doc_.path()).absolutePath()
                                          : catalogues_.files().dir();
    const QString file =
        kit_.messages().dialogs().openFile(window_, kGameRulesFilter, start, QString());
    if (file.isEmpty())
        return;
    chosenRules_ = modChoice_ = {ModWorld::Choice::Mode::File, file};
    if (noModRules_)
        noModRules_->setChecked(false);
    followMod(true);
}

void FileCommands::mNoModRules_Click(bool off) {
    modChoice_ = off ? ModWorld::Choice{ModWorld::Choice::Mode::None, {}} : chosenRules_;
    followMod(true);
}

// ---------------------------------------------------------------- undo and the check

void FileCommands::restoreVersion(bool redo) {
    const History* history = doc_.history();
    const History::Stack from = redo ? History::Stack::Redo : History::Stack::Undo;
    if (!history || history->size(from) == 0) {
        kit_.messages().status(redo ? QStringLiteral("没有可重做的修改")
                                    : QStringLiteral("没有可撤销的修改"));
        return;
    }
    if (!selection_.settleEdits())
        return;
    RulesDocument::Restored restored = doc_.restore(from);
    if (restored.outcome == RulesDocument::Restored::NoRoomForVersion) {
        const QString question =
            redo ? QStringLiteral("磁盘空间不足，重做后将无法撤销。仍要重做吗？")
                 : QStringLiteral("磁盘空间不足，撤销后将无法重做。仍要撤销吗？");
        if (kit_.messages().msg(question, messages::kQuestionTitle, MsgIcon::Question,
                                MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
        restored = doc_.restore(from, true);
    }
    switch (restored.outcome) {
    case RulesDocument::Restored::Nothing:
        return;
    case RulesDocument::Restored::ChangedOutside:
        kit_.messages().msg(QStringLiteral("文件已被其他程序修改，无法撤销"), messages::kErrorTitle,
                            MsgIcon::Information);
        return;
    case RulesDocument::Restored::LockedElsewhere:
        kit_.messages().status(messages::failureReason(restored.write)); // names the lock file
        kit_.messages().msg(QStringLiteral("该文件正在另一个窗口中编辑，无法撤销"),
                            messages::kErrorTitle, MsgIcon::Information);
        return;
    case RulesDocument::Restored::NoRoomForVersion:
    case RulesDocument::Restored::Failed:
        kit_.messages().reportWrite(restored.write);
        return;
    case RulesDocument::Restored::Done:
        break;
    }
    // The lists show the version put back, and no record is on show (FileFollower).
    QString note = QStringLiteral("已恢复到 %1 的版本")
                       .arg(restored.time.toString(QStringLiteral("HH:mm:ss")));
    if (!restored.write.versionKept())
        note += QStringLiteral("；") + messages::versionNotKept(restored.write.versionFailure());
    kit_.messages().status(note);
}

// The check window is made at its first use; each use checks the file as it is then.
void FileCommands::mCheck_Click() {
    if (!check_) {
        check_ = new FrmCheck(window_);
        check_->setOnChoose([this](filecheck::RecordKind kind, const QString& id) {
            if (kind != filecheck::RecordKind::None) // the lists in the kinds' order
                tabs_.selectRecord(static_cast<Kind>(static_cast<int>(kind) - 1), id);
        });
    }
    followMod(false); // the mod's files as they are now
    check_->checkFile(doc_, catalogues_);
    check_->show();
    check_->activateWindow();
}

} // namespace tarvok
