#include "records/Compare.h"

#include "document/FileSet.h"
#include "records/FieldRules.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"
#include "records/TriggerTable.h"

#include <QHash>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tarvok::compare {
namespace {

constexpr QByteArrayView kTriggers("AITriggerTypes");
constexpr QByteArrayView kNameKey("Name");
constexpr int kConditionBlock = 6; // a trigger's field compared without letter case

std::string foldedName(QByteArrayView name) {
    std::string s(name.data(), static_cast<size_t>(name.size()));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return s;
}

QByteArrayView trimmedView(QByteArrayView v) {
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t'))
        v.chop(1);
    return v;
}

bool sameKey(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Compares the records of two sides, decoding only what differs.
class Comparer {
  public:
    Comparer(const Side& old, const Side& now)
        : oldCodec_(old.index().codec()), nowCodec_(now.index().codec()),
          sameCodec_(oldCodec_.encoding() == nowCodec_.encoding()) {}

    std::vector<Value> differences(const Record& o, const Record& n) const {
        return o.kind == Kind::Trigger ? triggerValues(o, n) : sectionValues(o, n);
    }

  private:
    // Whether two raw values are the same, deciding on their bytes where that is enough.
    bool same(QByteArrayView a, QByteArrayView b, bool caseless) const {
        a = trimmedView(a);
        b = trimmedView(b);
        if (sameCodec_ && a == b)
            return true;
        return sameValue(oldCodec_.decode(a), nowCodec_.decode(b), caseless);
    }

    std::vector<Value> triggerValues(const Record& o, const Record& n) const {
        std::vector<Value> out;
        const size_t count = std::max(o.lines.size(), n.lines.size());
        for (size_t i = 0; i < count; ++i) {
            const bool inOld = i < o.lines.size(), inNew = i < n.lines.size();
            if (inOld && inNew && same(o.lines[i].value, n.lines[i].value, i == kConditionBlock))
                continue;
            Value v;
            v.key = i == 0 ? QStringLiteral("name") : QString::number(i);
            if (inOld)
                v.old = oldCodec_.decode(trimmedView(o.lines[i].value));
            if (inNew)
                v.now = nowCodec_.decode(trimmedView(n.lines[i].value));
            out.push_back(std::move(v));
        }
        return out;
    }

    std::vector<Value> sectionValues(const Record& o, const Record& n) const {
        if (sameCodec_ && o.lines.size() == n.lines.size() &&
            std::equal(o.lines.begin(), o.lines.end(), n.lines.begin(),
                       [](const RawValue& a, const RawValue& b) {
                           return a.key == b.key && a.value == b.value;
                       }))
            return {};
        const std::vector<RawValue> ov = Side::values(o), nv = Side::values(n);
        std::vector<bool> matched(ov.size());
        std::vector<Value> out;
        for (const RawValue& b : nv) {
            const auto it = std::find_if(ov.begin(), ov.end(),
                                         [&b](const RawValue& a) { return sameKey(a.key, b.key); });
            if (it != ov.end()) {
                matched[size_t(it - ov.begin())] = true;
                if (same(it->value, b.value, false))
                    continue;
            }
            Value v;
            v.key = nowCodec_.decode(b.key);
            if (it != ov.end())
                v.old = oldCodec_.decode(it->value);
            v.now = nowCodec_.decode(b.value);
            out.push_back(std::move(v));
        }
        for (size_t i = 0; i < ov.size(); ++i)
            if (!matched[i])
                out.push_back({oldCodec_.decode(ov[i].key), oldCodec_.decode(ov[i].value), {}});
        return out;
    }

    const TextCodec& oldCodec_;
    const TextCodec& nowCodec_;
    bool sameCodec_;
};

Difference differenceOf(const Side& side, const Record& r, Change change) {
    const TextCodec& codec = side.index().codec();
    return {r.kind, codec.decode(r.id), codec.decode(Side::name(r)), change, {}};
}

} // namespace

Side::Side(const RulesIndex& index) : index_(index) {
    const IniText& text = index.text();
    const RulesScan& scan = index.scan();
    // Where each record's lines start in values_ and how many it has, until values_ stops
    // growing and the spans can be made.
    std::vector<std::pair<size_t, size_t>> spans[4];

    // Triggers: an ID written again takes the first line's place with the later line.
    std::vector<Record>& triggers = records_[int(Kind::Trigger)];
    ByName<size_t>& triggerIds = byId_[int(Kind::Trigger)];
    triggerIds.reserve(scan.triggerKeys.size());
    for (const IniText::Section& section : text.sections(kTriggers))
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            const auto [it, added] = triggerIds.try_emplace(stdView(text.key(i)), triggers.size());
            if (added)
                triggers.push_back({Kind::Trigger, text.key(i), i, {}, false});
            triggers[it->second].line = i;
        }
    values_.reserve(triggers.size() * trigger::kFieldCount);
    for (const Record& r : triggers) {
        const size_t begin = values_.size();
        const QByteArrayView value = text.value(r.line);
        for (qsizetype from = 0;;) {
            const qsizetype comma = value.indexOf(',', from);
            values_.push_back({{}, value.sliced(from, (comma < 0 ? value.size() : comma) - from)});
            if (comma < 0)
                break;
            from = comma + 1;
        }
        spans[int(Kind::Trigger)].emplace_back(begin, values_.size() - begin);
    }

