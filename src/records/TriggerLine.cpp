#include "records/TriggerLine.h"

#include <algorithm>

namespace tarvok::trigger {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isDigits(QByteArrayView text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<QByteArray> field(const std::vector<QByteArrayView>& fields, size_t i) {
    if (i >= fields.size())
        return std::nullopt;
    return fields[i].toByteArray();
}

std::optional<bool> flag(const std::vector<QByteArrayView>& fields, size_t i) {
    if (i >= fields.size())
        return std::nullopt;
    if (fields[i] == "0")
        return false;
    if (fields[i] == "1")
        return true;
    return std::nullopt;
}

std::optional<QByteArray> weight(const std::vector<QByteArrayView>& fields, size_t i) {
    if (i >= fields.size())
        return std::nullopt;
    const QByteArrayView f = fields[i];
    const qsizetype dot = f.indexOf('.');
    return (dot < 0 ? f : f.first(dot)).toByteArray();
}

// A field the panel does not show: the old line's, or the new-trigger value.
QByteArrayView kept(const std::vector<QByteArrayView>& old, size_t i, QByteArrayView fallback) {
    return i < old.size() ? old[i] : fallback;
}

} // namespace

std::vector<QByteArrayView> splitFields(QByteArrayView line) {
    std::vector<QByteArrayView> out;
    out.reserve(kFieldCount);
    qsizetype start = 0;
    for (;;) {
        const qsizetype comma = line.indexOf(',', start);
        if (comma < 0) {
            out.push_back(line.sliced(start));
            return out;
        }
        out.push_back(line.sliced(start, comma - start));
        start = comma + 1;
    }
}

QByteArray amountFromBlock(QByteArrayView block) {
    const QByteArrayView two = block.first(std::min<qsizetype>(2, block.size()));
    if (two.size() == 2 && hexValue(two[0]) >= 0 && hexValue(two[1]) >= 0) {
        const int value = hexValue(two[0]) * 16 + hexValue(two[1]);
        QByteArray out = QByteArray::number(value);
        return out.size() < 2 ? "0" + out : out;
    }
    return two.toByteArray();
}

std::optional<QByteArray> amountToHex(QByteArrayView decimal) {
    if (decimal.isEmpty())
        return QByteArray("00");
    if (decimal.size() > 3 || !isDigits(decimal))
        return std::nullopt;
    const int value = QByteArray(decimal.data(), decimal.size()).toInt();
    if (value > 255)
        return std::nullopt;
    return QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
}

TriggerView readTriggerLine(QByteArrayView line) {
    const std::vector<QByteArrayView> f = splitFields(line);
    TriggerView v;
    for (size_t i : {size_t{1}, size_t{14}})
        if (i < f.size() && namesTeam(f[i]))
            v.teams.push_back(f[i].toByteArray());
    v.country = field(f, 2);
    v.tech = field(f, 3);
    v.condition = field(f, 4);
    v.unit = field(f, 5);
    if (f.size() > 6) {
        const QByteArrayView block = f[6];
        v.amount = amountFromBlock(block);
        // A block too short for a comparison shows none, so the user must choose one
        // before the trigger can be saved.
        v.way = block.size() >= 10 ? block.sliced(9, 1).toByteArray() : QByteArray();
    }
    v.base = weight(f, 7);
    v.min = weight(f, 8);
    v.max = weight(f, 9);
    v.owner = field(f, 12);
    v.low = flag(f, 15);
    v.mid = flag(f, 16);
    v.high = flag(f, 17);
    return v;
}

EditProblem checkEdit(const TriggerEdit& e, const TriggerEdit* loaded) {
    if (e.way.isEmpty())
        return EditProblem::EmptyWay;
    if (e.way.size() != 1 || e.way[0] < '0' || e.way[0] > '5')
        return EditProblem::BadWay;
    if (!amountToHex(e.amount))
        return EditProblem::BadAmount;
    // An empty weight would be written ".000000", an empty tech level or side as an
    // empty field: the line is written whole or not at all.
    const bool ownerAsLoaded = loaded && e.owner == loaded->owner;
    if (e.base.isEmpty() || e.min.isEmpty() || e.max.isEmpty() || e.tech.isEmpty() ||
        (e.owner.isEmpty() && !ownerAsLoaded))
        return EditProblem::EmptyField;
    for (const QByteArray* v : {&e.key, &e.team1, &e.team2, &e.country, &e.tech, &e.condition,
                                &e.unit, &e.base, &e.min, &e.max, &e.owner})
        if (v->contains(','))
            return EditProblem::Comma;
    return EditProblem::None;
}

QByteArray buildTriggerLine(const TriggerEdit& e, QByteArrayView oldLine) {
    const std::vector<QByteArrayView> old =
        oldLine.isEmpty() ? std::vector<QByteArrayView>{} : splitFields(oldLine);
    const QByteArrayView oldBlock = old.size() > 6 ? old[6] : QByteArrayView();

    QByteArray block(kBlockLength, '0');
    const QByteArray amount = amountToHex(e.amount).value_or("00");
    block[0] = amount[0];
    block[1] = amount[1];
    for (qsizetype p = 2; p < kBlockLength; ++p)
        if (p != 9 && p < oldBlock.size())
            block[p] = oldBlock[p];
    block[9] = e.way.isEmpty() ? '0' : e.way[0];

    const QByteArray weightTail(".000000");
    QByteArray out;
    out.reserve(oldLine.size() + 64);
    auto add = [&out](QByteArrayView v) {
        out.append(v);
        out.append(',');
    };
    add(e.key);
    add(e.team1);
    add(e.country);
    add(e.tech);
    add(e.condition);
    add(e.unit);
    add(block);
    add(e.base + weightTail);
    add(e.min + weightTail);
    add(e.max + weightTail);
    add(kept(old, 10, "1"));
    add(kept(old, 11, "0"));
    add(e.owner);
    add(kept(old, 13, "0"));
    add(e.team2);
    add(e.low ? "1" : "0");
    add(e.mid ? "1" : "0");
    out.append(e.high ? "1" : "0");
    // Fields an engine extension appends are the user's too.
    for (size_t i = kFieldCount; i < old.size(); ++i) {
        out.append(',');
        out.append(old[i]);
    }
    return out;
}

ChangedFields changedFields(const TriggerEdit& e, const TriggerEdit& loaded) {
    // The fields each control writes; 0 (the key), 10, 11 and 13 no control writes.
    return {false,
            e.team1 != loaded.team1,
            e.country != loaded.country,
            e.tech != loaded.tech,
            e.condition != loaded.condition,
            e.unit != loaded.unit,
            e.amount != loaded.amount || e.way != loaded.way, // the block
            e.base != loaded.base,
            e.min != loaded.min,
            e.max != loaded.max,
            false,
            false,
            e.owner != loaded.owner,
            false,
            e.team2 != loaded.team2,
            e.low != loaded.low,
            e.mid != loaded.mid,
            e.high != loaded.high};
}

QByteArray buildChangedTriggerLine(const TriggerEdit& e, const ChangedFields& changed,
                                   QByteArrayView oldLine) {
    const QByteArray full = buildTriggerLine(e, oldLine);
    const std::vector<QByteArrayView> old = splitFields(oldLine);
    if (old.size() < static_cast<size_t>(kFieldCount))
        return full;
    const std::vector<QByteArrayView> now = splitFields(full);
    // The game writes "<none>" for a slot without a team: a line that is written anyway
    // gets it where its team field is empty.
    const bool writes = std::find(changed.begin(), changed.end(), true) != changed.end();
    QByteArray out;
    out.reserve(full.size());
    for (size_t i = 0; i < now.size(); ++i) {
        if (i > 0)
            out += ',';
        const bool keepOld =
            i < old.size() && (i >= static_cast<size_t>(kFieldCount) || !changed[i]);
        if (keepOld && writes && isTeamField(i) && old[i].trimmed().isEmpty())
            out += kNoTeam;
        else
            out += keepOld ? old[i] : now[i];
    }
    return out;
}

namespace {

QByteArray startLine(QByteArrayView key, QByteArrayView firstTeam, QByteArrayView country,
                     QByteArrayView condition, QByteArrayView side, QByteArrayView allowed) {
    QByteArray out = key.toByteArray();
    out.append(',');
    out.append(firstTeam.isEmpty() ? QByteArrayView(kNoTeam) : firstTeam);
    out.append(',');
    out.append(country);
    out.append(",10,");
    out.append(condition);
    out.append(",<none>,");
    out.append(QByteArray(kBlockLength, '0'));
    out.append(",70.000000,10.000000,70.000000,1,0,");
    out.append(side);
    out.append(",0,<none>,");
    out.append(allowed);
    return out;
}

} // namespace

QByteArray newTriggerLine(QByteArrayView key, QByteArrayView firstTeam) {
    return startLine(key, firstTeam, "<all>", "0", "1", "0,0,0");
}

QByteArray newFiringTriggerLine(QByteArrayView key, QByteArrayView firstTeam,
                                const FiringTrigger& values) {
    return startLine(key, firstTeam, values.country, values.condition, values.side, "1,1,1");
}

} // namespace tarvok::trigger
