#include "catalogues/ProgramFiles.h"

#include "document/FileStore.h"
#include "document/TextEncoding.h"

namespace tarvok {

bool ProgramFiles::has(const QString& name) const {
    return filestore::exists(path(name));
}

std::optional<QStringList> ProgramFiles::lines(const QString& name) const {
    const QString file = path(name);
    if (!filestore::exists(file))
        return std::nullopt;
    const std::optional<QByteArray> bytes = filestore::read(file);
    return bytes ? decodeLines(*bytes) : QStringList();
}

} // namespace tarvok
