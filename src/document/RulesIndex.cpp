#include "document/RulesIndex.h"

namespace tarvok {

RulesIndex::RulesIndex(QByteArray bytes)
    : bytes_(std::move(bytes)), codec_(detectEncoding(bytes_)), text_(bytes_),
      scan_(scanRules(text_)) {
    nameLine_.reserve(text_.sections().size());
    for (const IniText::Section& section : text_.sections())
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Name")
                nameLine_[stdView(section.name)] = i;
}

QByteArrayView RulesIndex::name(QByteArrayView section) const {
    const auto it = nameLine_.find(stdView(section));
    return it == nameLine_.end() ? QByteArrayView() : text_.value(it->second);
}

} // namespace tarvok
