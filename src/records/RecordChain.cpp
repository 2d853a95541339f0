#include "records/RecordChain.h"

#include "records/RecordLines.h"
#include "records/Registry.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"
#include "records/TriggerList.h"

#include <QSet>

#include <algorithm>
#include <cctype>
#include <utility>

namespace tarvok::chain {
namespace {

constexpr QByteArrayView kTriggers("AITriggerTypes");
constexpr QByteArrayView kNameKey("Name");

QByteArrayView registryOf(Kind kind) {
    return kind == Kind::TeamType    ? QByteArrayView("TeamTypes")
           : kind == Kind::TaskForce ? QByteArrayView("TaskForces")
                                     : QByteArrayView("ScriptTypes");
}

template <class Counts> auto& countOf(Counts& counts, Kind kind) {
    return kind == Kind::TeamType    ? counts.teamTypes
           : kind == Kind::TaskForce ? counts.taskForces
                                     : counts.scriptTypes;
}

// An ID as "in any letter case" compares it. Plain ASCII, what nearly every ID is, is
// folded without decoding.
QByteArray folded(const QString& id) {
    return id.toCaseFolded().toUtf8();
}
bool isAscii(QByteArrayView id) {
    return std::all_of(id.begin(), id.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
}
QByteArray folded(QByteArrayView id, const TextCodec& codec) {
    return isAscii(id) ? id.toByteArray().toLower() : folded(codec.decode(id));
}

// The number of an ID of eight hexadecimal digits and "-G".
std::optional<long long> hexNumber(QByteArrayView id) {
    if (id.size() != 10 || !id.endsWith("-G") ||
        !std::all_of(id.begin(), id.begin() + 8, [](char c) { return std::isxdigit(uchar(c)); }))
        return std::nullopt;
    return id.first(8).toLongLong(nullptr, 16);
}

// Calls visit(id, listed) for every ID the file uses: every section's name, and (listed)
// every entry of the three registries and every trigger's ID.
template <class Visit> void forEachId(const IniText& text, Visit&& visit) {
    for (const IniText::Section& s : text.sections()) {
        visit(s.name, false);
        const bool triggers = s.name == kTriggers;
        if (!triggers && s.name != registryOf(Kind::TeamType) &&
            s.name != registryOf(Kind::TaskForce) && s.name != registryOf(Kind::Script))
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key)
                visit(triggers ? text.key(i) : text.value(i), true);
    }
}

// Whether the file's plain ASCII id is the folded key in some letter case.
bool sameAsciiId(QByteArrayView id, QByteArrayView key) {
    if (id.size() != key.size())
        return false;
    for (qsizetype i = 0; i < id.size(); ++i)
        if ((id[i] >= 'A' && id[i] <= 'Z' ? id[i] + ('a' - 'A') : id[i]) != key[i])
            return false;
    return true;
}

// The name of the record id: the value of the last Name line of its sections.
struct SectionName {
    bool held = false;  // the file has a section of that name
    bool named = false; // with a Name line
    QByteArrayView name;
};

SectionName sectionName(const IniText& text, const std::vector<IniText::Section>& sections) {
    SectionName found;
    for (const IniText::Section& s : sections) {
        found.held = true;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && text.key(i) == kNameKey) {
                found.named = true;
                found.name = text.value(i);
            }
    }
    return found;
}
SectionName sectionName(const IniText& text, QByteArrayView id) {
    return sectionName(text, text.sections(id));
}

class ChainReader {
  public:
    explicit ChainReader(const IniText& text) : text_(text) {}

    void add(Kind kind, From from, QByteArrayView id, QByteArrayView name) {
        for (const ChainRow& r : rows_)
            if (r.kind == kind && r.id == id)
                return;
        ChainRow row;
        row.kind = kind;
        row.from = from;
        row.id = id.toByteArray();
        row.name = name.toByteArray();
        rows_.push_back(std::move(row));
    }

    // A team type and the task force and script its last TaskForce and Script lines name,
    // each when the file holds it.
    void addTeam(QByteArrayView id, From from) {
        const SectionName team = sectionName(text_, id);
        if (!team.held)
            return;
        add(Kind::TeamType, from, id, team.name);
        const recordlines::TeamLines lines = recordlines::readTeam(text_, id);
        for (const auto& [key, kind] : {std::pair{teamtype::TaskForce, Kind::TaskForce},
                                        std::pair{teamtype::Script, Kind::Script}}) {
            const qsizetype line = lines.lineOfKey[key];
            const QByteArrayView named = line < 0 ? QByteArrayView() : text_.value(line);
            if (const SectionName record = sectionName(text_, named);
                !named.isEmpty() && record.held)
                add(kind, from, named, record.name);
        }
    }

