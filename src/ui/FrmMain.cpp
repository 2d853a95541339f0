#include "ui/FrmMain.h"

#include "catalogues/UnitNameTable.h"
#include "ui/FileDrops.h"
#include "ui/FrmCheck.h"
#include "ui/Messages.h"
#include "ui/NotesPanel.h"
#include "ui/PanelKit.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryLists.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"
#include "ui/WindowRules.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvok {
namespace {

QFont editorFont() {
    QFont f = QApplication::font();
    // The Chinese texts read best in SimSun; where it is missing a CJK face of the
    // system takes its place.
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei")});
    return f;
}

// The focusable controls of a layout in the order they read: a grid row by row, a box
// layout item by item, nested layouts where they stand.
void appendInReadingOrder(QLayout* layout, std::vector<QWidget*>& out);

void appendWidget(QWidget* w, std::vector<QWidget*>& out) {
    if (w->layout() && !qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QTabWidget*>(w)) {
        appendInReadingOrder(w->layout(), out);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        out.push_back(tabs->tabBar());
        for (int i = 0; i < tabs->count(); ++i)
            appendWidget(tabs->widget(i), out);
        return;
    }
    if (w->focusPolicy() & Qt::TabFocus)
        out.push_back(w);
}

void appendInReadingOrder(QLayout* layout, std::vector<QWidget*>& out) {
    std::vector<std::pair<std::pair<int, int>, QLayoutItem*>> items;
    auto* grid = qobject_cast<QGridLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        int row = 0;
        int column = i;
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        }
        items.push_back({{row, column}, layout->itemAt(i)});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [position, item] : items) {
        if (QWidget* w = item->widget())
            appendWidget(w, out);
        else if (QLayout* inner = item->layout())
            appendInReadingOrder(inner, out);
    }
}

// One question for the edited ones of panels, whose records are about to be replaced: Yes
// saves them in turn; false when the user stays.
bool askToSave(PanelKit& kit, std::initializer_list<RecordPanel*> panels) {
    std::vector<RecordPanel*> edited;
    for (RecordPanel* panel : panels)
        if (panel->edited())
            edited.push_back(panel);
    if (edited.empty())
        return true;
    switch (kit.msg(QStringLiteral("当前记录已修改，是否保存？"), messages::kQuestionTitle,
                    MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::No:
        return true;
    case MsgAnswer::Yes:
        break;
    default:
        return false;
    }
    for (RecordPanel* panel : edited) {
        const RecordPanel::Saved saved = panel->save(RecordPanel::SaveMode::Button);
        if (saved != RecordPanel::Saved::Done && saved != RecordPanel::Saved::Nothing)
            return false;
    }
    return true;
}

// Wraps its text within the room it is given, yet leaves the window's height free of its
// width: with a height that depends on the width, the scroll area would lay the window out
// at its preferred height and scroll below it, rather than only below its least one.
class WrappingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    bool hasHeightForWidth() const override { return false; }
};

// Asks for the size its content wants, within what a common laptop screen has room for,
// and never for less than shows every control without scrolling.
class FittingScrollArea : public QScrollArea {
  public:
    QSize sizeHint() const override {
        const QWidget* content = widget();
        if (!content)
            return QScrollArea::sizeHint();
        return content->sizeHint()
            .boundedTo(windowrules::kRoomyContent)
            .expandedTo(content->minimumSizeHint());
    }
};

} // namespace

FrmMain::FrmMain(Dialogs& dialogs, ProgramFiles files, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(kAppName);
    setFont(editorFont());
    kit_ = new PanelKit(dialogs, this, std::move(files));
    createMenus();
    createControls();
    Form_Load();
    connectHandlers();
    setTabChain();
}

FrmMain::~FrmMain() = default;

RulesDocument& FrmMain::document() {
    return kit_->document();
}

// ---------------------------------------------------------------- building the window

