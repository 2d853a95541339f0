#include "records/RecordIds.h"

#include "document/IniText.h"

namespace tarvok {

bool recordIdInUse(QByteArrayView content, QByteArrayView id) {
    const IniText text(content);
    for (const IniText::Section& s : text.sections()) {
        if (s.name == id)
            return true;
        if (s.name != QByteArrayView("TeamTypes") && s.name != QByteArrayView("TaskForces") &&
            s.name != QByteArrayView("ScriptTypes"))
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && text.value(i) == id)
                return true;
    }
    return false;
}

} // namespace tarvok
