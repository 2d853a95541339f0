#include "records/RecordIds.h"

#include "document/Lines.h"

namespace tarvok {

bool recordIdInUse(QByteArrayView content, QByteArrayView id) {
    LineCursor in(content);
    bool inRegistry = false; // within the run of entries after a registry header
    while (!in.atEnd()) {
        const QByteArrayView line = in.next();
        if (inRegistry && lines::hasEquals(line)) {
            if (lines::trimBlanks(lines::after(line, '=')) == id)
                return true;
            continue;
        }
        // Any other line ends a run, and may be a header itself.
        const QByteArrayView t = lines::trimBlanks(line);
        if (t.size() == id.size() + 2 && t.front() == '[' && t.back() == ']' &&
            t.sliced(1, id.size()) == id)
            return true;
        inRegistry = lines::isHeader(line, "TeamTypes") || lines::isHeader(line, "TaskForces") ||
                     lines::isHeader(line, "ScriptTypes");
    }
    return false;
}

} // namespace tarvok
