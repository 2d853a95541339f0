// The unit name table and the user's notes on IDs: both are data files of the program
// directory, read anew by every operation; the notes file is the only one written.
#include "catalogues/IdNotes.h"
#include "catalogues/UnitNameTable.h"
#include "document/FileStore.h"
#include "document/Lines.h"
#include "ui/FrmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace tarvok {
namespace {

const QString kUnitTable = QStringLiteral("NameTable.WQ");
const QString kNotes = QStringLiteral("Name.WQ");
const QString kNotesScratch = QStringLiteral("NameData.WQ");
// TxtNote's initial text: it stands for "no note yet".
const QString kNotePlaceholder = QStringLiteral("备注");

// Text that the file's encoding cannot hold would come back as other characters:
// such an ID can match no line, and such a note must not be written.
bool encodable(const TextCodec& codec, const QString& text) {
    return codec.decode(codec.encode(text)) == text;
}

// The start-up lists: filling the first item of an empty editable combo box would
// replace its text, so the text is put back.
void appendKeepingText(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    box->addItems(items);
    box->setEditText(text);
}

// The notes operations test for their file before anything else, as every reader of
// the program directory's data files does.
void reportMissingFile(FrmMain& w) {
    w.msg(QStringLiteral("无法找到文件"), QStringLiteral("错误"), MsgIcon::Information);
}

void reportWriteFailure(FrmMain& w) {
    w.msg(QStringLiteral("文件写入失败，原文件未改动"), QStringLiteral("错误"), MsgIcon::Information);
}

} // namespace

void FrmMain::connectCatalogueHandlers() {
    connect(CmdFind, &QPushButton::clicked, this, &FrmMain::CmdFind_Click);
    connect(CmdNew, &QPushButton::clicked, this, &FrmMain::CmdNew_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &FrmMain::CmdDelete_Click);
    onFocusIn(TxtNote, [this] { TxtNote_GotFocus(); });
    connect(TxtScrUnitE, &QLineEdit::textChanged, this, [this] { TxtScrUnitE_Change(); });
    connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
}

// ---------------------------------------------------------------- unit name table

bool FrmMain::FillUnitLists() {
    // The start-up reports a missing table itself, with its own message.
    if (!filestore::exists(programFile(kUnitTable)))
        return false;
    const std::optional<QStringList> table = readDataFile(kUnitTable);
    if (!table)
        return false;
    const unitnames::ChoiceLists lists = unitnames::choiceLists(*table);
    appendKeepingText(CboUnit, lists.ids);
    appendKeepingText(CboSpeE, lists.ids);
    appendKeepingText(CboUnitC, lists.names);
    appendKeepingText(CboSpeC, lists.names);
    appendKeepingText(TxtScrUnitC, lists.names);
    return true;
}

QString FrmMain::LookupUnitName(const QString& unitId) {
    const std::optional<QStringList> table = readDataFile(kUnitTable);
    return table ? unitnames::nameOf(*table, unitId) : QString();
}

QString FrmMain::LookupUnitId(const QString& displayName) {
    const std::optional<QStringList> table = readDataFile(kUnitTable);
    return table ? unitnames::idOf(*table, displayName) : QString();
}

void FrmMain::TxtScrUnitE_Change() {
    TxtScrUnitC->setEditText(LookupUnitName(TxtScrUnitE->text()));
}

void FrmMain::Command1_Click() {
    const std::optional<QStringList> table = readDataFile(kUnitTable);
    const QString id = table ? unitnames::idOf(*table, TxtScrUnitC->currentText()) : QString();
    if (TxtScrUnitE->text() != id) {
        TxtScrUnitE->setText(id); // its change handler shows the name of the ID
    } else if (table) {
        // The same text raises no change, yet the name box must follow the ID: an
        // unlisted name is emptied, a listed one shows the table's name for its ID.
        TxtScrUnitC->setEditText(unitnames::nameOf(*table, id));
    }
    TxtNumber->setText(LookupBuildingId(TxtScrUnitE->text()));
}

// ---------------------------------------------------------------- notes

void FrmMain::CmdFind_Click() {
    const std::optional<QStringList> notes = readDataFile(kNotes);
    if (!notes)
        return;
    if (const std::optional<QString> note = idnotes::noteOf(*notes, TxtName->text()))
        TxtNote->setText(*note);
}

void FrmMain::CmdNew_Click() {
    const QString path = programFile(kNotes);
    if (!filestore::exists(path)) {
        reportMissingFile(*this);
        return;
    }
    const QString id = TxtName->text();
    const QString note = TxtNote->text();
    const std::optional<QByteArray> bytes = filestore::read(path);
    const TextCodec codec(detectEncoding(bytes.value_or(QByteArray())));
    // An ID holding a comma would be stored as another ID, and text the file's encoding
    // cannot hold would be stored as other characters: neither can be added faithfully.
    if (id.isEmpty() || note.isEmpty() || note == kNotePlaceholder ||
        id.contains(QLatin1Char(',')) || !encodable(codec, id + note)) {
        msg(QStringLiteral("添加失败"), QStringLiteral("错误"), MsgIcon::Information);
        return;
    }
    if (bytes && idnotes::hasNote(decodeLines(*bytes), id)) {
        msg(QStringLiteral("字段重复,请重新输入！"), QStringLiteral("提示"), MsgIcon::Question,
            MsgButtons::YesNo);
        return;
    }
    const filestore::Result r = filestore::rewrite(
        path, programFile(kNotesScratch), [&](const QByteArray& content) {
            const TextCodec fileCodec(detectEncoding(content));
            return idnotes::withLineOnTop(content, fileCodec.encode(id + QLatin1Char(',') + note));
        });
    if (r != filestore::Result::Ok)
        reportWriteFailure(*this);
}

void FrmMain::CmdDelete_Click() {
    const QString path = programFile(kNotes);
    if (!filestore::exists(path)) {
        reportMissingFile(*this);
        return;
    }
    const QString id = TxtName->text();
    // No ID names no note: nothing is rewritten.
    if (id.isEmpty()) {
        msg(QStringLiteral("删除失败！！！"));
        return;
    }
    int dropped = 0;
    const filestore::Result r = filestore::rewrite(
        path, programFile(kNotesScratch), [&](const QByteArray& content) {
            const TextCodec codec(detectEncoding(content));
            if (!encodable(codec, id))
                return content;
            idnotes::Removal removal = idnotes::withoutNotesOf(content, codec.encode(id));
            dropped = removal.dropped;
            return std::move(removal.content);
        });
    if (r != filestore::Result::Ok) {
        reportWriteFailure(*this);
        return;
    }
    if (dropped > 0) {
        msg(QStringLiteral("删除成功！"));
        TxtNote->clear();
    } else {
        msg(QStringLiteral("删除失败！！！"));
    }
}

void FrmMain::TxtNote_GotFocus() {
    if (TxtNote->text() == kNotePlaceholder)
        TxtNote->clear();
}

} // namespace tarvok
