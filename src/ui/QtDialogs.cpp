#include "ui/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QSortFilterProxyModel>

namespace tarvok {
namespace {

// The editor's own clipboard format: the kind of the rows whose text stands beside it.
const QString kRowsFormat = QStringLiteral("application/x-tarvok-rows");

// Leaves one file out of the file dialog's lists.
class HidingFilter : public QSortFilterProxyModel {
  public:
    HidingFilter(const QString& hidden, QObject* parent)
        : QSortFilterProxyModel(parent), hidden_(hidden),
          hiddenName_(QFileInfo(hidden).fileName()) {}

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || hiddenName_.isEmpty())
            return true;
        const QModelIndex index = files->index(row, 0, parent);
        // Names first: only a file of that name is worth a look at the file system.
        if (files->fileName(index).compare(hiddenName_, Qt::CaseInsensitive) != 0)
            return true;
        return QFileInfo(files->filePath(index)) != QFileInfo(hidden_);
    }

  private:
    QString hidden_;
    QString hiddenName_;
};

} // namespace

MsgAnswer QtDialogs::message(QWidget* parent, const QString& text, const QString& title,
                             MsgIcon icon, MsgButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    if (buttons == MsgButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
        }
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

QString QtDialogs::prompt(QWidget* parent, const QString& text, const QString& title,
                          const QString& defaultText) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, text, QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : QString();
}

QString QtDialogs::openFile(QWidget* parent, const QString& filter, const QString& startFolder,
                            const QString& hiddenFile) {
    QFileDialog dialog(parent);
    // Qt's own dialog, on every system: it speaks the program's language and takes the
    // filter below, which a system dialog would not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtFileFilter(filter).split(QStringLiteral(";;")));
    dialog.setDirectory(startFolder);
    dialog.setProxyModel(new HidingFilter(hiddenFile, &dialog));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(QWidget* parent, const QString& filter, const QString& startFolder,
                            const QString& fileName) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(qtFileFilter(filter).split(QStringLiteral(";;")));
    dialog.setDirectory(startFolder);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<quint32> QtDialogs::chooseColor(QWidget* parent) {
    const QColor c = QColorDialog::getColor(Qt::black, parent);
    return c.isValid() ? std::optional(c.rgb() & 0xFFFFFFu) : std::nullopt;
}

void QtDialogs::setClipboardText(const QString& text) {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString QtDialogs::clipboardText() {
    return QApplication::clipboard()->text();
}

void QtDialogs::setClipboardRows(const ClipboardRows& rows) {
    auto* data = new QMimeData;
    data->setText(rows.text);
    data->setData(kRowsFormat, rows.kind.toUtf8());
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data); // the clipboard owns it
}

Dialogs::ClipboardRows QtDialogs::clipboardRows() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return {data->text(),
            data->hasFormat(kRowsFormat) ? QString::fromUtf8(data->data(kRowsFormat)) : QString()};
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A caption that shows its patterns already, "规则文件(*.ini)", is Qt's form as it is.
        if (parts[i].endsWith(QLatin1Char(')')) && parts[i].contains(QLatin1Char('(')))
            out << parts[i];
        else
            out << parts[i] + QStringLiteral(" (") +
                       QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace tarvok
