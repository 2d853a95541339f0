#include "records/TaskForceSection.h"

#include "document/Lines.h"

namespace tarvok {

bool isGroupLine(QByteArrayView line) {
    return lines::hasEquals(line) && lines::trimSpaces(lines::before(line, '=')) == "Group";
}

std::optional<SectionRecord> readTaskForceSection(QByteArrayView content, QByteArrayView id,
                                                  const TextCodec& codec) {
    return readNumberedSection(content, id, codec, SectionKind::TaskForce);
}

std::vector<QByteArray> taskForceBlock(const SectionRecord& record, const TextCodec& codec) {
    std::vector<QByteArray> block = scriptBlock(record, codec);
    block.push_back("Group=-1");
    return block;
}

} // namespace tarvok
