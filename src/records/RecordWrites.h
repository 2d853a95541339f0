#pragma once

#include "document/RulesDocument.h"

#include <QString>

#include <vector>

namespace tarvok {

// The file side of adding and deleting records: each is one rewrite of the rules file
// through the edits of Registry.h and TriggerList.h, which keep every line they do not
// change byte for byte. The registry counters follow what was written.

// What a delete did: whether the file held anything of the record, and how the write
// went. Nothing is written when the file holds nothing of it.
struct RecordRemoval {
    bool found = false;
    filestore::WriteResult write;
};

// "number=id" after the registry's last entry, and the section [id] with block after the
// registry section (see addRegistryEntry). An id that cannot be written (a line feed in
// it or in block) leaves the content as it was and fails with WriteFailed.
filestore::WriteResult addRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                                         const std::vector<QByteArray>& block);

// The registry lines of id (later lines renumbered) and the sections [id]. An empty id
// finds nothing.
RecordRemoval removeRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id);

// A new trigger line, keyed "ID=name", first in the first [AITriggerTypes] section; a
// file without that section is written unchanged.
filestore::WriteResult addTriggerRecord(RulesDocument& doc, const QString& key);

// Every trigger line the list shows as key ("ID=name") in the [AITriggerTypes] sections.
// An empty ID finds nothing.
RecordRemoval removeTriggerRecord(RulesDocument& doc, const QString& key);

// Is id already the name of a section or an entry of one of the three registries (see
// RecordIds.h)? Nothing is in use while no file is open.
bool recordIdInUse(const RulesDocument& doc, const QString& id);

} // namespace tarvok