    // A record's sections are found by their name as written; the few sections whose name
    // is written in another letter case than every registry ID, by their name folded.
    const std::pair<Kind, const std::vector<QByteArrayView>*> registries[] = {
        {Kind::TeamType, &scan.teamTypes},
        {Kind::TaskForce, &scan.taskForces},
        {Kind::Script, &scan.scriptTypes}};
    for (const auto& [kind, ids] : registries) {
        std::vector<Record>& records = records_[int(kind)];
        ByName<size_t>& byId = byId_[int(kind)];
        byId.reserve(ids->size());
        for (const QByteArrayView id : *ids)
            if (!id.isEmpty() && byId.try_emplace(stdView(id), records.size()).second)
                records.push_back({kind, id, -1, {}, false});
    }
    std::unordered_map<std::string, std::vector<IniText::Section>> odd; // by folded name
    for (const IniText::Section& section : text.sections()) {
        const bool listed =
            std::any_of(std::begin(byId_) + 1, std::end(byId_), [&](const ByName<size_t>& ids) {
                return ids.count(stdView(section.name)) > 0;
            });
        if (!listed)
            odd[foldedName(section.name)].push_back(section);
    }
    for (const auto& [kind, ids] : registries) {
        for (Record& r : records_[int(kind)]) {
            std::vector<IniText::Section> sections = index.sections(r.id);
            if (const auto it = odd.find(foldedName(r.id)); it != odd.end()) {
                sections.insert(sections.end(), it->second.begin(), it->second.end());
                std::sort(sections.begin(), sections.end(),
                          [](const IniText::Section& a, const IniText::Section& b) {
                              return a.header < b.header;
                          });
            }
            const size_t begin = values_.size();
            for (const IniText::Section& s : sections) {
                r.hasSection = true;
                for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
                    if (text.kind(i) == IniText::Kind::Key)
                        values_.push_back({text.key(i), text.value(i)});
            }
            spans[int(kind)].emplace_back(begin, values_.size() - begin);
        }
    }
    for (int k = 0; k < 4; ++k)
        for (size_t i = 0; i < records_[k].size(); ++i)
            records_[k][i].lines =
                std::span<const RawValue>(values_).subspan(spans[k][i].first, spans[k][i].second);
}

const Record* Side::find(Kind kind, QByteArrayView id) const {
    const auto it = byId_[int(kind)].find(stdView(id));
    return it == byId_[int(kind)].end() ? nullptr : &records_[int(kind)][it->second];
}

