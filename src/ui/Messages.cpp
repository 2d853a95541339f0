#include "ui/Messages.h"

namespace tarvok::messages {

QString writeFailure(const filestore::WriteResult& result) {
    QString reason;
    switch (result.result) {
    case filestore::Result::ReadOnlyFile:
        reason = QStringLiteral("文件为只读");
        break;
    case filestore::Result::ReadOnlyFolder:
        reason = QStringLiteral("文件夹为只读");
        break;
    case filestore::Result::DiskFull:
        reason = QStringLiteral("磁盘空间不足");
        break;
    case filestore::Result::BackupFailed:
        reason = QStringLiteral("无法创建备份文件 File.ini");
        break;
    case filestore::Result::ReadFailed:
        reason = result.systemError.isEmpty() ? QStringLiteral("文件已不存在") : result.systemError;
        break;
    case filestore::Result::Ok:
    case filestore::Result::WriteFailed:
        reason = result.systemError;
        break;
    }
    return kWriteFailed + QStringLiteral("\n原因：") + reason;
}

} // namespace tarvok::messages