void FrmMain::createMenus() {
    QMenu* mAutoSave = menuBar()->addMenu(QStringLiteral("自动保存（&A）"));
    mAutoSave->setObjectName(QStringLiteral("mAutoSave"));
    mYes = mAutoSave->addAction(QStringLiteral("是"));
    mYes->setObjectName(QStringLiteral("mYes"));
    mYes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    mNo = mAutoSave->addAction(QStringLiteral("否(选中)"));
    mNo->setObjectName(QStringLiteral("mNo"));
    mNo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));

    QMenu* mSuoJie = menuBar()->addMenu(QStringLiteral("锁定/解锁（&R）"));
    mSuoJie->setObjectName(QStringLiteral("mSuoJie"));
    mSuo = mSuoJie->addAction(QStringLiteral("锁定"));
    mSuo->setObjectName(QStringLiteral("mSuo"));
    mSuo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mSuo->setCheckable(true);
    mJie = mSuoJie->addAction(QStringLiteral("解锁"));
    mJie->setObjectName(QStringLiteral("mJie"));
    mJie->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    mJie->setCheckable(true);

    // The colour menu has no items: its title is the command.
    mColor = menuBar()->addAction(QStringLiteral("文字前景色（&C）"));
    mColor->setObjectName(QStringLiteral("mColor"));

    // Undo and redo of the editor's changes to the file. Text boxes keep Ctrl+Z for their
    // own text. The menu shows what there is to undo; the keys always ask.
    QMenu* mEdit = menuBar()->addMenu(QStringLiteral("编辑（&E）"));
    mEdit->setObjectName(QStringLiteral("mEdit"));
    mUndo = mEdit->addAction(QStringLiteral("撤销上次修改"));
    mUndo->setObjectName(QStringLiteral("mUndo"));
    mUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mRedo = mEdit->addAction(QStringLiteral("重做"));
    mRedo->setObjectName(QStringLiteral("mRedo"));
    mRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(mEdit, &QMenu::aboutToShow, this, [this] {
        const History* history = document().history();
        mUndo->setEnabled(history && history->size(History::Stack::Undo) > 0);
        mRedo->setEnabled(history && history->size(History::Stack::Redo) > 0);
    });
    connect(mEdit, &QMenu::aboutToHide, this, [this] {
        mUndo->setEnabled(true);
        mRedo->setEnabled(true);
    });

    QMenu* mTools = menuBar()->addMenu(QStringLiteral("工具（&T）"));
    mTools->setObjectName(QStringLiteral("mTools"));
    mCheck = mTools->addAction(QStringLiteral("检查文件"));
    mCheck->setObjectName(QStringLiteral("mCheck"));
    mCheck->setShortcut(QKeySequence(Qt::Key_F7));
    mCheck->setEnabled(false); // until a file is open
}

void FrmMain::createControls() {
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("central"));

    CmdSaveAll = new QPushButton(QStringLiteral("全部保存"), central);
    CmdSaveAll->setObjectName(QStringLiteral("CmdSaveAll"));
    refs_ = new ReferenceLists(document(), this);
    createTabs();
    script_ = new ScriptPanel(*kit_, this);
    taskForce_ = new TaskForcePanel(*kit_, this);
    team_ = new TeamPanel(*kit_, LstSpe, LstScr, this);
    notes_ = new NotesPanel(*kit_, this);
    trigger_ = new TriggerPanel(*kit_, LstFig, this);

    Picture1 = new QFrame;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setMinimumHeight(96);
    LblMsg = new WrappingLabel(Picture1);
    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setWordWrap(true);
    LblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* hintLayout = new QVBoxLayout(Picture1);
    hintLayout->setContentsMargins(6, 4, 6, 4);
    hintLayout->addWidget(LblMsg);
    kit_->setHintLabel(LblMsg);

    FraFile = new QGroupBox(QStringLiteral("文件目录"));
    FraFile->setObjectName(QStringLiteral("FraFile"));
    CmdOpen = new QPushButton(QStringLiteral("打开"), FraFile);
    CmdOpen->setObjectName(QStringLiteral("CmdOpen"));
    LblRoot = new WrappingLabel(FraFile);
    LblRoot->setObjectName(QStringLiteral("LblRoot"));
    LblRoot->setWordWrap(true);
    LblRoot->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* fileLayout = new QHBoxLayout(FraFile);
    fileLayout->addWidget(CmdOpen);
    fileLayout->addWidget(LblRoot, 1);

    LblInfo = new WrappingLabel(
        QStringLiteral("Tarvok AI 规则编辑器：修改即写回所打开的文件，请先备份。"), central);
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setWordWrap(true);

    // Left column: the file, the registry lists and the notes.
    auto* left = new QVBoxLayout;
    left->addWidget(FraFile);
    left->addWidget(SSTab, 1);
    left->addWidget(notes_->frame());
    left->addWidget(Picture1);
    left->addWidget(CmdSaveAll);
    left->addWidget(LblInfo);

    // Right: the trigger, the team type and its rarely used flags above; the task force
    // and the wider script below, so that the step explanations have room.
    auto* fig1Column = new QVBoxLayout;
    fig1Column->addWidget(team_->flagsFrame());
    fig1Column->addStretch(1);
    fig1Column->addWidget(team_->saveButton());

    auto* right = new QGridLayout;
    right->addWidget(trigger_->frame(), 0, 0);
    right->addWidget(team_->frame(), 0, 1);
    right->addLayout(fig1Column, 0, 2);
    right->addWidget(taskForce_->frame(), 1, 0);
    right->addWidget(script_->frame(), 1, 1, 1, 2);
    right->setColumnStretch(0, 4);
    right->setColumnStretch(1, 4);
    right->setColumnStretch(2, 2);
    right->setRowStretch(1, 1);

    // The frames hold many rows: tighter spacing keeps the whole window on one screen.
    for (QGroupBox* frame : {trigger_->frame(), team_->frame(), team_->flagsFrame(),
                             taskForce_->frame(), script_->frame(), FraFile, notes_->frame()}) {
        if (auto* grid = qobject_cast<QGridLayout*>(frame->layout()))
            grid->setVerticalSpacing(3);
        else if (auto* box = qobject_cast<QBoxLayout*>(frame->layout()))
            box->setSpacing(3);
        if (QLayout* l = frame->layout())
            l->setContentsMargins(6, 4, 6, 4);
    }
    // The registry lists grow with the window, a little: long entries show more.
    auto* leftHolder = new QWidget;
    leftHolder->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftHolder->setMinimumWidth(280);
    leftHolder->setMaximumWidth(420);

    auto* top = new QHBoxLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->addWidget(leftHolder, 1);
    top->addLayout(right, 5);

    auto* scroll = new FittingScrollArea;
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    // Notes on the open file; LblMsg stays the hint area of the fields.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    kit_->setStatusBar(statusBar());

    // Combo boxes need not be as wide as their longest item; their lists open wide
    // enough to read every item (see Form_Load).
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
    }
    // The step lists show a few rows whatever the window's size.
    for (const char* name : {"LvwSpe", "LvwScr", "LstScrAct", "LstScrNumber"})
        findChild<QAbstractItemView*>(QLatin1String(name))->setMinimumHeight(72);
}

