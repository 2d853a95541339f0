#include "ui/FrmMain.h"

#include "document/RulesDocument.h"
#include "records/FieldRules.h"
#include "ui/ChainCommands.h"
#include "ui/FileCommands.h"
#include "ui/FileDrops.h"
#include "ui/FileFollower.h"
#include "ui/FrmCheck.h"
#include "ui/FrmCompare.h"
#include "ui/FrmPredict.h"
#include "ui/FrmTable.h"
#include "ui/Messages.h"
#include "ui/NotesPanel.h"
#include "ui/PanelKit.h"
#include "ui/RecordCommands.h"
#include "ui/RecordSelection.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryTabs.h"
#include "ui/ScriptPanel.h"
#include "ui/TaskForcePanel.h"
#include "ui/TeamPanel.h"
#include "ui/TriggerPanel.h"
#include "ui/WindowLayout.h"
#include "ui/WindowRules.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvok {

using Kind = references::Kind;
using windowlayout::WrappingLabel;

namespace {

// Input that starts a command: a click, a key, a turn of the wheel.
bool startsCommand(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

QAction* FrmMain::item(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& keys) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(keys);
    // Before the item's own handler, which is connected after this.
    connect(a, &QAction::triggered, this, &FrmMain::lookAtFile);
    return a;
}

void FrmMain::lookAtFile() {
    // The one look at the disk before a command: another program's change is read first,
    // and the window follows it (FileFollower) once the command is over.
    document_.refresh();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    // A user's command in this window or one of its own (the trigger table, the check);
    // never while a question is open, whose answer belongs to the command that asked.
    if (startsCommand(event) && watched->isWidgetType() && !QApplication::activeModalWidget()) {
        for (const QWidget* w = static_cast<QWidget*>(watched)->window(); w;
             w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
            if (w == this) {
                lookAtFile();
                break;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

FrmMain::FrmMain(Dialogs& dialogs, ProgramFiles files, RulesDocument& document, QWidget* parent)
    : QMainWindow(parent), catalogues_(std::move(files)), document_(document) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(kAppName);
    setFont(windowlayout::editorFont());
    kit_ = new PanelKit(dialogs, this, catalogues_);
    createMenus();
    createControls();
    Form_Load();
    connectHandlers();
    windowlayout::setTabChain({FraFile, tabs_->widget(), panels_.trigger, panels_.team,
                               panels_.taskForce, panels_.script, panels_.notes, CmdSaveAll});
}

FrmMain::~FrmMain() {
    // Hidden while the catalogues its lists ask for their notes are still there.
    hide();
}

// ---------------------------------------------------------------- building the window

void FrmMain::createMenus() {
    QMenu* mAutoSave = menuBar()->addMenu(QStringLiteral("自动保存（&A）"));
    mAutoSave->setObjectName(QStringLiteral("mAutoSave"));
    mYes = item(mAutoSave, "mYes", QStringLiteral("是"), Qt::CTRL | Qt::Key_Y);
    mNo = item(mAutoSave, "mNo", QStringLiteral("否"), Qt::CTRL | Qt::Key_N);
    autoSave_ = new QActionGroup(this);
    for (QAction* a : {mYes, mNo}) {
        a->setCheckable(true);
        autoSave_->addAction(a);
    }
    mNo->setChecked(true);
    showAutoSave();
    connect(mYes, &QAction::toggled, this, [this](bool on) {
        justTurnedOn_ = on;
        showAutoSave();
    });

    QMenu* mSuoJie = menuBar()->addMenu(QStringLiteral("锁定/解锁（&R）"));
    mSuoJie->setObjectName(QStringLiteral("mSuoJie"));
    mSuo = item(mSuoJie, "mSuo", QStringLiteral("锁定"), Qt::CTRL | Qt::Key_S);
    mJie = item(mSuoJie, "mJie", QStringLiteral("解锁"), Qt::CTRL | Qt::Key_J);
    mSuo->setCheckable(true);
    mJie->setCheckable(true);

    // The colour menu has no items: its title is the command.
    mColor = menuBar()->addAction(QStringLiteral("文字前景色（&C）"));
    mColor->setObjectName(QStringLiteral("mColor"));

    // Undo and redo of the editor's changes to the file. Text boxes keep Ctrl+Z for their
    // own text. The menu shows what there is to undo; the keys always ask.
    QMenu* mEdit = menuBar()->addMenu(QStringLiteral("编辑（&E）"));
    mEdit->setObjectName(QStringLiteral("mEdit"));
    mUndo = item(mEdit, "mUndo", QStringLiteral("撤销上次修改"), Qt::CTRL | Qt::Key_Z);
    mRedo = item(mEdit, "mRedo", QStringLiteral("重做"), Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    connect(mEdit, &QMenu::aboutToShow, this, [this] {
        const History* history = document_.history();
        mUndo->setEnabled(history && history->size(History::Stack::Undo) > 0);
        mRedo->setEnabled(history && history->size(History::Stack::Redo) > 0);
    });
    connect(mEdit, &QMenu::aboutToHide, this, [this] {
        mUndo->setEnabled(true);
        mRedo->setEnabled(true);
    });

    QMenu* mTools = menuBar()->addMenu(QStringLiteral("工具（&T）"));
    mTools->setObjectName(QStringLiteral("mTools"));
    mCheck = item(mTools, "mCheck", QStringLiteral("检查文件"), Qt::Key_F7);
    mCheck->setEnabled(false); // until a file is open
    mTriggerTable =
        item(mTools, "mTriggerTable", QStringLiteral("触发总表…"), Qt::CTRL | Qt::Key_T);
    mTriggerTable->setEnabled(false);
    mPredict = item(mTools, "mPredict", QStringLiteral("推演电脑的选择…"), Qt::Key_F8);
    mPredict->setEnabled(false);
    mCompare = item(mTools, "mCompare", QStringLiteral("比较文件…"), {});
    mCompare->setEnabled(false);
    mTools->addSeparator();
    mClone = item(mTools, "mClone", QStringLiteral("复制整套…"), Qt::CTRL | Qt::Key_D);
    mNewChain =
        item(mTools, "mNewChain", QStringLiteral("新建整套…"), Qt::CTRL | Qt::SHIFT | Qt::Key_N);
    mNewChain->setEnabled(false);
    mTools->addSeparator();
    mModRules = item(mTools, "mModRules", QStringLiteral("选择游戏规则文件…"), {});
    mNoModRules = item(mTools, "mNoModRules", QStringLiteral("不使用游戏规则文件"), {});
    mNoModRules->setCheckable(true);
}

void FrmMain::createControls() {
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("central"));
    CmdSaveAll = new QPushButton(QStringLiteral("全部保存"), central);
    CmdSaveAll->setObjectName(QStringLiteral("CmdSaveAll"));
    tabs_ = new RegistryTabs(*kit_, document_, this);
    panels_.script = new ScriptPanel(*kit_, document_, this);
    panels_.taskForce = new TaskForcePanel(*kit_, document_, this);
    panels_.team = new TeamPanel(*kit_, document_, tabs_->list(Kind::TaskForce),
                                 tabs_->list(Kind::Script), this);
    panels_.notes = new NotesPanel(*kit_, this);
    panels_.trigger = new TriggerPanel(*kit_, document_, tabs_->list(Kind::TeamType), this);

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
    kit_->messages().setHintLabel(LblMsg);

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

    // The reminder stands in the menu bar's free right end, where it costs no height.
    LblInfo =
        new QLabel(QStringLiteral("Tarvok AI 规则编辑器：修改即写回所打开的文件，请先备份。"));
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setContentsMargins(0, 0, 8, 0);
    menuBar()->setCornerWidget(LblInfo, Qt::TopRightCorner);

    // Left column: the file and the registry lists, which take all of its height so that
    // a long list shows many rows.
    auto* leftHolder = new QWidget;
    auto* left = new QVBoxLayout(leftHolder);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(FraFile);
    left->addWidget(tabs_->widget(), 1);
    leftHolder->setMinimumWidth(280);
    leftHolder->setMaximumWidth(420);

    // Right: the trigger and the team type (with its rarely used flags) above; below, the
    // task force, the wider script, so that the step explanations have room, and the notes
    // with the hint area and 全部保存.
    auto* upper = new QHBoxLayout;
    upper->addWidget(panels_.trigger, 4);
    upper->addWidget(panels_.team, 6);
    auto* side = new QVBoxLayout;
    side->addWidget(panels_.notes);
    side->addWidget(Picture1, 1);
    side->addWidget(CmdSaveAll);
    auto* sideHolder = new QWidget;
    sideHolder->setLayout(side);
    side->setContentsMargins(0, 0, 0, 0);
    sideHolder->setMinimumWidth(230);
    sideHolder->setMaximumWidth(320);
    auto* lower = new QHBoxLayout;
    lower->addWidget(panels_.taskForce, 4);
    lower->addWidget(panels_.script, 6);
    lower->addWidget(sideHolder, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(upper);
    right->addLayout(lower, 1);

    auto* top = new QHBoxLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->addWidget(leftHolder, 1);
    top->addLayout(right, 5);

    setCentralWidget(windowlayout::scrolling(central));
    windowlayout::compactFrame(FraFile);
    for (RecordPanel* panel : panels_.records())
        panel->compact();
    panels_.notes->compact();
    // Notes on the open file; LblMsg stays the hint area of the fields.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    kit_->messages().setStatusBar(statusBar());
}

// ---------------------------------------------------------------- start-up

void FrmMain::openAtStart(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    files_->openRulesFile(paths.front());
    if (paths.size() == 1)
        return;
    QStringList rest;
    for (const QString& path : paths.mid(1))
        rest << QDir::toNativeSeparators(path);
    const QString notes = statusBar()->currentMessage(); // of the opening, if any
    const QString left =
        QStringLiteral("一次只打开一个文件，未打开：%1").arg(rest.join(QStringLiteral("、")));
    kit_->messages().status(notes.isEmpty() ? left : notes + QStringLiteral("；") + left);
}

void FrmMain::Form_Load() {
    mNo->setChecked(true);
}

void FrmMain::connectHandlers() {
    selection_ = new RecordSelection(
        *kit_, document_, *tabs_, panels_, [this] { return autoSaveOn(); }, this);
    commands_ = new RecordCommands(*kit_, document_, *tabs_, this);
    files_ = new FileCommands(*kit_, document_, catalogues_, *tabs_, *selection_, panels_, this);
    files_->setWindows([this] { return table_.data(); }, mNoModRules);
    follower_ = new FileFollower(document_, *tabs_, *selection_, *files_, panels_, this);
    qApp->installEventFilter(this);
    chains_ = new ChainCommands(*kit_, document_, *tabs_, *selection_, panels_, this);
    if (!files_->fillUnitChoices())
        kit_->messages().msg(QStringLiteral("找不到文件！"));
    connect(mYes, &QAction::triggered, this, &FrmMain::mYes_Click);
    connect(mNo, &QAction::triggered, this, &FrmMain::mNo_Click);
    connect(mSuo, &QAction::triggered, this, &FrmMain::mSuo_Click);
    connect(mJie, &QAction::triggered, this, &FrmMain::mJie_Click);
    connect(mColor, &QAction::triggered, this, &FrmMain::mColor_Click);
    connect(mCheck, &QAction::triggered, files_, &FileCommands::mCheck_Click);
    connect(mTriggerTable, &QAction::triggered, this, [this] {
        if (!table_) {
            table_ = new FrmTable(*kit_, document_, this);
            table_->setOnChoose([this](const QString& key) {
                tabs_->selectRecord(RegistryTabs::Kind::Trigger, key);
            });
            follower_->setTable(table_);
            windowrules::showFitted(*table_);
        }
        table_->show();
        table_->activateWindow();
    });
    connect(mPredict, &QAction::triggered, this, [this] {
        if (!predict_) {
            predict_ = new FrmPredict(*kit_, document_, this);
            predict_->setOnChoose([this](const QString& id) {
                tabs_->selectRecord(RegistryTabs::Kind::Trigger, id);
            });
            follower_->setPredict(predict_);
            windowrules::showFitted(*predict_);
        }
        predict_->show();
        predict_->activateWindow();
    });
    connect(files_, &FileCommands::modShown, this, [this] {
        if (predict_)
            predict_->follow();
    });
    connect(mCompare, &QAction::triggered, this, [this] {
        if (!compare_) {
            compare_ = new FrmCompare(*kit_, document_, this);
            compare_->setOnChoose([this](RegistryTabs::Kind kind, const QString& id) {
                tabs_->selectRecord(kind, id);
            });
        }
        compare_->show();
        compare_->start();
        compare_->activateWindow();
    });
    connect(mUndo, &QAction::triggered, files_, &FileCommands::mUndo_Click);
    connect(mRedo, &QAction::triggered, files_, &FileCommands::mRedo_Click);
    connect(mModRules, &QAction::triggered, files_, &FileCommands::mModRules_Click);
    connect(mNoModRules, &QAction::toggled, files_, &FileCommands::mNoModRules_Click);
    connect(mClone, &QAction::triggered, chains_, &ChainCommands::mClone_Click);
    connect(mNewChain, &QAction::triggered, chains_, &ChainCommands::mNewChain_Click);
    connect(chains_, &ChainCommands::cloneableChanged, this,
            [this] { mClone->setEnabled(chains_->canClone()); });
    mClone->setEnabled(chains_->canClone());
    connect(CmdSaveAll, &QPushButton::clicked, this, &FrmMain::CmdSaveAll_Click);
    connect(CmdOpen, &QPushButton::clicked, files_, &FileCommands::CmdOpen_Click);
    // The file, with the files it includes (which another program's change may alter).
    follower_->setFileFrame(
        [this] { LblRoot->setText(messages::fileFrameText(document_.files())); });
    connect(files_, &FileCommands::opened, this, [this] {
        mCheck->setEnabled(true);
        mTriggerTable->setEnabled(true);
        mPredict->setEnabled(true);
        mCompare->setEnabled(true);
        mNewChain->setEnabled(true);
    });
    acceptFileDrops(this, [this](const QString& file) { files_->openRulesFile(file); });
    // Coming back to the editor is when another program's change is most likely.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    lookAtFile();
            });
    auto* find = new QAction(this); // Ctrl+F: the filter of the list on show
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(find);
    connect(find, &QAction::triggered, tabs_, &RegistryTabs::focusFilter);

    // What uses the records on show, and what they use, follows every load; every change
    // of the file is followed by FileFollower.
    for (RecordPanel* panel : panels_.records())
        connect(panel, &RecordPanel::loaded, follower_, &FileFollower::showReferencesSoon);
    panels_.trigger->connectHandlers();
    panels_.team->connectHandlers();
    panels_.taskForce->connectHandlers();
    panels_.script->connectHandlers();
}

// ---------------------------------------------------------------- menus and saving

void FrmMain::mYes_Click() {
    // A click on 是 has checked it already when it was off; the answer decides whether it
    // stays. When it was on, a 否 leaves it on.
    const bool wasOn = !justTurnedOn_ && mYes->isChecked();
    const bool yes =
        kit_->messages().msg(QStringLiteral("确定开启自动保存？"), QStringLiteral("提示"),
                             MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::No;
    (yes || wasOn ? mYes : mNo)->setChecked(true);
    justTurnedOn_ = false;
}

void FrmMain::mNo_Click() {
    mNo->setChecked(true);
}

// The items' captions say which one is in force, as the menu always has.
void FrmMain::showAutoSave() {
    mYes->setText(mYes->isChecked() ? QStringLiteral("是(选中)") : QStringLiteral("是"));
    mNo->setText(mNo->isChecked() ? QStringLiteral("否(选中)") : QStringLiteral("否"));
}

void FrmMain::mSuo_Click() {
    tabs_->widget()->setEnabled(false);
    mSuo->setChecked(true);
    mJie->setChecked(false);
}

void FrmMain::mJie_Click() {
    tabs_->widget()->setEnabled(true);
    mJie->setChecked(true);
    mSuo->setChecked(false);
}

void FrmMain::mColor_Click() {
    const std::optional<quint32> chosen = kit_->messages().dialogs().chooseColor(this);
    if (!chosen)
        return;
    const quint32 rgb = *chosen;
    const QColor background = tabs_->list(Kind::Trigger)->palette().color(QPalette::Base);
    if (!windowrules::readableOn(rgb, background.rgb() & 0xFFFFFFu)) {
        kit_->messages().msg(QStringLiteral("所选颜色与背景过于接近，文字将难以辨认，请另选颜色。"),
                             messages::kErrorTitle, MsgIcon::Information);
        return;
    }
    const QColor colour = QColor::fromRgb(rgb);
    tabs_->setTextColour(colour);
    panels_.taskForce->setTextColour(colour);
    panels_.script->setTextColour(colour);
}

void FrmMain::CmdSaveAll_Click() {
    for (RecordPanel* panel : panels_.records())
        panel->save(RecordPanel::SaveMode::Button);
}

void FrmMain::Form_Unload() {
    if (welcome_)
        welcome_->close();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Edits whose save was refused keep the window open: the user can mend them.
    if (!selection_->leaveRecords(
            {panels_.trigger, panels_.team, panels_.taskForce, panels_.script}) ||
        (table_ && !table_->leave())) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace tarvok
