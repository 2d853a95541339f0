#include "records/TakeAcross.h"

#include "document/FileSet.h"
#include "records/RecordChain.h"
#include "records/RecordLines.h"
#include "records/Registry.h"
#include "records/TriggerLine.h"
#include "records/TriggerList.h"

#include <QSet>

#include <array>

#include <algorithm>
#include <deque>
#include <map>

namespace tarvok::take {
namespace {

using compare::Record;
using compare::Side;

constexpr QByteArrayView kTriggers("AITriggerTypes");

QByteArrayView registryOf(Kind kind) {
    return kind == Kind::TeamType    ? QByteArrayView("TeamTypes")
           : kind == Kind::TaskForce ? QByteArrayView("TaskForces")
                                     : QByteArrayView("ScriptTypes");
}
int slotOf(Kind kind) {
    return kind == Kind::TeamType ? 0 : kind == Kind::TaskForce ? 1 : 2;
}

bool keyIs(QByteArrayView key, const char* name) {
    return key.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0;
}

QByteArrayView trimmed(QByteArrayView v) {
    return v.trimmed();
}

// The value of a section record's key, the later line winning; nothing when it has none.
std::optional<QByteArrayView> valueOf(const Record& r, const char* key) {
    std::optional<QByteArrayView> out;
    for (const compare::RawValue& v : r.lines)
        if (keyIs(v.key, key))
            out = v.value;
    return out;
}

// The records another record names: a trigger its two team types, a team type its task
// force and script.
std::vector<std::pair<Kind, QByteArrayView>> named(const Record& r) {
    std::vector<std::pair<Kind, QByteArrayView>> out;
    if (r.kind == Kind::Trigger) {
        for (const size_t f : {size_t{1}, size_t{14}})
            if (f < r.lines.size() && trigger::namesTeam(trimmed(r.lines[f].value)))
                out.emplace_back(Kind::TeamType, trimmed(r.lines[f].value));
    } else if (r.kind == Kind::TeamType) {
        if (const auto tf = valueOf(r, "TaskForce"); tf && !tf->isEmpty())
            out.emplace_back(Kind::TaskForce, *tf);
        if (const auto s = valueOf(r, "Script"); s && !s->isEmpty())
            out.emplace_back(Kind::Script, *s);
    }
    return out;
}

// One record of the other side to take, with the record of the open file it replaces.
struct Item {
    const Record* from = nullptr; // the other side's
    const Record* into = nullptr; // the open file's; null for an add
    QByteArray newId;             // an add's ID in the open file, encoded
};

// The picks sorted into what is taken and what is removed, with the records they name.
struct Selection {
    std::vector<Item> items;
    std::vector<const Record*> removals;
};

Selection select(const Side& current, const Side& other, const std::vector<Pick>& picks,
                 bool withChain) {
    Selection s;
    const TextCodec& cc = current.index().codec();
    const TextCodec& oc = other.index().codec();
    QSet<const Record*> seen;
    std::deque<const Record*> chained;
    for (const Pick& p : picks) {
        const Record* from = other.find(p.kind, oc.encode(p.id));
        const Record* into = current.find(p.kind, cc.encode(p.id));
        if (from && !seen.contains(from)) {
            seen.insert(from);
            s.items.push_back({from, into, {}});
            chained.push_back(from);
        } else if (!from && into &&
                   std::find(s.removals.begin(), s.removals.end(), into) == s.removals.end()) {
            s.removals.push_back(into);
        }
    }
    while (withChain && !chained.empty()) {
        const Record* r = chained.front();
        chained.pop_front();
        for (const auto& [kind, id] : named(*r)) {
            const QByteArray ownId = cc.encode(oc.decode(id));
            if (current.find(kind, ownId))
                continue; // the open file's record stays the one named
            const Record* from = other.find(kind, id);
            if (!from || seen.contains(from))
                continue;
            seen.insert(from);
            s.items.push_back({from, nullptr, {}});
            chained.push_back(from);
        }
    }
    return s;
}

QByteArray folded(QByteArrayView id, const TextCodec& codec) {
    return codec.decode(id).toCaseFolded().toUtf8();
}

// Gives every add an ID: its own when the open file uses it in no letter case, else a free
// one in the file's style (chain::freeIds), clear of the IDs kept.
void giveIds(const IniText& text, const TextCodec& codec, const TextCodec& otherCodec,
             std::vector<Item>& items) {
    QSet<QByteArray> used;
    for (const IniText::Section& s : text.sections()) {
        used.insert(folded(s.name, codec));
        const bool triggers = s.name == kTriggers;
        if (!triggers && s.name != "TeamTypes" && s.name != "TaskForces" && s.name != "ScriptTypes")
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key)
                used.insert(folded(triggers ? text.key(i) : text.value(i), codec));
    }
    std::vector<Item*> renamed;
    QByteArray kept; // registry lines of the IDs kept, for freeIds to pass over
    for (Item& item : items) {
        if (item.into)
            continue;
        const QByteArray own = codec.encode(otherCodec.decode(item.from->id));
        const QByteArray key = folded(own, codec);
        if (!used.contains(key)) {
            used.insert(key);
            item.newId = own;
            kept += "\n[" + own + "]";
        } else {
            renamed.push_back(&item);
        }
    }
    if (renamed.empty())
        return;
    std::vector<chain::ChainRow> rows;
    for (const Item* item : renamed) {
        chain::ChainRow row;
        row.kind = item->from->kind;
        row.id = codec.encode(otherCodec.decode(item->from->id));
        rows.push_back(std::move(row));
    }
    // The IDs kept count as used: read with the file as headers of their own.
    const QByteArray withKept = text.content().toByteArray() + kept;
    const std::vector<QString> ids =
        chain::freeIds(kept.isEmpty() ? text : IniText(withKept), codec, rows);
    for (size_t i = 0; i < renamed.size(); ++i)
        renamed[i]->newId = codec.encode(ids[i]);
}

// What one take writes into the open file's lines.
class Writer {
  public:
    Writer(const Side& current, const Side& other, const std::vector<Item>& items)
        : text_(current.index().text()), cc_(current.index().codec()), oc_(other.index().codec()) {
        for (const Item& i : items)
            if (!i.into)
                renames_[{int(i.from->kind), i.from->id.toByteArray()}] = i.newId;
    }