QWidget* FrmMain::createTabs() {
    SSTab = new QTabWidget;
    SSTab->setObjectName(QStringLiteral("SSTab"));
    int index = 0;
    auto tab = [this, &index](const QString& caption, QListView*& list, const char* listName,
                              QPushButton*& add, const char* addName, const QString& addCaption,
                              QPushButton*& kill, const char* killName,
                              const QString& killCaption) {
        static const char* const kFilterNames[] = {"TxtFindRoot", "TxtFindFig", "TxtFindSpe",
                                                   "TxtFindScr"};
        auto* page = new QWidget;
        list = registrylists::makeList(static_cast<references::Kind>(index),
                                       QLatin1String(listName), page);
        finds_[index] = registrylists::makeFilter(list, QLatin1String(kFilterNames[index]), page);
        ++index;
        add = new QPushButton(addCaption, page);
        add->setObjectName(QLatin1String(addName));
        kill = new QPushButton(killCaption, page);
        kill->setObjectName(QLatin1String(killName));
        auto* l = new QGridLayout(page);
        l->addWidget(finds_[index - 1], 0, 0, 1, 2);
        l->addWidget(list, 1, 0, 1, 2);
        l->addWidget(add, 2, 0);
        l->addWidget(kill, 2, 1);
        auto* refs = new QHBoxLayout;
        refs->addWidget(new QLabel(QStringLiteral("引用"), page), 0, Qt::AlignTop);
        refs->addWidget(refs_->list(static_cast<references::Kind>(index - 1)));
        l->addLayout(refs, 3, 0, 1, 2);
        SSTab->addTab(page, caption);
    };
    tab(QStringLiteral("AI触发"), LstRoot, "LstRoot", CmdAdd, "CmdAdd", QStringLiteral("新增"),
        CmdKill, "CmdKill", QStringLiteral("删除"));
    tab(QStringLiteral("作战小队"), LstFig, "LstFig", CmdTeamAdd, "CmdTeamAdd",
        QStringLiteral("新增小队"), CmdTeamKill, "CmdTeamKill", QStringLiteral("删除小队"));
    tab(QStringLiteral("特遣小队"), LstSpe, "LstSpe", CmdSpeAdd, "CmdSpeAdd",
        QStringLiteral("新增特遣小队"), CmdSpeKill, "CmdSpeKill", QStringLiteral("删除特遣"));
    tab(QStringLiteral("脚本"), LstScr, "LstScr", CmdScrAdd, "CmdScrAdd",
        QStringLiteral("新增脚本"), CmdScrKill, "CmdScrKill", QStringLiteral("删除脚本"));
    SSTab->setMinimumWidth(200);
    return SSTab;
}