    // The rows ticked, with free IDs and the originals' names.
    std::vector<ChainRow> take(const TextCodec& codec) {
        const std::vector<QString> ids = freeIds(text_, codec, rows_);
        for (size_t i = 0; i < rows_.size(); ++i) {
            rows_[i].newId = ids[i];
            rows_[i].newName = codec.decode(rows_[i].name);
        }
        return std::move(rows_);
    }

  private:
    const IniText& text_;
    std::vector<ChainRow> rows_;
};

IniText::Range trimmed(QByteArrayView line, IniText::Range r) {
    const auto blank = [&line](qsizetype i) { return line[i] == ' ' || line[i] == '\t'; };
    while (r.length > 0 && blank(r.begin))
        ++r.begin, --r.length;
    while (r.length > 0 && blank(r.begin + r.length - 1))
        --r.length;
    return r;
}

using Change = std::pair<IniText::Range, QByteArray>;

// A line's text with some of its ranges, which do not overlap, replaced.
QByteArray spliced(QByteArrayView line, std::vector<Change> changes) {
    std::sort(changes.begin(), changes.end(),
              [](const Change& a, const Change& b) { return a.first.begin < b.first.begin; });
    QByteArray out;
    qsizetype from = 0;
    for (const auto& [range, text] : changes) {
        out += line.sliced(from, range.begin - from);
        out += text;
        from = range.begin + range.length;
    }
    out += line.sliced(from);
    return out;
}

// What one copy writes, read from the file as it is when written.
class ChainCopier {
  public:
    ChainCopier(const IniText& text, const TextCodec& codec) : text_(text), codec_(codec) {}

    // The ticked records the file holds, each once.
    void choose(const std::vector<ChainRow>& rows) {
        for (const ChainRow& r : rows)
            if (r.copy && !renamed(r.kind, r.id))
                copies_.push_back({&r, codec_.encode(r.newId), -1, {}});
        // The sections of every record in one pass over the file's sections.
        for (const IniText::Section& s : text_.sections())
            for (Copy& c : copies_)
                if (c.row->kind != Kind::Trigger && s.name == c.row->id)
                    c.sections.push_back(s);
        for (Copy& c : copies_)
            if (c.row->kind == Kind::Trigger)
                c.line =
                    recordlines::findTrigger(text_, c.row->id + '=' + c.row->name).value_or(-1);
        copies_.erase(
            std::remove_if(copies_.begin(), copies_.end(),
                           [](const Copy& c) { return c.line < 0 && c.sections.empty(); }),
            copies_.end());
    }

    RegistryCounts write(const RegistryCounts& counts, IniEdits& edits) const {
        for (const Copy& c : copies_)
            c.row->kind == Kind::Trigger ? copyTrigger(c, edits) : copySection(c, edits);
        // After the sections: a registry the file lacks goes at its end, below them.
        RegistryCounts added;
        for (const Kind kind : {Kind::TeamType, Kind::TaskForce, Kind::Script}) {
            std::vector<QByteArray> ids;
            for (const Copy& c : copies_)
                if (c.row->kind == kind)
                    ids.push_back(c.id);
            if (!ids.empty())
                addRegistryLines(text_, registryOf(kind), ids, countOf(counts, kind), edits);
            countOf(added, kind) = static_cast<long long>(ids.size());
        }
        return added;
    }

  private:
    struct Copy {
        const ChainRow* row;
        QByteArray id;                          // the new one, encoded
        qsizetype line = -1;                    // a trigger's
        std::vector<IniText::Section> sections; // a team type's, task force's or script's
    };

    std::optional<QByteArray> renamed(Kind kind, QByteArrayView id) const {
        for (const Copy& c : copies_)
            if (c.row->kind == kind && c.row->id == id)
                return c.id;
        return std::nullopt;
    }

    // The new name, or nothing when the user left the one the file has.
    std::optional<QByteArray> newName(const ChainRow& row, QByteArrayView current) const {
        if (codec_.decode(current) == row.newName)
            return std::nullopt;
        return codec_.encode(row.newName);
    }

