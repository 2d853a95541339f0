#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QLineEdit;
class QListWidget;
class QStyledItemDelegate;
class QWidget;

namespace tarvok {
class RulesIndex;
}

// The four registry lists as the user sees them: an entry's text is its ID (what every
// operation uses), the record's name stands beside it in a quieter colour, and a filter
// box above each list hides the entries that do not match.
namespace tarvok::registrylists {

// The delegate of the lists: at most a screenful of an entry, and its name beside it.
QStyledItemDelegate* makeDelegate(QWidget* list);

// The entries of a list, with the names of the records as names has them (decoded when
// first shown or filtered; an empty name shows nothing).
void fill(QListWidget* list, const QStringList& ids,
          std::shared_ptr<const RulesIndex> names = nullptr);
// The four lists (triggers, team types, task forces, scripts) filled from a reading of
// the file, each list's filter kept in force.
void fillAll(const std::array<QListWidget*, 4>& lists, const std::array<QLineEdit*, 4>& filters,
             const std::shared_ptr<const RulesIndex>& index);
// The name shown beside every entry whose ID is id.
void setName(QListWidget* list, const QString& id, const QString& name);
QString nameOf(QListWidget* list, const QString& id);

// The filter box of a list: typing shows only the entries whose ID or name contains the
// text (letter case and full-width forms aside); Esc or an empty box shows all again.
QLineEdit* makeFilter(QListWidget* list, const QString& objectName, QWidget* parent);
// Shows the entries of list that match text (all for an empty text).
void applyFilter(QListWidget* list, const QString& text);

} // namespace tarvok::registrylists
