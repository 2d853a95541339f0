#include "ui/FrmMain.h"

#include "document/FileStore.h"
#include "document/Lines.h"
#include "records/Registry.h"
#include "records/ScriptActions.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QAbstractItemView>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

namespace tarvok {
namespace {

// The combo boxes fill their items at start-up; adding the first item to an empty
// editable combo box would replace the initial text, so the text is put back.
void addItemsKeepingText(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    box->addItems(items);
    box->setEditText(text);
}

QStringList numberRange(int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

void setColumns(QTreeWidget* view, const QStringList& headers) {
    view->setHeaderLabels(headers);
    const int w = std::max(view->viewport()->width(), 200);
    view->setColumnWidth(0, w / 4);
    view->setColumnWidth(1, w / 4);
    view->setColumnWidth(2, w / 2);
}

// Shows at most a screenful of an entry's text. The item keeps its whole text; only what
// is measured and painted is cut, so an ID or name of megabytes in a damaged file does not
// make every repaint of the list lay out megabytes of text.
class ShortTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        constexpr qsizetype kShown = 400;
        if (option->text.size() > kShown)
            option->text = option->text.left(kShown) + QStringLiteral("…");
    }
};

QFont editorFont() {
    QFont f = QApplication::font();
    // The Chinese texts read best in SimSun; where it is missing a CJK face of the
    // system takes its place.
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei")});
    return f;
}

} // namespace

FrmMain::FrmMain(Dialogs& dialogs, QString programDir, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), programDir_(std::move(programDir)) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(kAppName);
    setFont(editorFont());
    createMenus();
    createControls();
    Form_Load();
    connectWindowHandlers();
    connectRootHandlers();
    connectTeamHandlers();
    connectSpeHandlers();
    connectScrHandlers();
    connectScrLineHandlers();
    connectCatalogueHandlers();
    setNaturalTabOrder();
}

FrmMain::~FrmMain() = default;

QString FrmMain::programFile(const QString& name) const {
    return programDir_ + QLatin1Char('/') + name;
}

// ---------------------------------------------------------------- building the window

void FrmMain::createMenus() {
    mAutoSave = menuBar()->addMenu(QStringLiteral("自动保存（&A）"));
    mAutoSave->setObjectName(QStringLiteral("mAutoSave"));
    mYes = mAutoSave->addAction(QStringLiteral("是"));
    mYes->setObjectName(QStringLiteral("mYes"));
    mYes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    mNo = mAutoSave->addAction(QStringLiteral("否(选中)"));
    mNo->setObjectName(QStringLiteral("mNo"));
    mNo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));

    mSuoJie = menuBar()->addMenu(QStringLiteral("锁定/解锁（&R）"));
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
}

