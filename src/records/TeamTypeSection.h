#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvok::teamtype {

// A team type is a section "[ID]" whose body is the run of key lines after the header.
// The editor knows 31 keys; it writes them in this order, and a new team type gets
// the default values below.

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
    Name, VeteranLevel, MindControlDecision, Loadable, Full, Annoyance, GuardSlower, House,
    Recruiter, Autocreate, Prebuild, Reinforce, Droppod, UseTransportOrigin, Whiner,
    LooseRecruit, Aggressive, Suicide, Priority, Max, TechLevel, Group, OnTransOnly,
    AvoidThreats, IonImmune, TransportsReturnOnUnload, AreTeamMembersRecruitable,
    IsBaseDefense, OnlyTargetHouseEnemy, Script, TaskForce,
};

extern const std::array<Key, kKeyCount> kKeys;

// The index of a key name (exact, case-sensitive), or -1.
int keyIndex(QByteArrayView name);
// True when the name is one of the 31 keys in any letter case.
bool isKnownKeyAnyCase(QByteArrayView name);

// The key of a key line: the text before its first "=", spaces and tabs trimmed.
QByteArrayView lineKey(QByteArrayView line);

// What one body line sets: a text key's value (everything after the first "=", raw
// bytes, untrimmed) or a flag's state. Fixed and unknown keys set nothing.
struct Assignment {
    int key = -1;
    QByteArray value; // text keys
    bool on = false;  // flag keys
    bool operator==(const Assignment&) const = default;
};

// The assignment of one body line, when its whole key is one of the loaded keys.
std::optional<Assignment> parseLine(QByteArrayView line);
// The assignments of a body, in file order.
std::vector<Assignment> parseBody(const std::vector<QByteArrayView>& body);

// Values by key index, as written: flags "yes"/"no", texts in the file's encoding.
// Fixed keys always write their default, whatever the array holds.
using Values = std::array<QByteArray, kKeyCount>;

Values defaultValues();
// The 31 lines of the block, in key order.
std::vector<QByteArray> buildBlock(const Values& values);
// The block of a new team type.
std::vector<QByteArray> defaultBlock();
// The body a save writes: the block, then the old body's lines whose key is none of
// the 31 keys in any letter case (keys of extensions, misspelt keys), in their order.
std::vector<QByteArray> buildBody(const Values& values, const std::vector<QByteArrayView>& oldBody);

// The bodies of every section headed "[id]" (the header with surrounding spaces
// removed), in file order. A body is the run of lines with "=" after the header; the
// line that ends a body is not itself taken as a header. Works on the raw bytes and
// only looks at the lines around the places where "[id]" occurs.
std::vector<std::vector<QByteArrayView>> findSectionBodies(QByteArrayView content, QByteArrayView id);


// ---- the checks of the field editors ----

// The tech level field: an empty text passes; otherwise the number at its start (0 when
// it does not start with one) must lie between 0 and 10.
bool techLevelAccepted(const QString& text);
// The mind-control field: empty, or one character from "0" to "5".
bool mindControlAccepted(const QString& text);
// The description of a decision "0" to "5"; nothing for any other text.
std::optional<QString> mindControlDescription(const QString& text);

} // namespace tarvok::teamtype
