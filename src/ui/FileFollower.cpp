#include "ui/FileFollower.h"

#include "ui/FrmPredict.h"

#include "ui/FileCommands.h"
#include "ui/FrmTable.h"
#include "ui/RecordPanel.h"
#include "ui/RecordSelection.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryTabs.h"

#include <QTimer>

namespace tarvok {

using Kind = references::Kind;
using Cause = DocumentChange::Cause;

namespace {

// The section whose entries a list shows, in the kinds' order.
const char* const kListSections[] = {"AITriggerTypes", "TeamTypes", "TaskForces", "ScriptTypes"};

} // namespace

FileFollower::FileFollower(RulesDocument& doc, RegistryTabs& tabs, RecordSelection& selection,
                           FileCommands& files, Panels panels, QObject* parent)
    : QObject(parent), doc_(doc), tabs_(tabs), selection_(selection), files_(files),
      panels_(panels), refsLater_(new QTimer(this)) {
    refsLater_->setSingleShot(true);
    connect(refsLater_, &QTimer::timeout, &selection_, &RecordSelection::showReferences);
    connect(&doc_, &RulesDocument::changed, this, &FileFollower::follow);
}

void FileFollower::showReferencesSoon() {
    refsLater_->start();
}

void FileFollower::follow(const DocumentChange& change) {
    if (table_)
        table_->follow(change);
    if (predict_)
        predict_->follow();
    if (showFiles_ && (change.cause == Cause::Opened || change.cause == Cause::Reloaded))
        showFiles_();
    switch (change.cause) {
    case Cause::Opened:
    case Cause::Restored:
        // The lists as an opening reads them; nothing of the content before stays on show,
        // nor is saved under its key into this one.
        tabs_.fill();
        selection_.showNothing();
        return;
    case Cause::Reloaded:
        // Shown once the operation that found out is over; a map's own types may have
        // changed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                selection_.showReloaded();
                files_.followMod(false);
            },
            Qt::QueuedConnection);
        return;
    case Cause::Written:
        followWrite(change);
        return;
    }
}

void FileFollower::followWrite(const DocumentChange& change) {
    std::array<bool, 4> lists{};
    for (size_t i = 0; i < lists.size(); ++i)
        lists[i] = change.everything || change.lists.contains(QByteArray(kListSections[i]));
    tabs_.refill(lists);
    if (!change.everything) {
        tabs_.recordsWritten(change.records);
        // A panel whose record left its list may go on showing it, but never saves it again.
        for (size_t i = 0; i < lists.size(); ++i) {
            const Kind kind = static_cast<Kind>(i);
            RecordPanel* panel = panels_.of(kind);
            if (lists[i] && change.records.contains(panel->recordKey()) &&
                !tabs_.entries(kind)->texts().contains(panel->recordKey()))
                panel->forgetRecord();
        }
    }
    showReferencesSoon();
}

} // namespace tarvok
