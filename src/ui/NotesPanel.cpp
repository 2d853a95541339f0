#include "ui/NotesPanel.h"

#include "catalogues/IdNotes.h"
#include "catalogues/NotesFile.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/WidgetMaking.h"
#include "ui/WindowLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvok {

using namespace messages;

NotesPanel::NotesPanel(PanelKit& kit, QWidget* parent) : QWidget(parent), kit_(kit) {
    CmdDelete = new QPushButton(QStringLiteral("删除"));
    CmdDelete->setObjectName(QStringLiteral("CmdDelete"));
    CmdFind = new QPushButton(QStringLiteral("搜索"));
    CmdFind->setObjectName(QStringLiteral("CmdFind"));
    CmdNew = new QPushButton(QStringLiteral("添加"));
    CmdNew->setObjectName(QStringLiteral("CmdNew"));
    TxtNote = new QLineEdit(idnotes::kNotePlaceholder);
    TxtNote->setObjectName(QStringLiteral("TxtNote"));
    TxtName = new QLineEdit;
    TxtName->setObjectName(QStringLiteral("TxtName"));

    FraNotes = new QGroupBox(QStringLiteral("备注"));
    FraNotes->setObjectName(QStringLiteral("FraNotes"));
    auto* grid = new QGridLayout(FraNotes);
    grid->addWidget(new QLabel(QStringLiteral("ID:")), 0, 0);
    grid->addWidget(TxtName, 0, 1, 1, 3);
    grid->addWidget(TxtNote, 1, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {CmdNew, CmdFind, CmdDelete})
        buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 4);
    holdFrame(this, FraNotes);

    connect(CmdFind, &QPushButton::clicked, this, &NotesPanel::CmdFind_Click);
    connect(CmdNew, &QPushButton::clicked, this, &NotesPanel::CmdNew_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &NotesPanel::CmdDelete_Click);
    kit_.focus().onFocusIn(TxtNote, [this] { TxtNote_GotFocus(); });
}

void NotesPanel::compact() {
    windowlayout::compactFrame(FraNotes);
}

void NotesPanel::showNoteOf(const QString& id) {
    TxtName->setText(id);
    TxtNote->clear();
    CmdFind_Click();
}

void NotesPanel::clear() {
    TxtName->clear();
    TxtNote->setText(idnotes::kNotePlaceholder);
}

void NotesPanel::CmdFind_Click() {
    const std::optional<QStringList> notes = kit_.fields().dataFile(idnotes::kNotesFile);
    if (!notes)
        return;
    if (const std::optional<QString> note = idnotes::noteOf(*notes, TxtName->text()))
        TxtNote->setText(*note);
}

void NotesPanel::CmdNew_Click() {
    const idnotes::Result r = idnotes::addNote(kit_.files(), TxtName->text(), TxtNote->text());
    switch (r.outcome) {
    case idnotes::Outcome::MissingFile:
        kit_.messages().msg(kFileMissing, kErrorTitle, MsgIcon::Information);
        break;
    case idnotes::Outcome::Refused:
        kit_.messages().msg(QStringLiteral("添加失败"), kErrorTitle, MsgIcon::Information);
        break;
    case idnotes::Outcome::Duplicate:
        kit_.messages().msg(QStringLiteral("字段重复,请重新输入！"), kQuestionTitle,
                            MsgIcon::Question, MsgButtons::YesNo);
        break;
    case idnotes::Outcome::WriteFailed:
        kit_.messages().reportWrite(r.write);
        break;
    case idnotes::Outcome::Done:
    case idnotes::Outcome::NoneFound:
        break;
    }
}

void NotesPanel::CmdDelete_Click() {
    const idnotes::Result r = idnotes::deleteNotes(kit_.files(), TxtName->text());
    switch (r.outcome) {
    case idnotes::Outcome::MissingFile:
        kit_.messages().msg(kFileMissing, kErrorTitle, MsgIcon::Information);
        break;
    case idnotes::Outcome::WriteFailed:
        kit_.messages().reportWrite(r.write);
        break;
    case idnotes::Outcome::Done:
        kit_.messages().msg(QStringLiteral("删除成功！"));
        TxtNote->clear();
        break;
    case idnotes::Outcome::NoneFound:
    case idnotes::Outcome::Refused:
    case idnotes::Outcome::Duplicate:
        kit_.messages().msg(QStringLiteral("删除失败！！！"));
        break;
    }
}

void NotesPanel::TxtNote_GotFocus() {
    if (TxtNote->text() == idnotes::kNotePlaceholder)
        TxtNote->clear();
}

} // namespace tarvok
