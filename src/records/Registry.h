#pragma once

#include "document/IniText.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace tarvok {

// Registry sections: [TeamTypes], [TaskForces] and [ScriptTypes] list their records as
// "number=ID" key lines, read in file order; comments, blank lines and lines without '='
// may stand between them. The editor numbers from 0, but a registry may start at 1 or
// have gaps. Both edits below work on the file's lines read as the game reads them
// (IniText): every line they do not change comes back byte for byte with its line end,
// and a new line ends like the line above it.

struct RegistryAddition {
    QByteArray content;
    long long number = 0; // the number of the new registry line
};

// Adds the record id with its section: the registry line "number=id" directly after the
// registry's last key line (directly after its header while it has none), indented like
// that line; and the section, an empty line, "[id]" and block, directly before the
// header of the section after the registry, or at the end of the content. When a blank
// line already stands before that header (or ends the content), it stays above the new
// section and the empty line goes below it instead, keeping the section apart from the
// header that follows: for a registry written as the editor writes them, entries, a
// blank line, the next header, the result is entries, the new line, a blank line, the
// section, a blank line, the next header. The number is count, unless count is a key of
// the registry already, then one more than the largest numeric key. Without a registry
// section the content gets "[registry]" with the new line, then the section, at its end.
// Nothing when id or a block line holds a line feed.
std::optional<RegistryAddition> addRegistryEntry(QByteArrayView content, QByteArrayView registry,
                                                 QByteArrayView id, long long count,
                                                 const std::vector<QByteArray>& block);

// Where a record's section ends for the editor: its last key line (its header when it has
// none). The comments and blank lines after that usually introduce the next section.
qsizetype lastKeyLine(const IniText& text, const IniText::Section& section);

// The edits of addRegistryEntry, on a content already read as lines; the number of the
// registry line.
long long addRegistryEdits(const IniText& text, QByteArrayView registry, QByteArrayView id,
                           long long count, const std::vector<QByteArray>& block, IniEdits& edits);

// The registry lines alone of new entries ids, in order, placed and indented as
// addRegistryEntry places one, and numbered as that many adds in a row number theirs: the
// k-th gets count + k, unless the registry or an earlier new line has that number already,
// then one more than the largest number so far. The numbers given, in order.
std::vector<long long> addRegistryLines(const IniText& text, QByteArrayView registry,
                                        const std::vector<QByteArray>& ids, long long count,
                                        IniEdits& edits);

struct RegistryRemoval {
    QByteArray content;
    int entriesRemoved = 0;  // registry lines of the id dropped: the counter falls by as many
    int sectionsRemoved = 0; // sections [id] removed
    bool found() const { return entriesRemoved > 0 || sectionsRemoved > 0; }
};

// Removes the record id: every key line of the registry sections whose value is id, and
// every section [id] from its header to its last key line (the comments and blank lines
// after that stay: they usually introduce the next section). After a dropped line
// numbered k, the lines carrying k+1, k+2, ... in turn are renumbered one lower; the
// first line off that sequence and every line after it keep their numbers, so a
// registry numbered 0, 1, 2, ... stays so and no two lines come to share a number.
// Renumbering replaces the key alone: indentation, spacing, value and comment stay. An
// empty id finds nothing.
RegistryRemoval removeRegistryEntry(QByteArrayView content, QByteArrayView registry,
                                    QByteArrayView id);

} // namespace tarvok
