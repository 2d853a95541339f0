#include "records/TriggerTable.h"

#include "document/Lines.h"
#include "document/Pool.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvok::triggertable {
namespace {

namespace rules = fieldrules;

QString fieldText(const records::TriggerFields& f, int slot) {
    switch (slot) {
    case 0:
        return f.base;
    case 1:
        return f.min;
    case 2:
        return f.max;
    case 3:
        return f.low ? QStringLiteral("1") : QStringLiteral("0");
    case 4:
        return f.mid ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return f.high ? QStringLiteral("1") : QStringLiteral("0");
    }
}

void setField(records::TriggerFields& f, int slot, const QString& value) {
    QString* weights[] = {&f.base, &f.min, &f.max};
    bool* ticks[] = {&f.low, &f.mid, &f.high};
    if (slot < 3)
        *weights[slot] = value;
    else
        *ticks[slot - 3] = value == QStringLiteral("1");
}

// The condition in words, as the panel's description boxes say it.
QString conditionText(const records::TriggerFields& f, const UnitName& unitName) {
    const QString what = rules::conditionDescription(f.condition);
    if (what.isEmpty())
        return f.condition;
    if (f.condition != QStringLiteral("0") && f.condition != QStringLiteral("1") &&
        f.condition != QStringLiteral("7"))
        return what;
    QString unit = unitName ? unitName(f.unit) : QString();
    if (unit.isEmpty())
        unit = f.unit;
    const QString way = rules::comparisonDescription(f.way);
    return QStringLiteral("%1：%2 %3 %4").arg(what, unit, way.isEmpty() ? f.way : way, f.amount);
}

// A team as "ID name"; teams are shared by many triggers, so each is made once.
QString teamText(const RulesIndex& index, const TextCodec& codec, const QString& team,
                 QHash<QString, QString>& made) {
    if (team.isEmpty())
        return {};
    if (const auto it = made.constFind(team); it != made.cend())
        return *it;
    const QByteArrayView name = index.name(codec.encode(team));
    const QString text =
        name.isEmpty() ? team : QStringLiteral("%1 %2").arg(team, codec.decode(name));
    made.insert(team, text);
    return text;
}

// What the filter compares, as fieldrules::searchKey makes it; plain ASCII, which most
// of a file is, needs only its letters lowered.
QString filterKey(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return rules::searchKey(text);
    return text.toLower();
}

// A number for sorting: the text's leading number, or a text without one after every
// number.
double sortNumber(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : std::numeric_limits<double>::infinity();
}

} // namespace

QString header(int column) {
    static const QStringList headers{
        QStringLiteral("ID"),       QStringLiteral("名称"),     QStringLiteral("国家"),
        QStringLiteral("所属方"),   QStringLiteral("触发条件"), QStringLiteral("基础分量"),
        QStringLiteral("分量下限"), QStringLiteral("分量上限"), QStringLiteral("简单"),
        QStringLiteral("中等"),     QStringLiteral("冷酷"),     QStringLiteral("小队1"),
        QStringLiteral("小队2"),    QStringLiteral("文件")};
    return headers.value(column);
}

bool isWeight(int column) {
    return column == Base || column == Min || column == Max;
}

bool isTick(int column) {
    return column == Easy || column == Medium || column == Hard;
}

std::optional<QString> weightValue(const QString& current, const QString& typed) {
    const QString t = rules::searchKey(typed).trimmed();
    if (rules::weightAccepted(t))
        return t;
    if (t.isEmpty() ||
        !(t[0] == QChar(u'×') || t[0] == QLatin1Char('x') || t[0] == QLatin1Char('*')))
        return std::nullopt;
    bool ok = false;
    const double factor = t.sliced(1).trimmed().toDouble(&ok);
    const double now = current.toDouble();
    if (!ok || !std::isfinite(factor) || !rules::weightAccepted(current))
        return std::nullopt;
    const double result = std::max(0.0, std::floor(now * factor + 0.5));
    const QString out = QString::number(static_cast<qint64>(std::min(result, 1e12)));
    return rules::weightAccepted(out) ? std::optional<QString>(out) : std::nullopt;
}

