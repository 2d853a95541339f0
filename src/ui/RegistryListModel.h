#pragma once

#include "records/References.h"

#include <QAbstractListModel>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace tarvok {

class RulesIndex;

// One registry list of a reading of the file (or the list of trigger keys), as the
// window lists it: an entry's text is its ID, or a trigger's "ID=name" (what every
// operation uses); the record's name is a role of its own. Entries are views of the
// reading's bytes, decoded when first shown, filtered or asked for; entries added since
// the reading hold their text.
class RegistryListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    // The record's name, as the reading has it or as saved since (empty for a trigger).
    enum Role { NameRole = Qt::UserRole + 1 };

    explicit RegistryListModel(references::Kind kind, QObject* parent = nullptr);

    // The entries of kind in the reading, and the names its records have there.
    void setIndex(std::shared_ptr<const RulesIndex> index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString text(int row) const;
    QString name(int row) const;
    // "位于 ai_trigger.ini": the included file that holds the entry's record (its tooltip);
    // empty for a record of the opened file.
    QString fileOf(int row) const;
    // The entry's text and name in one letter case and one width, as the filter compares.
    const QString& searchKey(int row) const;
    references::Kind kind() const { return kind_; }
    QStringList texts() const;

    void insertEntry(int row, const QString& text);
    void removeEntry(int row);
    // The name shown beside every entry whose ID is id, from now on.
    void setName(const QString& id, const QString& name);

  private:
    struct Row {
        QByteArrayView bytes; // in the reading
        bool added = false;   // since the reading: its text is all there is
        bool decoded = false;
        QString text;
        QString key; // null until the first filtering, or after a rename
    };
    const Row& decodedRow(int row) const;

    references::Kind kind_;
    std::shared_ptr<const RulesIndex> index_;
    mutable std::vector<Row> rows_;
    QHash<QString, QString> renamed_;
};

} // namespace tarvok
