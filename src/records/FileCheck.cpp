#include "records/FileCheck.h"

#include "document/FileSet.h"

#include "document/Lines.h"
#include "records/FieldRules.h"
#include "records/Forecast.h"
#include "records/RecordLines.h"
#include "records/ScriptExplain.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>

namespace tarvok::filecheck {
namespace {

constexpr QByteArrayView kTriggers("AITriggerTypes");

// The three registries, in the order their IDs are claimed.
enum Registry { TeamTypes, TaskForces, ScriptTypes, kRegistryCount };

struct RegistryInfo {
    QByteArrayView section;
    RecordKind kind;
    const char* what; // the record's name in messages
};
const RegistryInfo kRegistries[kRegistryCount] = {
    {"TeamTypes", RecordKind::TeamType, "作战小队"},
    {"TaskForces", RecordKind::TaskForce, "特遣小队"},
    {"ScriptTypes", RecordKind::Script, "脚本"},
};

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// An ID that names no record: a team type's or trigger's empty slot.
bool namesNothing(QByteArrayView value) {
    return !trigger::namesTeam(value);
}

// The number a field holds when it is all decimal digits (blanks around them allowed).
std::optional<long long> plainNumber(QByteArrayView field) {
    const QByteArrayView digits = lines::trimBlanks(field);
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return lines::leadingNumber(digits);
}

// Where an ID is registered: the first registry line that lists it.
struct Claim {
    Registry registry;
    qsizetype line;
};

// A value used many times (a unit, an action), told once, where it is first used.
struct Tally {
    QByteArrayView value;
    QString record;
    RecordKind kind;
    qsizetype line;
    int uses = 0;
};

class Tallies {
  public:
    void count(QByteArrayView value, const QString& record, RecordKind kind, qsizetype line) {
        const auto [it, added] = index_.emplace(stdView(value), list_.size());
        if (added)
            list_.push_back({value, record, kind, line, 1});
        else
            ++list_[it->second].uses;
    }
    const std::vector<Tally>& list() const { return list_; }

  private:
    ByName<size_t> index_;
    std::vector<Tally> list_;
};

class Checker {
  public:
    Checker(const IniText& text, const TextCodec& codec, const CheckCatalogues& catalogues)
        : text_(text), codec_(codec), catalogues_(catalogues), origins_(text) {
        sections_.reserve(text.sections().size());
        claims_.reserve(text.sections().size());
        for (const IniText::Section& s : text.sections()) {
            const auto [first, added] = sections_.emplace(stdView(s.name), &s);
            if (added)
                continue;
            std::vector<const IniText::Section*>& all = repeated_[stdView(s.name)];
            if (all.empty())
                all.push_back(first->second);
            all.push_back(&s);
        }
    }

    std::vector<Problem> run() {
        readRegistries();
        checkTriggers();
        checkUnbuildable();
        checkUndefended();
        for (int r = 0; r < kRegistryCount; ++r)
            for (const auto& [id, line] : registered_[r])
                checkRecord(static_cast<Registry>(r), id, line);
        checkUnregistered();
        reportUnits();
        reportActions();
        return sorted();
    }

    // The build rule alone.
    std::vector<Problem> runBuildRule() {
        readRegistries();
        problems_.clear(); // what the registries have is another check's
        checkUnbuildable();
        return sorted();
    }

  private:
    std::vector<Problem> sorted() {
        std::stable_sort(problems_.begin(), problems_.end(),
                         [](const Problem& a, const Problem& b) { return a.line < b.line; });
        // Each line as the line of its own file.
        if (origins_.partCount() > 1)
            for (Problem& p : problems_) {
                const fileset::Place place = origins_.place(p.line - 1);
                p.line = place.line;
                if (place.part > 0)
                    p.file = origins_.name(place.part);
            }
        return std::move(problems_);
    }

    // "第 12 行", with the file's name when it is not the first.
    QString where(qsizetype lineIndex) const { return origins_.describe(lineIndex); }

    void add(Level level, const char* kind, RecordKind recordKind, const QString& record,
             qsizetype lineIndex, const QString& text) {
        problems_.push_back({level, u8(kind), recordKind, record, lineIndex + 1, text, {}});
    }
    QString decode(QByteArrayView bytes) const { return codec_.decode(bytes); }

