#pragma once

#include "records/BuildRule.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace tarvok {

class IniText;
class StringTable;
class TextCodec;

// What the game's rules file (rulesmd.ini, rules.ini) and a map declare about unit and
// building types, read with the AI file's own INI reading (IniText).
namespace modrules {

enum TypeList { Infantry, Vehicles, Aircraft, Buildings, kTypeListCount };

// The sections that list the types, in the order of TypeList.
inline constexpr std::array<const char*, kTypeListCount> kListSections{
    "InfantryTypes", "VehicleTypes", "AircraftTypes", "BuildingTypes"};

// The keys of a type's own section that name it: the string table label of its in-game
// name, and its plain name. Empty when the section does not give them.
struct TypeNames {
    QByteArray uiName;
    QString name;
    bool operator==(const TypeNames&) const = default;
};

struct DeclaredTypes {
    std::array<QStringList, kTypeListCount> lists;
    QHash<QString, TypeNames> names; // of listed types with UIName or Name in their section
    // The countries, the sides, the highest tech level and who may build each listed type.
    buildrule::World world;
    bool operator==(const DeclaredTypes&) const = default;
};

// One file of a rules file, read as lines, with the codec of its texts.
struct RulesFile {
    const IniText* text = nullptr;
    const TextCodec* codec = nullptr;
};

// What the files of one rules file declare, read in their order (the rules file, then the
// files it includes, as includes::readingOrder gives them). A list ([VehicleTypes],
// [Countries], [Sides] and the others) is the values of its sections' keys, every section
// of that name in every file as one (see ListValues: a key given again keeps its first
// place and takes its later value, "+=ID" adds ID); an ID listed twice counts once, at its
// first place. Of a type's keys, and of [MultiplayerDialogSettings], the last one read
// counts.
DeclaredTypes readTypes(std::span<const RulesFile> files);
// The same for one file.
DeclaredTypes readTypes(const IniText& text, const TextCodec& codec);

// more's types after those of into (a map's own lists after the rules file's), each ID
// once per list; a name more's section gives replaces into's. Who may build a type comes
// from more only for a type into does not know.
void addTypes(DeclaredTypes& into, const DeclaredTypes& more);

// What a player sees a type called: the string tables' text of its UIName label, else the
// shipped unit name table's name of its ID (shippedNames: ID -> name), else its Name.
QString displayName(const QString& id, const TypeNames& names, const StringTable& tables,
                    const QHash<QString, QString>& shippedNames);

} // namespace modrules
} // namespace tarvok
