#pragma once

#include "catalogues/ProgramFiles.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok {

// The look-ups the panels make in the editor's own data files: the unit name table
// NameTable.WQ, the action catalogue Scr.WQ and the building tables ID.WQ and ID2.WQ. Each
// look reads its file anew, so that a user's edit of a data file counts at once; a file
// that is missing gives nothing (the caller says so), a value the file lacks an empty text.
class Catalogues {
  public:
    explicit Catalogues(ProgramFiles files) : files_(std::move(files)) {}

    const ProgramFiles& files() const { return files_; }
    std::optional<QStringList> lines(const QString& name) const { return files_.lines(name); }

    std::optional<QString> unitName(const QString& unitId) const;
    std::optional<QString> unitId(const QString& displayName) const;
    std::optional<QString> buildingName(const QString& buildingId) const;
    std::optional<QString> buildingId(const QString& buildingName) const;
    // The choices of an action's block in Scr.WQ; an empty optional inside when the file
    // has no block for the action.
    std::optional<std::optional<QStringList>> actionChoices(const QString& actionName) const;
    std::optional<QStringList> buildingNames() const;

  private:
    ProgramFiles files_;
};

} // namespace tarvok
