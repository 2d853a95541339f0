#include "catalogues/ModWorld.h"

#include "catalogues/UnitNameTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QFileInfo>

namespace tarvok {
namespace {

// The game's own file names; the game asks for them without regard to letter case.
const QStringList kRulesNames{QStringLiteral("rulesmd.ini"), QStringLiteral("rules.ini")};

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

QString findGameRules(const QString& aiPath) {
    if (aiPath.isEmpty())
        return {};
    QDir dir = QFileInfo(aiPath).absoluteDir();
    for (int level = 0; level < 2; ++level) {
        // A name filter matches without regard to letter case unless told otherwise.
        for (const QString& name : kRulesNames) {
            const QStringList found = dir.entryList({name}, QDir::Files, QDir::Name);
            if (!found.isEmpty())
                return dir.filePath(found.front());
        }
        if (!dir.cdUp())
            break;
    }
    return {};
}

QStringList stringTableFiles(const QString& folder) {
    const QDir dir(folder);
    QStringList paths;
    for (const QString& name :
         dir.entryList({QStringLiteral("*.csf")}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        paths << dir.filePath(name);
    return paths;
}

bool ModWorld::Stamp::operator==(const Stamp& other) const {
    return path == other.path && facts.sameAs(other.facts);
}

ModWorld::ModWorld(const QStringList& shippedUnitTable) {
    // Of an ID listed twice the later line counts, as in the table's own look-ups.
    for (const QString& line : shippedUnitTable)
        if (const auto parsed = unitnames::parseLine(line); parsed && parsed->name)
            shippedNames_.insert(parsed->id, *parsed->name);
}

bool ModWorld::update(const QString& aiPath, const IniText& aiText, const TextCodec& aiCodec,
                      const Choice& choice) {
    using Mode = Choice::Mode;
    const QString rules = choice.mode == Mode::Search ? findGameRules(aiPath)
                          : choice.mode == Mode::File ? choice.file
                                                      : QString();
    std::vector<Stamp> stamps;
    if (!rules.isEmpty()) {
        stamps.push_back({rules, filestore::facts(rules)});
        for (const QString& table : stringTableFiles(QFileInfo(rules).absolutePath()))
            stamps.push_back({table, filestore::facts(table)});
    }
    bool changed = false;
    if (stamps != stamps_) {
        // The facts are taken before the reading: a file changed in between is read again
        // at the next update.
        readFiles(stamps);
        changed = true;
    }
    modrules::DeclaredTypes map =
        rulesRead_ ? modrules::readTypes(aiText, aiCodec) : modrules::DeclaredTypes();
    if (map != map_) {
        map_ = std::move(map);
        changed = true;
    }
    if (changed)
        makeAnswers();
    return changed;
}

void ModWorld::readFiles(const std::vector<Stamp>& stamps) {
    stamps_ = stamps;
    rules_ = {};
    tables_ = {};
    tableNames_.clear();
    damaged_.clear();
    rulesRead_ = false;
    if (stamps.empty())
        return;
    const std::optional<QByteArray> bytes = filestore::read(stamps.front().path);
    if (!bytes)
        return;
    rulesRead_ = true;
    rules_ = modrules::readTypes(IniText(*bytes), TextCodec(detectEncoding(*bytes)));
    for (size_t i = 1; i < stamps.size(); ++i) {
        const QString name = fileName(stamps[i].path);
        tableNames_ << name;
        const std::optional<QByteArray> table = filestore::read(stamps[i].path);
        if (const int damaged = table ? tables_.read(*table) : 1)
            damaged_.emplace_back(name, damaged);
    }
}

void ModWorld::makeAnswers() {
    inUse_ = rulesRead_;
    rulesPath_ = inUse_ ? stamps_.front().path : QString();
    types_ = {};
    unitIds_.clear();
    unitNames_.clear();
    buildingNames_.clear();
    defined_.clear();
    nameById_.clear();
    idByName_.clear();
    if (!inUse_)
        return;
    types_ = rules_;
    modrules::addTypes(types_, map_);

    const auto named = [this](const QString& id) {
        const auto known = nameById_.constFind(id);
        if (known != nameById_.cend())
            return *known;
        const QString name =
            modrules::displayName(id, types_.names.value(id), tables_, shippedNames_);
        nameById_.insert(id, name);
        if (!name.isEmpty() && !idByName_.contains(name))
            idByName_.insert(name, id);
        return name;
    };
    for (int l = modrules::Infantry; l <= modrules::Aircraft; ++l)
        for (const QString& id : types_.lists[l])
            if (!defined_.contains(id)) {
                defined_.insert(id);
                unitIds_ << id;
                unitNames_ << named(id);
            }
    for (const QString& id : types_.lists[modrules::Buildings]) {
        defined_.insert(id);
        buildingNames_ << named(id);
    }
}

int ModWorld::count(modrules::TypeList list) const {
    return static_cast<int>(types_.lists[list].size());
}

QString ModWorld::statusText() const {
    if (!inUse_)
        return QStringLiteral("未找到游戏规则文件，使用内置单位表");
    QString text =
        QStringLiteral("游戏规则：%1（步兵 %2、车辆 %3、飞行器 %4、建筑 %5）；字符串表：%6")
            .arg(fileName(rulesPath_), QString::number(count(modrules::Infantry)),
                 QString::number(count(modrules::Vehicles)),
                 QString::number(count(modrules::Aircraft)),
                 QString::number(count(modrules::Buildings)),
                 tableNames_.isEmpty() ? QStringLiteral("无")
                                       : tableNames_.join(QStringLiteral("、")));
    for (const auto& [name, label] : damaged_)
        text += QStringLiteral("；字符串表 %1 第 %2 个标签起无法读取")
                    .arg(name, QString::number(label));
    return text;
}

} // namespace tarvok
