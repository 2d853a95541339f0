#pragma once

#include "document/RulesDocument.h"
#include "ui/Panels.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;

namespace tarvok {

class FileCommands;
class FrmPredict;
class FrmTable;
class RecordSelection;
class RegistryTabs;

// The one listener of the open file's changes in the window. Whatever wrote the file (a
// panel's save, an add or delete, a chain copy, undo and redo, another program), the
// window shows the result from here: the four lists, the names beside their entries, the
// 引用 lists, the panels whose record left the file, and the trigger table.
//
// A write of one record costs a look at that record's entries only: the lists are made
// again only when entries were added or removed, or when any part of the file may differ.
class FileFollower : public QObject {
    Q_OBJECT

  public:
    FileFollower(RulesDocument& doc, RegistryTabs& tabs, RecordSelection& selection,
                 FileCommands& files, Panels panels, QObject* parent);

    // The trigger table, once made, follows the file too.
    void setTable(FrmTable* table) { table_ = table; }
    // So does the forecast window.
    void setPredict(FrmPredict* predict) { predict_ = predict; }
    // The 引用 lists shown again once the event that asked is over (a load, a change).
    void showReferencesSoon();
    // Shows the files read (the opened one and those it includes) after an opening and
    // another program's change, which may name other files.
    void setFileFrame(std::function<void()> show) { showFiles_ = std::move(show); }

  private:
    void follow(const DocumentChange& change);
    void followWrite(const DocumentChange& change);

    RulesDocument& doc_;
    RegistryTabs& tabs_;
    RecordSelection& selection_;
    FileCommands& files_;
    Panels panels_;
    QPointer<FrmTable> table_;
    QPointer<FrmPredict> predict_;
    QTimer* refsLater_;
    std::function<void()> showFiles_;
};

} // namespace tarvok
