#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace tarvok {

// The entries of a choice box of units or buildings: each entry is one type, shown under
// its in-game name. Mods give one name to several types ("War Factory" for three
// buildings), so an entry whose name other entries share shows its ID after the name,
// "War Factory（NAWEAP）", and every entry can be told apart by what it shows.
class UnitChoices {
  public:
    UnitChoices() = default;
    // Two parallel lists: each type's ID and its display name (empty: the ID shows).
    UnitChoices(QStringList ids, const QStringList& names);

    const QStringList& ids() const { return ids_; }
    // What each entry shows.
    const QStringList& labels() const { return labels_; }
    qsizetype size() const { return ids_.size(); }

    // What text typed into the box (or an entry's label) stands for: matched first as an
    // ID in any letter case, then as an entry's label, then as a display name. A name
    // that several types share stands for none of them; sharing says how many.
    struct Match {
        QString id;            // empty: none, or several
        qsizetype sharing = 0; // the types that share the typed name, when several do
        qsizetype index = -1;  // the entry of id
    };
    Match match(const QString& text) const;
    // The label of the entry whose ID is id (in any letter case); empty when none is.
    QString labelOf(const QString& id) const;

  private:
    QStringList ids_;
    QStringList labels_;
    QHash<QString, qsizetype> byId_;    // case-folded ID -> its last entry
    QHash<QString, qsizetype> byLabel_; // label -> entry
    QHash<QString, std::vector<qsizetype>> byName_;
};

} // namespace tarvok
