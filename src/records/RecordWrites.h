#pragma once

#include "document/RulesDocument.h"

#include <QString>

#include <vector>

namespace tarvok {

// The file side of adding and deleting records: each is one rewrite of the rules file,
// and its result says why it failed. The registry counters follow what was written.

// "number=id" at the end of the registry run, and the section [id] with block after it.
filestore::WriteResult addRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                                         const std::vector<QByteArray>& block);

// The registry line of id (later lines renumbered) and the section [id]. An empty id
// writes nothing and counts as done.
filestore::WriteResult removeRegistryRecord(RulesDocument& doc, RegistryKind kind,
                                            const QString& id);

// A new trigger line, keyed "ID=name", first in [AITriggerTypes].
filestore::WriteResult addTriggerRecord(RulesDocument& doc, const QString& key);

// Every trigger line keyed key.
filestore::WriteResult removeTriggerRecord(RulesDocument& doc, const QString& key);

} // namespace tarvok