    // A value of the other side in the open file's encoding, a reference rewired.
    QByteArray own(QByteArrayView v) const { return cc_.encode(oc_.decode(v)); }
    QByteArray reference(Kind kind, QByteArrayView id) const {
        const auto it = renames_.find({int(kind), trimmed(id).toByteArray()});
        return it != renames_.end() ? it->second : own(trimmed(id));
    }

    // A trigger's fields as the other side has them, references rewired.
    std::vector<QByteArray> triggerFields(const Record& r) const {
        std::vector<QByteArray> out;
        for (size_t f = 0; f < r.lines.size(); ++f)
            out.push_back(trigger::isTeamField(f) && trigger::namesTeam(trimmed(r.lines[f].value))
                              ? reference(Kind::TeamType, r.lines[f].value)
                              : own(trimmed(r.lines[f].value)));
        return out;
    }

    // References the comparison found equal that now point at a record added under a new
    // ID: written too.
    void addRewired(const Record& r, std::vector<compare::Value>& values) const {
        const auto listed = [&values](const QString& key) {
            return std::any_of(values.begin(), values.end(), [&key](const compare::Value& v) {
                return v.key.compare(key, Qt::CaseInsensitive) == 0;
            });
        };
        const auto renamed = [this](Kind kind, QByteArrayView id) {
            return renames_.count({int(kind), trimmed(id).toByteArray()}) > 0;
        };
        if (r.kind == Kind::Trigger) {
            for (const size_t f : {size_t{1}, size_t{14}})
                if (f < r.lines.size() && renamed(Kind::TeamType, r.lines[f].value) &&
                    !listed(QString::number(f)))
                    values.push_back({QString::number(f), {}, oc_.decode(r.lines[f].value)});
        } else if (r.kind == Kind::TeamType) {
            for (const auto& [key, kind] :
                 {std::pair{"TaskForce", Kind::TaskForce}, std::pair{"Script", Kind::Script}})
                if (const auto v = valueOf(r, key);
                    v && renamed(kind, *v) && !listed(QLatin1String(key)))
                    values.push_back({QLatin1String(key), {}, oc_.decode(*v)});
        }
    }

    QByteArray sectionValue(const Record& r, QByteArrayView key, QByteArrayView value) const {
        if (r.kind == Kind::TeamType && keyIs(key, "TaskForce"))
            return reference(Kind::TaskForce, value);
        if (r.kind == Kind::TeamType && keyIs(key, "Script"))
            return reference(Kind::Script, value);
        return own(value);
    }

    void changeTrigger(const Item& item, const std::vector<compare::Value>& values,
                       IniEdits& edits) const {
        const qsizetype line = item.into->line;
        const std::vector<QByteArray> now = triggerFields(*item.from);
        const std::vector<IniText::Range> ranges = recordlines::valueFields(text_, line);
        if (ranges.size() != now.size()) {
            edits.replaceInLine(
                line, text_.valueRange(line), now.empty() ? QByteArray() : [&] {
                    QByteArray v = now[0];
                    for (size_t f = 1; f < now.size(); ++f)
                        v += ',' + now[f];
                    return v;
                }());
            return;
        }
        const QByteArrayView lineText = text_.text(line);
        for (const compare::Value& v : values) {
            const size_t f = v.key == QLatin1String("name") ? 0 : v.key.toULongLong();
            // The field's own text, its blanks kept.
            IniText::Range r = ranges[f];
            while (r.length > 0 && (lineText[r.begin] == ' ' || lineText[r.begin] == '\t'))
                ++r.begin, --r.length;
            while (r.length > 0 && (lineText[r.begin + r.length - 1] == ' ' ||
                                    lineText[r.begin + r.length - 1] == '\t'))
                --r.length;
            edits.replaceInLine(line, r, now[f]);
        }
    }

