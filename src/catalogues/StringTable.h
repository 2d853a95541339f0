#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace tarvok {

// The game's string tables (*.csf): the texts players see, each under a label that rules
// files name (a type's UIName). Several files read one after the other make one table.
//
// The file: little-endian 32-bit numbers throughout. A header of 0x18 bytes: " FSC",
// version, label count, string count, unused, language. Then, label count times: " LBL",
// the number of string pairs, the name's length and the name (ASCII). Each pair is
// " RTS" or "WRTS", a length in UTF-16 code units and the UTF-16LE text with every byte
// inverted; "WRTS" goes on with a second length and that many bytes (a sound's name, which
// the editor does not need). Only a label's first pair is its text.
class StringTable {
  public:
    // Reads the labels of one file's content. A label read before, from this file or an
    // earlier one, takes the later text; a label without pairs names no text. A damaged
    // or cut-short file is read up to the damage and the result is the number (from 1) of
    // the first label that could not be read; 0 when the whole file was read. Lengths are
    // checked against the bytes that are left, so no input makes it allocate more than
    // the content's size.
    int read(QByteArrayView content);

    // The text of label, whatever the letter case of either; nothing when no file read
    // has it.
    const QString* text(QByteArrayView label) const;
    qsizetype size() const { return texts_.size(); }

  private:
    QHash<QByteArray, QString> texts_; // by label in ASCII lower case
};

} // namespace tarvok
