#pragma once

#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/FieldRules.h"
#include "records/RecordChain.h"
#include "records/RecordWrites.h"
#include "records/ScriptSection.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The record operations of the open rules file, one function per kind of record and
// operation: a load reads the record from the document's reading of the file; a save, an
// add, a delete or a chain copy is one write of the document, and so one undo step. The
// panels collect the values the user sees, call one of these and show what happened.
//
// A save writes only what changed: it compares the values as they were loaded with the
// values now, and replaces only those values' text in the file as it is at that moment
// (another program's change since the load stays), keeping every other byte.
namespace tarvok::records {

// What a save did.
struct RecordSave {
    bool refused = false; // the values cannot make a well-formed record: nothing written
    bool found = false;   // the file holds the record (nothing is written when nothing changed)
    filestore::WriteResult write;
};

// What an add did.
struct RecordAdd {
    enum Outcome {
        Added,
        Invalid,   // not a well-formed ID (or trigger key)
        Duplicate, // the list or the file has it already
        Full,      // the registry's 16-bit counter is at its end
        Failed,    // the file could not be written (see write)
    } outcome = Added;
    filestore::WriteResult write;
};

// An add whose ID was checked: refused as the check says; otherwise, with a file open,
// written by write. Without an open file only the check is made.
RecordAdd addChecked(RulesDocument& doc, fieldrules::IdCheck check,
                     const std::function<filestore::WriteResult()>& write);

// A new record of a registry: the ID checked against the IDs the list shows (listed) and
// the file's sections and entries, then its registry line and section block written.
// Without an open file only the checks are made.
RecordAdd addRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                    const QStringList& listed, const std::vector<QByteArray>& block);

// ---- AI triggers: one line of [AITriggerTypes]

// The trigger panel's values as the user sees them.
struct TriggerFields {
    QStringList teams; // as its team list shows them: the first and second team
    QString country, tech, condition, unit, amount, way, base, min, max, owner;
    bool low = false, mid = false, high = false;
    bool operator==(const TriggerFields&) const = default;
};

struct TriggerRecord {
    bool found = false;
    bool decodes = true; // its line reads back exactly as written
    TriggerFields fields;
};

// The trigger listed as key ("ID=name"): its line's fields over a new trigger's values
// (a field a short line lacks, or no line at all, shows a new trigger's value).
TriggerRecord LoadTrigger(const RulesIndex& index, const QString& key);
// The same with a codec of the index's encoding of its own, for a reading on another thread.
TriggerRecord LoadTrigger(const RulesIndex& index, const QString& key, const TextCodec& codec);
RecordSave SaveTrigger(RulesDocument& doc, const QString& key, const TriggerFields& loaded,
                       const TriggerFields& now);
// The content with the fields that differ between loaded and now written into the line of
// the trigger key (every other byte kept); nothing when the file has no such line (found
// false) or nothing changed.
std::optional<QByteArray> mergeTrigger(QByteArrayView content, const TextCodec& codec,
                                       const QString& key, const TriggerFields& loaded,
                                       const TriggerFields& now, bool* found);
// The edits that write into the trigger's line (line of text, listed as key) the fields
// that differ between loaded and now, as a save does; false, with no edit, when now cannot
// make a well-formed line.
bool editTriggerFields(const IniText& text, qsizetype line, const TextCodec& codec,
                       const QString& key, const TriggerFields& loaded, const TriggerFields& now,
                       IniEdits& edits);
// A new trigger "ID=name", first in [AITriggerTypes]; listed: the keys the list shows.
RecordAdd AddTrigger(RulesDocument& doc, const QString& key, const QStringList& listed);
RecordRemoval DeleteTrigger(RulesDocument& doc, const QString& key);

// ---- team types: the 31 keys of a section [ID]

// The team panel's values by key: a text key's text, "yes" or "no" for a flag, nothing
// for the keys that are always written with their default.
using TeamFields = std::array<QString, teamtype::kKeyCount>;

struct TeamTypeRecord {
    bool found = false;
    bool decodes = true;
    TeamFields fields;
};

// A new team type's values.
TeamFields newTeamFields();
// The team type id: its keys over a new team type's values.
TeamTypeRecord LoadTeamType(const RulesIndex& index, const QString& id);
RecordSave SaveTeamType(RulesDocument& doc, const QString& id, const TeamFields& loaded,
                        const TeamFields& now);
std::optional<QByteArray> mergeTeamType(QByteArrayView content, const TextCodec& codec,
                                        const QString& id, const TeamFields& loaded,
                                        const TeamFields& now, bool* found);
RecordAdd AddTeamType(RulesDocument& doc, const QString& id, const QStringList& listed);
RecordRemoval DeleteTeamType(RulesDocument& doc, const QString& id);

// ---- task forces and scripts: Name and numbered rows

struct SectionFields {
    QString name;
    std::vector<SectionRow> rows;
    bool operator==(const SectionFields&) const = default;
};

struct SectionRecord {
    bool found = false;
    bool decodes = true;
    SectionFields fields;
};

SectionRecord LoadTaskForce(const RulesIndex& index, const QString& id);
SectionRecord LoadScriptType(const RulesIndex& index, const QString& id);
// Refused when the rows are not numbered 0, 1, 2 ... as the game needs them.
RecordSave SaveTaskForce(RulesDocument& doc, const QString& id, const SectionFields& loaded,
                         const SectionFields& now);
RecordSave SaveScriptType(RulesDocument& doc, const QString& id, const SectionFields& loaded,
                          const SectionFields& now);
std::optional<QByteArray> mergeSection(QByteArrayView content, const TextCodec& codec,
                                       SectionKind kind, const QString& id,
                                       const SectionFields& loaded, const SectionFields& now,
                                       bool* found);
RecordAdd AddTaskForce(RulesDocument& doc, const QString& id, const QStringList& listed);
RecordAdd AddScriptType(RulesDocument& doc, const QString& id, const QStringList& listed);
RecordRemoval DeleteTaskForce(RulesDocument& doc, const QString& id);
RecordRemoval DeleteScriptType(RulesDocument& doc, const QString& id);

// ---- whole chains of records

struct ChainCopy {
    std::optional<chain::Refusal> refused; // nothing written
    filestore::WriteResult write;
};
// Copies the ticked rows of a chain (see RecordChain.h) in one write; the registry
// counters follow.
ChainCopy CopyChain(RulesDocument& doc, const std::vector<chain::ChainRow>& rows);
// Adds the four records of a new chain in one write.
ChainCopy NewChain(RulesDocument& doc, const std::vector<chain::ChainRow>& rows,
                   const trigger::FiringTrigger& firing = {});

} // namespace tarvok::records
