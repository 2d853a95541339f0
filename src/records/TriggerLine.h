#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>
#include <vector>

namespace tarvok {

// An AI trigger is one line of [AITriggerTypes]: eighteen comma-separated fields.
//   0 key (ID=name)   1 first team       2 country     3 tech level   4 condition
//   5 condition unit  6 condition block  7-9 weights   10, 11 fixed   12 side
//   13 fixed          14 second team     15-17 easy / medium / hard allowed
// The condition block is 64 characters: positions 1-2 hold the condition amount as a
// hexadecimal byte, position 10 the comparison; the rest is not shown in the panel.
// Everything here works on the line's raw bytes; the window decodes the few fields it
// shows.
namespace trigger {

inline constexpr int kFieldCount = 18;
inline constexpr int kBlockLength = 64;

// What the panel shows of one trigger line. A field that a short line lacks is absent:
// the panel shows a new trigger's value for it.
struct TriggerView {
    std::vector<QByteArray> teams; // fields 1 and 14, skipping empty and "<none>"
    std::optional<QByteArray> country, tech, condition, unit;
    std::optional<QByteArray> amount, way;    // from the condition block
    std::optional<QByteArray> base, min, max; // weights without their decimals
    std::optional<QByteArray> owner;
    // Difficulty boxes: only "0" and "1" say anything; other values leave the box.
    std::optional<bool> low, mid, high;
};

TriggerView readTriggerLine(QByteArrayView line);

// Block positions 1-2 as the panel shows them: when both are hexadecimal digits, the
// byte's decimal value with at least two digits ("0A" -> "10", "05" -> "05",
// "FF" -> "255"); otherwise the characters as they stand.
QByteArray amountFromBlock(QByteArrayView block);
// The panel's decimal amount as block positions 1-2: two uppercase hexadecimal digits.
// An empty text counts as 0; anything but a decimal number from 0 to 255 has no form.
std::optional<QByteArray> amountToHex(QByteArrayView decimal);

// The panel's values, in the file's encoding, as a save reads them.
struct TriggerEdit {
    bool operator==(const TriggerEdit&) const = default;
    QByteArray key;
    QByteArray team1, team2; // "<none>" where the trigger has none
    QByteArray country, tech, condition, unit;
    QByteArray amount, way;
    QByteArray base, min, max;
    QByteArray owner;
    bool low = false, mid = false, high = false;
};

enum class EditProblem {
    None,
    EmptyWay,   // no comparison: the block would be short
    BadWay,     // a comparison other than "0" to "5"
    BadAmount,  // an amount that is no number from 0 to 255
    Comma,      // a value with a comma would split the line
    EmptyField, // an empty weight, tech level or side
};

// Whether the values make a well-formed line; a save writes nothing otherwise. An empty
// side that is as loaded passes: it is written back as the file has it.
EditProblem checkEdit(const TriggerEdit& edit, const TriggerEdit* loaded = nullptr);

// The line a save writes in place of oldLine (empty for a line that does not exist
// yet). What the panel does not show is kept from oldLine: fields 10, 11 and 13,
// block positions 3-9 and 11-64, and fields beyond the eighteenth; where oldLine is
// too short to hold them, fields 10, 11, 13 become "1", "0", "0" and block positions
// "0". Requires checkEdit(edit) == EditProblem::None.
QByteArray buildTriggerLine(const TriggerEdit& edit, QByteArrayView oldLine);

// Like buildTriggerLine, but a field whose values in edit and loaded (the panel right
// after its load) are the same keeps its text from oldLine exactly ("5000" stays
// "5000", "75.500000" stays "75.500000"). A line too short to hold every field is
// built whole.
using ChangedFields = std::array<bool, kFieldCount>;
ChangedFields changedFields(const TriggerEdit& edit, const TriggerEdit& loaded);
QByteArray buildChangedTriggerLine(const TriggerEdit& edit, const ChangedFields& changed,
                                   QByteArrayView oldLine);

// What trigger lines write in a team field for no team.
inline constexpr char kNoTeam[] = "<none>";
// Fields 1 and 14, the first and second team.
inline bool isTeamField(size_t field) {
    return field == 1 || field == 14;
}

// The line the add command writes for a new trigger with the given key, its first team
// firstTeam ("<none>" when empty), its second "<none>".
QByteArray newTriggerLine(QByteArrayView key, QByteArrayView firstTeam = {});
// Who may use a new chain's trigger, and when: by default every country, any side (0) and
// condition -1 ("无").
struct FiringTrigger {
    QByteArray country = "<all>";
    QByteArray side = "0";
    QByteArray condition = "-1";
};
// A trigger with every difficulty on and the given country, side and condition: one the
// computer uses as soon as its team has units and steps.
QByteArray newFiringTriggerLine(QByteArrayView key, QByteArrayView firstTeam,
                                const FiringTrigger& values = {});

// A team field that names a team type: not empty and not "<none>", which trigger lines
// write for no team.
inline bool namesTeam(QByteArrayView field) {
    return !field.isEmpty() && field != kNoTeam;
}

// The fields of a line, split at every comma.
std::vector<QByteArrayView> splitFields(QByteArrayView line);

} // namespace trigger
} // namespace tarvok
