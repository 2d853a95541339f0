#pragma once

#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/ScriptSection.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The records of a rules file as the game reads them (IniText), and the edits that write
// a record back changing only what changed: a value that changed replaces its own text
// in its own line; indentation, spacing, trailing comments, line ends and every value
// that did not change keep their bytes.
namespace tarvok::recordlines {

// The part of a content that holds the sections named name, read as lines: what a
// record's load and save look at, however large the rest of the file is.
class SectionSlice {
  public:
    SectionSlice(QByteArrayView content, QByteArrayView name);
    const IniText& text() const { return text_; }
    // The content with the edits made in this part; nothing when they do not apply.
    std::optional<QByteArray> apply(QByteArrayView content, const IniEdits& edits) const;

  private:
    IniText::Range span_;
    IniText text_;
};

// ---- triggers: key lines of [AITriggerTypes] sections

// The line of the trigger listed as entry ("ID=name"): the last key line whose key is
// the ID and whose value's first field is the name; nothing when there is none.
std::optional<qsizetype> findTrigger(const IniText& text, QByteArrayView entry);
// The same among lines whose key is the entry's ID already (a reading's look-up).
std::optional<qsizetype> findTrigger(const IniText& text, const std::vector<qsizetype>& lines,
                                     QByteArrayView entry);
// The same, comparing the listed text with the decoded key (an entry whose bytes did
// not decode).
std::optional<qsizetype> findTrigger(const IniText& text, const QString& entry,
                                     const TextCodec& codec);
// Where the comma-separated fields of a key line's value lie in its text, untrimmed.
std::vector<IniText::Range> valueFields(const IniText& text, qsizetype line);
// The line as the trigger codec reads it: key "=" value, the comment and blanks gone.
QByteArray triggerLine(const IniText& text, qsizetype line);
// The edits that make line hold newLine (a full trigger line): only the fields that
// differ from the line as read are replaced, in place; a line too short for a changed
// field gets its whole value rewritten.
void editTrigger(const IniText& text, qsizetype line, QByteArrayView newLine, IniEdits& edits);

// ---- team types: the 31 keys of the sections named ID

struct TeamLines {
    bool found = false;
    std::vector<teamtype::Assignment> assignments;        // in file order; later ones win
    std::array<qsizetype, teamtype::kKeyCount> lineOfKey; // the key's last line, or -1
    qsizetype lastKeyLine = -1;                           // where a missing key goes
    qsizetype header = -1;
    std::vector<qsizetype> lines; // every line of the sections (for the decode check)
};
TeamLines readTeam(const IniText& text, QByteArrayView id);
// The same over the sections named id (a reading's look-up).
TeamLines readTeam(const IniText& text, const std::vector<IniText::Section>& sections);
// A flag is on when its value starts with "y", "Y", "t", "T" or "1".
bool flagIsOn(QByteArrayView value);
// key's line gets value (encoded), or a new line "key=value" after the last key line.
void editTeamKey(const IniText& text, const TeamLines& team, int key, QByteArrayView value,
                 IniEdits& edits);

// ---- task forces and scripts: Name, numbered rows (and a task force's Group)

struct SectionLines {
    QString name;
    qsizetype nameLine = -1;
    qsizetype header = -1;
    std::vector<SectionRow> rows;   // as the panel shows them
    std::vector<qsizetype> rowLine; // the line of each row
    qsizetype anchor = -1;        // the line new rows follow: the last row, or Name, or the header
    std::vector<qsizetype> lines; // every key line (for the decode check)
    // The first key line that is neither Name, a row number nor (for a task force) Group:
    // such a section is no task force or script, and is read no further. -1 when none.
    qsizetype strayKey = -1;
};
// One section read as a task force or script, whatever it holds (see strayKey; nameLine
// is -1 when it has no Name key).
SectionLines readSectionAt(const IniText& text, const IniText::Section& section,
                           const TextCodec& codec, SectionKind kind);
// The last section named id that is a task force or script: a Name key anywhere (or none:
// the game needs none), every other key a row number (and, for a task force, Group).
// Nothing otherwise.
std::optional<SectionLines> readSection(const IniText& text, QByteArrayView id,
                                        const TextCodec& codec, SectionKind kind);
// The same over the sections named id (a reading's look-up).
std::optional<SectionLines> readSection(const IniText& text,
                                        const std::vector<IniText::Section>& sections,
                                        const TextCodec& codec, SectionKind kind);
// The edits that make the section show name and rows, where loadedName and loadedRows
// are what the panel showed right after its load: rows map to lines by order; a row
// that changed rewrites its line (its indentation and comment kept), rows beyond the
// old ones go after the anchor, old rows beyond the new ones lose their lines.
void editSection(const IniText& text, const SectionLines& old, const QString& loadedName,
                 const std::vector<SectionRow>& loadedRows, const QString& name,
                 const std::vector<SectionRow>& rows, const TextCodec& codec, IniEdits& edits);

} // namespace tarvok::recordlines