    // The sections named name, in file order.
    std::span<const IniText::Section* const> sectionsNamed(QByteArrayView name) const {
        if (!repeated_.empty())
            if (const auto all = repeated_.find(stdView(name)); all != repeated_.end())
                return all->second;
        const auto it = sections_.find(stdView(name));
        return it == sections_.end() ? std::span<const IniText::Section* const>()
                                     : std::span<const IniText::Section* const>(&it->second, 1);
    }

    // Room for the lines of a section's body in a map of them.
    static size_t bodySize(std::span<const IniText::Section* const> sections) {
        size_t n = 0;
        for (const IniText::Section* s : sections)
            n += static_cast<size_t>(s->bodyEnd - s->bodyBegin);
        return n;
    }

    // ---- registries

    void readRegistries() {
        for (int r = 0; r < kRegistryCount; ++r) {
            const RegistryInfo& info = kRegistries[r];
            ByName<qsizetype> numbers;
            numbers.reserve(bodySize(sectionsNamed(info.section)));
            for (const IniText::Section* s : sectionsNamed(info.section)) {
                for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                    if (text_.kind(i) != IniText::Kind::Key)
                        continue;
                    const QByteArrayView id = text_.value(i);
                    if (const auto [seen, added] = numbers.emplace(stdView(text_.key(i)), i);
                        !added)
                        add(Level::Error, "编号重复", info.kind, decode(id), i,
                            u8("[%1] 中编号 %2 已用于%3，重复的编号会使其中一项被覆盖")
                                .arg(decode(info.section), decode(text_.key(i)),
                                     where(seen->second)));
                    if (id.isEmpty()) {
                        add(Level::Error, "注册项为空", RecordKind::None, QString(), i,
                            u8("[%1] 中编号 %2 的注册项没有 ID")
                                .arg(decode(info.section), decode(text_.key(i))));
                        continue;
                    }
                    const auto [claim, added] =
                        claims_.emplace(stdView(id), Claim{static_cast<Registry>(r), i});
                    if (!added) {
                        const Claim& first = claim->second;
                        const QString other = decode(kRegistries[first.registry].section);
                        add(Level::Error, "ID 重复", info.kind, decode(id), i,
                            first.registry == r
                                ? u8("%1 在 [%2] 中登记了两次（另见%3）")
                                      .arg(decode(id), other, where(first.line))
                                : u8("%1 同时登记在 [%2]（%3）和 [%4] 中，两者共用同一个节")
                                      .arg(decode(id), other, where(first.line))
                                      .arg(decode(info.section)));
                        continue;
                    }
                    registered_[r].push_back({id, i});
                }
            }
        }
    }

    // Why value, named where a record of the registry want is expected, names none; an
    // empty text when it does.
    QString missingReference(QByteArrayView value, Registry want) const {
        const auto claim = claims_.find(stdView(value));
        if (claim != claims_.end() && claim->second.registry == want)
            return QString();
        const QString id = decode(value);
        QString text = u8("%1 %2 不存在").arg(u8(kRegistries[want].what), id);
        if (claim != claims_.end())
            text += u8("（%1 登记在 [%2] 中）")
                        .arg(id, decode(kRegistries[claim->second.registry].section));
        else if (sections_.count(stdView(value)))
            text +=
                u8("（有节 [%1]，但未在 [%2] 中登记）").arg(id, decode(kRegistries[want].section));
        return text;
    }

    // ---- triggers

