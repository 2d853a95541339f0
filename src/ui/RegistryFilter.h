#pragma once

#include "records/References.h"

#include <QAbstractProxyModel>
#include <QFutureWatcher>
#include <QHash>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarvok {

class Catalogues;
class RegistryListModel;
class RulesDocument;
class RulesIndex;
namespace unituses {
class UnitUses;
}

// What the four lists' filters know of the units and buildings each record uses, in the
// file as last read or written: read once per reading by a task of Qt's thread pool (from
// the moment a filter box takes the focus, so that it is mostly there by the first
// keystroke), named from the catalogues in use, and named again after the mod in use
// changed. Nobody waits for it: until it arrives the filters find by ID and name, and
// arrived() asks them to apply their texts again.
class UnitFinder {
  public:
    UnitFinder(const Catalogues& catalogues, RulesDocument& document,
               std::function<void()> arrived);
    ~UnitFinder();

    // Starts reading the file's last reading, unless it is read or being read.
    void prepare();
    // The uses of the file's last reading, named; null while no file is open or while they
    // are being read.
    const unituses::UnitUses* uses();
    // Where the record id of kind stands in that reading's list (for a trigger, its ID
    // alone); -1 for a record it lacks.
    int place(references::Kind kind, const QString& id);
    // The units and buildings are named again at the next question.
    void renamed() { named_ = false; }
    // Counts the readings read: places found in one stand until it changes.
    int generation() const { return generation_; }

  private:
    const Catalogues& catalogues_;
    RulesDocument& document_;
    std::function<void()> arrived_;
    std::shared_ptr<const RulesIndex> reading_; // what uses_ was read from
    std::unique_ptr<QFutureWatcher<std::shared_ptr<unituses::UnitUses>>> reader_;
    std::shared_ptr<unituses::UnitUses> uses_; // null until read
    bool named_ = false;
    int generation_ = 0;
    std::array<std::optional<QHash<QString, int>>, 4> places_; // by kind, made when asked
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
    std::vector<int> matching(const QString& key);
    // Where source row would stand among the rows shown.
    int proxyRowFor(int sourceRow) const;
    // The source's row changes, as changes of the rows shown.
    void connectSource();
    // Shows the entries key keeps, keeping the selection where it still shows.
    void apply(const QString& key);

    // For each entry, where its record stands in the finder's reading, made again when the
    // entries or that reading changed.
    const std::vector<int>& places();

    RegistryListModel* entries_;
    UnitFinder* finder_ = nullptr;
    std::vector<int> places_;
    int placesOf_ = -1; // the finder's generation they were made in; -1: to be made again
    QString key_;
    std::vector<int> shown_; // the source rows shown, ascending, while filtering
    int pendingFirst_ = -1;  // the proxy rows a source insert or removal is about to change
    int pendingLast_ = -1;
};

} // namespace tarvok
