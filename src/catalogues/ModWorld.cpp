#include "catalogues/ModWorld.h"

#include "catalogues/UnitNameTable.h"
#include "document/Includes.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <memory>

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
            const QStringList found = dir.entryList(
                {name}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
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
    for (const QString& name : dir.entryList({QStringLiteral("*.csf")},
                                             QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name | QDir::IgnoreCase))
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
    std::vector<Stamp> tables;
    if (!rules.isEmpty()) {
        stamps.push_back({rules, filestore::facts(rules)});
        // The files it included when last read: a change to any of them reads all again.
        if (!stamps_.empty() && stamps_.front().path == rules)
            for (size_t i = 1; i < ruleFiles_; ++i)
                stamps.push_back({stamps_[i].path, filestore::facts(stamps_[i].path)});
        for (const QString& table : stringTableFiles(QFileInfo(rules).absolutePath()))
            tables.push_back({table, filestore::facts(table)});
    }
    bool changed = false;
    if (!std::equal(stamps.begin(), stamps.end(), stamps_.begin(),
                    stamps_.begin() + static_cast<qsizetype>(ruleFiles_)) ||
        !std::equal(tables.begin(), tables.end(),
                    stamps_.begin() + static_cast<qsizetype>(ruleFiles_), stamps_.end())) {
        // The facts are taken before the reading: a file changed in between is read again
        // at the next update.
        readFiles(stamps.empty() ? nullptr : &stamps.front(), tables);
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

void ModWorld::readFiles(const Stamp* rules, const std::vector<Stamp>& tables) {
    stamps_.clear();
    ruleFiles_ = rules ? 1 : 0;
    if (rules)
        stamps_.push_back(*rules);
    rules_ = {};
    tables_ = {};
    tableNames_.clear();
    damaged_.clear();
    unreadable_.clear();
    rulesRead_ = rules && readRules(); // the included files are found again
    stamps_.insert(stamps_.end(), tables.begin(), tables.end());
    if (!rulesRead_) {
        if (rules && rules->facts.exists)
            unreadable_ = {{Unread::Kind::Rules, rules->path}};
        return;
    }
    for (size_t i = ruleFiles_; i < stamps_.size(); ++i) {
        const std::optional<QByteArray> table = filestore::read(stamps_[i].path);
        if (!table && stamps_[i].facts.exists) {
            unreadable_.push_back({Unread::Kind::StringTable, stamps_[i].path});
            continue;
        }
        const QString name = fileName(stamps_[i].path);
        tableNames_ << name;
        if (const int damaged = table ? tables_.read(*table) : 1)
            damaged_.emplace_back(name, damaged);
    }
}

bool ModWorld::readRules() {
    struct Reading {
        QByteArray bytes;
        TextCodec codec;
        IniText text;
        explicit Reading(QByteArray content)
            : bytes(std::move(content)), codec(detectEncoding(bytes)), text(bytes) {}
    };
    const QString root = stamps_.front().path;
    const QString folder = QFileInfo(root).absolutePath();
    std::map<QString, std::unique_ptr<Reading>> read;
    std::vector<Stamp> included;
    const QStringList order = includes::readingOrder(root, [&](const QString& file) {
        if (file != root)
            included.push_back({file, filestore::facts(file)}); // taken before the reading
        std::optional<QByteArray> bytes = filestore::read(file);
        if (!bytes) {
            if (file != root && included.back().facts.exists)
                unreadable_.push_back({Unread::Kind::Included, file});
            return QStringList();
        }
        const Reading& reading =
            *read.emplace(file, std::make_unique<Reading>(std::move(*bytes))).first->second;
        QStringList named;
        for (const QString& name : includes::namesIn(reading.text, reading.codec)) {
            bool found = false;
            const QString path = includes::locate(folder, name, &found);
            if (found) {
                named << path;
                continue;
            }
            // Noticed when it appears under that name; a folder in its place is there.
            included.push_back({path, filestore::facts(path)});
            if (included.back().facts.exists)
                unreadable_.push_back({Unread::Kind::Included, path});
        }
        return named;
    });
    stamps_.insert(stamps_.begin() + 1, included.begin(), included.end());
    ruleFiles_ += included.size();
    if (!read.count(root))
        return false;
    std::vector<modrules::RulesFile> files;
    for (const QString& file : order)
        if (const auto it = read.find(file); it != read.end())
            files.push_back({&it->second->text, &it->second->codec});
    rules_ = modrules::readTypes(files);
    return true;
}

QStringList ModWorld::includedFiles() const {
    QStringList files;
    for (size_t i = 1; i < ruleFiles_ && i < stamps_.size(); ++i)
        if (stamps_[i].facts.exists)
            files << stamps_[i].path;
    return files;
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

QString ModWorld::Unread::text() const {
    switch (kind) {
    case Kind::Rules:
        return QStringLiteral("无法读取游戏规则文件 %1").arg(QDir::toNativeSeparators(path));
    case Kind::Included:
        return QStringLiteral("无法读取游戏规则文件包含的文件 %1")
            .arg(QDir::toNativeSeparators(path));
    case Kind::StringTable:
        break;
    }
    return QStringLiteral("无法读取字符串表 %1").arg(QDir::toNativeSeparators(path));
}

QString ModWorld::statusText() const {
    if (!inUse_)
        return unreadable_.empty() ? QStringLiteral("未找到游戏规则文件，使用内置单位表")
                                   : unreadable_.front().text();
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
    for (const Unread& file : unreadable_)
        text += QStringLiteral("；") + file.text();
    return text;
}

} // namespace tarvok
