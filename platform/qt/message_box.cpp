#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "platform/string_table.h"

namespace zentro {

namespace {

MessageReply ShowOnGuiThread(const Message& message) {
    QCoreApplication* application = QCoreApplication::instance();
    // Without a GUI nobody can answer: a question gets the safe reply.
    if (application == nullptr) return message.buttons == MessageButtons::YesNo ? MessageReply::No : MessageReply::Ok;
    if (QThread::currentThread() == application->thread()) return ShowMessageBox(message);
    MessageReply reply = MessageReply::No;
    QMetaObject::invokeMethod(
        application, [&] { reply = ShowMessageBox(message); }, Qt::BlockingQueuedConnection);
    return reply;
}

}  // namespace

MessageReply ShowMessageBox(const Message& message) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
    QMessageBox box(message.icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromUtf8(LoadString(IDS_APP_TITLE)), QString::fromStdString(message.text),
                    QMessageBox::NoButton, owner);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageReply::Yes : MessageReply::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageReply::Ok;
}

void InstallMessageBoxes() {
    SetMessageHandler(ShowOnGuiThread);
    SetDefaultMessageHandler(ShowOnGuiThread);
}

}  // namespace zentro
