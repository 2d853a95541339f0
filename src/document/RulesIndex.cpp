#include "document/RulesIndex.h"

namespace tarvok {
RulesIndex::RulesIndex(QByteArray bytes)
    : bytes_(std::move(bytes)), codec_(detectEncoding(bytes_)), text_(bytes_), scan_(scanRules(text_)) {
    nameLine_.reserve(static_cast<qsizetype>(text_.sections().size()));
    for (const IniText::Section& section : text_.sections())
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Name")
                nameLine_.insert(section.name, i);
}

QByteArrayView RulesIndex::name(QByteArrayView section) const {
    const auto it = nameLine_.constFind(section);
    return it == nameLine_.cend() ? QByteArrayView() : text_.value(*it);
}

} // namespace tarvok