// Tab moves through the window as it reads: the file, the lists, the trigger, the team
// frames, the task force, the script, the notes and save-all; within a frame, row by row.
void FrmMain::setTabChain() {
    std::vector<QWidget*> order;
    for (QWidget* area : std::initializer_list<QWidget*>{
             FraFile, SSTab, trigger_->frame(), team_->frame(), team_->flagsFrame(),
             team_->saveButton(), taskForce_->frame(), script_->frame(), notes_->frame(),
             CmdSaveAll})
        appendWidget(area, order);
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------- start-up

void FrmMain::Form_Load() {
    AutoSave = 0;

    if (const std::optional<QStringList> table = kit_->files().lines(unitnames::kTableFile)) {
        const unitnames::ChoiceLists lists = unitnames::choiceLists(*table);
        trigger_->addUnitChoices(lists.ids, lists.names);
        taskForce_->addUnitChoices(lists.ids, lists.names);
        script_->addUnitChoices(lists.names);
    } else {
        kit_->msg(QStringLiteral("找不到文件！"));
    }

    for (QComboBox* box : findChildren<QComboBox*>())
        box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
}

void FrmMain::connectHandlers() {
    connect(mYes, &QAction::triggered, this, &FrmMain::mYes_Click);
    connect(mNo, &QAction::triggered, this, &FrmMain::mNo_Click);
    connect(mSuo, &QAction::triggered, this, &FrmMain::mSuo_Click);
    connect(mJie, &QAction::triggered, this, &FrmMain::mJie_Click);
    connect(mColor, &QAction::triggered, this, &FrmMain::mColor_Click);
    connect(mCheck, &QAction::triggered, this, &FrmMain::mCheck_Click);
    connect(mUndo, &QAction::triggered, this, &FrmMain::mUndo_Click);
    connect(mRedo, &QAction::triggered, this, &FrmMain::mRedo_Click);
    connect(CmdSaveAll, &QPushButton::clicked, this, &FrmMain::CmdSaveAll_Click);
    connect(CmdOpen, &QPushButton::clicked, this, &FrmMain::CmdOpen_Click);
    // Another program changed the file: the lists show it again once the operation that
    // found out is over. Coming back to the editor is when that is most likely.
    connect(&document(), &RulesDocument::reloaded, this, &FrmMain::showReloadedLists,
            Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    document().refresh();
            });
    // Ctrl+F: the filter of the list on show.
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(find);
    connect(find, &QAction::triggered, this,
            [this] { finds_[SSTab->currentIndex()]->setFocus(Qt::ShortcutFocusReason); });
    // What uses the records on show, and what they use, follows every load and save.
    auto* refsLater = new QTimer(this);
    refsLater->setSingleShot(true);
    connect(refsLater, &QTimer::timeout, this, &FrmMain::showReferences);
    connect(refs_, &ReferenceLists::chosen, this,
            [this](references::Kind kind, const QString& entry) {
                selectRecord(registryLists()[static_cast<size_t>(kind)], entry);
            });
    for (RecordPanel* panel :
         std::initializer_list<RecordPanel*>{trigger_, team_, taskForce_, script_}) {
        connect(panel, &RecordPanel::loaded, refsLater, qOverload<>(&QTimer::start));
        connect(panel, &RecordPanel::saved, refsLater, qOverload<>(&QTimer::start));
    }
    // A saved name shows beside its entry.
    const std::pair<RecordPanel*, QListView*> named[] = {
        {team_, LstFig}, {taskForce_, LstSpe}, {script_, LstScr}};
    for (const auto& [panel, list] : named)
        connect(panel, &RecordPanel::saved, this, [panel = panel, list = list] {
            registrylists::entriesOf(list)->setName(panel->recordKey(), panel->name());
        });

    kit_->onUserSelect(LstRoot, [this] { LstRoot_Click(); });
    connect(CmdAdd, &QPushButton::clicked, this, &FrmMain::CmdAdd_Click);
    connect(CmdKill, &QPushButton::clicked, this, &FrmMain::CmdKill_Click);
    kit_->onUserSelect(LstFig, [this] { LstFig_Click(); });
    kit_->onUserSelect(trigger_->teamList(), [this] { LstTeam_Click(); });
    connect(CmdTeamAdd, &QPushButton::clicked, this, &FrmMain::CmdTeamAdd_Click);
    connect(CmdTeamKill, &QPushButton::clicked, this, &FrmMain::CmdTeamKill_Click);
    kit_->onUserSelect(LstSpe, [this] { LstSpe_Click(); });
    kit_->onUserSelect(team_->taskForceList(), [this] { LstSpeAdd_Click(); });
    connect(CmdSpeAdd, &QPushButton::clicked, this, &FrmMain::CmdSpeAdd_Click);
    connect(CmdSpeKill, &QPushButton::clicked, this, &FrmMain::CmdSpeKill_Click);
    kit_->onUserSelect(LstScr, [this] { LstScr_Click(); });
    kit_->onUserSelect(team_->scriptList(), [this] { LstScrAdd_Click(); });
    connect(CmdScrAdd, &QPushButton::clicked, this, &FrmMain::CmdScrAdd_Click);
    connect(CmdScrKill, &QPushButton::clicked, this, &FrmMain::CmdScrKill_Click);

    acceptFileDrops(this, [this](const QString& file) { openRulesFile(file); });

    trigger_->connectHandlers();
    team_->connectHandlers();
    taskForce_->connectHandlers();
    script_->connectHandlers();
}

