// The GUI's display of the core's messages: caption, icon, buttons in
// Chinese, replies, and messages from other threads.
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "gui_test_main.h"
#include "platform/message.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

// Answers the first message box that appears, after noting what it showed.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            timer_.stop();
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons()) buttons << button->text();
            if (answer == QMessageBox::Escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(answer)->click();
        });
        timer_.start();
    }

    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;

private:
    QTimer timer_;
};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void exclamationShowsWarningWithOk() {
        BoxAnswerer answerer(QMessageBox::Ok);
        QCOMPARE(ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation), MessageReply::Ok);
        QCOMPARE(answerer.caption, QStringLiteral("Ikoblen"));
        QCOMPARE(answerer.text, QStringLiteral("没有输入文件名。"));
        QCOMPARE(answerer.icon, QMessageBox::Warning);
        QCOMPARE(answerer.buttons, QStringList{QStringLiteral("确定")});
    }

    void errorShowsCritical() {
        BoxAnswerer answerer(QMessageBox::Ok);
        ShowMessage(IDS_FOLDER_NOT_FOUND, MessageIcon::Error);
        QCOMPARE(answerer.icon, QMessageBox::Critical);
        QCOMPARE(answerer.text, QStringLiteral("找不到文件夹。"));
    }

    void questionAnswersYesOrNoInChinese() {
        {
            BoxAnswerer answerer(QMessageBox::Yes);
            QCOMPARE(ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo), MessageReply::Yes);
            QCOMPARE(answerer.icon, QMessageBox::Warning);
            QCOMPARE(answerer.buttons.size(), 2);
            QVERIFY(answerer.buttons.join(QLatin1Char(' ')).contains(QStringLiteral("是")));
            QVERIFY(answerer.buttons.join(QLatin1Char(' ')).contains(QStringLiteral("否")));
        }
        {
            BoxAnswerer answerer(QMessageBox::No);
            QCOMPARE(ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo), MessageReply::No);
        }
        {
            BoxAnswerer answerer(QMessageBox::Escape);
            QCOMPARE(ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo), MessageReply::No);
        }
    }

    void messageFromAnotherThreadIsShownByTheGuiThread() {
        BoxAnswerer answerer(QMessageBox::Yes);
        std::atomic<bool> done{false};
        MessageReply reply = MessageReply::No;
        std::thread worker([&] {
            reply = ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        worker.join();
        QCOMPARE(reply, MessageReply::Yes);
        QCOMPARE(answerer.text, QStringLiteral("这一操作将覆盖一个文件。你想这样做吗？"));
    }
};

ZENTRO_GUI_TEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