void FrmMain::createControls() {
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("central"));

    // Creation order of the window's own controls: save-all, the script and task force
    // frames, the team frames, the notes' delete button, the tabs, the hint area, the
    // trigger frame, the notes, the file frame and the information label.
    CmdSaveAll = new QPushButton(QStringLiteral("全部保存"), central);
    CmdSaveAll->setObjectName(QStringLiteral("CmdSaveAll"));
    createScrFrame();
    createSpeFrame();
    createTeamFrames();
    createNotes();
    createTabs();
    createHintArea();
    createRootFrame();
    createFileFrame();
    LblInfo = new QLabel(QStringLiteral("Tarvok AI 规则编辑器：修改即写回所打开的文件，请先备份。"), central);
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setWordWrap(true);

    // Left column: the file, the registry lists and the notes.
    auto* notes = new QGroupBox(QStringLiteral("备注"));
    notes->setObjectName(QStringLiteral("FraNotes"));
    auto* notesLayout = new QGridLayout(notes);
    notesLayout->addWidget(new QLabel(QStringLiteral("ID:")), 0, 0);
    notesLayout->addWidget(TxtName, 0, 1, 1, 3);
    notesLayout->addWidget(TxtNote, 1, 0, 1, 4);
    notesLayout->addWidget(CmdNew, 2, 1);
    notesLayout->addWidget(CmdFind, 2, 2);
    notesLayout->addWidget(CmdDelete, 2, 3);

    auto* left = new QVBoxLayout;
    left->addWidget(FraFile);
    left->addWidget(SSTab, 1);
    left->addWidget(notes);
    left->addWidget(Picture1);
    left->addWidget(CmdSaveAll);
    left->addWidget(LblInfo);

    // Right: the trigger and team frames above; the task force, the script and the
    // rarely used team flags below. Fits a 1366x768 screen.
    auto* fig1Column = new QVBoxLayout;
    fig1Column->addWidget(FraFig1);
    fig1Column->addStretch(1);
    fig1Column->addWidget(CmdSaveFig);

    auto* right = new QGridLayout;
    right->addWidget(FraRoot, 0, 0);
    right->addWidget(FraTeam, 0, 1, 1, 2);
    right->addWidget(FraSpe, 1, 0);
    right->addWidget(FraScr, 1, 1);
    right->addLayout(fig1Column, 1, 2);
    right->setColumnStretch(0, 4);
    right->setColumnStretch(1, 5);
    right->setColumnStretch(2, 2);
    right->setRowStretch(1, 1);

    // The frames hold many rows: tighter spacing keeps the whole window on one screen.
    for (QGroupBox* frame : {FraRoot, FraTeam, FraFig1, FraSpe, FraScr, FraFile, notes}) {
        if (auto* grid = qobject_cast<QGridLayout*>(frame->layout()))
            grid->setVerticalSpacing(3);
        else if (auto* box = qobject_cast<QBoxLayout*>(frame->layout()))
            box->setSpacing(3);
        if (QLayout* l = frame->layout())
            l->setContentsMargins(6, 4, 6, 4);
    }
    // Combo boxes need not be as wide as their longest item; their lists open wide
    // enough to read every item (see Form_Load).
    for (QComboBox* box : central->findChildren<QComboBox*>()) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
    }
    // The step lists show a few rows whatever the window's size.
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{LvwSpe, LvwScr, LstScrAct, LstScrNumber})
        view->setMinimumHeight(100);
    auto* leftHolder = new QWidget;
    leftHolder->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftHolder->setFixedWidth(268);

    auto* top = new QHBoxLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->addWidget(leftHolder, 0);
    top->addLayout(right, 1);

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(central);
    setCentralWidget(scroll);
}

void FrmMain::createFileFrame() {
    FraFile = new QGroupBox(QStringLiteral("文件目录"));
    FraFile->setObjectName(QStringLiteral("FraFile"));
    CmdOpen = new QPushButton(QStringLiteral("打开"), FraFile);
    CmdOpen->setObjectName(QStringLiteral("CmdOpen"));
    LblRoot = new QLabel(FraFile);
    LblRoot->setObjectName(QStringLiteral("LblRoot"));
    LblRoot->setWordWrap(true);
    LblRoot->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* l = new QHBoxLayout(FraFile);
    l->addWidget(CmdOpen);
    l->addWidget(LblRoot, 1);
}