// ---------------------------------------------------------------- menus and saving

void FrmMain::mYes_Click() {
    if (kit_->msg(QStringLiteral("确定开启自动保存？"), QStringLiteral("提示"), MsgIcon::Question,
                  MsgButtons::YesNo) == MsgAnswer::No)
        return;
    AutoSave = -1;
    mYes->setText(QStringLiteral("是(选中)"));
    if (mNo->text() == QStringLiteral("否(选中)"))
        mNo->setText(QStringLiteral("否"));
}

void FrmMain::mNo_Click() {
    AutoSave = 0;
    mNo->setText(QStringLiteral("否(选中)"));
    if (mYes->text() == QStringLiteral("是(选中)"))
        mYes->setText(QStringLiteral("是"));
}

void FrmMain::mSuo_Click() {
    SSTab->setEnabled(false);
    mSuo->setChecked(true);
    mJie->setChecked(false);
}

void FrmMain::mJie_Click() {
    SSTab->setEnabled(true);
    mJie->setChecked(true);
    mSuo->setChecked(false);
}

void FrmMain::mColor_Click() {
    const quint32 rgb = kit_->dialogs().chooseColor(this);
    if (rgb == 0)
        return;
    if (!windowrules::readableOn(rgb, LstRoot->palette().color(QPalette::Base).rgb() & 0xFFFFFFu)) {
        kit_->msg(QStringLiteral("所选颜色与背景过于接近，文字将难以辨认，请另选颜色。"),
                  messages::kErrorTitle, MsgIcon::Information);
        return;
    }
    const QColor color = QColor::fromRgb(rgb);
    for (const char* name : {"LstRoot", "LstFig", "LstSpe", "LstScr", "LvwSpe", "LvwScr",
                             "LstScrAct", "LstScrNumber"}) {
        auto* view = findChild<QAbstractItemView*>(QLatin1String(name));
        QPalette p = view->palette();
        p.setColor(QPalette::Text, color);
        view->setPalette(p);
    }
}

// The check window is made at its first use; each use checks the file as it is then.
void FrmMain::mCheck_Click() {
    auto* check = findChild<FrmCheck*>(QString(), Qt::FindDirectChildrenOnly);
    if (!check) {
        check = new FrmCheck(this);
        check->setOnChoose([this](filecheck::RecordKind kind, const QString& id) {
            if (kind != filecheck::RecordKind::None) // the lists in the kinds' order
                selectRecord(registryLists()[static_cast<size_t>(kind) - 1], id);
        });
    }
    check->checkFile(document(), kit_->files());
    check->show();
    check->activateWindow();
}

void FrmMain::CmdSaveAll_Click() {
    for (RecordPanel* panel :
         std::initializer_list<RecordPanel*>{trigger_, team_, taskForce_, script_})
        panel->save(RecordPanel::SaveMode::Button);
}

bool FrmMain::leaveRecords(std::initializer_list<RecordPanel*> panels) {
    if (AutoSave != -1)
        return askToSave(*kit_, panels);
    for (RecordPanel* panel : panels)
        if (RecordPanel::holdsUser(panel->save(RecordPanel::SaveMode::Auto)))
            return false;
    return true;
}

bool FrmMain::settleEdits() {
    return askToSave(*kit_, {trigger_, team_, taskForce_, script_});
}

void FrmMain::Form_Unload() {
    if (welcome_)
        welcome_->close();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Edits whose save was refused keep the window open: the user can mend them.
    if (!leaveRecords({trigger_, team_, taskForce_, script_})) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace tarvok
