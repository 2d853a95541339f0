#pragma once

#include "document/Rewrite.h"

#include <QByteArray>

#include <vector>

namespace tarvok {

// Registry sections: [TeamTypes], [TaskForces] and [ScriptTypes] list their records as
// "number=ID" lines directly after the header, in file order. The editor numbers from 0,
// but a registry may start at 1 or have gaps.

struct RegistryAddition {
    int headersFound = 0;       // registry headers met (the entry is added at each)
    long long lastNumber = -1;  // the number written into the last registry line
    int count = 0;              // the counter after the addition
};

// At every header of the registry, after its run of key lines: the registry line
// "count=id", an empty line, "[id]" and the block, then the line that ended the run.
// The counter rises by one for each header. A number that is already a key of the run
// (a registry numbered from 1, or with gaps) is replaced by one more than the largest.
RewriteRule AddRegistryEntry(QByteArray registry, QByteArray id, int count,
                             std::vector<QByteArray> block, RegistryAddition* result);

struct RegistryDeletion {
    int entriesRemoved = 0; // registry lines of the ID that were dropped
    int count = 0;          // the counter after the deletion
};

// Drops the registry lines of id and removes the section [id] with its key lines
// wherever it stands; the counter falls by one for each registry line dropped. The lines
// after a dropped line numbered k are renumbered one lower while they carry k+1, k+2, ...
// in turn; the first line that breaks the sequence and every line after it keep their
// numbers. A run numbered 0, 1, 2, ... thus stays so, and no two lines share a number
// that did not before. An empty id changes nothing.
RewriteRule DeleteRegistryEntry(QByteArray registry, QByteArray id, int count,
                                RegistryDeletion* result);

} // namespace tarvok