void FrmMain::createTabs() {
    SSTab = new QTabWidget;
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto tab = [this](const QString& caption, QListWidget*& list, const char* listName,
                      QPushButton*& add, const char* addName, const QString& addCaption,
                      QPushButton*& kill, const char* killName, const QString& killCaption) {
        auto* page = new QWidget;
        list = new QListWidget(page);
        list->setObjectName(QLatin1String(listName));
        list->setUniformItemSizes(true); // tens of thousands of one-line entries
        list->setItemDelegate(new ShortTextDelegate(list));
        add = new QPushButton(addCaption, page);
        add->setObjectName(QLatin1String(addName));
        kill = new QPushButton(killCaption, page);
        kill->setObjectName(QLatin1String(killName));
        auto* l = new QGridLayout(page);
        l->addWidget(list, 0, 0, 1, 2);
        l->addWidget(add, 1, 0);
        l->addWidget(kill, 1, 1);
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
}

void FrmMain::createNotes() {
    CmdDelete = new QPushButton(QStringLiteral("删除"));
    CmdDelete->setObjectName(QStringLiteral("CmdDelete"));
    CmdFind = new QPushButton(QStringLiteral("搜索"));
    CmdFind->setObjectName(QStringLiteral("CmdFind"));
    CmdNew = new QPushButton(QStringLiteral("添加"));
    CmdNew->setObjectName(QStringLiteral("CmdNew"));
    TxtNote = new QLineEdit(QStringLiteral("备注"));
    TxtNote->setObjectName(QStringLiteral("TxtNote"));
    TxtName = new QLineEdit;
    TxtName->setObjectName(QStringLiteral("TxtName"));
}

void FrmMain::createHintArea() {
    Picture1 = new QFrame;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setMinimumHeight(96);

    LblMsg = new QLabel(Picture1);
    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setWordWrap(true);
    LblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* l = new QVBoxLayout(Picture1);
    l->setContentsMargins(6, 4, 6, 4);
    l->addWidget(LblMsg);
}

// Tab moves through the window as it reads: the file, the lists, the trigger, the team
// frames, the task force, the script, the notes. Within a frame, controls follow in the
// order they were laid out.
void FrmMain::setNaturalTabOrder() {
    const auto focusable = [](QWidget* w) {
        if (!(w->focusPolicy() & Qt::TabFocus))
            return false;
        if (qobject_cast<QComboBox*>(w->parentWidget()))
            return false; // a combo box's own line edit: the combo box takes the focus
        return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
               qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w) ||
               qobject_cast<QTabBar*>(w);
    };
    std::vector<QWidget*> order;
    QWidget* notes = TxtName->parentWidget();
    for (QWidget* area : std::initializer_list<QWidget*>{FraFile, SSTab, FraRoot, FraTeam,
                                                          FraFig1, CmdSaveFig, FraSpe, FraScr,
                                                          notes, CmdSaveAll}) {
        if (focusable(area))
            order.push_back(area);
        for (QWidget* w : area->findChildren<QWidget*>())
            if (focusable(w))
                order.push_back(w);
    }
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------- start-up

void FrmMain::Form_Load() {
    AutoSave = 0;
    DlgFilter = QStringLiteral("规则文件(*.ini)|*.ini");

    setColumns(LvwSpe, {QStringLiteral("ID"), QStringLiteral("数量"), QStringLiteral("单位类型")});
    setColumns(LvwScr, {QStringLiteral("ID"), QStringLiteral("动作"), QStringLiteral("参数")});

    addItemsKeepingText(CboCountry,
                        {QStringLiteral("<all>"), QStringLiteral("Russians"),
                         QStringLiteral("Confederation"), QStringLiteral("Africans"),
                         QStringLiteral("Arabs"), QStringLiteral("YuriCountry"),
                         QStringLiteral("British"), QStringLiteral("French"),
                         QStringLiteral("Germans"), QStringLiteral("Americans"),
                         QStringLiteral("Alliance")});
    addItemsKeepingText(CboTech, numberRange(1, 10));
    addItemsKeepingText(CboTeamTech, numberRange(1, 10));
    addItemsKeepingText(CboKey, numberRange(0, 7));
    addItemsKeepingText(CboWay, numberRange(0, 5));
    const QStringList weights{QStringLiteral("5000"), QStringLiteral("500"), QStringLiteral("70"),
                              QStringLiteral("50"),   QStringLiteral("40"),  QStringLiteral("20"),
                              QStringLiteral("10")};
    addItemsKeepingText(CboBase, weights);
    addItemsKeepingText(CboMin, weights);
    addItemsKeepingText(CboMax, weights);
    addItemsKeepingText(CboOwner, numberRange(1, 6));
    addItemsKeepingText(CboAction, numberRange(0, 5));

    LstSpeAdd->addItem(QString());
    LstScrAdd->addItem(QString());
    LstScrAct->addItem(QString());
    for (const ScriptAction& a : kScriptActions)
        LstScrAct->addItem(QString::fromUtf8(a.name));

    if (!FillUnitLists())
        msg(QStringLiteral("找不到文件！"));

    for (QComboBox* box : findChildren<QComboBox*>())
        box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
}

void FrmMain::connectWindowHandlers() {
    connect(mYes, &QAction::triggered, this, &FrmMain::mYes_Click);
    connect(mNo, &QAction::triggered, this, &FrmMain::mNo_Click);
    connect(mSuo, &QAction::triggered, this, &FrmMain::mSuo_Click);
    connect(mJie, &QAction::triggered, this, &FrmMain::mJie_Click);
    connect(mColor, &QAction::triggered, this, &FrmMain::mColor_Click);
    connect(CmdSaveAll, &QPushButton::clicked, this, &FrmMain::CmdSaveAll_Click);
    connect(CmdOpen, &QPushButton::clicked, this, &FrmMain::CmdOpen_Click);
}

// ---------------------------------------------------------------- menus and saving

void FrmMain::mYes_Click() {
    if (msg(QStringLiteral("确定开启自动保存？"), QStringLiteral("提示"), MsgIcon::Question,
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
    const quint32 rgb = dialogs_.chooseColor(this);
    if (rgb == 0)
        return;
    const QColor color = QColor::fromRgb(rgb);
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
             LstRoot, LstFig, LstSpe, LstScr, LvwSpe, LvwScr, LstScrAct, LstScrNumber}) {
        QPalette p = view->palette();
        p.setColor(QPalette::Text, color);
        view->setPalette(p);
    }
}

void FrmMain::CmdSaveAll_Click() {
    CmdSaveRoot_Click();
    CmdSaveFig_Click();
    CmdSaveSpe_Click();
    CmdSaveScr_Click();
}

void FrmMain::Form_Unload() {
    if (AutoSave == -1) {
        CmdSaveRoot_Click();
        CmdSaveFig_Click();
        CmdSaveSpe_Click();
        CmdSaveScr_Click();
    }
    if (welcome_)
        welcome_->close();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept(); // the close is never cancelled
}

// ---------------------------------------------------------------- shared helpers

MsgAnswer FrmMain::msg(const QString& text, const QString& title, MsgIcon icon,
                       MsgButtons buttons) {
    return dialogs_.message(this, text, title.isEmpty() ? kAppName : title, icon, buttons);
}

void FrmMain::hint(const QString& text) { LblMsg->setText(text); }

std::optional<FrmMain::RulesContent> FrmMain::readRules() const {
    if (RulesFilePath.isEmpty())
        return std::nullopt;
    if (selectionDepth_ > 0 && selectionContent_)
        return selectionContent_; // shares the bytes, no copy
    std::optional<QByteArray> bytes = filestore::read(RulesFilePath);
    if (!bytes)
        return std::nullopt;
    const Encoding e = detectEncoding(*bytes);
    RulesContent content{std::move(*bytes), TextCodec(e)};
    if (selectionDepth_ > 0)
        selectionContent_ = content;
    return content;
}

bool FrmMain::rewriteRules(
    const std::function<QByteArray(const QByteArray&, const TextCodec&)>& transform) {
    if (RulesFilePath.isEmpty())
        return false;
    selectionContent_.reset(); // the file is about to change
    const filestore::Result r = filestore::rewrite(
        RulesFilePath, programFile(QStringLiteral("File.ini")), [&](const QByteArray& content) {
            const TextCodec codec(detectEncoding(content));
            return transform(content, codec);
        });
    if (r != filestore::Result::Ok) {
        msg(QStringLiteral("文件写入失败，原文件未改动"), QStringLiteral("错误"),
            MsgIcon::Information);
        return false;
    }
    return true;
}

std::optional<QStringList> FrmMain::readDataFile(const QString& name) {
    const QString path = programFile(name);
    if (!filestore::exists(path)) {
        msg(QStringLiteral("无法找到文件"), QStringLiteral("错误"), MsgIcon::Information);
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = filestore::read(path);
    return bytes ? decodeLines(*bytes) : QStringList();
}

bool FrmMain::digitFilter(QLineEdit* box, const QString& message) {
    const QString text = box->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            continue;
        msg(message, QStringLiteral("错误"), MsgIcon::Information);
        // One character is one user-visible character, also outside the BMP.
        const qsizetype len = (c.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const int cursor = box->cursorPosition();
        QString rest = text;
        rest.remove(i, len);
        box->setText(rest); // runs the change handler again on the rest
        const QString now = box->text();
        const int removed = static_cast<int>(text.size() - now.size());
        box->setCursorPosition(std::clamp(cursor - removed, 0, static_cast<int>(now.size())));
        return true;
    }
    return false;
}

void FrmMain::onUserSelect(QAbstractItemView* view, std::function<void()> handler) {
    connect(view, &QAbstractItemView::clicked, this, [this, handler](const QModelIndex&) {
        if (programSelecting_)
            return;
        SelectionRead shared(*this);
        handler();
    });
    // Keyboard moves: only while the list has the focus, and not as part of a click
    // (the click above reports that one).
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, view, handler](const QModelIndex& current, const QModelIndex&) {
                if (programSelecting_ || !view->hasFocus() || !current.isValid() ||
                    QApplication::mouseButtons() != Qt::NoButton)
                    return;
                SelectionRead shared(*this);
                handler();
            });
}