    void copyTrigger(const Copy& c, IniEdits& edits) const {
        const QByteArrayView line = text_.text(c.line);
        std::vector<Change> changes{{text_.nameRange(c.line), c.id}};
        const std::vector<IniText::Range> fields = recordlines::valueFields(text_, c.line);
        const IniText::Range name = trimmed(line, fields[0]);
        if (std::optional<QByteArray> n = newName(*c.row, line.sliced(name.begin, name.length)))
            changes.emplace_back(name, std::move(*n));
        for (const size_t f : {size_t{1}, size_t{14}}) {
            if (f >= fields.size())
                continue;
            const IniText::Range team = trimmed(line, fields[f]);
            if (std::optional<QByteArray> id =
                    renamed(Kind::TeamType, line.sliced(team.begin, team.length)))
                changes.emplace_back(team, std::move(*id));
            else if (team.length == 0) // the game's files write no empty team slot
                changes.emplace_back(team, trigger::kNoTeam);
        }
        edits.insertAfter(c.line, spliced(line, std::move(changes)), text_.lineEnd(c.line));
    }

    void copySection(const Copy& c, IniEdits& edits) const {
        const ChainRow& row = *c.row;
        const std::vector<IniText::Section>& sections = c.sections;
        const SectionName current = sectionName(text_, sections);
        const std::optional<QByteArray> name = newName(row, current.name);

        for (const IniText::Section& s : sections) {
            const qsizetype last = lastKeyLine(text_, s);
            edits.insertAfter(last, {});
            for (qsizetype i = s.header; i <= last; ++i) {
                std::vector<Change> changes;
                const QByteArrayView key = text_.key(i);
                std::optional<QByteArray> value;
                if (i == s.header)
                    changes.emplace_back(text_.nameRange(i), c.id);
                else if (key == kNameKey)
                    value = name;
                else if (row.kind == Kind::TeamType && (key == "TaskForce" || key == "Script"))
                    value =
                        renamed(key == "Script" ? Kind::Script : Kind::TaskForce, text_.value(i));
                if (value)
                    changes.emplace_back(text_.valueRange(i), std::move(*value));
                edits.insertAfter(last, spliced(text_.text(i), std::move(changes)),
                                  text_.lineEnd(i));
                if (i == s.header && &s == &sections.front() && !current.named && name)
                    edits.insertAfter(last, kNameKey.toByteArray() + '=' + *name, text_.lineEnd(i));
            }
        }
    }

    const IniText& text_;
    const TextCodec& codec_;
    std::vector<Copy> copies_;
};

ChainWrite finish(const IniText& text, const IniEdits& edits, const RegistryCounts& added) {
    // The rows' checks keep line feeds out of every new line, so the edits apply; should
    // they not, that is said, never passed over as a copy made.
    const auto refused = [&text](Reason why) {
        return ChainWrite{Refusal{0, why}, text.content().toByteArray(), {}};
    };
    if (edits.isEmpty())
        return refused(Reason::NothingToCopy);
    std::optional<QByteArray> content = applyEdits(text, edits);
    if (!content)
        return refused(Reason::Unapplied);
    return {std::nullopt, std::move(*content), added};
}

const QString kNewIdUnusable = QStringLiteral("第 %1 行的新 ID 不可用：");

} // namespace

std::vector<ChainRow> triggerChain(const IniText& text, const TextCodec& codec,
                                   const QString& entry) {
    std::optional<qsizetype> line = recordlines::findTrigger(text, codec.encode(entry));
    if (!line)
        line = recordlines::findTrigger(text, entry, codec);
    if (!line)
        return {};
    ChainReader reader(text);
    const QByteArrayView lineText = text.text(*line);
    const std::vector<IniText::Range> fields = recordlines::valueFields(text, *line);
    const auto field = [&](size_t f) {
        const IniText::Range r =
            f < fields.size() ? trimmed(lineText, fields[f]) : IniText::Range{};
        return lineText.sliced(r.begin, r.length);
    };
    reader.add(Kind::Trigger, From::Head, text.key(*line), field(0));
    for (const auto& [f, from] :
         {std::pair{size_t{1}, From::FirstTeam}, std::pair{size_t{14}, From::SecondTeam}})
        if (trigger::namesTeam(field(f)))
            reader.addTeam(field(f), from);
    return reader.take(codec);
}

std::vector<ChainRow> teamTypeChain(const IniText& text, const TextCodec& codec,
                                    const QString& id) {
    ChainReader reader(text);
    reader.addTeam(codec.encode(id), From::Head);
    return reader.take(codec);
}

std::vector<ChainRow> newChain(const IniText& text, const TextCodec& codec) {
    ChainReader reader(text);
    reader.add(Kind::Trigger, From::Head, "NEWTRIGGER", {});
    reader.add(Kind::TeamType, From::FirstTeam, "NEWTEAM", {});
    reader.add(Kind::TaskForce, From::FirstTeam, "NEWTASKFORCE", {});
    reader.add(Kind::Script, From::FirstTeam, "NEWSCRIPT", {});
    return reader.take(codec);
}

