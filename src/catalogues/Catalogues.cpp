#include "catalogues/Catalogues.h"

#include "catalogues/ActionCatalogue.h"
#include "catalogues/UnitNameTable.h"
#include "document/RulesIndex.h"
#include "records/ScriptActions.h"

namespace tarvok {
namespace {

const QString kBuildingsById = QStringLiteral("ID.WQ");
const QString kBuildingsByName = QStringLiteral("ID2.WQ");
const QString kActions = QStringLiteral("Scr.WQ");

std::optional<qint64> number(const QString& text) {
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n >= 0 ? std::optional(n) : std::nullopt;
}

} // namespace

Catalogues::Catalogues(ProgramFiles files)
    : files_(std::move(files)), mod_(files_.lines(unitnames::kTableFile).value_or(QStringList())) {}

bool Catalogues::updateMod(const QString& aiPath, const RulesIndex& index,
                           const ModWorld::Choice& choice) {
    return mod_.update(aiPath, index.text(), index.codec(), choice);
}

std::vector<filecheck::Problem> Catalogues::checkFile(const RulesIndex& index,
                                                      const QStringList& unreadIncludes) const {
    filecheck::CheckCatalogues catalogues;
    if (mod_.inUse()) // the mod's own lists are the truth
        catalogues.mod =
            filecheck::ModTypes{mod_.definedIds(), mod_.buildingIds().size(), &mod_.world()};
    else if (const std::optional<QStringList> table = lines(unitnames::kTableFile))
        catalogues.unitIds = unitnames::choiceLists(*table).ids;
    std::vector<filecheck::Problem> problems =
        filecheck::checkRules(index.text(), index.codec(), catalogues);
    // A file the game reads from its archives is not beside the rules file: a hint.
    std::vector<filecheck::Problem> unread;
    for (const QString& text : unreadIncludes)
        unread.push_back({filecheck::Level::Hint,
                          QStringLiteral("包含的文件"),
                          filecheck::RecordKind::None,
                          {},
                          0,
                          text + QStringLiteral("（可能在游戏的资源包中）"),
                          {}});
    problems.insert(problems.begin(), unread.begin(), unread.end());
    return problems;
}

std::optional<QString> Catalogues::unitName(const QString& unitId) const {
    if (const QString name = mod_.nameOf(unitId); !name.isEmpty())
        return name;
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    return table ? std::optional(unitnames::nameOf(*table, unitId)) : std::nullopt;
}

std::optional<QString> Catalogues::unitId(const QString& displayName) const {
    if (const QString id = mod_.idOf(displayName); !id.isEmpty())
        return id;
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    return table ? std::optional(unitnames::idOf(*table, displayName)) : std::nullopt;
}

QString Catalogues::modBuilding(const QString& parameter) const {
    const std::optional<qint64> n = number(parameter);
    const QStringList& ids = mod_.buildingIds();
    const qint64 at = n ? buildingIndex(*n) : -1;
    return at >= 0 && at < ids.size() ? ids[at] : QString();
}

std::optional<QString> Catalogues::buildingName(const QString& parameter) const {
    if (mod_.inUse())
        return modBuilding(parameter);
    const std::optional<QStringList> table = lines(kBuildingsById);
    return table ? std::optional(catalogue::lastValueOf(*table, parameter)) : std::nullopt;
}

std::optional<QString> Catalogues::buildingParameter(const QString& buildingId,
                                                     const QString& oldParameter) const {
    if (mod_.inUse()) {
        const std::optional<qint64> made = tarvok::buildingParameter(
            mod_.buildingIds().indexOf(buildingId), number(oldParameter).value_or(0));
        return made ? QString::number(*made) : QString();
    }
    const std::optional<QStringList> table = lines(kBuildingsByName);
    return table ? std::optional(catalogue::lastKeyOf(*table, buildingId)) : std::nullopt;
}

std::optional<QStringList> Catalogues::buildingNames() const {
    if (mod_.inUse())
        return mod_.buildingIds();
    const std::optional<QStringList> table = lines(kBuildingsById);
    return table ? std::optional(catalogue::buildingNames(*table)) : std::nullopt;
}

std::optional<std::optional<QStringList>>
Catalogues::actionChoices(const QString& actionName) const {
    const std::optional<QStringList> table = lines(kActions);
    if (!table)
        return std::nullopt;
    return catalogue::actionChoices(*table, actionName);
}

std::optional<Catalogues::Choices> Catalogues::unitChoices(bool withBuildings) const {
    if (mod_.inUse()) {
        Choices c{mod_.unitIds(), mod_.unitNames(), {}};
        if (withBuildings) {
            c.ids += mod_.buildingIds();
            c.names += mod_.buildingNames();
        }
        c.namedIds = c.ids;
        return c;
    }
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    if (!table)
        return std::nullopt;
    shippedNames_.clear();
    for (const QString& line : *table)
        if (const auto parsed = unitnames::parseLine(line); parsed && parsed->name)
            shippedNames_.insert(parsed->id, *parsed->name);
    const unitnames::ChoiceLists lists = unitnames::choiceLists(*table);
    return Choices{lists.ids, lists.names, lists.namedIds};
}

std::optional<Catalogues::Choices> Catalogues::buildingChoices() const {
    if (mod_.inUse())
        return Choices{mod_.buildingIds(), mod_.buildingNames(), mod_.buildingIds()};
    const std::optional<QStringList> ids = buildingNames();
    const std::optional<QStringList> table = lines(unitnames::kTableFile);
    if (!ids || !table)
        return std::nullopt;
    QHash<QString, QString> names;
    for (const QString& line : *table)
        if (const auto parsed = unitnames::parseLine(line); parsed && parsed->name)
            names.insert(parsed->id, *parsed->name);
    Choices c{*ids, {}, *ids};
    for (const QString& id : *ids)
        c.names << names.value(id);
    return c;
}

QString Catalogues::displayName(const QString& unitId) const {
    if (mod_.inUse())
        return mod_.nameOf(unitId);
    return shippedNames_.value(unitId);
}

void Catalogues::nameUses(unituses::UnitUses& uses) const {
    QStringList unitNames;
    for (const QString& id : uses.unitIds())
        unitNames << displayName(id);
    std::vector<unituses::Unit> buildings;
    const std::optional<QStringList> table =
        mod_.inUse() ? std::nullopt : lines(kBuildingsById); // read once for them all
    for (const QString& parameter : uses.buildingParameters()) {
        QString id;
        if (mod_.inUse())
            id = modBuilding(parameter);
        else if (table)
            id = catalogue::lastValueOf(*table, parameter);
        buildings.push_back({id, id.isEmpty() ? QString() : displayName(id)});
    }
    uses.name(unitNames, buildings);
}

} // namespace tarvok
