#pragma once

#include "document/FileStore.h"

#include <QObject>
#include <QString>

namespace tarvok {

class PanelKit;

// What every record panel knows of the record it shows: whether its last load found
// that record in the file, and whether the record's lines read back exactly as they
// were written (text that did not decode is never written back). A save goes by these,
// so a panel never writes one record's values under another record's ID.
class RecordPanel : public QObject {
    Q_OBJECT

public:
    // How a save is asked for: by its button or save-all (every refusal is told), or
    // on the user's behalf before a selection, another file or closing (a record that
    // is gone or did not decode is passed over silently).
    enum class SaveMode { Button, Auto };
    enum class Saved {
        Done,    // written, and confirmed
        Nothing, // no record on show, or no rules file open
        Refused, // input the user can correct; the refusal was shown
        Skipped, // the record is not in the file or did not decode; nothing written
        Failed,  // the file could not be written; the failure was shown
    };

    // True while the user has to stay on the record: a refusal the user can correct, or
    // a write that failed (the edits would be lost otherwise).
    static bool holdsUser(Saved s) { return s == Saved::Refused || s == Saved::Failed; }

    bool recordFound() const { return found_; }
    // The record on show is gone from the file (it was deleted): saves are refused.
    void forgetRecord() { found_ = false; }

    virtual Saved save(SaveMode mode) = 0;
    // The record's name as the panel shows it (empty for a trigger).
    virtual QString name() const { return {}; }

signals:
    // A save wrote the record.
    void saved();
    // A load put a record (or a new record's values) on show.
    void loaded();

public:
    // The panel's values as they are now count as the record as loaded: what a save
    // compares with to find what the user changed. Called at the end of every load
    // (and again once a selection has filled the row fields).
    virtual void captureBaseline() = 0;

protected:
    RecordPanel(PanelKit& kit, QString notFoundMessage, QObject* parent);

    // The result of a load: found in the file, and whether its lines decode losslessly.
    void setLoaded(bool found, bool decodes) {
        found_ = found;
        decodes_ = decodes;
        emit loaded();
    }
    // Before a write: Done when the record as loaded may be written back; otherwise
    // Skipped, with the refusal shown for a button save.
    Saved checkLoaded(SaveMode mode);
    // The outcome of a write whose edit found the record (found) or not: the
    // confirmation, the refusal, or why the write failed.
    Saved finishWrite(SaveMode mode, bool found, const filestore::WriteResult& result,
                      const QString& confirmation);

    PanelKit& kit_;

private:
    Saved refuse(SaveMode mode, const QString& message);

    QString notFoundMessage_;
    bool found_ = false;
    bool decodes_ = true;
};

} // namespace tarvok
