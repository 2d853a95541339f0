#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace tarvok {

// The versions one rules file had before the editor changed it, kept as files in a folder
// of their own so that they outlive the editor: an undo stack and a redo stack. Rules
// files are told apart by their full path. A version is a second name of the old file
// where the file system allows, a copy otherwise; the editor never writes one in place.
class History {
  public:
    enum class Stack { Undo, Redo };
    static constexpr int kMaxVersions = 20;

    // folder holds the versions of every rules file.
    History(const QString& folder, const QString& rulesPath);

    struct Version {
        QString file;
        QDateTime time; // when that content was written
    };

    int size(Stack stack) const;
    // The newest version; nothing when the stack is empty.
    std::optional<Version> top(Stack stack) const;
    // The file from (its content as it is now) becomes the newest version. The undo stack
    // then drops its oldest versions beyond kMaxVersions.
    bool push(Stack stack, const QString& from);
    void pop(Stack stack);
    void clear(Stack stack);

  private:
    QString folderOf(Stack stack) const;
    QStringList versions(Stack stack) const; // oldest first

    QString folder_;
};

} // namespace tarvok
