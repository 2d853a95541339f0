#pragma once

#include "records/References.h"

#include <QAbstractProxyModel>
#include <QString>

#include <memory>
#include <vector>

namespace tarvok {

class Catalogues;
class RegistryListModel;
class RulesIndex;
namespace unituses {
class UnitUses;
}

// What the four lists' filters know of the units and buildings each record uses: read
// from a reading at the first filter text after it came, named from the catalogues in use
// then, and named again after the mod in use changed.
class UnitFinder {
  public:
    explicit UnitFinder(const Catalogues& catalogues);
    ~UnitFinder();

    // For each entry of kind in the reading's order, whether its record uses a unit or
    // building that text finds.
    std::vector<bool> usersOf(const std::shared_ptr<const RulesIndex>& reading,
                              references::Kind kind, const QString& text);
    // The units and buildings are named again at the next question.
    void renamed() { named_ = false; }

  private:
    const Catalogues& catalogues_;
    std::weak_ptr<const RulesIndex> reading_;
    std::unique_ptr<unituses::UnitUses> uses_;
    bool named_ = false;
};

// What a registry list shows of its entries under the filter box: those whose ID or
// name contains the text, in any letter case or width, and, with a unit finder, those
// whose record uses a unit or building the text finds; all of them for an empty text.
// An entry added while a text is in force shows until the text changes. A keystroke
// compares each entry's cached key once and moves the view's rows in one layout change,
// so the selection and the current entry stay when they still show.
class RegistryFilter : public QAbstractProxyModel {
    Q_OBJECT

  public:
    explicit RegistryFilter(RegistryListModel* entries, QObject* parent = nullptr);

    RegistryListModel* entries() const { return entries_; }
    void setFilterText(const QString& text);
    void setUnitFinder(UnitFinder* finder) { finder_ = finder; }
    // The text in force applied again (the units' names changed).
    void refilter();

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

  private:
    bool filtering() const { return !key_.isEmpty(); }
    // The source rows whose key contains key (none for an empty key), ascending.
    std::vector<int> matching(const QString& key) const;
    // Where source row would stand among the rows shown.
    int proxyRowFor(int sourceRow) const;
    // The source's row changes, as changes of the rows shown.
    void connectSource();
    // Shows the entries key keeps, keeping the selection where it still shows.
    void apply(const QString& key);

    RegistryListModel* entries_;
    UnitFinder* finder_ = nullptr;
    QString key_;
    std::vector<int> shown_; // the source rows shown, ascending, while filtering
    int pendingFirst_ = -1;  // the proxy rows a source insert or removal is about to change
    int pendingLast_ = -1;
};

} // namespace tarvok
