#include "records/TriggerList.h"

#include "document/FileSet.h"
#include "document/IniText.h"
#include "records/TriggerLine.h"

#include <algorithm>

namespace tarvok {
namespace {

const QByteArrayView kTriggers("AITriggerTypes");

// The name the list shows for a trigger line's value: its first field, trimmed.
QByteArrayView triggerName(QByteArrayView value) {
    const qsizetype comma = value.indexOf(',');
    QByteArrayView name = comma < 0 ? value : value.first(comma);
    while (!name.isEmpty() && (name.back() == ' ' || name.back() == '\t'))
        name.chop(1);
    return name;
}

} // namespace

void addTriggerLine(const IniText& text, QByteArray line, IniEdits& edits) {
    const std::vector<IniText::Section> sections = text.sections(kTriggers);
    if (!sections.empty()) {
        // At the top of the first section of the file read last that has one: of a mod's
        // files, the one whose triggers the game reads last.
        const fileset::Origins origins(text);
        const int part = origins.place(sections.back().header).part;
        const auto first = std::find_if(sections.begin(), sections.end(), [&](const auto& s) {
            return origins.place(s.header).part == part;
        });
        edits.insertAfter(first->header, std::move(line));
        return;
    }
    // A file without the section (a map, a mod whose triggers live elsewhere) gets it at
    // its end, a blank line above it, each new line ending as the file's lines do. Of the
    // files of a mod, the one opened gets it.
    const qsizetype last = fileset::firstFileLast(text);
    if (last >= 0 && text.kind(last) != IniText::Kind::Blank)
        edits.insertAfter(last, {});
    edits.insertAfter(last, '[' + kTriggers.toByteArray() + ']');
    edits.insertAfter(last, std::move(line));
}

std::optional<QByteArray> addTriggerEntry(QByteArrayView content, QByteArrayView key) {
    const IniText text(content);
    IniEdits edits;
    addTriggerLine(text, trigger::newTriggerLine(key), edits);
    return applyEdits(text, edits);
}

TriggerRemoval removeTriggerEntry(QByteArrayView content, QByteArrayView entry) {
    const qsizetype eq = entry.indexOf('=');
    if (eq <= 0)
        return {content.toByteArray()};
    const QByteArrayView id = entry.first(eq);
    const QByteArrayView name = entry.sliced(eq + 1);

    const IniText text(content);
    IniEdits edits;
    TriggerRemoval removal;
    for (const IniText::Section& s : text.sections(kTriggers))
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && text.key(i) == id &&
                triggerName(text.value(i)) == name) {
                edits.deleteLine(i);
                ++removal.linesRemoved;
            }
    // Each line is deleted once: the edits always apply.
    std::optional<QByteArray> out = removal.linesRemoved ? applyEdits(text, edits) : std::nullopt;
    if (!out)
        return {content.toByteArray()};
    removal.content = std::move(*out);
    return removal;
}

} // namespace tarvok
