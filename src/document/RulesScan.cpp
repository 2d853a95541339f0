#include "document/RulesScan.h"

#include "document/IniText.h"

namespace tarvok {

RulesScan scanRules(const IniText& text) {
    RulesScan scan;
    // Trigger entries written anew: their index in triggerKeys and place in the buffer.
    struct Owned {
        size_t entry;
        qsizetype offset;
        qsizetype length;
    };
    std::vector<Owned> owned;
    QByteArray buffer;

    for (const IniText::Section& section : text.sections()) {
        std::vector<QByteArrayView>* registry = nullptr;
        const bool triggers = section.name == QByteArrayView("AITriggerTypes");
        if (section.name == QByteArrayView("TeamTypes"))
            registry = &scan.teamTypes;
        else if (section.name == QByteArrayView("TaskForces"))
            registry = &scan.taskForces;
        else if (section.name == QByteArrayView("ScriptTypes"))
            registry = &scan.scriptTypes;
        if (!registry && !triggers)
            continue;

        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i) {
            if (text.kind(i) == IniText::Kind::Other) {
                scan.skippedLines.push_back(i + 1);
                continue;
            }
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            const QByteArrayView value = text.value(i);
            if (registry) {
                registry->push_back(value);
                continue;
            }
            const QByteArrayView key = text.key(i);
            const qsizetype comma = value.indexOf(',');
            QByteArrayView name = comma < 0 ? value : value.first(comma);
            while (!name.isEmpty() && (name.back() == ' ' || name.back() == '\t'))
                name.chop(1);
            // The line reads "ID=name" as it stands unless blanks surround the '='.
            if (key.end() + 1 == name.begin()) {
                scan.triggerKeys.push_back(QByteArrayView(key.begin(), name.end() - key.begin()));
            } else {
                owned.push_back(
                    {scan.triggerKeys.size(), buffer.size(), key.size() + 1 + name.size()});
                buffer.append(key).append('=').append(name);
                scan.triggerKeys.emplace_back();
            }
        }
    }

    if (!owned.empty()) {
        scan.ownedBytes = std::make_shared<const QByteArray>(std::move(buffer));
        for (const Owned& o : owned)
            scan.triggerKeys[o.entry] =
                QByteArrayView(scan.ownedBytes->constData() + o.offset, o.length);
    }
    return scan;
}

RulesScan scanRules(QByteArrayView content) {
    return scanRules(IniText(content));
}

bool holdsAiSections(QByteArrayView content) {
    for (const char* name : {"AITriggerTypes", "TeamTypes", "TaskForces", "ScriptTypes"}) {
        const IniText::Range span = sectionSpan(content, name);
        if (span.length > 0)
            return true;
    }
    return false;
}

} // namespace tarvok
