#include "catalogues/ModRules.h"

#include "catalogues/StringTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QSet>

#include <cstring>
#include <optional>
#include <vector>

namespace tarvok::modrules {
namespace {

// A value of one of the files, with the codec of that file's texts.
struct Value {
    QByteArrayView bytes;
    const TextCodec* codec = nullptr;
    QString text() const { return codec->decode(bytes); }
};

// The keys of a type's section that the editor reads, and their names.
enum TypeKey { UIName, Name, TechLevel, Owner, RequiredHouses, ForbiddenHouses, kTypeKeyCount };
constexpr std::array<QByteArrayView, kTypeKeyCount> kTypeKeys{
    "UIName", "Name", "TechLevel", "Owner", "RequiredHouses", "ForbiddenHouses"};
using TypeKeys = std::array<std::optional<Value>, kTypeKeyCount>;

// Which of them key is; kTypeKeyCount for none. Their lengths differ: most keys of a type's
// section are told apart by their length alone.
int typeKey(QByteArrayView key) {
    for (int k = 0; k < kTypeKeyCount; ++k)
        if (key.size() == kTypeKeys[k].size() &&
            std::memcmp(key.data(), kTypeKeys[k].data(), static_cast<size_t>(key.size())) == 0)
            return k;
    return kTypeKeyCount;
}

std::optional<QString> textOf(const std::optional<Value>& value) {
    return value ? std::optional(value->text()) : std::nullopt;
}

} // namespace

DeclaredTypes readTypes(std::span<const RulesFile> files) {
    DeclaredTypes out;
    // The game keeps one value per key: a key given again takes the new value in place.
    std::array<ListValues<Value>, kTypeListCount> lists;
    ListValues<Value> countries;
    ListValues<Value> sides;
    std::optional<Value> maxTechLevel;
    for (const RulesFile& file : files) {
        const IniText& text = *file.text;
        for (const IniText::Section& s : text.sections()) {
            ListValues<Value>* list = s.name == QByteArrayView("Countries") ? &countries
                                      : s.name == QByteArrayView("Sides")   ? &sides
                                                                            : nullptr;
            for (int l = 0; l < kTypeListCount && !list; ++l)
                if (s.name == QByteArrayView(kListSections[l]))
                    list = &lists[l];
            const bool settings = s.name == QByteArrayView("MultiplayerDialogSettings");
            if (!list && !settings)
                continue;
            for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
                if (text.kind(i) != IniText::Kind::Key)
                    continue;
                if (list)
                    list->read(text.key(i), {text.value(i), file.codec});
                else if (text.key(i) == "TechLevel")
                    maxTechLevel = Value{text.value(i), file.codec};
            }
        }
    }

    std::vector<Value> listed; // each type once, in list order
    ByName<TypeKeys> keys;     // of every listed type
    for (int l = 0; l < kTypeListCount; ++l) {
        ByName<bool> seen;
        for (const Value& id : lists[l].values()) {
            if (id.bytes.isEmpty() || !seen.emplace(stdView(id.bytes), true).second)
                continue;
            out.lists[l] << id.text();
            if (keys.try_emplace(stdView(id.bytes)).second)
                listed.push_back(id);
        }
    }
    for (const Value& country : countries.values())
        if (!country.bytes.isEmpty())
            out.world.countries << country.text();
    for (const Value& side : sides.values()) {
        QStringList members;
        for (const QString& country : side.text().split(QLatin1Char(',')))
            if (!country.trimmed().isEmpty())
                members << country.trimmed();
        out.world.sides << members;
    }
    if (maxTechLevel) {
        bool ok = false;
        const int n = maxTechLevel->text().trimmed().toInt(&ok);
        if (ok)
            out.world.maxTechLevel = n;
    }
    if (listed.empty())
        return out; // an AI file: no type of its own, and no section to look through

    // The keys of each listed type's sections; of a key given again the last one counts.
    for (const RulesFile& file : files) {
        const IniText& text = *file.text;
        for (const IniText::Section& s : text.sections()) {
            const auto type = keys.find(stdView(s.name));
            if (type == keys.end())
                continue;
            for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
                if (text.kind(i) != IniText::Kind::Key)
                    continue;
                if (const int k = typeKey(text.key(i)); k < kTypeKeyCount)
                    type->second[k] = Value{text.value(i), file.codec};
            }
        }
    }
    out.names.reserve(static_cast<qsizetype>(listed.size()));
    out.world.types.reserve(listed.size());
    for (const Value& id : listed) {
        const TypeKeys& given = keys.at(stdView(id.bytes));
        const QString name = id.text();
        TypeNames names;
        if (given[UIName])
            names.uiName = given[UIName]->bytes.toByteArray();
        if (given[Name])
            names.name = given[Name]->text();
        if (!names.uiName.isEmpty() || !names.name.isEmpty())
            out.names.insert(name, names);
        out.world.types.emplace(name,
                                buildrule::TypeRule{textOf(given[TechLevel]), textOf(given[Owner]),
                                                    textOf(given[RequiredHouses]),
                                                    textOf(given[ForbiddenHouses])});
    }
    return out;
}

DeclaredTypes readTypes(const IniText& text, const TextCodec& codec) {
    const RulesFile file{&text, &codec};
    return readTypes(std::span(&file, 1));
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
    for (const auto& [id, rule] : more.world.types)
        into.world.types.try_emplace(id, rule);
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
