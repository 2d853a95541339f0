#include "catalogues/ModRules.h"

#include "catalogues/StringTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/Forecast.h"

#include <QSet>

#include <algorithm>
#include <climits>
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
enum TypeKey {
    UIName,
    Name,
    TechLevel,
    Owner,
    RequiredHouses,
    ForbiddenHouses,
    Factory,
    Naval,
    kTypeKeyCount
};
constexpr std::array<QByteArrayView, kTypeKeyCount> kTypeKeys{
    "UIName",          "Name",    "TechLevel", "Owner", "RequiredHouses",
    "ForbiddenHouses", "Factory", "Naval"};

// The keys of [General] the computer's choice of teams reads.
constexpr std::array<QByteArrayView, 6> kGeneralKeys{
    "TotalAITeamCap",    "MinimumAIDefensiveTeams",     "MaximumAIDefensiveTeams",
    "UseMinDefenseRule", "AITriggerSuccessWeightDelta", "AITriggerFailureWeightDelta"};
using TypeKeys = std::array<std::optional<Value>, kTypeKeyCount>;

// Which of them key is; kTypeKeyCount for none. Their lengths differ: most keys of a type's
// section are told apart by their length alone.
int typeKey(QByteArrayView key) {
    for (int k = 0; k < kTypeKeyCount; ++k)
        if (key.size() == kTypeKeys[k].size() && forecast::sameName(key, kTypeKeys[k]))
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
    ListValues<Value> superWeapons;
    std::optional<Value> maxTechLevel;
    std::array<std::optional<Value>, kGeneralKeys.size()> general;
    for (const RulesFile& file : files) {
        const IniText& text = *file.text;
        for (const IniText::Section& s : text.sections()) {
            using forecast::sameName;
            ListValues<Value>* list = sameName(s.name, "Countries")          ? &countries
                                      : sameName(s.name, "Sides")            ? &sides
                                      : sameName(s.name, "SuperWeaponTypes") ? &superWeapons
                                                                             : nullptr;
            for (int l = 0; l < kTypeListCount && !list; ++l)
                if (sameName(s.name, kListSections[l]))
                    list = &lists[l];
            const bool settings = sameName(s.name, "MultiplayerDialogSettings");
            const bool generalKeys = sameName(s.name, "General");
            if (!list && !settings && !generalKeys)
                continue;
            for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
                if (text.kind(i) != IniText::Kind::Key)
                    continue;
                if (list)
                    list->read(text.key(i), {text.value(i), file.codec});
                else if (settings && sameName(text.key(i), "TechLevel"))
                    maxTechLevel = Value{text.value(i), file.codec};
                else if (generalKeys)
                    for (size_t k = 0; k < kGeneralKeys.size(); ++k)
                        if (sameName(text.key(i), kGeneralKeys[k]))
                            general[k] = Value{text.value(i), file.codec};
            }
        }
    }

    std::vector<Value> listed;  // each type once, in list order
    ByName<TypeKeys> keys;      // of every listed type
    std::vector<int> firstList; // of each listed type
    for (int l = 0; l < kTypeListCount; ++l) {
        ByName<bool> seen;
        for (const Value& id : lists[l].values()) {
            if (id.bytes.isEmpty() || !seen.emplace(stdView(id.bytes), true).second)
                continue;
            out.lists[l] << id.text();
            if (keys.try_emplace(stdView(id.bytes)).second) {
                listed.push_back(id);
                firstList.push_back(l);
            }
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
    if (maxTechLevel)
        if (const std::optional<long long> n = forecast::number(maxTechLevel->text()))
            out.world.maxTechLevel = static_cast<int>(std::clamp<long long>(*n, INT_MIN, INT_MAX));
    for (size_t k = 0; k < kGeneralKeys.size(); ++k)
        if (general[k])
            out.world.general.insert(QString::fromLatin1(kGeneralKeys[k]), general[k]->text());
    std::vector<Value> weapons; // their sections are read for their names only
    for (const Value& id : superWeapons.values())
        if (!id.bytes.isEmpty()) {
            out.world.superWeapons << id.text();
            if (keys.try_emplace(stdView(id.bytes)).second)
                weapons.push_back(id);
        }
    if (listed.empty() && weapons.empty())
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
    const auto nameOf = [&out](const QString& name, const TypeKeys& given) {
        TypeNames names;
        if (given[UIName])
            names.uiName = given[UIName]->bytes.toByteArray();
        if (given[Name])
            names.name = given[Name]->text();
        if (!names.uiName.isEmpty() || !names.name.isEmpty())
            out.names.insert(name, names);
    };
    for (size_t t = 0; t < listed.size(); ++t) {
        const Value& id = listed[t];
        const TypeKeys& given = keys.at(stdView(id.bytes));
        const QString name = id.text();
        nameOf(name, given);
        out.world.types.emplace(
            name, buildrule::TypeRule{textOf(given[TechLevel]), textOf(given[Owner]),
                                      textOf(given[RequiredHouses]), textOf(given[ForbiddenHouses]),
                                      textOf(given[Factory]), textOf(given[Naval]), firstList[t]});
    }
    for (const Value& id : weapons)
        nameOf(id.text(), keys.at(stdView(id.bytes)));
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
