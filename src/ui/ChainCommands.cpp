#include "ui/ChainCommands.h"

#include "document/RulesDocument.h"
#include "records/RecordOps.h"
#include "ui/FrmChain.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/RecordSelection.h"
#include "ui/RegistryTabs.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"

#include <QPushButton>
#include <QTabWidget>

namespace tarvok {

using Kind = references::Kind;

ChainCommands::ChainCommands(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs,
                             RecordSelection& selection, Panels panels, QWidget* window)
    : QObject(window), kit_(kit), doc_(doc), tabs_(tabs), selection_(selection), panels_(panels),
      window_(window) {
    connect(panels_.trigger->cloneButton(), &QPushButton::clicked, this,
            &ChainCommands::CmdRootClone_Click);
    connect(panels_.team->cloneButton(), &QPushButton::clicked, this,
            &ChainCommands::CmdTeamClone_Click);
    // A button copies only a record of the file.
    const auto follow = [this] {
        panels_.trigger->cloneButton()->setEnabled(cloneable(Kind::Trigger));
        panels_.team->cloneButton()->setEnabled(cloneable(Kind::TeamType));
        emit cloneableChanged();
    };
    for (RecordPanel* panel :
         {static_cast<RecordPanel*>(panels_.trigger), static_cast<RecordPanel*>(panels_.team)}) {
        connect(panel, &RecordPanel::loaded, this, follow);
        connect(panel, &RecordPanel::saved, this, follow);
    }
    connect(tabs_.widget(), &QTabWidget::currentChanged, this, follow);
    follow();
}

bool ChainCommands::cloneable(Kind head) const {
    const RecordPanel* panel = panels_.of(head);
    return doc_.isOpen() && panel->recordFound() && !panel->recordKey().isEmpty();
}

bool ChainCommands::canClone() const {
    const int tab = tabs_.widget()->currentIndex();
    return (tab == static_cast<int>(Kind::Trigger) && cloneable(Kind::Trigger)) ||
           (tab == static_cast<int>(Kind::TeamType) && cloneable(Kind::TeamType));
}

void ChainCommands::CmdRootClone_Click() {
    clone(Kind::Trigger);
}

void ChainCommands::CmdTeamClone_Click() {
    clone(Kind::TeamType);
}

void ChainCommands::mClone_Click() {
    if (canClone())
        clone(static_cast<Kind>(tabs_.widget()->currentIndex()));
}

void ChainCommands::clone(Kind head) {
    if (!cloneable(head))
        return;
    // The copies are made from the file: what the user changed on show is settled first.
    const bool settled =
        head == Kind::Trigger
            ? selection_.leaveRecords(
                  {panels_.trigger, panels_.team, panels_.taskForce, panels_.script})
            : selection_.leaveRecords({panels_.team, panels_.taskForce, panels_.script});
    if (!settled)
        return;
    const std::shared_ptr<const RulesIndex> index = doc_.index();
    const QString key = panels_.of(head)->recordKey();
    std::vector<chain::ChainRow> rows =
        head == Kind::Trigger ? chain::triggerChain(index->text(), index->codec(), key)
                              : chain::teamTypeChain(index->text(), index->codec(), key);
    if (!rows.empty())
        open(QStringLiteral("复制整套"), std::move(rows), true);
}

void ChainCommands::mNewChain_Click() {
    if (!doc_.isOpen() || !selection_.leaveRecords(
                              {panels_.trigger, panels_.team, panels_.taskForce, panels_.script}))
        return;
    const std::shared_ptr<const RulesIndex> index = doc_.index();
    open(QStringLiteral("新建整套"), chain::newChain(index->text(), index->codec()), false);
}

void ChainCommands::open(const QString& title, std::vector<chain::ChainRow> rows, bool copying) {
    if (dialog_)
        dialog_->close();
    dialog_ = new FrmChain(window_, title, std::move(rows), doc_.index()->codec(), copying);
    dialog_->setCountries(panels_.trigger->countryChoices());
    connect(dialog_, &FrmChain::chosen, this, [this, copying] { write(copying); });
    dialog_->open();
}

void ChainCommands::write(bool copying) {
    // The box's text goes into the trigger's line, where "," and ";" end the name.
    if (chain::splitsTriggerLine(dialog_->namingText())) {
        kit_.messages().msg(copying ? QStringLiteral("名称后缀不可含“,”或“;”，请重新输入！")
                                    : QStringLiteral("名称不可含“,”或“;”，请重新输入！"),
                            messages::kErrorTitle, MsgIcon::Information);
        return;
    }
    const FrmChain::Firing firing = dialog_->firing();
    if (!copying && chain::splitsTriggerLine(firing.country)) {
        kit_.messages().msg(QStringLiteral("国家不可含“,”或“;”，请重新输入！"),
                            messages::kErrorTitle, MsgIcon::Information);
        return;
    }
    const std::vector<chain::ChainRow> rows = dialog_->rows();
    const TextCodec& codec = doc_.index()->codec();
    const trigger::FiringTrigger values{firing.country.isEmpty() ? QByteArray("<all>")
                                                                 : codec.encode(firing.country),
                                        firing.side.toLatin1(), firing.condition.toLatin1()};
    const records::ChainCopy done =
        copying ? records::CopyChain(doc_, rows) : records::NewChain(doc_, rows, values);
    if (done.refused) { // the dialog stays, for the user to mend the row
        kit_.messages().msg(chain::refusalText(*done.refused), messages::kErrorTitle,
                            MsgIcon::Information);
        return;
    }
    if (!kit_.messages().reportWrite(done.write))
        return;
    dialog_->accept();
    // Edits still marked in the chain's panels are the ones the user chose not to save
    // before the dialog opened: they go without a second question.
    for (const chain::ChainRow& row : rows)
        if (RecordPanel* panel = panels_.of(row.kind); panel->isEdited())
            panel->clear();
    // The lists show the new records (FileFollower); the new chain's first record is shown
    // with the records it names.
    for (const chain::ChainRow& row : rows)
        if (row.copy && (row.kind == Kind::Trigger || row.kind == Kind::TeamType)) {
            tabs_.selectRecord(row.kind, row.newId);
            break;
        }
}

} // namespace tarvok