void FrmMain::selectRowQuietly(QListWidget* list, int row) {
    const bool was = programSelecting_;
    programSelecting_ = true;
    list->setCurrentRow(row);
    programSelecting_ = was;
}

void FrmMain::clearSelectionQuietly(QListWidget* list) {
    const bool was = programSelecting_;
    programSelecting_ = true;
    list->clearSelection();
    list->setCurrentRow(-1);
    programSelecting_ = was;
}

void FrmMain::onFocusIn(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(this);
    focusIn_[w] = std::move(handler);
}

void FrmMain::onFocusOut(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(this);
    focusOut_[w] = std::move(handler);
    editedSinceFocus_[w] = false;
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        edit = combo->lineEdit();
        connect(combo, &QComboBox::activated, this, [this, w](int) { editedSinceFocus_[w] = true; });
    }
    if (edit)
        connect(edit, &QLineEdit::textEdited, this,
                [this, w](const QString&) { editedSinceFocus_[w] = true; });
}

bool FrmMain::userEditedSinceFocus(QWidget* w) const {
    const auto it = editedSinceFocus_.find(w);
    return it != editedSinceFocus_.end() && it->second;
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus for a moment is no move of the user's.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn) {
                if (editedSinceFocus_.count(watched))
                    editedSinceFocus_[watched] = false;
                if (const auto it = focusIn_.find(watched); it != focusIn_.end())
                    it->second();
            } else if (const auto it = focusOut_.find(watched); it != focusOut_.end()) {
                it->second();
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::addRegistryRecord(const QString& promptText, QListWidget* list,
                                const QString& duplicateMessage, const QByteArray& registry,
                                qint16& counter, const std::vector<QByteArray>& block) {
    const QString answer = dialogs_.prompt(this, promptText, QStringLiteral("新增"), QString());
    if (answer.isEmpty())
        return;
    // A comma would break every trigger or team line that names the record.
    if (!answer.contains(QLatin1Char('-')) || answer.contains(QLatin1Char(','))) {
        msg(QStringLiteral("输入不合法"), QStringLiteral("错误"));
        return;
    }
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == answer) {
            msg(duplicateMessage, QStringLiteral("错误"), MsgIcon::Information);
            return;
        }
    }
    // The registry counters are 16-bit: a full registry takes no more entries rather
    // than writing a negative number into the file.
    if (counter == std::numeric_limits<qint16>::max()) {
        msg(QStringLiteral("注册数量已达上限，无法新增！"), QStringLiteral("错误"),
            MsgIcon::Information);
        return;
    }
    list->addItem(answer);
    if (RulesFilePath.isEmpty())
        return;
    RegistryAddition result;
    const bool written = rewriteRules([&](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content, AddRegistryEntry(registry, codec.encode(answer), counter,
                                                      block, &result));
    });
    if (!written) {
        delete list->takeItem(list->count() - 1); // the file does not have it
        return;
    }
    counter = static_cast<qint16>(std::min<int>(result.count, std::numeric_limits<qint16>::max()));
}

bool FrmMain::removeFromRegistry(const QByteArray& registry, const QString& id, qint16& counter) {
    if (RulesFilePath.isEmpty())
        return true;
    RegistryDeletion result;
    const bool written = rewriteRules([&](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content,
                            DeleteRegistryEntry(registry, codec.encode(id), counter, &result));
    });
    if (written)
        counter = static_cast<qint16>(std::max<int>(result.count, 0));
    return written;
}

void FrmMain::killSelectedRecord(QListWidget* list,
                                 const std::function<bool(const QString&)>& remove) {
    QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return;
    if (msg(QStringLiteral("确定删除？"), QStringLiteral("提示"), MsgIcon::Question,
            MsgButtons::YesNo) == MsgAnswer::No)
        return;
    if (remove(item->text()))
        delete list->takeItem(list->row(item));
}

QComboBox* FrmMain::makeCombo(const QString& objectName, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    return box;
}

} // namespace tarvok
