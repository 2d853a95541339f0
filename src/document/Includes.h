#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace tarvok {

class IniText;
class TextCodec;

// A rules file may name further files in its section [#include]; the game reads them as
// part of it. These are the rules of that reading, for any kind of rules file.
namespace includes {

// The files of a rules file in the order they are read: root first, then each file that a
// file names, right after the whole of the file naming it, depth first (root naming A and
// B, A naming C: root, A, C, B). Each file is read once: a file named again, root too, is
// not followed, so a circle ends. namedBy(file) gives the files one names, in its order;
// files are told apart by the text of their path.
QStringList readingOrder(const QString& root,
                         const std::function<QStringList(const QString& file)>& namedBy);

// The file names the [#include] sections of text give, in key order (a key given again
// takes the new value in its place; every "+" key adds one), empty values left out.
QStringList namesIn(const IniText& text, const TextCodec& codec);

// The file that name (from a [#include] section, "\" or "/" between folders) stands for,
// relative to folder, each part matched without regard to letter case. When none matches,
// the path it would have: a file that appears there later can be noticed.
QString locate(const QString& folder, const QString& name, bool* found = nullptr);

// The names the [#include] sections of a rules file's bytes give (namesIn over just those
// sections, in the encoding the bytes tell).
QStringList namedIn(QByteArrayView bytes);

// The files of the rules file at root that can be read, in reading order, root first, as
// full clean paths; nothing when root cannot be read.
QStringList filesOf(const QString& root);

} // namespace includes
} // namespace tarvok
