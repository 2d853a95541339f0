#pragma once

#include "document/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace tarvok {

// Script sections and task force sections share one shape: a header "[ID]", a Name line
// and numbered rows "number=first,second" (action and parameter of a script step; count
// and unit of a task force entry). A task force adds its closing "Group=-1" line
// (TaskForceSection.h).

// One numbered row as the list views show it. raw is the line it was read from (empty
// for a row the user added): while the texts still read the same, the save writes that
// line back byte for byte, so bytes the file's encoding cannot show and rows that are
// outside the format (no comma) are never rewritten behind the user's back.
struct SectionRow {
    QString number; // text before the first "="
    QString first;  // between that "=" and the first "," after it
    QString second; // after that ",", to the end of the line (may hold further commas)
    QByteArray raw;
    bool operator==(const SectionRow& o) const {
        return number == o.number && first == o.first && second == o.second;
    }
};

struct SectionRecord {
    QString name;        // everything after the first "=" of the Name line
    QByteArray nameLine; // the Name line as read (empty when unknown)
    std::vector<SectionRow> rows;
};

// Splits one row line (no "," after its "=": the whole rest is the first field).
SectionRow splitSectionRow(QByteArrayView line, const TextCodec& codec);
// The line of a row: its raw line while the texts are unchanged, otherwise
// number "=" first "," second.
QByteArray joinSectionRow(const SectionRow& row, const TextCodec& codec);
// "Name=" + name, or the Name line as read while it still gives the same name.
QByteArray sectionNameLine(const SectionRecord& record, const TextCodec& codec);

// Which key lines of a section body are rows: all of them for a script; a task force's
// Group line is not one of its entries.
enum class SectionKind { Script, TaskForce };

// Finds the section [id] and reads it: the line after the header must contain "Name"
// (else that header is passed over); the rows are the following lines up to the first
// line without "=" or the end of the file. When the file holds the section more than
// once the last loadable one wins; rows with the same number all show the values of the
// last of them. Nothing when no section loads (or id is empty).
std::optional<SectionRecord> readNumberedSection(QByteArrayView content, QByteArrayView id,
                                                 const TextCodec& codec, SectionKind kind);

// The script: [id], Name line, script lines; no closing line.
std::optional<SectionRecord> readScriptSection(QByteArrayView content, QByteArrayView id,
                                               const TextCodec& codec);
// The body a save writes under the header: the Name line, then one line per row.
std::vector<QByteArray> scriptBlock(const SectionRecord& record, const TextCodec& codec);

} // namespace tarvok
