#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <vector>

namespace tarvok {

class IniText;

// What one pass over a rules file finds: the four registry lists in file order, and the
// lines of those sections that the game ignores. The entries are views into the scanned
// content, except trigger entries written anew (see triggerKeys), which view ownedBytes:
// they stay valid as long as the content and this scan (or a copy of it) live.
struct RulesScan {
    // [AITriggerTypes]: "ID=name" for every key line, ID its key and name the first
    // comma field of its value, trimmed (the whole value when it has no comma).
    std::vector<QByteArrayView> triggerKeys;
    std::vector<QByteArrayView> teamTypes;   // [TeamTypes]: the value of every key line
    std::vector<QByteArrayView> taskForces;  // [TaskForces]
    std::vector<QByteArrayView> scriptTypes; // [ScriptTypes]
    // Line numbers (from 1, ascending) of the lines in those four sections that are not
    // blank, not a comment and have no '=', which the game skips.
    std::vector<qsizetype> skippedLines;
    // The bytes of the trigger entries whose line does not read "ID=name" as it stands.
    std::shared_ptr<const QByteArray> ownedBytes;
};

// The opening scan: every section of the four names, in file order, read as the game
// reads it (see IniText). A section named twice is read twice.
RulesScan scanRules(const IniText& text);
RulesScan scanRules(QByteArrayView content);

// True when content, read as the game reads it, holds one of the four sections: an AI
// file, whatever its name (a mod's own, or a map).
bool holdsAiSections(QByteArrayView content);

} // namespace tarvok
