#pragma once

#include "records/References.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

class QAbstractItemView;
class QLineEdit;
class QListView;
class QWidget;

namespace tarvok {
class RegistryListModel;
class RulesIndex;
} // namespace tarvok

// The four registry lists as the user sees them: an entry's text is its ID (what every
// operation uses), the record's name stands beside it in a quieter colour, and a filter
// box above each list hides the entries that do not match. A list is a view of its
// entries (RegistryListModel) through its filter (RegistryFilter).
namespace tarvok::registrylists {

// The list of the entries of kind, empty until it is filled.
QListView* makeList(references::Kind kind, const QString& objectName, QWidget* parent);
// The entries behind a list made by makeList, hidden or not.
RegistryListModel* entriesOf(const QAbstractItemView* list);
// The four lists (triggers, team types, task forces, scripts) filled from a reading of
// the file, each list's filter kept in force.
void fillAll(const std::array<QListView*, 4>& lists,
             const std::shared_ptr<const RulesIndex>& index);

// The filter box of a list: typing shows only the entries whose ID or name contains the
// text (letter case and full-width forms aside); Esc or an empty box shows all again.
QLineEdit* makeFilter(QListView* list, const QString& objectName, QWidget* parent);

// The entry selected in a list: its row among its entries (-1 for none), and its text.
// An entry the filter hides is not selected.
int selectedRow(const QAbstractItemView* list);
std::optional<QString> selectedEntry(const QAbstractItemView* list);
// Where the list shows the entry of a row (-1 while the filter hides it).
int viewRow(const QAbstractItemView* list, int entryRow);

} // namespace tarvok::registrylists
