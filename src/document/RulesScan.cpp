#include "document/RulesScan.h"

#include "document/Lines.h"

namespace tarvok {
namespace {

// Reads the run of key lines after a registry header into out; returns the line that
// ended the run (empty at the end of the file).
QByteArrayView readRegistryRun(LineCursor& in, std::vector<QByteArrayView>& out) {
    while (!in.atEnd()) {
        const QByteArrayView line = in.next();
        if (!lines::hasEquals(line))
            return line;
        out.push_back(lines::after(line, '='));
    }
    return {};
}

} // namespace

RulesScan scanRules(QByteArrayView content) {
    RulesScan scan;
    LineCursor in(content);
    while (!in.atEnd()) {
        QByteArrayView buffer = in.next();
        if (lines::isHeader(buffer, "TaskForces"))
            buffer = readRegistryRun(in, scan.taskForces);
        if (lines::isHeader(buffer, "AITriggerTypes")) {
            buffer = {};
            while (!in.atEnd()) {
                const QByteArrayView line = in.next();
                if (!lines::hasComma(line)) {
                    buffer = line;
                    break;
                }
                scan.triggerKeys.push_back(lines::before(line, ','));
            }
        }
        if (lines::isHeader(buffer, "ScriptTypes"))
            buffer = readRegistryRun(in, scan.scriptTypes);
        if (lines::isHeader(buffer, "TeamTypes"))
            buffer = readRegistryRun(in, scan.teamTypes);
    }
    return scan;
}

} // namespace tarvok
