// The Format page: the warning beside the 32-bit box, the refusal when no
// depth can be made, and the reload of values changed while it was not shown.
#include <QCheckBox>
#include <QLabel>

#include "gui_test_main.h"
#include "page_wizard.h"
#include "pages/control_ids.h"
#include "platform/string_table.h"
#include "support/message_recorder.h"

using namespace zentro;
using zentro::test::MessageRecorder;
using zentro::test::PageWizard;

namespace {

enum class Warning { Hidden, Half, Shown };

// The Format page shown first, with the Output page after it.
struct FormatWizard : PageWizard {
    explicit FormatWizard(const FormatChoices& choices) {
        format.choices = choices;
        Show({&format, &output});
    }

    QCheckBox* Box(int id) { return Control<QCheckBox>(id); }
    // The icon and the text always show together.
    Warning WarningState() {
        const bool icon = !Control<QLabel>(kWarningIcon)->isHidden();
        const bool text = !Control<QLabel>(kWarningText)->isHidden();
        return icon && text ? Warning::Shown : icon || text ? Warning::Half : Warning::Hidden;
    }
};

FormatChoices Choices(int use24, int use4, int use8, int use32, int transparent) {
    return {use24, use4, use8, use32, transparent};
}

}  // namespace

class FormatPageTest : public QObject {
    Q_OBJECT

private slots:
    void warningShowsOnlyForAlphaWithoutTransparency_data() {
        QTest::addColumn<int>("use32");
        QTest::addColumn<int>("transparent");
        QTest::addColumn<bool>("shown");
        QTest::newRow("32 only") << 1 << 0 << true;
        QTest::newRow("32 and transparent") << 1 << 1 << false;
        QTest::newRow("transparent only") << 0 << 1 << false;
        QTest::newRow("neither") << 0 << 0 << false;
    }
    void warningShowsOnlyForAlphaWithoutTransparency() {
        QFETCH(int, use32);
        QFETCH(int, transparent);
        QFETCH(bool, shown);
        FormatWizard w(Choices(0, 1, 1, use32, transparent));
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Ikoblen - 格式"));
        QCOMPARE(w.WarningState(), shown ? Warning::Shown : Warning::Hidden);
        if (shown) {
            QVERIFY(!w.Control<QLabel>(kWarningIcon)->pixmap().isNull());
            QCOMPARE(w.Control<QLabel>(kWarningText)->text(), QStringLiteral("否则将无法生成"));
            // Beside the 32-bit box, to its right.
            QVERIFY(w.Control<QLabel>(kWarningIcon)->geometry().left() > w.Box(kAlpha32Box)->geometry().left());
        }
    }

    void clicksOnAlphaOrTransparencyToggleTheWarning() {
        FormatWizard w(Choices(0, 1, 1, 1, 0));
        QCOMPARE(w.WarningState(), Warning::Shown);
        w.Box(kTransparentBox)->click();
        QCOMPARE(w.WarningState(), Warning::Hidden);
        w.Box(kTransparentBox)->click();
        QCOMPARE(w.WarningState(), Warning::Shown);
        w.Box(kAlpha32Box)->click();
        QCOMPARE(w.WarningState(), Warning::Hidden);
        w.Box(kAlpha32Box)->click();
        QCOMPARE(w.WarningState(), Warning::Shown);
    }

    void clicksOnTheOtherDepthsNeverChangeTheWarning() {
        for (const bool shown : {true, false}) {
            FormatWizard w(Choices(0, 1, 1, 1, shown ? 0 : 1));
            for (const int id :
                 {kPalette4Box, kPalette8Box, kTrueColour24Box, kPalette4Box, kPalette8Box, kTrueColour24Box}) {
                w.Box(id)->click();
                QCOMPARE(w.WarningState(), shown ? Warning::Shown : Warning::Hidden);
            }
        }
    }

    // Next reads the boxes as they are now, not the choices they were loaded from.
    void nextNeedsADepthThatCanBeMade_data() {
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("nothing") << QList<int>{} << false;
        QTest::newRow("32 only") << QList<int>{kAlpha32Box} << false;
        QTest::newRow("transparent only") << QList<int>{kTransparentBox} << false;
        QTest::newRow("32 and transparent") << QList<int>{kAlpha32Box, kTransparentBox} << true;
        QTest::newRow("4") << QList<int>{kPalette4Box} << true;
        QTest::newRow("8") << QList<int>{kPalette8Box} << true;
        QTest::newRow("24") << QList<int>{kTrueColour24Box} << true;
        QTest::newRow("32 and 24, no transparency") << QList<int>{kAlpha32Box, kTrueColour24Box} << true;
    }
    void nextNeedsADepthThatCanBeMade() {
        QFETCH(QList<int>, checked);
        QFETCH(bool, goesOn);
        FormatWizard w(Choices(1, 1, 1, 1, 1));
        for (const int id : {kAlpha32Box, kTrueColour24Box, kPalette8Box, kPalette4Box, kTransparentBox})
            w.Box(id)->setChecked(checked.contains(id));
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        if (goesOn) {
            QVERIFY(recorder.messages.empty());
            QCOMPARE(w.Active(), &w.output);
            // Leaving stored the boxes.
            const FormatChoices& c = w.format.choices;
            QCOMPARE((QList<int>{c.use32, c.use24, c.use8, c.use4, c.transparent}),
                     (QList<int>{checked.contains(kAlpha32Box), checked.contains(kTrueColour24Box),
                                 checked.contains(kPalette8Box), checked.contains(kPalette4Box),
                                 checked.contains(kTransparentBox)}));
        } else {
            QCOMPARE(recorder.OnlyId(), unsigned{IDS_NO_DEPTH});
            QCOMPARE(recorder.messages[0].icon, MessageIcon::Exclamation);
            QCOMPARE(w.Active(), &w.format);
            // The boxes stay as the user left them.
            for (const int id : {kAlpha32Box, kTrueColour24Box, kPalette8Box, kPalette4Box, kTransparentBox})
                QCOMPARE(w.Box(id)->isChecked(), checked.contains(id));
        }
    }

    void secondNextAfterARefusalGoesOn() {
        FormatWizard w(Choices(0, 0, 0, 1, 0));
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.format);
        w.Box(kTransparentBox)->click();
        w.Press(WizardCommand::Next);
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(w.Active(), &w.output);
        QCOMPARE(w.format.choices.use32, 1);
        QCOMPARE(w.format.choices.transparent, 1);
    }

    // What the builder settles while the page is not shown appears on return,
    // with the warning to match.
    void returningShowsTheChoicesAsTheyAreNow() {
        FormatWizard w(Choices(1, 0, 0, 1, 0));
        QCOMPARE(w.WarningState(), Warning::Shown);
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.output);
        w.format.choices.use32 = 0;
        w.Press(WizardCommand::Back);
        QCOMPARE(w.Active(), &w.format);
        QVERIFY(!w.Box(kAlpha32Box)->isChecked());
        QVERIFY(w.Box(kTrueColour24Box)->isChecked());
        QCOMPARE(w.WarningState(), Warning::Hidden);

        w.Press(WizardCommand::Next);
        w.format.choices.use32 = 1;
        w.Press(WizardCommand::Back);
        QCOMPARE(w.WarningState(), Warning::Shown);
    }
};

ZENTRO_GUI_TEST_MAIN(FormatPageTest)
#include "format_page_test.moc"
