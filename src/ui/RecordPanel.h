#pragma once

#include "document/FileStore.h"
#include "records/RecordOps.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QGroupBox;

namespace tarvok {

class PanelKit;
class RulesDocument;

// What every record panel knows of the record it shows: whether its last load found
// that record in the file, and whether the record's lines read back exactly as they
// were written (text that did not decode is never written back). A save goes by these,
// so a panel never writes one record's values under another record's ID.
//
// The window steps every panel through one contract: show(id) puts a record on show,
// clear() puts none, isEdited() tells whether the user changed it since, save(mode)
// writes it. The panel collects its values, calls the record operation of its kind and
// shows what happened.
class RecordPanel : public QWidget {
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

    ~RecordPanel() override;

    // True while the user has to stay on the record: a refusal the user can correct, or
    // a write that failed (the edits would be lost otherwise).
    static bool holdsUser(Saved s) { return s == Saved::Refused || s == Saved::Failed; }

    // The record keyed id (a trigger by its list entry "ID=name") on show: its ID box, its
    // values as the file holds them (a new record's where the file lacks them).
    virtual void show(const QString& id) = 0;
    // No record on show: the ID box empty, the values as the window starts with them.
    virtual void clear() = 0;
    bool isEdited() const { return edited_; }

    bool recordFound() const { return found_; }
    // The record on show is gone from the file (it was deleted): saves are refused.
    void forgetRecord() {
        found_ = false;
        refreshEdited();
    }

    virtual Saved save(SaveMode mode) = 0;
    // Tighter frames and narrow choice boxes, to keep the window on one screen; called once
    // the window has placed the panel (the boxes measure themselves as they stand there).
    virtual void compact() = 0;
    // The record's name as the panel shows it (empty for a trigger).
    virtual QString name() const { return {}; }

    // The ID or key of the record on show (empty when there is none).
    virtual QString recordKey() const = 0;
    // True while the panel shows a record of the open file that it could save, and its
    // fields differ from that record as loaded: its frame's caption then ends in " *".
    bool edited() const { return edited_; }
    // Enter in one of the panel's single-line fields, after that field's leave check: the
    // save, as the panel's button does.
    virtual void enterPressed() { save(SaveMode::Button); }

  signals:
    // A save wrote the record.
    void saved();
    // A load put a record (or a new record's values) on show.
    void loaded();
    // The panel became edited, or no longer is.
    void editedChanged(bool edited);

  public:
    // The panel's values as they are now count as the record as loaded: what a save
    // compares with to find what the user changed. Called at the end of every load
    // (and again once a selection has filled the row fields).
    virtual void captureBaseline() = 0;

  protected:
    RecordPanel(PanelKit& kit, RulesDocument& doc, QString notFoundMessage, QWidget* parent);

    // The panel's frames, each with the test whether a field of it differs from the
    // record as loaded. Every change in a frame's fields looks again; Enter in a frame's
    // single-line field runs enterPressed. Called once the handlers are connected.
    struct WatchedFrame {
        QGroupBox* frame;
        std::function<bool()> differs;
    };
    void watchFrames(std::vector<WatchedFrame> frames);
    // Looks again whether the panel is edited; every captureBaseline ends with it.
    void refreshEdited();

    // Why a panel shows no record: none is named, or the file lacks the one named. Its
    // first frame's caption says so until a record is shown.
    enum class Absence { None, NoRecord, NotInFile };
    void setAbsence(Absence absence);
    // The fields' values as the window starts with them: taken once the window is built,
    // put back (without running any handler) when the panel shows no record.
    void rememberStart();
    void restoreStart();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The result of a load: found in the file, and whether its lines decode losslessly.
    void setLoaded(bool found, bool decodes) {
        found_ = found;
        decodes_ = decodes;
        emit loaded();
    }
    // Before a write: Done when the record as loaded may be written back; otherwise
    // Skipped, with the refusal shown for a button save.
    Saved checkLoaded(SaveMode mode);
    // What a save did, as the user is told: a refusal of the values, the confirmation, the
    // refusal of a record not in the file, or why the write failed. A save done counts
    // the values on show as the record as loaded.
    Saved finishSave(SaveMode mode, const records::RecordSave& save, const QString& confirmation);
    // True when the panel may save now: a key, and an open file.
    bool saveable(const QString& key) const;

    PanelKit& kit_;
    RulesDocument& doc_;

  private:
    Saved refuse(SaveMode mode, const QString& message);

    QString notFoundMessage_;
    bool found_ = false;
    bool decodes_ = true;
    bool edited_ = false;
    bool closing_ = false; // its controls are going: no handler of the panel runs
    struct FrameMark {
        WatchedFrame watched;
        QString caption; // as built, without the mark
    };
    std::vector<FrameMark> frames_;
    Absence absence_ = Absence::None;
    std::vector<std::function<void()>> start_; // each puts one field back
};

} // namespace tarvok
