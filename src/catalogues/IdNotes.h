#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok {

// The user's notes on IDs: one line "ID,note" per note, the newest at the top. The ID
// is the text before the first comma and is compared exactly; the note may hold
// commas. A line without a comma is nobody's note: it is never found, never a
// duplicate and never deleted.
namespace idnotes {

// The note text of the last line whose ID equals id; nothing when no line does.
std::optional<QString> noteOf(const QStringList& noteLines, const QString& id);
bool hasNote(const QStringList& noteLines, const QString& id);

// Rewrites of the notes file work on its raw bytes, so that every line but the added
// or dropped ones comes back byte for byte, whatever it holds. Each written line ends
// with CR LF; a UTF-8 byte-order mark is kept.

// newLine (already encoded) becomes the first line, above all others.
QByteArray withLineOnTop(QByteArrayView content, QByteArrayView newLine);

struct Removal {
    QByteArray content;
    int dropped = 0;
};
// Drops every line whose ID equals id (encoded as the file is).
Removal withoutNotesOf(QByteArrayView content, QByteArrayView id);

} // namespace idnotes
} // namespace tarvok
