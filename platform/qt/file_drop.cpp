#include "platform/qt/file_drop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include "platform/file_drop.h"
#include "platform/qt/window_handle.h"

namespace zentro {

namespace {

class DropFilter : public QObject {
public:
    DropFilter(QLineEdit& edit, QObject* parent) : QObject(parent), edit_(&edit) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
            return false;
        // QDragEnterEvent and QDragMoveEvent are drop events too.
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFilePath(drop->mimeData());
        if (path.isEmpty() || !edit_) return false;
        if (event->type() == QEvent::Drop) {
            // Through the edit's own editing, as typing would go: it can be undone
            // and announces itself as an edit by the user.
            edit_->setFocus(Qt::OtherFocusReason);
            edit_->selectAll();
            edit_->insert(path);
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }

private:
    QPointer<QLineEdit> edit_;
};

}  // namespace

QString DroppedFilePath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir()) return {};
    return QDir::toNativeSeparators(path);
}

void AcceptDroppedFile(WindowHandle area, const Edit& edit) {
    QWidget* areaWidget = AsWidget(area);
    auto* editWidget = static_cast<QLineEdit*>(AsWidget(edit.Handle()));
    areaWidget->setAcceptDrops(true);
    editWidget->setAcceptDrops(true);
    auto* filter = new DropFilter(*editWidget, areaWidget);
    areaWidget->installEventFilter(filter);
    if (editWidget != areaWidget) editWidget->installEventFilter(filter);
}

}  // namespace zentro
