// Work on a worker thread: its result, its exceptions and its messages come
// back to the GUI thread, which keeps running and keeps the window from input.
#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "gui_test_main.h"
#include "platform/qt/worker_run.h"
#include "platform/string_table.h"
#include "support/message_recorder.h"

using namespace zentro;

namespace {

bool OnGuiThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

QProgressDialog* VisibleProgress() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<QProgressDialog*>(window); progress != nullptr && progress->isVisible())
            return progress;
    return nullptr;
}

}  // namespace

class WorkerRunTest : public QObject {
    Q_OBJECT

private slots:
    void resultComesFromAnotherThread() {
        QDialog window;
        window.show();
        bool workOnGui = true;
        QVERIFY(RunOnWorkerThread(window, [&] {
            workOnGui = OnGuiThread();
            return true;
        }));
        QVERIFY(!workOnGui);
        QVERIFY(!RunOnWorkerThread(window, [] { return false; }));
    }

    void messagesReachTheGuiThreadsHandlerAndRepliesComeBack() {
        QDialog window;
        window.show();
        for (MessageReply answer : {MessageReply::Yes, MessageReply::No}) {
            std::vector<bool> shownOnGui;
            ScopedMessageHandler handler([&](const Message& message) {
                shownOnGui.push_back(OnGuiThread() && message.id == IDS_OVERWRITE);
                return answer;
            });
            const bool yes = RunOnWorkerThread(window, [] {
                return ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo) == MessageReply::Yes;
            });
            QCOMPARE(yes, answer == MessageReply::Yes);
            QCOMPARE(shownOnGui, std::vector<bool>{true});
        }
    }

    void theBusyWindowStaysOffAMessageThatWaitsForTheUser() {
        QDialog window;
        window.show();
        bool progressDuringMessage = true;
        ScopedMessageHandler handler([&](const Message&) {
            // Long enough for the busy window's timer to have fired.
            QTest::qWait(kProgressDelayMs + 200);
            progressDuringMessage = VisibleProgress() != nullptr;
            return MessageReply::Ok;
        });
        QVERIFY(RunOnWorkerThread(window, [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(kProgressDelayMs + 200));
            ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
            return true;
        }));
        QVERIFY(!progressDuringMessage);
    }

    void exceptionIsRethrownOnTheGuiThread() {
        QDialog window;
        window.show();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 RunOnWorkerThread(window, []() -> bool { throw std::runtime_error("lost"); }));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void slowWorkShowsProgressAndTheWindowTakesNoInput() {
        QDialog window;
        auto* button = new QPushButton(QStringLiteral("x"), &window);
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++clicks; });
        window.show();

        bool progressEarly = true;
        bool progressLate = false;
        QTimer::singleShot(kProgressDelayMs / 3, [&] { progressEarly = VisibleProgress() != nullptr; });
        QTimer::singleShot(kProgressDelayMs + 200, [&] {
            QProgressDialog* progress = VisibleProgress();
            progressLate = progress != nullptr;
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(&window, Qt::Key_Escape);
            window.close();
            if (progress != nullptr) QTest::keyClick(progress, Qt::Key_Escape);
        });
        QVERIFY(RunOnWorkerThread(window, [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(kProgressDelayMs + 500));
            return true;
        }));
        QVERIFY(!progressEarly);
        QVERIFY(progressLate);
        QCOMPARE(clicks, 0);
        QVERIFY(window.isVisible());
        QCOMPARE(VisibleProgress(), nullptr);
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        // Afterwards the window is the user's again.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }
};

ZENTRO_GUI_TEST_MAIN(WorkerRunTest)
#include "worker_run_test.moc"
