#include "ui/FileDrops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tarvok {
namespace {

class FileDropFilter : public QObject {
  public:
    FileDropFilter(QWidget* window, std::function<void(const QString&)> open)
        : QObject(window), window_(window), open_(std::move(open)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        // A drop on the window or on any of its fields, not on a window of its own.
        if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != window_)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = droppedFile(drop->mimeData());
        if (file.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            QMetaObject::invokeMethod(
                this, [this, file] { open_(file); }, Qt::QueuedConnection);
        return true;
    }

  private:
    QWidget* window_;
    std::function<void(const QString&)> open_;
};

} // namespace

QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}

void acceptFileDrops(QWidget* window, std::function<void(const QString&)> open) {
    auto* filter = new FileDropFilter(window, std::move(open));
    window->setAcceptDrops(true);
    qApp->installEventFilter(filter);
}

} // namespace tarvok
