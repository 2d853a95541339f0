#include "ui/Messages.h"

#include "document/RulesDocument.h"

#include <QDir>
#include <QFileInfo>

namespace tarvok::messages {

QString kindCaption(references::Kind kind) {
    switch (kind) {
    case references::Kind::Trigger:
        return QStringLiteral("触发");
    case references::Kind::TeamType:
        return QStringLiteral("作战小队");
    case references::Kind::TaskForce:
        return QStringLiteral("特遣小队");
    case references::Kind::Script:
        return QStringLiteral("脚本");
    }
    return {};
}

QString failureReason(const filestore::WriteResult& result) {
    switch (result.result) {
    case filestore::Result::ReadOnlyFile:
        return QStringLiteral("文件为只读");
    case filestore::Result::ReadOnlyFolder:
        return QStringLiteral("文件夹为只读");
    case filestore::Result::DiskFull:
        return QStringLiteral("磁盘空间不足");
    case filestore::Result::BackupFailed:
        return QStringLiteral("无法创建备份文件 File.ini");
    case filestore::Result::ReadFailed:
        return result.systemError.isEmpty() ? QStringLiteral("文件已不存在") : result.systemError;
    case filestore::Result::Busy:
        return QStringLiteral("文件正被其他程序修改");
    case filestore::Result::Locked: // with the lock's path, the way out when no window is
        return result.systemError.isEmpty()
                   ? QStringLiteral("该文件正在另一个窗口中编辑")
                   : QStringLiteral("该文件正在另一个窗口中编辑（锁文件：%1）")
                         .arg(result.systemError);
    case filestore::Result::TooLarge:
        return QStringLiteral("文件超过历史版本的容量上限（256 MB）");
    case filestore::Result::NoRoomForVersion:
        return kNoRoomForVersion;
    case filestore::Result::Unencodable:
        return kUnencodable;
    case filestore::Result::PartlyWritten:
        return QStringLiteral("%1 已含新内容").arg(result.systemError);
    case filestore::Result::Ok:
    case filestore::Result::WriteFailed:
        break;
    }
    return result.systemError;
}

QString writeFailure(const filestore::WriteResult& result) {
    if (result.result == filestore::Result::Busy)
        return kBusy;
    if (result.result == filestore::Result::NoRoomForVersion ||
        result.result == filestore::Result::Unencodable) // refused: said as it stands
        return failureReason(result);
    if (result.result == filestore::Result::PartlyWritten) // the one case a file did change
        return QStringLiteral(
                   "文件写入失败：%1 已含新内容，未能改回原内容。原内容保存在撤销版本中，"
                   "重新打开该文件即可恢复")
            .arg(result.systemError);
    return kWriteFailed + QStringLiteral("\n原因：") + failureReason(result);
}

QString versionNotKept(const filestore::WriteResult& why) {
    return QStringLiteral("未能保留撤销版本（原因：%1），本次修改无法撤销").arg(failureReason(why));
}

// What the user should know of a file just opened: lines the editor could not read, no
// record at all, other names of the file.
QString openingNotes(const RulesDocument::Opened& opened) {
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
    notes << opened.includeProblems;
    if (!opened.unfinished.isEmpty())
        notes << QStringLiteral("上次中断的修改未能复原：%1 仍含新内容，原内容保存在历史版本中，"
                                "下次打开时再试")
                     .arg(opened.unfinished.join(QStringLiteral("、")));
    if (!opened.includer.isEmpty())
        notes << QStringLiteral("此文件由 %1 包含；打开 %1 可一并编辑").arg(opened.includer);
    return notes.join(QStringLiteral("；"));
}

QString fileFrameText(const QStringList& files) {
    if (files.size() < 2)
        return files.value(0);
    const QDir folder = QFileInfo(files[0]).dir();
    QStringList names;
    for (qsizetype i = 1; i < files.size() && i <= 3; ++i)
        names << QDir::toNativeSeparators(folder.relativeFilePath(files[i]));
    return QStringLiteral("%1（另含 %2 个文件：%3%4）")
        .arg(files[0])
        .arg(files.size() - 1)
        .arg(names.join(QStringLiteral("、")), files.size() > 4 ? QStringLiteral(" …") : QString());
}

} // namespace tarvok::messages
