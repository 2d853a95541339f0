#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace tarvok::buildrule {

// What a type's section in the game's rules file says about who may build it. A key the
// rules file does not give is absent.
struct TypeRule {
    std::optional<QString> techLevel;
    std::optional<QString> owner, requiredHouses, forbiddenHouses; // comma-separated
    std::optional<QString> factory, naval; // the kind a building makes; whether it floats
    int list = 0; // the first of the four type lists that holds it (modrules::TypeList)
    bool operator==(const TypeRule&) const = default;
};

// A text's hash by the standard library, which on machines without fast AES instructions is
// several times cheaper than Qt's: for the maps of every type a large mod has.
struct TextHash {
    size_t operator()(const QString& text) const noexcept {
        return std::hash<std::u16string_view>{}(
            {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())});
    }
};

// What the game's rules file says about countries and who builds what.
struct World {
    QStringList countries;    // the values of [Countries], in order
    QList<QStringList> sides; // the countries of each key of [Sides], in order
    int maxTechLevel = 10;    // TechLevel of [MultiplayerDialogSettings]
    // The keys of [General] the computer's choice of teams reads, by name as written here
    // (TotalAITeamCap, UseMinDefenseRule, ...), as the last one read gives them.
    QHash<QString, QString> general;
    QStringList superWeapons; // the values of [SuperWeaponTypes], in order
    std::unordered_map<QString, TypeRule, TextHash> types; // of every type the lists name
    bool operator==(const World&) const = default;
};

// The countries an AI trigger may belong to, and what a message calls them.
struct Countries {
    QStringList list;
    QString who; // the country, "阵营 N 的国家" or "所有国家"
};

// From the trigger's house field and side field: the house when it is not "<all>"; else
// the countries of the side's key of [Sides] when the side is a number from 1 to their
// count; else every country.
Countries countriesOf(const World& world, const QString& house, const QString& side);

// The side field as a number; nothing when it is not a plain decimal number.
std::optional<int> sideNumber(const QString& side);

// Why country cannot build a type by its rule, the first reason that holds; empty when it
// can. Countries are compared without regard to letter case; a TechLevel of -2 or below
// is not judged.
QString refusal(const TypeRule& rule, const QString& country, int maxTechLevel);

// Whether list (comma-separated) names country, without regard to letter case.
bool names(const QString& list, const QString& country);

} // namespace tarvok::buildrule
