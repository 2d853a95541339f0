#include "catalogues/Catalogues.h"

#include "catalogues/ActionCatalogue.h"
#include "catalogues/UnitNameTable.h"

namespace tarvok {
namespace {

const QString kBuildingsById = QStringLiteral("ID.WQ");
const QString kBuildingsByName = QStringLiteral("ID2.WQ");
const QString kActions = QStringLiteral("Scr.WQ");

} // namespace

std::optional<QString> Catalogues::unitName(const QString& unitId) const {
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    return table ? std::optional(unitnames::nameOf(*table, unitId)) : std::nullopt;
}

std::optional<QString> Catalogues::unitId(const QString& displayName) const {
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    return table ? std::optional(unitnames::idOf(*table, displayName)) : std::nullopt;
}

std::optional<QString> Catalogues::buildingName(const QString& buildingId) const {
    const std::optional<QStringList> table = lines(kBuildingsById);
    return table ? std::optional(catalogue::lastValueOf(*table, buildingId)) : std::nullopt;
}

std::optional<QString> Catalogues::buildingId(const QString& buildingName) const {
    const std::optional<QStringList> table = lines(kBuildingsByName);
    return table ? std::optional(catalogue::lastKeyOf(*table, buildingName)) : std::nullopt;
}

std::optional<std::optional<QStringList>>
Catalogues::actionChoices(const QString& actionName) const {
    const std::optional<QStringList> table = lines(kActions);
    if (!table)
        return std::nullopt;
    return catalogue::actionChoices(*table, actionName);
}

std::optional<QStringList> Catalogues::buildingNames() const {
    const std::optional<QStringList> table = lines(kBuildingsById);
    return table ? std::optional(catalogue::buildingNames(*table)) : std::nullopt;
}

} // namespace tarvok
