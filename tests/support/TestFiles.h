#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

#include <ostream>

// Failures show a file's bytes as the text lines they are, line ends marked.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    QByteArray shown = bytes;
    shown.replace("\r", "\\r").replace("\n", "\\n\n");
    *os << "\n" << shown.toStdString();
}

namespace tarvok::test {

// Lines joined with CR LF after each one, as the editor writes them.
QByteArray crlf(const QList<QByteArray>& lines);
QByteArray gbk(const QString& text);
QByteArray utf8(const QString& text);

// A string table (*.csf) built byte by byte: a header claiming labelCount labels, and
// labels each with its texts as " RTS" pairs ("WRTS" with a sound name when wide).
QByteArray csfHeader(quint32 labelCount);
QByteArray csfLabel(const QByteArray& name, const QStringList& texts, bool wide = false);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The 31 lines of a new team type's block, as the editor must write them, with the values
// of some keys changed ({"Priority", "7"}); a key that is not in the block fails the test.
QList<QByteArray>
newTeamBlock(std::initializer_list<std::pair<QByteArray, QByteArray>> changes = {});

class TempDir;
// Small data files for the look-ups of the task force and script panels (two unit names,
// no notes, an empty action catalogue, one building), so that no "file missing" message
// mixes into the messages a test asserts.
void writePanelDataFiles(const TempDir& dir);

// A throw-away program directory (and room for rules files) for one test.
class TempDir {
  public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // Writes a file into the directory and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Copies the editor's shipped data files (data/ of the source tree) here.
    void copyShippedData() const;

  private:
    QTemporaryDir dir_;
};

// The source tree this test program was built from.
QString sourceDir();
// Its data/ directory: the program directory's files as shipped.
QString shippedDataDir();
// A file of the reference facts kept beside the source tree (../shared/reference/), which
// a checkout may not have: the tests that read one skip themselves when it is absent.
QString referenceFile(const QString& name);

} // namespace tarvok::test
