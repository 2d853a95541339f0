#include "document/RulesIndex.h"

#include <future>
#include <thread>

namespace tarvok {

RulesIndex::RulesIndex(QByteArray bytes)
    : bytes_(std::move(bytes)), text_(IniText::readShared(bytes_)) {
    // The look-ups are made on a second core while this one scans the lists and tells the
    // encoding.
    std::future<void> lookUps = std::async(std::launch::async, [this] { buildLookUps(); });
    scan_ = scanRules(text_);
    codec_ = TextCodec(detectEncoding(bytes_));
    lookUps.get();
}

void RulesIndex::buildLookUps() {
    const std::vector<IniText::Section>& all = text_.sections();
    sections_.build(all.size(), [&all](size_t i) { return all[i].name; });
    for (const IniText::Section& section : all) {
        if (section.name != QByteArrayView("AITriggerTypes"))
            continue;
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key)
                triggerLines_.push_back(i);
    }
    triggersById_.build(triggerLines_.size(),
                        [this](size_t i) { return text_.key(triggerLines_[i]); });
    origins_ = fileset::Origins(text_);
}

std::vector<IniText::Section> RulesIndex::sections(QByteArrayView name) const {
    std::vector<IniText::Section> out;
    sections_.forEach(name, [&](size_t i) { out.push_back(text_.sections()[i]); });
    return out;
}

std::vector<qsizetype> RulesIndex::triggerLines(QByteArrayView id) const {
    std::vector<qsizetype> out;
    triggersById_.forEach(id, [&](size_t i) { out.push_back(triggerLines_[i]); });
    return out;
}

QByteArrayView RulesIndex::name(QByteArrayView section) const {
    QByteArrayView found;
    sections_.forEach(section, [&](size_t s) {
        const IniText::Section& sec = text_.sections()[s];
        for (qsizetype i = sec.bodyBegin; i < sec.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Name")
                found = text_.value(i);
    });
    return found;
}

void letGo(std::shared_ptr<const RulesIndex>& index) {
    if (index.use_count() == 1)
        std::thread([last = std::move(index)] {}).detach();
    index.reset();
}

} // namespace tarvok
