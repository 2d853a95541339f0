#pragma once

#include "document/IniText.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarvok {

// A rules file and the files it includes, read by the game as one: the editor joins their
// contents in reading order into one content, on which every reading, record operation and
// check works as on a single file, and splits an edited content back into the files.
//
// Each included file starts after a marker line of its own, a header line whose section
// name no rules file holds ("[\x7F\x7Ffile <flags> <name>]"): the section before it ends
// with its file, as the game reads it. The first file has no marker, so the content of a
// rules file without includes is the file itself. A file whose last line has no line end
// gets one in the joined content (noted in the next marker, and taken off again by split),
// and a byte-order mark of an included file is kept in its marker, as is a part left out
// (the first file's, in the marker after it).
namespace fileset {

struct Part {
    QString name; // the file's path relative to the first file's folder ("/" between folders)
    QByteArray bytes;
    // Left out, without bytes: a content of the files a step changed (an undo version) says
    // so of the others, which stay as they are.
    bool omitted = false;
    bool operator==(const Part&) const = default;
};

// The parts in reading order as one content. Given its parts, a join of one part is that
// part's bytes, and a join of several grows the first part's buffer where no one else holds it.
QByteArray join(const std::vector<Part>& parts);
QByteArray join(std::vector<Part>&& parts);
// The joined content as pieces, in order: the parts' bytes (shared, not copied, but for a
// byte-order mark taken off) and the lines between them.
QByteArrayList pieces(const std::vector<Part>& parts);
// True when joined is what join(parts) gives; nothing is joined to tell.
bool joinsTo(const std::vector<Part>& parts, QByteArrayView joined);
// The parts of a joined content; nothing when its markers are broken. The first part's name
// is firstName. A content without markers is one part. Parts left out have their flag and
// no bytes. A part equal to the one of its place in known shares its bytes.
std::optional<std::vector<Part>> split(QByteArrayView joined, const QString& firstName,
                                       const std::vector<QByteArray>& known = {});
// Gives the parts left out the bytes of the parts of the same names in given (the first
// part is the first file whatever its name); false when one has none there.
bool fill(std::vector<Part>& parts, const std::vector<Part>& given);
// True when content holds a marker, i.e. was joined from several files.
bool isJoined(QByteArrayView content);
// True for the section name of a marker line.
bool isMarker(QByteArrayView sectionName);

// The last line of the first file in a joined content's reading (-1 when it has none): what
// a section new to every file follows.
qsizetype firstFileLast(const IniText& text);

// A line of a joined content: which part it belongs to (0: the first file) and its number
// in that file, from 1.
struct Place {
    int part = 0;
    qsizetype line = 0;
};

// Where the lines of one joined content come from. Built from its reading; cheap when the
// content is one file.
class Origins {
  public:
    Origins() = default;
    // The first file's name is left empty: its reader knows it.
    explicit Origins(const IniText& text);

    // The part of a line (from 0) and its line number in that part's file.
    Place place(qsizetype line) const;
    int partCount() const { return static_cast<int>(names_.size()); }
    const QString& name(int part) const { return names_[static_cast<size_t>(part)]; }
    // "第 12 行", or "ai_trigger.ini 第 12 行" for a line of another file than the first.
    QString describe(qsizetype line) const;

  private:
    QStringList names_{QString()};
    std::vector<qsizetype> starts_{0}; // the first line of each part
};

} // namespace fileset
} // namespace tarvok
