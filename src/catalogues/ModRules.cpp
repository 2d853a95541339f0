#include "catalogues/ModRules.h"

#include "catalogues/StringTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QSet>

#include <vector>

namespace tarvok::modrules {

DeclaredTypes readTypes(const IniText& text, const TextCodec& codec) {
    DeclaredTypes out;
    std::array<std::vector<const IniText::Section*>, kTypeListCount> listSections;
    for (const IniText::Section& s : text.sections())
        for (int l = 0; l < kTypeListCount; ++l)
            if (s.name == QByteArrayView(kListSections[l]))
                listSections[l].push_back(&s);

    ByName<bool> listed;
    for (int l = 0; l < kTypeListCount; ++l) {
        // The game keeps one value per key: a key given again takes the new value in place.
        ByName<size_t> places;
        std::vector<QByteArrayView> values;
        for (const IniText::Section* s : listSections[l])
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text.kind(i) != IniText::Kind::Key)
                    continue;
                const auto [it, added] = places.emplace(stdView(text.key(i)), values.size());
                if (added)
                    values.push_back(text.value(i));
                else
                    values[it->second] = text.value(i);
            }
        ByName<bool> seen;
        for (const QByteArrayView id : values) {
            if (!id.isEmpty() && seen.emplace(stdView(id), true).second) {
                out.lists[l] << codec.decode(id);
                listed.emplace(stdView(id), true);
            }
        }
    }
    if (listed.empty())
        return out; // an AI file: no type of its own, and no section to look through

    // The UIName and Name lines of each listed type's sections; -1 where there is none.
    ByName<std::pair<qsizetype, qsizetype>> keyLines;
    for (const IniText::Section& s : text.sections()) {
        if (!listed.count(stdView(s.name)))
            continue;
        auto& [uiName, name] = keyLines.try_emplace(stdView(s.name), -1, -1).first->second;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            if (text.key(i) == "UIName")
                uiName = i;
            else if (text.key(i) == "Name")
                name = i;
        }
    }
    for (const auto& [id, lines] : keyLines) {
        TypeNames names;
        if (lines.first >= 0)
            names.uiName = text.value(lines.first).toByteArray();
        if (lines.second >= 0)
            names.name = codec.decode(text.value(lines.second));
        if (!names.uiName.isEmpty() || !names.name.isEmpty())
            out.names.insert(codec.decode(QByteArrayView(id.data(), id.size())), names);
    }
    return out;
}

void addTypes(DeclaredTypes& into, const DeclaredTypes& more) {
    for (int l = 0; l < kTypeListCount; ++l) {
        QSet<QString> known(into.lists[l].cbegin(), into.lists[l].cend());
        for (const QString& id : more.lists[l])
            if (!known.contains(id)) {
                known.insert(id);
                into.lists[l] << id;
            }
    }
    for (auto it = more.names.cbegin(); it != more.names.cend(); ++it) {
        TypeNames& names = into.names[it.key()];
        if (!it->uiName.isEmpty())
            names.uiName = it->uiName;
        if (!it->name.isEmpty())
            names.name = it->name;
    }
}

QString displayName(const QString& id, const TypeNames& names, const StringTable& tables,
                    const QHash<QString, QString>& shippedNames) {
    if (!names.uiName.isEmpty())
        if (const QString* text = tables.text(names.uiName); text && !text->isEmpty())
            return *text;
    if (const auto it = shippedNames.constFind(id); it != shippedNames.cend() && !it->isEmpty())
        return *it;
    return names.name;
}

} // namespace tarvok::modrules
