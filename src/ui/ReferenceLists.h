#pragma once

#include "records/References.h"

#include <QObject>
#include <QString>

#include <memory>

class QListWidget;
class QWidget;

namespace tarvok {

class RulesDocument;
class RulesIndex;

// The "引用" lists: for the record on show in each panel, the records that name it and
// those it names (the ones the file lacks in red, as missing). A double-click on a listed
// record asks for it to be selected in its registry list.
class ReferenceLists : public QObject {
    Q_OBJECT

  public:
    ReferenceLists(RulesDocument& document, QWidget* parent);

    // LstRefRoot, LstRefFig, LstRefSpe or LstRefScr.
    QListWidget* list(references::Kind kind) const { return lists_[static_cast<int>(kind)]; }

    // The list of kind shows the references of the record id (a trigger by its list
    // entry "ID=name"); an empty id empties it. While the reading of a write is in progress
    // the list shows them once it arrives.
    void show(references::Kind kind, const QString& id);
    // What a delete of the record asks: "确定删除？", or how many records use it.
    QString deleteQuestion(references::Kind kind, const QString& id);

  signals:
    // A double-click on a record the file has: entry is its text in its registry list.
    void chosen(references::Kind kind, const QString& entry);

  private:
    const references::RecordReferences* current();

    RulesDocument& document_;
    QListWidget* lists_[4] = {};
    QString asked_[4];                        // the record each list was last asked to show
    std::shared_ptr<const RulesIndex> index_; // what refs_ was read from
    std::unique_ptr<references::RecordReferences> refs_;
};

} // namespace tarvok