std::vector<RawValue> Side::values(const Record& record) {
    if (record.kind == Kind::Trigger)
        return {record.lines.begin(), record.lines.end()};
    std::vector<RawValue> out;
    for (const RawValue& v : record.lines) {
        const auto it = std::find_if(out.begin(), out.end(),
                                     [&v](const RawValue& o) { return sameKey(o.key, v.key); });
        if (it == out.end())
            out.push_back(v);
        else
            it->value = v.value;
    }
    return out;
}

QByteArrayView Side::name(const Record& record) {
    if (record.kind == Kind::Trigger)
        return record.lines.empty() ? QByteArrayView() : trimmedView(record.lines.front().value);
    QByteArrayView name;
    for (const RawValue& v : record.lines)
        if (sameKey(v.key, kNameKey))
            name = v.value;
    return name;
}

std::vector<Difference> compare(const Side& old, const Side& now, bool withSame) {
    const Comparer comparer(old, now);
    std::vector<Difference> out;
    for (const Kind kind : {Kind::Trigger, Kind::TeamType, Kind::TaskForce, Kind::Script}) {
        for (const Record& n : now.records(kind)) {
            const Record* o = old.find(kind, n.id);
            if (!o) {
                out.push_back(differenceOf(now, n, Change::Added));
                continue;
            }
            std::vector<Value> values = comparer.differences(*o, n);
            if (values.empty() && !withSame)
                continue;
            Difference d = differenceOf(now, n, values.empty() ? Change::Same : Change::Changed);
            if (d.name.isEmpty())
                d.name = old.index().codec().decode(Side::name(*o));
            d.values = std::move(values);
            out.push_back(std::move(d));
        }
        for (const Record& o : old.records(kind))
            if (!now.find(kind, o.id))
                out.push_back(differenceOf(old, o, Change::Removed));
    }
    return out;
}

std::vector<Value> differences(const Side& oldSide, const Record& old, const Side& nowSide,
                               const Record& now) {
    return Comparer(oldSide, nowSide).differences(old, now);
}