    void checkTriggers() {
        ByName<qsizetype> ids;
        ids.reserve(bodySize(sectionsNamed(kTriggers)));
        for (const IniText::Section* s : sectionsNamed(kTriggers)) {
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text_.kind(i) != IniText::Kind::Key)
                    continue;
                const QString id = decode(text_.key(i));
                if (const auto [seen, added] = ids.emplace(stdView(text_.key(i)), i); !added)
                    add(Level::Error, "ID 重复", RecordKind::Trigger, id, i,
                        u8("触发 ID %1 已用于%2").arg(id, where(seen->second)));

                const QByteArray line = recordlines::triggerLine(text_, i);
                const std::vector<QByteArrayView> fields = trigger::splitFields(line);
                const auto count = static_cast<int>(fields.size());
                if (count != trigger::kFieldCount)
                    add(Level::Error, "字段数", RecordKind::Trigger, id, i,
                        u8("触发行有 %1 个字段，应为 %2 个").arg(count).arg(trigger::kFieldCount));
                if (count > 6) {
                    const QByteArrayView block = fields[6];
                    if (block.size() != trigger::kBlockLength)
                        add(Level::Error, "条件块", RecordKind::Trigger, id, i,
                            u8("条件块有 %1 个字符，应为 %2 个十六进制字符")
                                .arg(block.size())
                                .arg(trigger::kBlockLength));
                    else if (!std::all_of(block.begin(), block.end(), isHex))
                        add(Level::Error, "条件块", RecordKind::Trigger, id, i,
                            u8("条件块含有十六进制数字以外的字符"));
                }
                if (catalogues_.mod && count > 5)
                    checkDefined(fields[5], RecordKind::Trigger, id, i);
                checkTriggerUse(fields, id, i);
                for (int field : {1, 14}) {
                    const char* slot = field == 1 ? "小队1" : "小队2";
                    if (field < count && fields[field].trimmed().isEmpty())
                        add(Level::Hint, "空小队", RecordKind::Trigger, id, i,
                            u8("触发 %1 的%2 为空，应写作 <none>").arg(id, u8(slot)));
                    if (field >= count || namesNothing(fields[field]))
                        continue;
                    const QString missing = missingReference(fields[field], TeamTypes);
                    if (!missing.isEmpty())
                        add(Level::Error, "引用缺失", RecordKind::Trigger, id, i,
                            u8("触发的%1：%2").arg(u8(slot), missing));
                }
            }
        }
    }

    // ---- registered records

    void checkRecord(Registry r, QByteArrayView id, qsizetype registryLine) {
        const RegistryInfo& info = kRegistries[r];
        const QString name = decode(id);
        const std::span<const IniText::Section* const> found = sectionsNamed(id);
        if (found.empty()) {
            QString text = u8("%1 %2 没有对应的节 [%2]").arg(u8(info.what), name);
            const QString other = sectionInOtherCase(id);
            if (!other.isEmpty())
                text += u8("（只有大小写不同的节 [%1]，编辑器找不到它）").arg(other);
            add(Level::Error, "缺少节", info.kind, name, registryLine, text);
            return;
        }
        // Sections of one name in several files are one section, the later files' keys
        // winning; twice in one file, it is a slip.
        for (size_t a = 0; a < found.size(); ++a) {
            const int part = origins_.place(found[a]->header).part;
            size_t n = 0;
            qsizetype second = -1;
            for (size_t b = a; b < found.size(); ++b)
                if (origins_.place(found[b]->header).part == part && ++n == 2)
                    second = found[b]->header;
            if (second >= 0 && (a == 0 || origins_.place(found[a - 1]->header).part != part)) {
                add(Level::Error, "节重复", info.kind, name, second,
                    u8("节 [%1] 在文件中出现了 %2 次（首次在%3）")
                        .arg(name)
                        .arg(n)
                        .arg(where(found[a]->header)));
            }
        }
        if (origins_.partCount() > 1 && found.size() > 1)
            reportOverrides(info.kind, name, found);
        if (r == TeamTypes) {
            checkTeamType(name, found);
            return;
        }
        for (const IniText::Section* s : found)
            checkRows(r, name, *s);
    }

    // A key of a record that a later file sets again: the game uses the later value.
    void reportOverrides(RecordKind kind, const QString& name,
                         std::span<const IniText::Section* const> found) {
        ByName<qsizetype> keys;
        for (const IniText::Section* s : found)
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text_.kind(i) != IniText::Kind::Key)
                    continue;
                const auto [seen, added] = keys.emplace(stdView(text_.key(i)), i);
                if (added)
                    continue;
                if (origins_.place(seen->second).part != origins_.place(i).part)
                    add(Level::Hint, "覆盖", kind, name, i,
                        u8("[%1] 的 %2 在%3写过，这里又写了一次，游戏使用这里的值")
                            .arg(name, decode(text_.key(i)), where(seen->second)));
                seen->second = i;
            }
    }

    // The name of a section that differs from id only in letter case; empty when none.
    QString sectionInOtherCase(QByteArrayView id) {
        if (folded_.isEmpty())
            for (const IniText::Section& s : text_.sections())
                folded_.insert(s.name.toByteArray().toLower(), s.name);
        const auto it = folded_.constFind(id.toByteArray().toLower());
        return it == folded_.cend() ? QString() : decode(*it);
    }

    void checkTeamType(const QString& name, std::span<const IniText::Section* const> found) {
        // Of keys given twice the later one counts, as when the team type is loaded.
        qsizetype taskForce = -1;
        qsizetype script = -1;
        for (const IniText::Section* s : found)
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text_.kind(i) != IniText::Kind::Key)
                    continue;
                if (text_.key(i) == "TaskForce")
                    taskForce = i;
                else if (text_.key(i) == "Script")
                    script = i;
            }
        const std::pair<qsizetype, Registry> refs[] = {{taskForce, TaskForces},
                                                       {script, ScriptTypes}};
        for (const auto& [line, want] : refs) {
            if (line < 0 || namesNothing(text_.value(line)))
                continue; // a new team type has neither yet
            const QString missing = missingReference(text_.value(line), want);
            if (!missing.isEmpty())
                add(Level::Error, "引用缺失", RecordKind::TeamType, name, line,
                    u8("作战小队的 %1：%2").arg(decode(text_.key(line)), missing));
        }
    }

    void checkRows(Registry r, const QString& name, const IniText::Section& s) {
        const RegistryInfo& info = kRegistries[r];
        const bool taskForce = r == TaskForces;
        const recordlines::SectionLines read = recordlines::readSectionAt(
            text_, s, codec_, taskForce ? SectionKind::TaskForce : SectionKind::Script);
        if (read.strayKey >= 0) {
            const QByteArrayView key = text_.key(read.strayKey);
            add(Level::Error, "节格式", info.kind, name, read.strayKey,
                u8("%1 %2 的节含有%3键 %4，编辑器无法读取它")
                    .arg(u8(info.what), name,
                         u8(teamtype::keyIndex(key) >= 0 ? "作战小队的" : "不属于它的"),
                         decode(key)));
            return;
        }
        QStringList numbers;
        for (const SectionRow& row : read.rows)
            numbers << row.number;
        if (!fieldrules::rowNumberingFits(numbers))
            add(Level::Error, "行编号", info.kind, name, read.rowLine.front(),
                u8("%1 %2 共 %3 行，最后一行的编号却是 %4，应从 0 起连续编号，否则无法保存")
                    .arg(u8(info.what), name)
                    .arg(numbers.size())
                    .arg(numbers.back()));
        // A task force row's count and unit, a script row's action and parameter.
        for (const qsizetype line : read.rowLine) {
            const QByteArrayView value = text_.value(line);
            if (taskForce)
                units_.count(lines::after(value, ','), name, info.kind, line);
            else
                actions_.count(lines::before(value, ','), name, info.kind, line);
            if (!catalogues_.mod)
                continue;
            if (taskForce)
                checkDefined(lines::after(value, ','), info.kind, name, line);
            else
                checkBuilding(value, info.kind, name, line);
        }
    }

    // ---- against the game's rules file in use

    void checkDefined(QByteArrayView unit, RecordKind kind, const QString& record, qsizetype line) {
        unit = lines::trimBlanks(unit);
        if (namesNothing(unit) || catalogues_.mod->ids.contains(decode(unit)))
            return;
        QString text = u8("单位 %1 未在规则文件中定义").arg(decode(unit));
        if (const QString other = modIdInOtherCase(decode(unit)); !other.isEmpty())
            text += u8("（规则文件中有 %1）").arg(other);
        add(Level::Error, "未定义单位", kind, record, line, text);
    }

    // The mod's ID that differs from id only in letter case; empty when none.
    QString modIdInOtherCase(const QString& id) {
        if (modFolded_.isEmpty())
            for (const QString& known : catalogues_.mod->ids) {
                QString& kept = modFolded_[known.toCaseFolded()];
                if (kept.isEmpty() || known < kept) // the same answer every time
                    kept = known;
            }
        return modFolded_.value(id.toCaseFolded());
    }

    void checkBuilding(QByteArrayView row, RecordKind kind, const QString& record, qsizetype line) {
        const std::optional<long long> action = plainNumber(lines::before(row, ','));
        const std::optional<long long> parameter = plainNumber(lines::after(row, ','));
        if (!action || !parameter || *action > std::numeric_limits<int>::max() ||
            !isBuildingAction(static_cast<int>(*action)))
            return;
        const qint64 index = buildingIndex(*parameter);
        if (index >= catalogues_.mod->buildingCount)
            add(Level::Error, "建筑编号", kind, record, line,
                u8("建筑编号 %1 超出规则文件的建筑列表（共 %2 个）")
                    .arg(index)
                    .arg(catalogues_.mod->buildingCount));
    }

    // ---- what keeps the computer from using a trigger or sending its teams

    // The mod's countries, sides and build rules; null when it lists no countries.
    const buildrule::World* world() const {
        return catalogues_.mod && catalogues_.mod->world &&
                       !catalogues_.mod->world->countries.isEmpty()
                   ? catalogues_.mod->world
                   : nullptr;
    }

    bool isCountry(const QString& house) {
        if (countries_.isEmpty())
            for (const QString& country : world()->countries)
                countries_.insert(country.toCaseFolded());
        return countries_.contains(house.toCaseFolded());
    }

    void checkTriggerUse(const std::vector<QByteArrayView>& fields, const QString& id,
                         qsizetype i) {
        const auto count = static_cast<int>(fields.size());
        if (count >= trigger::kFieldCount &&
            std::all_of(fields.begin() + 15, fields.begin() + 18,
                        [](QByteArrayView f) { return plainNumber(f) == 0; }))
            add(Level::Hint, "难度", RecordKind::Trigger, id, i,
                u8("三个难度都未启用，电脑不会使用此触发"));
        if (count > 9) {
            bool minRead = false;
            bool maxRead = false;
            const double min = lines::trimBlanks(fields[8]).toByteArray().toDouble(&minRead);
            const double max = lines::trimBlanks(fields[9]).toByteArray().toDouble(&maxRead);
            if (minRead && maxRead && min > max)
                add(Level::Hint, "分量", RecordKind::Trigger, id, i, u8("分量下限大于上限"));
        }
        checkChoiceHints(fields, id, i);
        if (!world())
            return;
        if (count > 12) {
            const QString house = decode(lines::trimBlanks(fields[2]));
            const std::optional<long long> side = forecast::number(decode(fields[12]));
            if (side && *side >= 1 && *side <= world()->sides.size() &&
                forecast::foldName(house) != QLatin1String("<all>") && isCountry(house) &&
                std::none_of(world()->sides[*side - 1].begin(), world()->sides[*side - 1].end(),
                             [&](const QString& c) {
                                 return forecast::foldName(c) == forecast::foldName(house);
                             }))
                add(Level::Hint, "阵营", RecordKind::Trigger, id, i,
                    u8("国家 %1 不属于阵营 %2，电脑不会使用此触发").arg(house).arg(*side));
        }
        if (count > 2) {
            const QString house = decode(lines::trimBlanks(fields[2]));
            if (house != QLatin1String("<all>") &&
                forecast::foldName(house) != QLatin1String("<none>") && !isCountry(house))
                add(Level::Error, "未定义国家", RecordKind::Trigger, id, i,
                    u8("国家 %1 未在规则文件中定义").arg(house));
        }
        if (count > 12) {
            const QString side = decode(lines::trimBlanks(fields[12]));
            const std::optional<int> n = buildrule::sideNumber(side);
            const auto sides = world()->sides.size();
            if (!n || *n < 0 || *n > sides)
                add(Level::Hint, "所属方", RecordKind::Trigger, id, i,
                    u8("所属方 %1 不在 0 到 %2 之间（规则文件的 [Sides] 共 %2 项）")
                        .arg(side)
                        .arg(sides));
        }
    }

    // What keeps the computer from choosing a trigger, or makes its choice lopsided.
    void checkChoiceHints(const std::vector<QByteArrayView>& fields, const QString& id,
                          qsizetype i) {
        const auto count = static_cast<int>(fields.size());
        const auto field = [&](int f) { return decode(lines::trimBlanks(fields[f])); };
        if (count > 2 && forecast::foldName(field(2)) == QLatin1String("<none>"))
            add(Level::Hint, "国家", RecordKind::Trigger, id, i,
                u8("国家为 <none>，电脑永远不会使用此触发"));
        if (count > 10 && field(10) != QLatin1String("1"))
            add(Level::Hint, "遭遇战", RecordKind::Trigger, id, i,
                u8("遭遇战开关（字段 10）不是 1，遭遇战中不会使用此触发"));
        if (count > 9 && forecast::decimal(field(9)).value_or(0) < 1)
            add(Level::Hint, "分量", RecordKind::Trigger, id, i,
                u8("分量上限小于 1，电脑不会选中此触发"));
        if (count > 7 && forecast::decimal(field(7)) == 5000.0)
            add(Level::Hint, "分量", RecordKind::Trigger, id, i, u8("可选时其他触发都不会被选中"));
        if (count > 6) {
            const std::optional<long long> type = forecast::number(field(4));
            if (!type || *type < -1 || *type > 7)
                add(Level::Hint, "条件", RecordKind::Trigger, id, i,
                    u8("游戏没有条件类型 %1，电脑不会使用此触发").arg(field(4)));
            else if (const std::optional<forecast::Condition> c = forecast::readBlock(fields[6]);
                     c && (*type == 0 || *type == 1 || *type == 4 || *type == 7) &&
                     (c->op < 0 || c->op > 5))
                add(Level::Hint, "条件", RecordKind::Trigger, id, i,
                    u8("条件的比较方式 %1 不在 0 到 5 之间，电脑不会使用此触发").arg(c->op));
        }
        if (count > 1 && !namesNothing(lines::trimBlanks(fields[1])) &&
            scriptLacksDone(lines::trimBlanks(fields[1])))
            add(Level::Hint, "脚本", RecordKind::Trigger, id, i,
                u8("小队1 的脚本没有动作 49：每次出兵都会算作失败，分量会降到下限"));
    }

    // Whether a registered team type's registered script has no row of action 49.
    bool scriptLacksDone(QByteArrayView team) {
        const auto registered = [this](QByteArrayView id, Registry r) {
            const auto claim = claims_.find(stdView(id));
            return claim != claims_.end() && claim->second.registry == r;
        };
        if (!registered(team, TeamTypes))
            return false;
        QByteArrayView script;
        for (const IniText::Section* s : sectionsNamed(team))
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i)
                if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "Script")
                    script = text_.value(i);
        if (!registered(script, ScriptTypes))
            return false;
        const auto [known, added] = scriptsDone_.try_emplace(stdView(script), false);
        if (!added)
            return !known->second;
        for (const IniText::Section* s : sectionsNamed(script)) {
            const recordlines::SectionLines read =
                recordlines::readSectionAt(text_, *s, codec_, SectionKind::Script);
            for (const qsizetype line : read.rowLine)
                if (plainNumber(lines::before(text_.value(line), ',')) == 49)
                    known->second = true;
        }
        return !known->second;
    }

    // The countries that never send an attack on a level: no defensive trigger for them.
    void checkUndefended() {
        if (!world())
            return;
        const std::span<const IniText::Section* const> triggers = sectionsNamed(kTriggers);
        const qsizetype line = triggers.empty() ? 0 : triggers.front()->header;
        const forecast::Forecaster forecaster(text_, codec_, *world());
        for (const forecast::Undefended& u : forecaster.undefended())
            add(Level::Hint, "防守触发", RecordKind::None, QString(), line,
                u8("国家 %1 在第 %2 档没有防守触发：电脑永远不会出兵进攻")
                    .arg(u.country)
                    .arg(u.level));
    }

    void checkUnbuildable() {
        if (!world())
            return;
        for (const IniText::Section* s : sectionsNamed(kTriggers))
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text_.kind(i) != IniText::Kind::Key)
                    continue;
                const QByteArray line = recordlines::triggerLine(text_, i);
                const std::vector<QByteArrayView> fields = trigger::splitFields(line);
                if (fields.size() < 3)
                    continue;
                const QString house = decode(lines::trimBlanks(fields[2]));
                if (house != QLatin1String("<all>") && !isCountry(house))
                    continue; // a trigger of no country is never used: told above
                const buildrule::Countries countries = buildrule::countriesOf(
                    *world(), house, fields.size() > 12 ? decode(fields[12]) : QString());
                if (countries.list.isEmpty())
                    continue;
                const QByteArrayView first = lines::trimBlanks(fields[1]);
                const QByteArrayView second =
                    fields.size() > 14 ? lines::trimBlanks(fields[14]) : QByteArrayView();
                for (int t = 0; t < 2; ++t) {
                    const QByteArrayView team = t == 0 ? first : second;
                    if (namesNothing(team) || (t == 1 && second == first))
                        continue; // a team named twice is sent as one
                    for (const QByteArrayView unit : unitsOf(team)) {
                        const QString why = refusal(countries, unit);
                        if (!why.isEmpty())
                            add(Level::Hint, "无法建造", RecordKind::Trigger, decode(text_.key(i)),
                                i,
                                u8("触发 %1 的作战小队 %2 需要单位 %3，但%4都无法建造它（%5）")
                                    .arg(decode(text_.key(i)), decode(team), decode(unit),
                                         countries.who, why));
                    }
                }
            }
    }

    // The distinct units the mod defines in the rows of a registered team type's task force.
    const std::vector<QByteArrayView>& unitsOf(QByteArrayView team) {
        const auto [it, added] = teamUnits_.try_emplace(team.toByteArray());
        if (!added)
            return it->second;
        std::vector<QByteArrayView>& units = it->second;
        const auto registered = [this](QByteArrayView id, Registry r) {
            const auto claim = claims_.find(stdView(id));
            return claim != claims_.end() && claim->second.registry == r;
        };
        if (!registered(team, TeamTypes))
            return units;
        QByteArrayView taskForce;
        for (const IniText::Section* s : sectionsNamed(team))
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i)
                if (text_.kind(i) == IniText::Kind::Key && text_.key(i) == "TaskForce")
                    taskForce = text_.value(i); // the later one counts
        if (!registered(taskForce, TaskForces))
            return units;
        ByName<bool> seen;
        for (const IniText::Section* s : sectionsNamed(taskForce)) {
            const recordlines::SectionLines read =
                recordlines::readSectionAt(text_, *s, codec_, SectionKind::TaskForce);
            for (const qsizetype line : read.rowLine) {
                const QByteArrayView unit = lines::trimBlanks(lines::after(text_.value(line), ','));
                if (seen.emplace(stdView(unit), true).second &&
                    catalogues_.mod->ids.contains(decode(unit)))
                    units.push_back(unit);
            }
        }
        return units;
    }

    // Why none of countries can build unit, for the first of them; empty when one can, or
    // when the mod gives no rule for the unit.
    QString refusal(const buildrule::Countries& countries, QByteArrayView unit) {
        const QString id = decode(unit);
        const auto [it, added] = refusals_.try_emplace(countries.who + QLatin1Char('\n') + id);
        if (!added)
            return it->second;
        const auto found = world()->types.find(id);
        if (found == world()->types.end())
            return it->second;
        const buildrule::TypeRule* rule = &found->second;
        const int max = world()->maxTechLevel;
        if (std::none_of(countries.list.begin(), countries.list.end(), [&](const QString& c) {
                return buildrule::refusal(*rule, c, max).isEmpty();
            }))
            it->second = buildrule::refusal(*rule, countries.list.front(), max);
        return it->second;
    }

    // ---- sections in no registry

    void checkUnregistered() {
        QSet<QByteArrayView> told;
        for (const IniText::Section& s : text_.sections()) {
            if (claims_.count(stdView(s.name)) || s.name == kTriggers || told.contains(s.name) ||
                std::any_of(std::begin(kRegistries), std::end(kRegistries),
                            [&](const RegistryInfo& r) { return r.section == s.name; }))
                continue;
            const int looks = looksLike(s);
            if (looks < 0)
                continue;
            told.insert(s.name);
            const RegistryInfo& info = kRegistries[looks];
            add(Level::Hint, "未登记", RecordKind::None, decode(s.name), s.header,
                u8("节 [%1] 像是%2，但不在 [%3] 中")
                    .arg(decode(s.name), u8(info.what), decode(info.section)));
        }
    }

    // The registry a section's keys belong to: two keys only a team type has, or a Name
    // with numbered rows (a task force's Group among them); -1 for neither.
    int looksLike(const IniText::Section& s) const {
        int teamKeys = 0;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text_.kind(i) != IniText::Kind::Key)
                continue;
            const int k = teamtype::keyIndex(text_.key(i));
            if (k >= 0 && k != teamtype::Name && k != teamtype::Group && ++teamKeys == 2)
                return TeamTypes;
        }
        for (const auto& [kind, registry] : {std::pair{SectionKind::Script, ScriptTypes},
                                             std::pair{SectionKind::TaskForce, TaskForces}}) {
            const recordlines::SectionLines read =
                recordlines::readSectionAt(text_, s, codec_, kind);
            if (read.strayKey < 0 && read.nameLine >= 0 && !read.rows.empty())
                return registry;
        }
        return -1;
    }

    // ---- hints on values used many times

    void reportUnits() {
        if (catalogues_.unitIds.isEmpty() || catalogues_.mod)
            return; // the mod's own types are checked as errors instead
        QSet<QString> known;
        QHash<QString, QString> byFolded;
        for (const QString& id : catalogues_.unitIds) {
            known.insert(id);
            byFolded.insert(id.toCaseFolded(), id);
        }
        for (const Tally& t : units_.list()) {
            const QString unit = decode(t.value);
            if (known.contains(unit))
                continue;
            QString text = u8("单位 %1 不在单位名称表中").arg(unit);
            const auto other = byFolded.constFind(unit.toCaseFolded());
            if (other != byFolded.cend())
                text += u8("（表中有大小写不同的 %1）").arg(*other);
            add(Level::Hint, "未知单位", t.kind, t.record, t.line,
                text + u8("，共使用 %1 次").arg(t.uses));
        }
    }

    void reportActions() {
        for (const Tally& t : actions_.list()) {
            const QString action = decode(t.value);
            if (isDigits(action) && scripts::actionByNumber(scripts::numericValue(action)))
                continue;
            add(Level::Hint, "未知动作", t.kind, t.record, t.line,
                u8("动作 %1 不在动作目录中，共使用 %2 次").arg(action).arg(t.uses));
        }
    }

    const IniText& text_;
    const TextCodec& codec_;
    const CheckCatalogues& catalogues_;
    const fileset::Origins origins_;
    ByName<const IniText::Section*> sections_;              // the first of each name
    ByName<std::vector<const IniText::Section*>> repeated_; // every one of a name used twice
    QHash<QByteArray, QByteArrayView> folded_; // section names by lower case, when needed
    ByName<Claim> claims_;
    std::vector<std::pair<QByteArrayView, qsizetype>> registered_[kRegistryCount];
    Tallies units_;
    Tallies actions_;
    QHash<QString, QString> modFolded_; // the mod's IDs by case-folded ID, when needed
    QSet<QString> countries_;           // the mod's countries, case-folded, when needed
    ByName<bool> scriptsDone_;          // whether a script has a row of action 49
    std::unordered_map<QByteArray, std::vector<QByteArrayView>> teamUnits_;
    std::unordered_map<QString, QString, buildrule::TextHash> refusals_; // by countries, unit
    std::vector<Problem> problems_;
};

} // namespace

QString levelText(Level level) {
    return level == Level::Error ? u8("错误") : u8("提示");
}

std::vector<Problem> checkRules(const IniText& text, const TextCodec& codec,
                                const CheckCatalogues& catalogues) {
    return Checker(text, codec, catalogues).run();
}

std::vector<Problem> unbuildableUnits(const IniText& text, const TextCodec& codec,
                                      const ModTypes& mod) {
    const CheckCatalogues catalogues{{}, mod};
    return Checker(text, codec, catalogues).runBuildRule();
}

} // namespace tarvok::filecheck
