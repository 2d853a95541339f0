#pragma once

#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/References.h"
#include "records/TriggerLine.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Whole chains of records: a trigger with its team types and their task forces and
// scripts, or a team type with its own two. A chain is shown as rows, one per record; a
// copy writes every ticked record again under a new ID in one change of the content, the
// copies naming the copies, and a new chain adds one record of each kind the same way.
// Everything the copies do not add comes back byte for byte.
namespace tarvok::chain {

using Kind = references::Kind;

// How a row's record is reached: the chain's head (the trigger, or the team type whose
// chain it is, with that team type's own records), or through the trigger's first or
// second team type.
enum class From { Head, FirstTeam, SecondTeam };

struct ChainRow {
    Kind kind = Kind::Trigger;
    From from = From::Head;
    QByteArray id;   // the original's ID, as the file writes it
    QByteArray name; // the original's name as the file writes it; empty when it has none
    // What the user decides: the copy's ID and name, and whether the record is copied.
    QString newId;
    QString newName;
    bool copy = true;
};

// The chain of the trigger listed as entry ("ID=name", as the trigger list shows it): the
// trigger, its first team type with that one's task force and script, then its second
// team type with its own. One row per record the file holds: a record named twice is
// listed where it is named first, one the file lacks is not listed (its copies go on
// naming it). Empty when the file has no such trigger. The rows come ticked, with free
// IDs (freeIds) and the originals' names.
std::vector<ChainRow> triggerChain(const IniText& text, const TextCodec& codec,
                                   const QString& entry);
// The chain of the team type id: it, its task force and its script.
std::vector<ChainRow> teamTypeChain(const IniText& text, const TextCodec& codec, const QString& id);
// The four rows of a new chain, trigger, team type, task force and script, standing for
// the originals "NEWTRIGGER", "NEWTEAM", "NEWTASKFORCE" and "NEWSCRIPT": free IDs, no names.
std::vector<ChainRow> newChain(const IniText& text, const TextCodec& codec);

// A free ID for each row, in the file's own style. When more than half of the IDs listed
// in the three registries and the trigger list are eight hexadecimal digits and "-G", the
// rows get the largest of those numbers plus 1, 2, 3 ... in that form; otherwise each row
// gets its original's ID with "-2", "-3" ... added. Either way an ID that a section, a
// registry entry or a trigger uses, in any letter case, or that an earlier row got, is
// passed over.
std::vector<QString> freeIds(const IniText& text, const TextCodec& codec,
                             const std::vector<ChainRow>& rows);

// Why a row's new ID or name cannot be written.
enum class Reason {
    Empty,
    BadCharacter,      // a blank, a line break or one of [ ] = , ;
    NoDash,            // a team type, task force or script ID without "-", as their adds refuse it
    Taken,             // used in the file, in any letter case
    SameAsRow,         // an earlier ticked row has it, in any letter case
    NameSplitsTrigger, // a trigger's name with ',' or ';' would cut its line short
    NameLineBreak,
    NothingToCopy, // no row ticked, or the file holds none of the ticked records (row 0)
    Unapplied,     // the edit does not fit the file's lines (row 0): nothing is written
};

struct Refusal {
    int row = 0; // from 1, as the user counts the rows
    Reason reason = Reason::Empty;
    int sameAs = 0; // the earlier row, for SameAsRow
    bool operator==(const Refusal&) const = default;
};

// A trigger's name holding "," or ";" would cut its line short.
bool splitsTriggerLine(QStringView name);

// The first problem of the ticked rows, in row order: for each row its new ID (empty, a
// character it may not hold, no "-", taken, the same as an earlier row's), then its name.
std::optional<Refusal> checkRows(const IniText& text, const TextCodec& codec,
                                 const std::vector<ChainRow>& rows);
// What the user is told: "第 N 行的新 ID 不可用：" and the reason, or what is wrong with the
// name.
QString refusalText(const Refusal& refusal);

// Registry entries by registry: the counters that number new entries, or how many were added.
struct RegistryCounts {
    long long teamTypes = 0;
    long long taskForces = 0;
    long long scriptTypes = 0;
    bool operator==(const RegistryCounts&) const = default;
};

struct ChainWrite {
    std::optional<Refusal> refused; // nothing to write: content is the old one
    QByteArray content;
    RegistryCounts added; // the callers' counters go up by as many
};

// Copies every ticked record once, as text (the file read as lines when the copy is made)
// holds it: a record it no longer holds is not copied, and the copies name the original. A copy
// holds its original's lines with the ID, the name (when changed) and the references to copied
// records changed, comments, blank lines, unknown keys, indentation and line ends kept: a trigger
// copy follows its original's line; a section copy follows its original's last key line after an
// empty line (every section of that name is copied), and gets a Name line after its header when it
// had none and the new name is not empty; each registry gets its new lines after its last entry,
// numbered from counts as the adds number theirs. Nothing ticked changes nothing.
ChainWrite copyChain(const IniText& text, const TextCodec& codec, const std::vector<ChainRow>& rows,
                     const RegistryCounts& counts);
// The same on content not read as lines yet. Reading a large file as lines costs more
// than the copy itself: a reading kept of the content serves as text above.
ChainWrite copyChain(QByteArrayView content, const TextCodec& codec,
                     const std::vector<ChainRow>& rows, const RegistryCounts& counts);

// Adds the records of a new chain (each row's kind once; ticked or not), as the adds of
// each kind make them, except that the trigger is set to fire (every difficulty on, with
// firing's country, side and condition): a task force "Name=" and "Group=-1", a script "Name=", a
// team type with the new team block naming both, each with its registry line and after its
// registry; and the new trigger line naming the team type first, where the trigger add puts it (no
// trigger without an [AITriggerTypes] section).
ChainWrite createChain(const IniText& text, const TextCodec& codec,
                       const std::vector<ChainRow>& rows, const RegistryCounts& counts,
                       const trigger::FiringTrigger& firing = {});
ChainWrite createChain(QByteArrayView content, const TextCodec& codec,
                       const std::vector<ChainRow>& rows, const RegistryCounts& counts,
                       const trigger::FiringTrigger& firing = {});

} // namespace tarvok::chain
