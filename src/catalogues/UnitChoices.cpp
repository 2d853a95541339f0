#include "catalogues/UnitChoices.h"

namespace tarvok {

UnitChoices::UnitChoices(QStringList ids, const QStringList& names) : ids_(std::move(ids)) {
    const qsizetype n = ids_.size();
    labels_.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QString name = i < names.size() && !names[i].isEmpty() ? names[i] : ids_[i];
        labels_.push_back(name);
        byName_[name].push_back(i);
        byId_.insert(ids_[i].toCaseFolded(), i); // an ID listed twice: its last name
    }
    for (const auto& [name, entries] : byName_.asKeyValueRange())
        if (entries.size() > 1)
            for (const qsizetype i : entries)
                labels_[i] = name + QStringLiteral("（") + ids_[i] + QStringLiteral("）");
    for (qsizetype i = 0; i < n; ++i)
        if (!byLabel_.contains(labels_[i]))
            byLabel_.insert(labels_[i], i);
}

UnitChoices::Match UnitChoices::match(const QString& text) const {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {};
    if (const auto it = byId_.constFind(typed.toCaseFolded()); it != byId_.cend())
        return {ids_[*it], 0, *it};
    if (const auto it = byLabel_.constFind(typed); it != byLabel_.cend())
        return {ids_[*it], 0, *it};
    if (const auto it = byName_.constFind(typed); it != byName_.cend()) {
        if (it->size() == 1)
            return {ids_[it->front()], 0, it->front()};
        return {QString(), static_cast<qsizetype>(it->size()), -1};
    }
    return {};
}

QString UnitChoices::labelOf(const QString& id) const {
    const auto it = byId_.constFind(id.toCaseFolded());
    return it == byId_.cend() ? QString() : labels_[*it];
}

} // namespace tarvok
