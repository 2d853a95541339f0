#include "ui/FrmMain.h"

#include "document/FileStore.h"
#include "document/RulesScan.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <limits>

namespace tarvok {
namespace {

QStringList decodeAll(const std::vector<QByteArrayView>& entries, const TextCodec& codec) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (QByteArrayView e : entries)
        out.append(codec.decode(e));
    return out;
}

// The counters are 16-bit; a larger registry saturates instead of wrapping, and adds
// to it are refused.
qint16 counter(size_t n) {
    return static_cast<qint16>(std::min<size_t>(n, std::numeric_limits<qint16>::max()));
}

void refill(QListWidget* list, const QStringList& items) {
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(items);
    list->setUpdatesEnabled(true);
}

} // namespace

void FrmMain::CmdOpen_Click() {
    const QString file = dialogs().openFile(this, DlgFilter);
    if (file.isEmpty()) {
        msg(QStringLiteral("请选择文件!"), QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    const QString lower = file.toLower();
    if (!lower.contains(QStringLiteral("aimd.ini")) && !lower.contains(QStringLiteral("ai.ini"))) {
        msg(QStringLiteral("请正确选择文件！"), QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    if (lower.contains(QStringLiteral("ai.ini")))
        msg(QStringLiteral("使用原版AI时请谨慎"));

    // The records on show belong to the file they were loaded from: with auto-save on
    // they are written there before another file takes its place.
    if (AutoSave == -1) {
        CmdSaveRoot_Click();
        CmdSaveFig_Click();
        CmdSaveSpe_Click();
        CmdSaveScr_Click();
    }

    const std::optional<QByteArray> content = filestore::read(file);
    if (!content) {
        msg(QStringLiteral("无法打开文件"), QStringLiteral("错误"), MsgIcon::Information);
        return;
    }

    RulesFilePath = file;
    LblRoot->setText(QString());
    LblRoot->setText(RulesFilePath);

    const TextCodec codec(detectEncoding(*content));
    const RulesScan scan = scanRules(*content);
    refill(LstRoot, decodeAll(scan.triggerKeys, codec));
    refill(LstFig, decodeAll(scan.teamTypes, codec));
    refill(LstSpe, decodeAll(scan.taskForces, codec));
    refill(LstScr, decodeAll(scan.scriptTypes, codec));
    TeamTypeCount = counter(scan.teamTypes.size());
    TaskForceCount = counter(scan.taskForces.size());
    ScriptTypeCount = counter(scan.scriptTypes.size());

    // No record of the previous file may be saved under its key into this one.
    for (QLineEdit* key : {TxtRoot, TxtTeam, TxtSpe, TxtScr})
        if (key)
            key->clear();
}

} // namespace tarvok
