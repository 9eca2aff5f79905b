// The help viewer: which references open a topic, and that every other one
// opens nothing.
#include <QTest>

#include "gui_test_main.h"
#include "platform/qt/html_help.h"

using namespace zentro;

class HtmlHelpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        if (HelpViewer* viewer = HelpViewer::Instance()) viewer->close();
        QTRY_VERIFY(HelpViewer::Instance() == nullptr);
    }

    void knownTopicOpensTheViewer() {
        const char* reference = "/opt/anywhere/Zentro.chm::/Format.html";
        const std::intptr_t window = HtmlHelpA(nullptr, reference, kHelpDisplayTopic, 0);
        HelpViewer* viewer = HelpViewer::Instance();
        QVERIFY(viewer != nullptr);
        QCOMPARE(window, reinterpret_cast<std::intptr_t>(viewer));
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->Reference(), std::string(reference));
        QCOMPARE(viewer->Resource(), QStringLiteral(":/help/Zentro.chm/Format.html"));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Zentro 帮助 - 格式"));

        // The same window shows the next topic.
        QCOMPARE(HtmlHelpA(nullptr, "Zentro.chm::/Sizes.html", kHelpDisplayTopic, 0), window);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Zentro 帮助 - 大小"));
    }

    void everyTopicHasAPage() {
        for (const char* topic : {"Input", "Format", "Sizes", "Preview", "Output"}) {
            const std::string reference = std::string("/x/Zentro.chm::/") + topic + ".html";
            QVERIFY2(HtmlHelpA(nullptr, reference.c_str(), kHelpDisplayTopic, 0) != 0, topic);
            QVERIFY(HelpViewer::Instance()->windowTitle().startsWith(QStringLiteral("Zentro 帮助 - ")));
        }
    }

    void anythingElseOpensNothing() {
        const char* refused[] = {
            "/x/Zentro.chm::/Nothing.html",  // unknown topic
            "/x/Other.chm::/Input.html",     // another help file
            "/x/Zentro.chm/Input.html",      // no topic separator
            "/x/Zentro.chm::/",              // no topic
            "::/Input.html",                 // no help file
            "/x/Zentro.chm::/../icon/128",   // out of the help file
        };
        for (const char* reference : refused) {
            QVERIFY2(HtmlHelpA(nullptr, reference, kHelpDisplayTopic, 0) == 0, reference);
            QVERIFY2(HelpViewer::Instance() == nullptr, reference);
        }
        QCOMPARE(HtmlHelpA(nullptr, nullptr, kHelpDisplayTopic, 0), std::intptr_t{0});
        QCOMPARE(HtmlHelpA(nullptr, "/x/Zentro.chm::/Input.html", kHelpDisplayTopic + 1, 0), std::intptr_t{0});
        QVERIFY(HelpViewer::Instance() == nullptr);
    }
};

ZENTRO_GUI_TEST_MAIN(HtmlHelpTest)
#include "html_help_test.moc"