std::optional<bool> tickValue(const QString& typed) {
    const QString t = rules::searchKey(typed).trimmed();
    if (t == QStringLiteral("1") || t == QStringLiteral("是") || t == QStringLiteral("√"))
        return true;
    if (t == QStringLiteral("0") || t == QStringLiteral("否") || t == QStringLiteral("×"))
        return false;
    return std::nullopt;
}

bool Row::isEdited() const {
    return std::any_of(edits.begin(), edits.end(), [](const auto& e) { return e.has_value(); });
}

namespace {

// The rows of the triggers [begin, end) of the reading, with a codec of their own: the
// halves of a large file are read on two cores.
std::vector<Row> readRows(const RulesIndex& index, size_t begin, size_t end, const QString& file) {
    const TextCodec codec(index.codec());
    QHash<QString, QString> teams;
    QHash<QString, std::pair<QString, QString>> sides; // "1 盟军" and "盟军"
    std::vector<Row> rows;
    rows.reserve(end - begin);
    const std::vector<QByteArrayView>& keys = index.scan().triggerKeys;
    const fileset::Origins& origins = index.origins();
    const QDir folder = QFileInfo(file).dir();
    for (size_t i = begin; i < end; ++i) {
        Row r;
        r.file = file;
        r.key = codec.decode(keys[i]);
        r.id = rules::triggerId(r.key);
        if (origins.partCount() > 1) { // the file of the line the game uses
            const std::vector<qsizetype> lines =
                index.triggerLines(keys[i].first(std::max<qsizetype>(keys[i].indexOf('='), 0)));
            if (const int part = lines.empty() ? 0 : origins.place(lines.back()).part; part > 0)
                r.file = folder.filePath(origins.name(part));
        }
        r.name = r.key.sliced(std::min(r.key.size(), r.id.size() + 1));
        r.fields = records::LoadTrigger(index, r.key, codec).fields;
        auto side = sides.constFind(r.fields.owner);
        if (side == sides.cend()) {
            const QString name = rules::sideDescription(r.fields.owner);
            side = sides.insert(r.fields.owner,
                                {name.isEmpty() ? r.fields.owner
                                                : QStringLiteral("%1 %2").arg(r.fields.owner, name),
                                 name});
        }
        r.side = side->first;
        r.team1 = teamText(index, codec, r.fields.teams.value(0), teams);
        r.team2 = teamText(index, codec, r.fields.teams.value(1), teams);
        QString search;
        search.reserve(r.key.size() + r.fields.country.size() + side->second.size() +
                       r.team1.size() + r.team2.size() + 8);
        for (const QString& part : {r.id, r.name, r.fields.country, side->second, r.team1, r.team2})
            search.append(part).append(QChar(0));
        r.search = filterKey(search);
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace

int Table::read(const RulesIndex& index, const UnitName& unitName, const QString& file) {
    QHash<QString, std::array<std::optional<FieldEdit>, kEditable>> kept;
    for (const Row& r : rows_)
        if (r.isEdited())
            kept.insert(r.file + QChar(0) + r.key, r.edits);
    unitName_ = unitName;
    unitNames_.clear();
    const size_t count = index.scan().triggerKeys.size();
    const size_t half = count > 2000 ? count / 2 : count;
    // The second half by a task of the pool.
    std::optional<pool::Task<std::vector<Row>>> other;
    if (half < count)
        other =
            pool::run([&index, half, count, file] { return readRows(index, half, count, file); });
    std::vector<Row> rows = readRows(index, 0, half, file);
    std::vector<Row> second = other ? other->take() : std::vector<Row>();
    rows.insert(rows.end(), std::make_move_iterator(second.begin()),
                std::make_move_iterator(second.end()));
    for (Row& r : rows) {
        if (kept.isEmpty())
            break;
        if (const auto it = kept.constFind(r.file + QChar(0) + r.key); it != kept.cend()) {
            r.edits = *it;
            kept.erase(it);
            // An edit that the file now holds is no edit any more.
            for (int s = 0; s < kEditable; ++s)
                if (r.edits[s] && r.edits[s]->now == fieldText(r.fields, s))
                    r.edits[s].reset();
        }
    }
    rows_ = std::move(rows);
    return static_cast<int>(kept.size());
}

QString Table::text(int row, int column) const {
    const Row& r = rows_[row];
    if (isEditable(column)) {
        const int s = editSlot(column);
        return r.edits[s] ? r.edits[s]->now : fieldText(r.fields, s);
    }
    switch (column) {
    case Id:
        return r.id;
    case Name:
        return r.name;
    case Country:
        return r.fields.country;
    case Side:
        return r.side;
    case Condition:
        return conditionText(r.fields, [this](const QString& unit) {
            auto it = unitNames_.constFind(unit);
            if (it == unitNames_.cend())
                it = unitNames_.insert(unit, unitName_ ? unitName_(unit) : QString());
            return *it;
        });
    case Team1:
        return r.team1;
    case Team2:
        return r.team2;
    case File:
        return QFileInfo(r.file).fileName();
    default:
        return {};
    }
}

bool Table::isEdited(int row, int column) const {
    return isEditable(column) && rows_[row].edits[editSlot(column)].has_value();
}

int Table::editedRows() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.isEdited(); }));
}