    // The sections of the open file's record, found without letter case.
    std::vector<IniText::Section> sectionsOf(const Record& r) const {
        std::vector<IniText::Section> out;
        for (const IniText::Section& s : text_.sections())
            if (s.name.compare(r.id, Qt::CaseInsensitive) == 0)
                out.push_back(s);
        return out;
    }

    void changeSection(const Item& item, const std::vector<compare::Value>& values,
                       IniEdits& edits) const {
        const std::vector<IniText::Section> sections = sectionsOf(*item.into);
        qsizetype last = -1; // a new key follows the last key line of the record
        for (const IniText::Section& s : sections)
            last = lastKeyLine(text_, s);
        std::vector<QByteArray> missing;
        for (const compare::Value& v : values) {
            const QByteArray key = cc_.encode(v.key);
            std::vector<qsizetype> lines;
            for (const IniText::Section& s : sections)
                for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
                    if (text_.kind(i) == IniText::Kind::Key && keyIs(text_.key(i), key.constData()))
                        lines.push_back(i);
            if (!v.now) {
                for (const qsizetype i : lines)
                    edits.deleteLine(i);
                continue;
            }
            const QByteArray value =
                sectionValue(*item.from, oc_.encode(v.key), oc_.encode(*v.now));
            if (!lines.empty())
                edits.replaceInLine(lines.back(), text_.valueRange(lines.back()), value);
            else
                missing.push_back(key + '=' + value);
        }
        if (missing.empty())
            return;
        if (last < 0) { // a registry entry without a section gets one
            last = fileset::firstFileLast(text_);
            edits.insertAfter(last, {});
            edits.insertAfter(last, '[' + item.into->id.toByteArray() + ']');
        }
        for (QByteArray& line : missing)
            edits.insertAfter(last, std::move(line));
    }

    void addTrigger(const Item& item, IniEdits& edits) const {
        std::vector<QByteArray> fields = triggerFields(*item.from);
        QByteArray line = item.newId + '=';
        for (size_t f = 0; f < fields.size(); ++f)
            line += (f ? "," : "") + fields[f];
        addTriggerLine(text_, line, edits);
    }

    // The new sections of one registry, after its last section as an add puts one.
    void addSections(Kind kind, const std::vector<const Item*>& adds, IniEdits& edits) const {
        const std::vector<IniText::Section> sections = text_.sections(registryOf(kind));
        qsizetype after = fileset::firstFileLast(text_);
        bool blankAbove = false;
        if (!sections.empty()) {
            const IniText::Section& s = sections.back();
            after = s.bodyEnd - 1;
            blankAbove = after > lastKeyLine(text_, s) && text_.kind(after) == IniText::Kind::Blank;
        }
        for (const Item* item : adds) {
            if (!blankAbove)
                edits.insertAfter(after, {});
            edits.insertAfter(after, '[' + item->newId + ']');
            for (const compare::RawValue& v : Side::values(*item->from))
                edits.insertAfter(after,
                                  own(v.key) + '=' + sectionValue(*item->from, v.key, v.value));
            if (blankAbove)
                edits.insertAfter(after, {});
        }
    }

  private:
    const IniText& text_;
    const TextCodec& cc_;
    const TextCodec& oc_;
    std::map<std::pair<int, QByteArray>, QByteArray> renames_;
};

void addType(QStringList& types, const QString& type) {
    if (!type.isEmpty() && type != QLatin1String(trigger::kNoTeam) &&
        type != QLatin1String("<all>") && !types.contains(type))
        types.push_back(type);
}

} // namespace

Plan plan(const RulesIndex& current, const RulesIndex& other, const std::vector<Pick>& picks,
          bool withChain) {
    const Side cs(current), os(other);
    const Selection s = select(cs, os, picks, withChain);
    Plan p;
    for (const Record* r : s.removals)
        p.removals.push_back({r->kind, current.codec().decode(r->id)});
    const TextCodec& codec = other.codec();
    for (const Item& item : s.items) {
        const Record& r = *item.from;
        if (r.kind == Kind::Trigger) {
            for (const size_t f : {size_t{2}, size_t{5}})
                if (f < r.lines.size())
                    addType(p.types, codec.decode(trimmed(r.lines[f].value)));
        } else if (r.kind == Kind::TaskForce) {
            for (const compare::RawValue& v : Side::values(r)) {
                const qsizetype comma = v.value.indexOf(',');
                if (!keyIs(v.key, "Name") && !keyIs(v.key, "Group") && comma >= 0)
                    addType(p.types, codec.decode(trimmed(v.value.sliced(comma + 1))));
            }
        }
    }
    return p;
}

