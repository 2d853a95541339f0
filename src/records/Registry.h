#pragma once

#include "document/Rewrite.h"

#include <QByteArray>

#include <vector>

namespace tarvok {

// Registry sections: [TeamTypes], [TaskForces] and [ScriptTypes] list their records as
// "number=ID" lines directly after the header, numbered from 0 in file order.

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

// Drops the registry line of id, renumbers the count - k - 1 registry lines after it
// (k being the dropped line's number) one lower, and removes the section [id] with its
// key lines wherever it stands; the counter falls by one for each registry line dropped.
// An empty id changes nothing.
RewriteRule DeleteRegistryEntry(QByteArray registry, QByteArray id, int count,
                                RegistryDeletion* result);

} // namespace tarvok
