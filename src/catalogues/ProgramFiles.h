#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok {

// The program directory and the editor's own files in it: the catalogues, the unit
// name table, the notes, the usage guide and the scratch copy File.ini.
class ProgramFiles {
  public:
    explicit ProgramFiles(QString dir) : dir_(std::move(dir)) {}

    const QString& dir() const { return dir_; }
    QString path(const QString& name) const { return dir_ + QLatin1Char('/') + name; }
    bool has(const QString& name) const;

    // The file's lines, decoded in its own encoding; nothing when the file is missing,
    // no lines when it cannot be read.
    std::optional<QStringList> lines(const QString& name) const;

    // The scratch copy every rewrite of the rules file leaves the old content in.
    QString scratchCopy() const { return path(QStringLiteral("File.ini")); }
    // Where the versions of each rules file before the editor's changes are kept.
    QString historyFolder() const { return path(QStringLiteral("history")); }

  private:
    QString dir_;
};

} // namespace tarvok
