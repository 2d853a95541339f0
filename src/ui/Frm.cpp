#include "ui/Frm.h"

#include "catalogues/ProgramFiles.h"
#include "ui/FrmMain.h"
#include "ui/Messages.h"
#include "ui/WindowRules.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace tarvok {

const QString kGuideFile = QStringLiteral("Tarvok使用说明.txt");

Frm::Frm(Dialogs& dialogs, ProgramFiles files, RulesDocument& document, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), files_(std::move(files)), document_(document) {
    setObjectName(QStringLiteral("Frm"));
    setWindowTitle(QStringLiteral("Tarvok-WQ"));
    QFont f = font();
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    setFont(f);

    Label1 = new QLabel(QStringLiteral("    欢迎使用Tarvok"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    Label1->setFont(big);
    TxtE = new QPlainTextEdit(this);
    TxtE->setObjectName(QStringLiteral("TxtE"));
    TxtE->setReadOnly(true);
    Chk = new QCheckBox(QStringLiteral("我已阅读使用说明"), this);
    Chk->setObjectName(QStringLiteral("Chk"));
    CmdOpen = new QPushButton(QStringLiteral("打开修改器"), this);
    CmdOpen->setObjectName(QStringLiteral("CmdOpen"));
    CmdOpen->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(TxtE, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(Chk);
    row->addStretch(1);
    row->addWidget(CmdOpen);
    layout->addLayout(row);
    resize(640, 480);

    connect(Chk, &QCheckBox::toggled, this, &Frm::Chk_Click);
    connect(CmdOpen, &QPushButton::clicked, this, &Frm::CmdOpen_Click);
}

Frm::~Frm() = default;

bool Frm::event(QEvent* event) {
    // The guide is loaded at the first activation only: switching away and back must
    // not append it a second time.
    if (event->type() == QEvent::WindowActivate && !guideLoaded_) {
        guideLoaded_ = true;
        Form_Activate();
    }
    return QWidget::event(event);
}

void Frm::Form_Activate() {
    const std::optional<QStringList> guide = files_.lines(kGuideFile);
    if (!guide) {
        dialogs_.message(this, messages::kFileMissing, messages::kErrorTitle, MsgIcon::Information,
                         MsgButtons::Ok);
        return;
    }
    QString text = TxtE->toPlainText();
    for (const QString& line : *guide) {
        lineBuffer_ = line;
        text += lineBuffer_ + QLatin1Char('\n');
    }
    TxtE->setPlainText(text);
}

void Frm::Chk_Click() {
    CmdOpen->setEnabled(Chk->isChecked());
}

void Frm::CmdOpen_Click() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>(dialogs_, files_, document_);
        main_->setWelcomeWindow(this);
        windowrules::showFitted(*main_);
        main_->openAtStart(std::exchange(startFiles_, {}));
    } else {
        main_->show();
    }
    hide();
}

} // namespace tarvok
