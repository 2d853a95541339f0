#include "document/RulesIndex.h"

namespace tarvok {
namespace {

// Qt's hash of byte arrays is several times slower than the standard library's here.
std::string_view view(QByteArrayView v) { return {v.data(), static_cast<size_t>(v.size())}; }

} // namespace
RulesIndex::RulesIndex(QByteArray bytes)
    : bytes_(std::move(bytes)), codec_(detectEncoding(bytes_)), text_(bytes_), scan_(scanRules(text_)) {
    nameLine_.reserve(text_.sections().size());
    for (const IniText::Section& section : text_.sections())
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Name")
                nameLine_[view(section.name)] = i;
}

QByteArrayView RulesIndex::name(QByteArrayView section) const {
    const auto it = nameLine_.find(view(section));
    return it == nameLine_.end() ? QByteArrayView() : text_.value(it->second);
}

} // namespace tarvok