std::optional<QString> Table::valueFor(int row, int column, const QString& typed) const {
    if (!isEditable(column))
        return std::nullopt;
    if (isWeight(column))
        return weightValue(text(row, column), typed);
    const std::optional<bool> tick = tickValue(typed);
    if (!tick)
        return std::nullopt;
    return *tick ? QStringLiteral("1") : QStringLiteral("0");
}

bool Table::set(int row, int column, const QString& typed) {
    const std::optional<QString> value = valueFor(row, column, typed);
    if (!value)
        return false;
    Row& r = rows_[row];
    const int s = editSlot(column);
    const QString was = fieldText(r.fields, s);
    if (*value == was)
        r.edits[s].reset();
    else
        r.edits[s] = FieldEdit{r.edits[s] ? r.edits[s]->before : was, *value};
    return true;
}

void Table::revert() {
    for (Row& r : rows_)
        r.edits = {};
}

std::vector<int> Table::order(int column, bool ascending) const {
    std::vector<int> out(rows_.size());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<int>(i);
    const auto direct = [ascending](auto less) {
        return [=](int a, int b) { return ascending ? less(a, b) : less(b, a); };
    };
    if (isEditable(column) || column == Side) {
        std::vector<double> keys(rows_.size());
        for (size_t i = 0; i < keys.size(); ++i)
            keys[i] = sortNumber(column == Side ? rows_[i].fields.owner : text(int(i), column));
        std::stable_sort(out.begin(), out.end(),
                         direct([&keys](int a, int b) { return keys[a] < keys[b]; }));
        return out;
    }
    std::vector<QString> keys(rows_.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = text(int(i), column).toCaseFolded();
    std::stable_sort(out.begin(), out.end(), direct([&keys](int a, int b) {
                         return naturalCompare(keys[a], keys[b]) < 0;
                     }));
    return out;
}

int naturalCompare(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            while (i < a.size() && a[i] == u'0')
                ++i;
            while (j < b.size() && b[j] == u'0')
                ++j;
            qsizetype ei = i, ej = j;
            while (ei < a.size() && digit(a[ei]))
                ++ei;
            while (ej < b.size() && digit(b[ej]))
                ++ej;
            if (ei - i != ej - j)
                return ei - i < ej - j ? -1 : 1;
            if (const int c = a.sliced(i, ei - i).compare(b.sliced(j, ej - j)); c != 0)
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i) == (b.size() - j) ? 0 : (a.size() - i < b.size() - j ? -1 : 1);
}