std::vector<QString> freeIds(const IniText& text, const TextCodec& codec,
                             const std::vector<ChainRow>& rows) {
    qsizetype listed = 0, hexStyle = 0;
    long long next = -1; // the largest eight-digit number
    // The IDs the file uses that a row could be given, folded: those of the eight-digit
    // length, those that start with an original's ID, and the few that are not ASCII.
    QSet<QByteArray> used;
    forEachId(text, [&](QByteArrayView id, bool isListed) {
        if (isListed) {
            ++listed;
            if (const std::optional<long long> n = hexNumber(id)) {
                ++hexStyle;
                // FFFFFFFF-G, which files use as a last ID, leaves no room above it: the
                // count goes on from the largest number below it, past taken ones.
                if (*n < 0xFFFFFFFFLL)
                    next = std::max(next, *n);
            }
        }
        const auto extends = [&id](const ChainRow& r) {
            return id.size() > r.id.size() &&
                   id.first(r.id.size()).compare(r.id, Qt::CaseInsensitive) == 0;
        };
        if (id.size() == 10 || !isAscii(id) || std::any_of(rows.begin(), rows.end(), extends))
            used.insert(folded(id, codec));
    });
    const auto take = [&used](const QString& id) {
        const QByteArray key = folded(id);
        if (used.contains(key))
            return false;
        used.insert(key);
        return true;
    };
    std::vector<QString> out;
    for (const ChainRow& row : rows) {
        QString id;
        while (hexStyle * 2 > listed && id.isEmpty() && ++next <= 0xFFFFFFFFLL) {
            const QString candidate =
                QString::number(next, 16).toUpper().rightJustified(8, QLatin1Char('0')) +
                QLatin1String("-G");
            if (take(candidate))
                id = candidate;
        }
        // Past the last eight-digit number, and in the other style: the original's ID.
        const QString original = codec.decode(row.id);
        for (int n = 2; id.isEmpty(); ++n)
            if (const QString candidate = original + QLatin1Char('-') + QString::number(n);
                take(candidate))
                id = candidate;
        out.push_back(id);
    }
    return out;
}

bool splitsTriggerLine(QStringView name) {
    return name.contains(QLatin1Char(',')) || name.contains(QLatin1Char(';'));
}

std::optional<Refusal> checkRows(const IniText& text, const TextCodec& codec,
                                 const std::vector<ChainRow>& rows) {
    // The ticked rows' IDs, folded, and which of them the file uses.
    std::vector<QByteArray> keys;
    for (const ChainRow& row : rows)
        keys.push_back(row.copy ? folded(row.newId) : QByteArray());
    std::vector<bool> taken(rows.size());
    if (std::any_of(rows.begin(), rows.end(), [](const ChainRow& r) { return r.copy; }))
        forEachId(text, [&](QByteArrayView id, bool) {
            const bool ascii = isAscii(id);
            const QByteArray key = ascii ? QByteArray() : folded(id, codec);
            for (size_t i = 0; i < keys.size(); ++i)
                taken[i] = taken[i] || (!keys[i].isEmpty() &&
                                        (ascii ? sameAsciiId(id, keys[i]) : key == keys[i]));
        });

    for (size_t i = 0; i < rows.size(); ++i) {
        const ChainRow& row = rows[i];
        if (!row.copy)
            continue;
        const int n = static_cast<int>(i) + 1;
        const QString& id = row.newId;
        if (id.isEmpty())
            return Refusal{n, Reason::Empty};
        if (std::any_of(id.begin(), id.end(),
                        [](QChar c) { return c.isSpace() || QStringView(u"[]=,;").contains(c); }))
            return Refusal{n, Reason::BadCharacter};
        if (row.kind != Kind::Trigger && !id.contains(QLatin1Char('-')))
            return Refusal{n, Reason::NoDash};
        if (taken[i])
            return Refusal{n, Reason::Taken};
        for (size_t j = 0; j < i; ++j)
            if (rows[j].copy && keys[j] == keys[i])
                return Refusal{n, Reason::SameAsRow, static_cast<int>(j) + 1};
        if (row.newName.contains(QLatin1Char('\n')) || row.newName.contains(QLatin1Char('\r')))
            return Refusal{n, Reason::NameLineBreak};
        if (row.kind == Kind::Trigger && splitsTriggerLine(row.newName))
            return Refusal{n, Reason::NameSplitsTrigger};
    }
    return std::nullopt;
}

