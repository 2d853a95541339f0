#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvok::teamtype {

// A team type is a section "[ID]" of key lines. The editor knows 31 keys; a new team
// type gets them in this order, with the default values below.

enum class KeyKind {
    Fixed, // always written with its default value, never read
    Flag,  // written yes or no
    Text,  // written as the control holds it
};

struct Key {
    std::string_view name;
    KeyKind kind;
    std::string_view defaultValue;
};

inline constexpr int kKeyCount = 31;

enum KeyIndex : int {
    Name,
    VeteranLevel,
    MindControlDecision,
    Loadable,
    Full,
    Annoyance,
    GuardSlower,
    House,
    Recruiter,
    Autocreate,
    Prebuild,
    Reinforce,
    Droppod,
    UseTransportOrigin,
    Whiner,
    LooseRecruit,
    Aggressive,
    Suicide,
    Priority,
    Max,
    TechLevel,
    Group,
    OnTransOnly,
    AvoidThreats,
    IonImmune,
    TransportsReturnOnUnload,
    AreTeamMembersRecruitable,
    IsBaseDefense,
    OnlyTargetHouseEnemy,
    Script,
    TaskForce,
};

extern const std::array<Key, kKeyCount> kKeys;

// The index of a key name (exact, case-sensitive), or -1.
int keyIndex(QByteArrayView name);

// What one key line sets: a text key's value (trimmed, raw bytes) or a flag's state.
// Fixed and unknown keys set nothing.
struct Assignment {
    int key = -1;
    QByteArray value; // text keys
    bool on = false;  // flag keys
    bool operator==(const Assignment&) const = default;
};

// Values by key index, as written: flags "yes"/"no", texts in the file's encoding.
// Fixed keys always write their default, whatever the array holds.
using Values = std::array<QByteArray, kKeyCount>;

Values defaultValues();
// The 31 lines of the block, in key order.
std::vector<QByteArray> buildBlock(const Values& values);
// The block of a new team type.
std::vector<QByteArray> defaultBlock();

// ---- the checks of the field editors ----

// The tech level field: an empty text passes; otherwise the number at its start (0 when
// it does not start with one) must lie between 0 and 10.
bool techLevelAccepted(const QString& text);
// The mind-control field: empty, or one character from "0" to "5".
bool mindControlAccepted(const QString& text);
// The description of a decision "0" to "5"; nothing for any other text.
std::optional<QString> mindControlDescription(const QString& text);

} // namespace tarvok::teamtype