bool sameValue(QStringView a, QStringView b, bool caseless) {
    a = a.trimmed();
    b = b.trimmed();
    if (a.compare(b, caseless ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
        return true;
    const std::optional<double> x = fieldrules::decimalNumber(a);
    return x && fieldrules::decimalNumber(b) == x;
}

std::optional<QByteArray> versionWithFilesNow(const QByteArray& version,
                                              const QByteArray& current) {
    if (!fileset::isJoined(version))
        return version;
    const QString first = QStringLiteral("first");
    std::optional<std::vector<fileset::Part>> parts = fileset::split(version, first);
    const std::optional<std::vector<fileset::Part>> now = fileset::split(current, first);
    if (!parts || !now || !fileset::fill(*parts, *now))
        return std::nullopt;
    return fileset::join(std::move(*parts));
}

Counts countsOf(const std::vector<Difference>& differences) {
    Counts c;
    for (const Difference& d : differences) {
        c.added += d.change == Change::Added;
        c.removed += d.change == Change::Removed;
        c.changed += d.change == Change::Changed;
    }
    return c;
}

QString kindText(Kind kind) {
    switch (kind) {
    case Kind::Trigger:
        return QStringLiteral("触发");
    case Kind::TeamType:
        return QStringLiteral("作战小队");
    case Kind::TaskForce:
        return QStringLiteral("特遣小队");
    case Kind::Script:
        return QStringLiteral("脚本");
    }
    return {};
}

QString changeText(Change change) {
    switch (change) {
    case Change::Added:
        return QStringLiteral("新增");
    case Change::Removed:
        return QStringLiteral("删除");
    case Change::Changed:
        return QStringLiteral("修改");
    case Change::Same:
        return QStringLiteral("相同");
    }
    return {};
}

QString label(Kind kind, const QString& key) {
    namespace tt = triggertable;
    if (kind == Kind::Trigger) {
        static const QHash<QString, QString> fields{
            {QStringLiteral("name"), tt::header(tt::Name)},
            {QStringLiteral("1"), tt::header(tt::Team1)},
            {QStringLiteral("2"), tt::header(tt::Country)},
            {QStringLiteral("3"), QStringLiteral("科技等级")},
            {QStringLiteral("4"), tt::header(tt::Condition)},
            {QStringLiteral("5"), QStringLiteral("条件单位名")},
            {QStringLiteral("7"), tt::header(tt::Base)},
            {QStringLiteral("8"), tt::header(tt::Min)},
            {QStringLiteral("9"), tt::header(tt::Max)},
            {QStringLiteral("12"), tt::header(tt::Side)},
            {QStringLiteral("14"), tt::header(tt::Team2)},
            {QStringLiteral("15"), tt::header(tt::Easy)},
            {QStringLiteral("16"), tt::header(tt::Medium)},
            {QStringLiteral("17"), tt::header(tt::Hard)},
        };
        return fields.value(key, key);
    }
    if (key.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return kind == Kind::TeamType ? QStringLiteral("名称(注释)") : QStringLiteral("名称");
    if (kind != Kind::TeamType)
        return key;
    // The team type panel's labels and flag boxes.
    static const QHash<QString, QString> keys{
        {QStringLiteral("priority"), QStringLiteral("优先级")},
        {QStringLiteral("max"), QStringLiteral("小队个数")},
        {QStringLiteral("mindcontroldecision"), QStringLiteral("遭心灵控制后的动作")},
        {QStringLiteral("taskforce"), QStringLiteral("特遣小队")},
        {QStringLiteral("script"), QStringLiteral("脚本")},
        {QStringLiteral("techlevel"), QStringLiteral("科技等级")},
        {QStringLiteral("aggressive"), QStringLiteral("侵略小队")},
        {QStringLiteral("annoyance"), QStringLiteral("烦恼效果")},
        {QStringLiteral("areteammembersrecruitable"), QStringLiteral("小队重组")},
        {QStringLiteral("autocreate"), QStringLiteral("自动建造")},
        {QStringLiteral("avoidthreats"), QStringLiteral("规避威胁")},
        {QStringLiteral("droppod"), QStringLiteral("使用空降舱")},
        {QStringLiteral("full"), QStringLiteral("运载工具内部")},
        {QStringLiteral("guardslower"), QStringLiteral("降低反应速度")},
        {QStringLiteral("ionimmune"), QStringLiteral("离子风暴免疫")},
        {QStringLiteral("isbasedefense"), QStringLiteral("基地防御小队")},
        {QStringLiteral("loadable"), QStringLiteral("可装载")},
        {QStringLiteral("looserecruit"), QStringLiteral("解散新兵")},
        {QStringLiteral("onlytargethouseenemy"), QStringLiteral("只攻击敌方")},
        {QStringLiteral("ontransonly"), QStringLiteral("只能运输")},
        {QStringLiteral("prebuild"), QStringLiteral("预先建造")},
        {QStringLiteral("recruiter"), QStringLiteral("强制重组")},
        {QStringLiteral("reinforce"), QStringLiteral("增援部队")},
        {QStringLiteral("suicide"), QStringLiteral("自毁攻击")},
        {QStringLiteral("transportsreturnonunload"), QStringLiteral("运载工具返回")},
        {QStringLiteral("usetransportorigin"), QStringLiteral("原始运载工具")},
        {QStringLiteral("whiner"), QStringLiteral("哀叫效果")},
    };
    return keys.value(key.toLower(), key);
}

QString valueText(Kind kind, const Value& value) {
    const QString none = QStringLiteral("（无）");
    return QStringLiteral("%1：%2 → %3")
        .arg(label(kind, value.key), value.old.value_or(none), value.now.value_or(none));
}

} // namespace tarvok::compare