QString refusalText(const Refusal& refusal) {
    const QString row = QString::number(refusal.row);
    switch (refusal.reason) {
    case Reason::Empty:
        return kNewIdUnusable.arg(row) + QStringLiteral("为空");
    case Reason::BadCharacter:
        return kNewIdUnusable.arg(row) + QStringLiteral("不可含空格或 [ ] = , ;");
    case Reason::NoDash:
        return kNewIdUnusable.arg(row) + QStringLiteral("须含 -");
    case Reason::Taken:
        return kNewIdUnusable.arg(row) + QStringLiteral("文件中已有此 ID");
    case Reason::SameAsRow:
        return kNewIdUnusable.arg(row) + QStringLiteral("与第 %1 行相同").arg(refusal.sameAs);
    case Reason::NameSplitsTrigger:
        return QStringLiteral("第 %1 行的名称不可含 , 或 ;").arg(row);
    case Reason::NameLineBreak:
        return QStringLiteral("第 %1 行的名称不可含换行").arg(row);
    case Reason::NothingToCopy:
        return QStringLiteral("没有可复制的记录：未勾选任何一行，或文件中已没有所勾选的记录");
    case Reason::Unapplied:
        return QStringLiteral("无法在文件的现有内容上完成此修改，文件未改动");
    }
    return {};
}

ChainWrite copyChain(const IniText& text, const TextCodec& codec, const std::vector<ChainRow>& rows,
                     const RegistryCounts& counts) {
    if (std::optional<Refusal> refused = checkRows(text, codec, rows))
        return {refused, text.content().toByteArray(), {}};
    ChainCopier copier(text, codec);
    copier.choose(rows);
    IniEdits edits;
    const RegistryCounts added = copier.write(counts, edits);
    return finish(text, edits, added);
}

ChainWrite createChain(const IniText& text, const TextCodec& codec,
                       const std::vector<ChainRow>& rows, const RegistryCounts& counts,
                       const trigger::FiringTrigger& firing) {
    std::vector<ChainRow> all = rows;
    for (ChainRow& r : all)
        r.copy = true;
    if (std::optional<Refusal> refused = checkRows(text, codec, all))
        return {refused, text.content().toByteArray(), {}};
    const auto rowOf = [&all](Kind kind) {
        const auto it = std::find_if(all.begin(), all.end(),
                                     [kind](const ChainRow& r) { return r.kind == kind; });
        return it == all.end() ? nullptr : &*it;
    };
    const auto id = [&](Kind kind) {
        const ChainRow* r = rowOf(kind);
        return r ? codec.encode(r->newId) : QByteArray();
    };
    const auto name = [&](Kind kind) { return codec.encode(rowOf(kind)->newName); };

    IniEdits edits;
    RegistryCounts added;
    const auto addRecord = [&](Kind kind, const std::vector<QByteArray>& block) {
        addRegistryEdits(text, registryOf(kind), id(kind), countOf(counts, kind), block, edits);
        countOf(added, kind) = 1;
    };
    if (rowOf(Kind::Trigger)) {
        // Made first, it stays right after the header even when the registries, missing,
        // are added after that same line.
        addTriggerLine(text,
                       trigger::newFiringTriggerLine(id(Kind::Trigger) + '=' + name(Kind::Trigger),
                                                     id(Kind::TeamType), firing),
                       edits);
    }
    if (rowOf(Kind::TaskForce))
        addRecord(Kind::TaskForce, {"Name=" + name(Kind::TaskForce), "Group=-1"});
    if (rowOf(Kind::Script))
        addRecord(Kind::Script, {"Name=" + name(Kind::Script)});
    if (rowOf(Kind::TeamType)) {
        teamtype::Values values = teamtype::defaultValues();
        values[teamtype::Name] = name(Kind::TeamType);
        values[teamtype::TaskForce] = id(Kind::TaskForce);
        values[teamtype::Script] = id(Kind::Script);
        addRecord(Kind::TeamType, teamtype::buildBlock(values));
    }
    return finish(text, edits, added);
}

ChainWrite copyChain(QByteArrayView content, const TextCodec& codec,
                     const std::vector<ChainRow>& rows, const RegistryCounts& counts) {
    return copyChain(IniText(content), codec, rows, counts);
}

ChainWrite createChain(QByteArrayView content, const TextCodec& codec,
                       const std::vector<ChainRow>& rows, const RegistryCounts& counts,
                       const trigger::FiringTrigger& firing) {
    return createChain(IniText(content), codec, rows, counts, firing);
}

} // namespace tarvok::chain
