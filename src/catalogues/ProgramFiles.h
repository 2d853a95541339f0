#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok {

// The program directory and the editor's own files: the catalogues, the unit name table
// and the usage guide, read from the program folder; and the files the editor writes, the
// scratch copy File.ini, the history folder and the notes Name.WQ with their scratch copy
// NameData.WQ. Those live in the program folder when the user can write there (a copy of
// the program unpacked by the user), else in the user's own data folder (a system-wide
// install). Once one of them is in the user's data folder, that one is used from then on.
class ProgramFiles {
  public:
    static inline const QString kScratchCopy = QStringLiteral("File.ini");
    static inline const QString kHistory = QStringLiteral("history");
    static inline const QString kNotes = QStringLiteral("Name.WQ");
    static inline const QString kNotesScratch = QStringLiteral("NameData.WQ");

    // userDir: the user's own data folder; by default the system's place for this program.
    ProgramFiles(QString dir, QString userDir = defaultUserDir());
    static QString defaultUserDir();

    const QString& dir() const { return dir_; }
    const QString& userDir() const { return userDir_; }
    // A file of the program folder.
    QString path(const QString& name) const { return dir_ + QLatin1Char('/') + name; }
    bool has(const QString& name) const;

    // The file's lines, decoded in its own encoding; nothing when the file is missing,
    // no lines when it cannot be read. The notes are read where they are kept.
    std::optional<QStringList> lines(const QString& name) const;

    // Where the editor keeps a file it writes (see above): File.ini or history.
    QString writablePath(const QString& name) const;
    // The scratch copy every rewrite of the rules file leaves the old content in.
    QString scratchCopy() const { return writablePath(kScratchCopy); }
    // Where the versions of each rules file before the editor's changes are kept.
    QString historyFolder() const { return writablePath(kHistory); }
    // The notes, and their scratch copy beside them. Where they go to the user's data
    // folder, the program folder's notes are copied there first, unless it has its own.
    QString notesFile() const;
    QString notesScratch() const;

  private:
    QString dir_;
    QString userDir_;
};

} // namespace tarvok
