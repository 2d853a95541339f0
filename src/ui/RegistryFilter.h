#pragma once

#include <QAbstractProxyModel>
#include <QString>

#include <vector>

namespace tarvok {

class RegistryListModel;

// What a registry list shows of its entries under the filter box: those whose ID or
// name contains the text, in any letter case or width; all of them for an empty text.
// An entry added while a text is in force shows until the text changes. A keystroke
// compares each entry's cached key once and moves the view's rows in one layout change,
// so the selection and the current entry stay when they still show.
class RegistryFilter : public QAbstractProxyModel {
    Q_OBJECT

  public:
    explicit RegistryFilter(RegistryListModel* entries, QObject* parent = nullptr);

    RegistryListModel* entries() const { return entries_; }
    void setFilterText(const QString& text);

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

    RegistryListModel* entries_;
    QString key_;
    std::vector<int> shown_; // the source rows shown, ascending, while filtering
    int pendingFirst_ = -1;  // the proxy rows a source insert or removal is about to change
    int pendingLast_ = -1;
};

} // namespace tarvok
