#include "document/RulesIndex.h"

#include "document/Pool.h"

namespace tarvok {

RulesIndex::RulesIndex(QByteArray bytes)
    : bytes_(std::move(bytes)), text_(IniText::readShared(bytes_)) {
    // The look-ups are made by a task of the pool while this thread scans the lists and
    // tells the encoding.
    pool::Task<LookUps> lookUps = pool::run([this] { return buildLookUps(text_); });
    scan_ = scanRules(text_);
    codec_ = TextCodec(detectEncoding(bytes_));
    lookUps_ = lookUps.take();
}

RulesIndex::LookUps RulesIndex::buildLookUps(const IniText& text) {
    LookUps made;
    const std::vector<IniText::Section>& all = text.sections();
    made.sections.build(all.size(), [&all](size_t i) { return all[i].name; });
    for (const IniText::Section& section : all) {
        if (section.name != QByteArrayView("AITriggerTypes"))
            continue;
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key)
                made.triggerLines.push_back(i);
    }
    made.triggersById.build(made.triggerLines.size(),
                            [&](size_t i) { return text.key(made.triggerLines[i]); });
    made.origins = fileset::Origins(text);
    return made;
}

std::vector<IniText::Section> RulesIndex::sections(QByteArrayView name) const {
    std::vector<IniText::Section> out;
    lookUps_.sections.forEach(name, [&](size_t i) { out.push_back(text_.sections()[i]); });
    return out;
}

std::vector<qsizetype> RulesIndex::triggerLines(QByteArrayView id) const {
    std::vector<qsizetype> out;
    lookUps_.triggersById.forEach(id, [&](size_t i) { out.push_back(lookUps_.triggerLines[i]); });
    return out;
}

QByteArrayView RulesIndex::name(QByteArrayView section) const {
    QByteArrayView found;
    lookUps_.sections.forEach(section, [&](size_t s) {
        const IniText::Section& sec = text_.sections()[s];
        for (qsizetype i = sec.bodyBegin; i < sec.bodyEnd; ++i)
            if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Name")
                found = text_.value(i);
    });
    return found;
}

void letGo(std::shared_ptr<const RulesIndex>& index) {
    pool::giveBack(std::move(index));
    index.reset();
}

} // namespace tarvok