Result takeInto(const RulesIndex& current, const RulesIndex& other, const std::vector<Pick>& picks,
                bool withChain, const std::array<long long, 3>& counters) {
    Result result;
    const Side cs(current), os(other);
    Selection s = select(cs, os, picks, withChain);
    const IniText& text = current.text();
    const TextCodec& codec = current.codec();
    giveIds(text, codec, other.codec(), s.items);

    const Writer writer(cs, os, s.items);
    IniEdits edits;
    std::vector<const Item*> adds[4];
    for (const Item& item : s.items) {
        if (!item.into) {
            adds[int(item.from->kind)].push_back(&item);
            continue;
        }
        // Only the values that differ are written.
        std::vector<compare::Value> values = compare::differences(cs, *item.into, os, *item.from);
        writer.addRewired(*item.from, values);
        if (values.empty())
            continue;
        ++result.counts.changed;
        item.from->kind == Kind::Trigger ? writer.changeTrigger(item, values, edits)
                                         : writer.changeSection(item, values, edits);
    }
    for (const Item* item : adds[int(Kind::Trigger)])
        writer.addTrigger(*item, edits);
    for (const Kind kind : {Kind::TeamType, Kind::TaskForce, Kind::Script}) {
        const std::vector<const Item*>& list = adds[int(kind)];
        if (list.empty())
            continue;
        std::vector<QByteArray> ids;
        for (const Item* item : list)
            ids.push_back(item->newId);
        addRegistryLines(text, registryOf(kind), ids, counters[size_t(slotOf(kind))], edits);
        writer.addSections(kind, list, edits);
        result.registryChange[slotOf(kind)] += static_cast<long long>(list.size());
    }
    for (const auto& list : adds)
        result.counts.added += static_cast<int>(list.size());

    QByteArray content = current.bytes();
    if (!edits.isEmpty()) {
        std::optional<QByteArray> applied = applyEdits(text, edits);
        if (!applied)
            return result;
        content = std::move(*applied);
    }
    for (const Record* r : s.removals) {
        if (r->kind == Kind::Trigger) {
            // Every line of the ID goes: each name it is listed under.
            QSet<QByteArray> entries;
            for (const qsizetype line : current.triggerLines(r->id))
                entries.insert(
                    r->id.toByteArray() + '=' +
                    trimmed(trigger::splitFields(text.value(line)).front()).toByteArray());
            for (const QByteArray& entry : entries)
                content = removeTriggerEntry(content, entry).content;
        } else {
            RegistryRemoval removal = removeRegistryEntry(content, registryOf(r->kind), r->id);
            content = std::move(removal.content);
            result.registryChange[slotOf(r->kind)] -= removal.entriesRemoved;
        }
        ++result.counts.removed;
    }
    if (content != current.bytes())
        result.content = std::move(content);
    return result;
}

Taken TakeAcross(RulesDocument& doc, const RulesIndex& other, const std::vector<Pick>& picks,
                 bool withChain) {
    Taken t;
    long long change[3] = {0, 0, 0};
    const std::array<long long, 3> counters{doc.count(RegistryKind::TeamTypes),
                                            doc.count(RegistryKind::TaskForces),
                                            doc.count(RegistryKind::ScriptTypes)};
    t.write =
        doc.edit([&](const QByteArray& content, const TextCodec&) -> std::optional<QByteArray> {
            const std::shared_ptr<const RulesIndex> known = doc.index();
            const std::shared_ptr<const RulesIndex> current =
                known && known->bytes() == content ? known : std::make_shared<RulesIndex>(content);
            Result r = takeInto(*current, other, picks, withChain, counters);
            t.counts = r.counts;
            std::copy(std::begin(r.registryChange), std::end(r.registryChange), change);
            t.wrote = r.content.has_value();
            return std::move(r.content);
        });
    if (t.write.ok() && t.wrote) {
        const RegistryKind kinds[] = {RegistryKind::TeamTypes, RegistryKind::TaskForces,
                                      RegistryKind::ScriptTypes};
        for (int i = 0; i < 3; ++i)
            doc.setCount(kinds[i], doc.count(kinds[i]) + change[i]);
    }
    return t;
}

QString takenText(const Counts& counts) {
    return QStringLiteral("已采用：新增 %1 个，修改 %2 个，删除 %3 个")
        .arg(counts.added)
        .arg(counts.changed)
        .arg(counts.removed);
}

} // namespace tarvok::take
