#pragma once

#include "records/ScriptSection.h"

namespace tarvok {

// A task force section: [id], the Name line, the entries "number=count,unit" and the
// closing "Group=-1". Real files also hold entries after the Group line; every key line
// of the body except the Group line is an entry, in file order, and the save writes them
// all before its closing "Group=-1", so no unit is ever lost.
std::optional<SectionRecord> readTaskForceSection(QByteArrayView content, QByteArrayView id,
                                                  const TextCodec& codec);
std::vector<QByteArray> taskForceBlock(const SectionRecord& record, const TextCodec& codec);

// True for the body line that closes a task force: its key, trimmed of spaces, is Group.
bool isGroupLine(QByteArrayView line);

} // namespace tarvok
