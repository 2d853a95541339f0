#include "ui/ChoiceSearch.h"

#include "records/FieldRules.h"

#include <QComboBox>
#include <QCompleter>
#include <QIdentityProxyModel>
#include <QListView>

#include <vector>

namespace tarvok {
namespace {

constexpr int kKeyRole = Qt::UserRole + 40;

// The box's entries with what the search compares: the entry's text, its ID (Qt::UserRole)
// and its in-game name, folded once after each change of the entries.
class ChoiceKeys : public QIdentityProxyModel {
  public:
    ChoiceKeys(QAbstractItemModel* entries, std::function<QString(const QString&)> nameOf,
               QObject* parent)
        : QIdentityProxyModel(parent), nameOf_(std::move(nameOf)) {
        setSourceModel(entries);
        // Before the proxy passes a change on, and with it the search asks again.
        const auto stale = [this] { keys_.clear(); };
        connect(entries, &QAbstractItemModel::modelAboutToBeReset, this, stale);
        connect(entries, &QAbstractItemModel::layoutAboutToBeChanged, this, stale);
        connect(entries, &QAbstractItemModel::rowsAboutToBeInserted, this, stale);
        connect(entries, &QAbstractItemModel::rowsAboutToBeRemoved, this, stale);
        connect(entries, &QAbstractItemModel::dataChanged, this, stale);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == kKeyRole) {
            if (keys_.size() != static_cast<size_t>(sourceModel()->rowCount()))
                makeKeys();
            return keys_[static_cast<size_t>(index.row())];
        }
        if (role == Qt::DisplayRole && nameOf_) { // an ID, with its name beside it
            const QString id = QIdentityProxyModel::data(index, Qt::EditRole).toString();
            const QString name = nameOf_(id);
            return name.isEmpty() ? id : id + QStringLiteral("　") + name;
        }
        return QIdentityProxyModel::data(index, role);
    }

  private:
    void makeKeys() const {
        const QAbstractItemModel* entries = sourceModel();
        const int n = entries->rowCount();
        keys_.clear();
        keys_.reserve(static_cast<size_t>(n));
        for (int row = 0; row < n; ++row) {
            const QModelIndex at = entries->index(row, 0);
            const QString text = at.data(Qt::EditRole).toString();
            QString key = text + QLatin1Char('\n') + at.data(Qt::UserRole).toString();
            if (nameOf_)
                key += QLatin1Char('\n') + nameOf_(text);
            keys_.push_back(fieldrules::searchKey(key));
        }
    }

    std::function<QString(const QString&)> nameOf_;
    mutable std::vector<QString> keys_; // empty until the first search after a change
};

// Matches the folded text anywhere in an entry's key, and puts the entry's own text in
// the box.
class ContainsCompleter : public QCompleter {
  public:
    using QCompleter::QCompleter;
    QStringList splitPath(const QString& path) const override {
        return {fieldrules::searchKey(path)};
    }
    QString pathFromIndex(const QModelIndex& index) const override {
        return index.data(Qt::EditRole).toString();
    }
};

} // namespace

void searchInside(QComboBox* box, std::function<QString(const QString&)> nameOf) {
    auto* completer = new ContainsCompleter(box);
    completer->setModel(new ChoiceKeys(box->model(), std::move(nameOf), completer));
    completer->setCompletionRole(kKeyRole);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseSensitive); // both sides are folded
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setModelSorting(QCompleter::UnsortedModel);
    completer->setMaxVisibleItems(box->maxVisibleItems());
    auto* offers = new QListView;
    offers->setUniformItemSizes(true); // thousands of one-line offers: none is measured alone
    completer->setPopup(offers);
    box->setCompleter(completer);
}

} // namespace tarvok
