#include "platform/qt/worker_run.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

#include "platform/message.h"
#include "platform/qt/window_handle.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close: return true;
        default: return false;
    }
}

// The window an event for `receiver` is meant for; shortcuts are plain
// objects owned by a widget.
QWidget* WindowOf(QObject* receiver) {
    for (QObject* object = receiver; object != nullptr; object = object->parent())
        if (object->isWidgetType()) return static_cast<QWidget*>(object)->window();
    return nullptr;
}

// Swallows the user's input to the busy windows. Other windows, such as the
// message boxes that the work raises, get theirs. Disabling the busy window
// instead would disable those message boxes too, as they are its children.
class InputBlocker : public QObject {
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    void Block(QWidget* window) { windows_.push_back(window); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(event->type())) return false;
        if (std::find(windows_.begin(), windows_.end(), WindowOf(receiver)) == windows_.end()) return false;
        // A close event that is not refused closes the window all the same.
        if (event->type() == QEvent::Close) event->ignore();
        return true;
    }

private:
    std::vector<QWidget*> windows_;
};

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// A message waits for the user, who should not see the busy cursor over it.
MessageReply ShowWithArrowCursor(const Message& message) {
    QApplication::restoreOverrideCursor();
    const MessageReply reply = ShowMessageText(message.id, message.text, message.icon, message.buttons);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return reply;
}

}  // namespace

bool RunOnWorkerThread(QWidget& window, const std::function<bool()>& work) {
    QWidget* busyWindow = window.window();
    InputBlocker blocker;
    blocker.Block(busyWindow);
    BusyCursor busy;

    QProgressDialog progress(busyWindow);
    progress.setWindowTitle(QString::fromUtf8(LoadString(IDS_APP_TITLE)));
    progress.setCancelButton(nullptr);
    progress.setRange(0, 0);
    blocker.Block(&progress);
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &progress, &QWidget::show);
    showLater.start(kProgressDelayMs);

    QEventLoop loop;
    // The GUI thread shows the message with whatever handler it has (message
    // boxes, or a test's recorder) while the worker waits for the reply. The busy
    // window steps aside meanwhile: shown, or shown by its timer during the box's
    // own loop, it would stand over the box, which a window manager need not raise.
    const MessageHandler toGuiThread = [&](const Message& message) {
        MessageReply reply = MessageReply::Ok;
        QMetaObject::invokeMethod(
            &loop,
            [&] {
                const bool shown = progress.isVisible();
                showLater.stop();
                progress.hide();
                reply = ShowWithArrowCursor(message);
                if (shown)
                    progress.show();
                else
                    showLater.start(kProgressDelayMs);
            },
            Qt::BlockingQueuedConnection);
        return reply;
    };
    bool result = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        {
            ScopedMessageHandler messages(toGuiThread);
            try {
                result = work();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) std::rethrow_exception(failure);
    return result;
}

bool RunOnWorkerThread(WindowHandle window, const std::function<bool()>& work) {
    return RunOnWorkerThread(*AsWidget(window), work);
}

}  // namespace zentro