TableSave Table::save(RulesDocument& doc) {
    TableSave out;
    // Copies: the write's signal may have the table read again before it returns.
    std::vector<Row> rows;
    for (const Row& r : rows_)
        if (r.isEdited())
            rows.push_back(r);
    if (rows.empty())
        return out;
    std::vector<const Row*> edited;
    for (const Row& r : rows)
        edited.push_back(&r);
    // This save's own reading afterwards tells nothing of its earlier values.
    for (const Row* r : edited)
        saved_.remove(r->key);
    out.write = doc.edit([&](const QByteArray& content,
                             const TextCodec& codec) -> std::optional<QByteArray> {
        // Run again when another program changed the file meanwhile: start afresh.
        out = TableSave{};
        const recordlines::SectionSlice slice(content, "AITriggerTypes");
        const IniText& text = slice.text();
        // The key lines by ID, looked at once: a save of thousands of triggers looks
        // up each in the same lines.
        QHash<QByteArrayView, std::vector<qsizetype>> byId;
        for (const IniText::Section& section : text.sections())
            if (section.name == QByteArrayView("AITriggerTypes"))
                for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
                    if (text.kind(i) == IniText::Kind::Key)
                        byId[text.key(i)].push_back(i);
        IniEdits edits;
        for (const Row* r : edited) {
            const QByteArray entry = codec.encode(r->key);
            const auto lines = byId.constFind(lines::before(entry, '='));
            std::optional<qsizetype> line =
                lines == byId.cend() ? std::nullopt : recordlines::findTrigger(text, *lines, entry);
            if (!line && r->key.contains(QChar::ReplacementCharacter))
                line = recordlines::findTrigger(text, r->key, codec);
            if (!line) {
                out.missing << r->key;
                continue;
            }
            const QByteArray oldLine = recordlines::triggerLine(text, *line);
            // The fields as the file holds them, with the table's edits as a save from a
            // panel loaded with their values before the edit would make them.
            const trigger::TriggerView view = trigger::readTriggerLine(oldLine);
            records::TriggerFields loaded = r->fields, now = r->fields;
            for (int s = 0; s < kEditable; ++s) {
                if (!r->edits[s])
                    continue;
                setField(loaded, s, r->edits[s]->before);
                setField(now, s, r->edits[s]->now);
                const std::optional<QByteArray> inFile[] = {view.base, view.min, view.max};
                const std::optional<bool> ticks[] = {view.low, view.mid, view.high};
                QString fileValue = r->edits[s]->before;
                if (s < 3 && inFile[s])
                    fileValue = codec.decode(*inFile[s]);
                else if (s >= 3 && ticks[s - 3])
                    fileValue = *ticks[s - 3] ? QStringLiteral("1") : QStringLiteral("0");
                if (fileValue != r->edits[s]->before && fileValue != r->edits[s]->now)
                    out.overwritten.push_back({r->id, header(Base + s), r->edits[s]->now});
            }
            const qsizetype before = edits.size();
            if (!records::editTriggerFields(text, *line, codec, r->key, loaded, now, edits)) {
                out.refused << r->key;
                continue;
            }
            if (edits.size() > before)
                ++out.written;
        }
        if (edits.isEmpty())
            return std::nullopt;
        return slice.apply(content, edits);
    });
    if (!out.write.ok())
        return out;
    for (const Row* r : edited) {
        if (out.missing.contains(r->key) || out.refused.contains(r->key))
            continue;
        auto& values = saved_[r->key];
        for (int s = 0; s < kEditable; ++s)
            if (r->edits[s])
                values[s] = r->edits[s]->now;
    }
    // The edits written are done; those of a trigger refused stay for the user to mend.
    for (Row& r : rows_) {
        const auto it = saved_.constFind(r.key);
        if (it == saved_.cend())
            continue;
        for (int s = 0; s < kEditable; ++s)
            if (r.edits[s] && (*it)[s] == r.edits[s]->now)
                r.edits[s].reset();
    }
    return out;
}

std::vector<Overwritten> Table::takeLaterSaves() {
    std::vector<Overwritten> out;
    if (saved_.isEmpty())
        return out;
    for (const Row& r : rows_) {
        const auto it = saved_.find(r.key);
        if (it == saved_.end())
            continue;
        for (int s = 0; s < kEditable; ++s) {
            if (!(*it)[s] || fieldText(r.fields, s) == *(*it)[s])
                continue;
            out.push_back({r.id, header(Base + s), fieldText(r.fields, s)});
            (*it)[s].reset();
        }
    }
    return out;
}

} // namespace tarvok::triggertable
