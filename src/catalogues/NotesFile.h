#pragma once

#include "catalogues/ProgramFiles.h"
#include "document/FileStore.h"

#include <QString>

#include <optional>

namespace tarvok::idnotes {

// The notes file Name.WQ and its scratch copy NameData.WQ (see ProgramFiles for where).
inline const QString kNotesFile = ProgramFiles::kNotes;
// The note box's initial text: it stands for "no note yet" and is never stored.
inline const QString kNotePlaceholder = QStringLiteral("备注");

enum class Outcome {
    Done,        // added, or at least one note deleted
    MissingFile, // Name.WQ is not in the program directory
    Refused,     // the note cannot be stored faithfully (see addNote)
    Duplicate,   // the ID has a note already
    NoneFound,   // no note of the ID to delete
    WriteFailed, // the file could not be rewritten; it is unchanged
};

struct Result {
    Outcome outcome = Outcome::Done;
    filestore::WriteResult write; // why a write failed
};

// Adds "id,note" on top of the notes. Refused for an empty ID or note, the placeholder
// note, an ID holding a comma (it would be stored as another ID) and text the file's
// encoding cannot hold (it would be stored as other characters).
Result addNote(const ProgramFiles& files, const QString& id, const QString& note);

// Deletes every note of id. An empty ID names no note: nothing is rewritten.
Result deleteNotes(const ProgramFiles& files, const QString& id);

} // namespace tarvok::idnotes
