#pragma once

#include <QByteArrayView>

#include <vector>

namespace tarvok {

// What one pass over a rules file finds: the four registry lists in file order, as
// views into the scanned content, and the number of entries of each registry run.
struct RulesScan {
    std::vector<QByteArrayView> triggerKeys; // [AITriggerTypes]: text before the first ','
    std::vector<QByteArrayView> teamTypes;   // [TeamTypes]: text after the first '='
    std::vector<QByteArrayView> taskForces;  // [TaskForces]
    std::vector<QByteArrayView> scriptTypes; // [ScriptTypes]
};

// The opening scan. Each pass reads one line and applies four tests to it in a fixed
// order ([TaskForces], [AITriggerTypes], [ScriptTypes], [TeamTypes]); a test that
// reads a run leaves the line that ended it for the tests after it only. So
// "[AITriggerTypes]" right after the [TaskForces] run is found, while "[TaskForces]"
// right after the [TeamTypes] run is not.
RulesScan scanRules(QByteArrayView content);

} // namespace tarvok
