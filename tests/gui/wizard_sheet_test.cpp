// The wizard stand-in: the order of the page protocol, refusals, reloads,
// buttons and keys.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui_test_main.h"
#include "page_widgets.h"
#include "platform/application.h"
#include "platform/qt/data_exchange.h"
#include "platform/qt/dialog_units.h"
#include "recording_page.h"

using zentro::test::RecordingPage;
using namespace zentro;

namespace {

using Log = std::vector<std::string>;

struct Wizard {
    Log log;
    RecordingPage a{"A", log};
    RecordingPage b{"B", log};
    RecordingPage c{"C", log};
    WizardSheet sheet;

    Wizard() {
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        sheet.AddPage(&c);
    }
    void Start() {
        sheet.Create();
        log.clear();
    }
    void Press(WizardCommand command) { sheet.PressButton(command); }
    QLineEdit* Edit(RecordingPage& page) { return test::DlgItem<QLineEdit>(page, RecordingPage::kEditId); }
    QCheckBox* Box(RecordingPage& page) { return test::DlgItem<QCheckBox>(page, RecordingPage::kCheckId); }
};

class CountingApplication : public Application {
public:
    bool InitInstance() override { return false; }
    void WinHelp(unsigned long, unsigned) override { ++helpRequests; }
    int helpRequests = 0;
};

// A page that puts a widget of its own in place of its template's edit.
class ReplacingPage : public WizardPage {
public:
    ReplacingPage()
        : WizardPage({201,
                      "Replacing",
                      100,
                      100,
                      {{ControlKind::Edit, 5, "", 10, 20, 30, 14, kTabStop | kDisabled},
                       {ControlKind::PushButton, 6, "&Go", 10, 40, 30, 14, kTabStop}}}) {
        OnClicked(6, [this] { ++clicks; });
    }
    QWidget own;
    QPushButton* button = nullptr;
    int clicks = 0;

protected:
    void DoDataExchange(DataExchange& dx) override {
        DDX_Control(dx, 5, own);
        DDX_Control(dx, 6, button);
    }
};

}  // namespace

class WizardSheetTest : public QObject {
    Q_OBJECT

private slots:
    void createdPageLoadsOnceAndSitsInDialogUnits() {
        Wizard w;
        w.a.text = "preset";
        w.sheet.Create();
        QCOMPARE(w.log, (Log{"A:Load", "A:SetActive"}));
        QCOMPARE(w.sheet.GetActiveIndex(), 0);
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Caption A"));
        QCOMPARE(w.Edit(w.a)->text(), QStringLiteral("preset"));
        QVERIFY(!w.b.IsCreated());
        const DialogUnits units(test::Window(w.a)->font());
        QCOMPARE(w.Edit(w.a)->geometry(), units.ToPixels(7, 17, 196, 14));
        QCOMPARE(test::Window(w.a)->geometry(), w.sheet.GetTabControl()->geometry());
    }

    void nextChecksThenSavesThenActivates() {
        Wizard w;
        w.Start();
        w.Edit(w.a)->setText(QStringLiteral("typed"));
        w.Box(w.a)->setChecked(true);
        w.Press(WizardCommand::Next);
        QCOMPARE(w.log, (Log{"A:Next", "A:Save", "B:Load", "B:SetActive"}));
        QCOMPARE(w.a.text, std::string("typed"));
        QCOMPARE(w.a.check, 1);
        QCOMPARE(w.sheet.GetActiveIndex(), 1);
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Caption B"));
        QVERIFY(test::Window(w.a)->isHidden());
        QVERIFY(!test::Window(w.b)->isHidden());
    }

    void nextRefusedByThePageRunsNoExchange() {
        Wizard w;
        w.Start();
        w.a.nextResult = -1;
        w.Edit(w.a)->setText(QStringLiteral("typed"));
        w.Press(WizardCommand::Next);
        QCOMPARE(w.log, (Log{"A:Next"}));
        QCOMPARE(w.sheet.GetActiveIndex(), 0);
        QCOMPARE(w.a.text, std::string());
    }

    void failedExchangeKeepsPageAndFocusesLastControl() {
        Wizard w;
        w.Start();
        w.sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.sheet));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Edit(w.a)));
        w.a.failSave = true;
        w.Press(WizardCommand::Next);
        QCOMPARE(w.log, (Log{"A:Next", "A:Save"}));
        QCOMPARE(w.sheet.GetActiveIndex(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Box(w.a)));
        // A second Next runs the whole sequence again.
        w.a.failSave = false;
        w.log.clear();
        w.Press(WizardCommand::Next);
        QCOMPARE(w.log, (Log{"A:Next", "A:Save", "B:Load", "B:SetActive"}));
    }

    void backChecksThenSavesAndReloadsThePreviousPage() {
        Wizard w;
        w.Start();
        w.Press(WizardCommand::Next);
        w.b.backResult = -1;
        w.log.clear();
        w.Press(WizardCommand::Back);
        QCOMPARE(w.log, (Log{"B:Back"}));
        QCOMPARE(w.sheet.GetActiveIndex(), 1);

        w.b.backResult = 0;
        w.Edit(w.b)->setText(QStringLiteral("kept"));
        w.log.clear();
        w.Press(WizardCommand::Back);
        QCOMPARE(w.log, (Log{"B:Back", "B:Save", "A:SetActive", "A:Load"}));
        QCOMPARE(w.b.text, std::string("kept"));
        QCOMPARE(w.sheet.GetActiveIndex(), 0);
    }

    void reactivationShowsMembersWrittenFromOutside() {
        Wizard w;
        w.Start();
        w.Box(w.a)->setChecked(true);
        w.Press(WizardCommand::Next);
        w.a.text = "from outside";
        w.a.check = 0;
        w.Press(WizardCommand::Back);
        QCOMPARE(w.Edit(w.a)->text(), QStringLiteral("from outside"));
        QVERIFY(!w.Box(w.a)->isChecked());
        // The page that was left keeps what the user entered.
        w.Edit(w.a)->setText(QStringLiteral("again"));
        w.Press(WizardCommand::Next);
        w.Press(WizardCommand::Back);
        QCOMPARE(w.Edit(w.a)->text(), QStringLiteral("again"));
    }

    void finishRefusedStaysAndAcceptedEndsWithoutExchange() {
        Wizard w;
        w.Start();
        w.Press(WizardCommand::Next);
        w.Press(WizardCommand::Next);
        w.sheet.SetWizardButtons(kWizBack | kWizFinish);
        w.c.finishResult = false;
        w.log.clear();
        w.Press(WizardCommand::Finish);
        QCOMPARE(w.log, (Log{"C:Finish"}));
        QVERIFY(w.sheet.isVisible());

        w.c.finishResult = true;
        w.log.clear();
        w.Press(WizardCommand::Finish);
        QCOMPARE(w.log, (Log{"C:Finish"}));
        QVERIFY(!w.sheet.isVisible());
        QCOMPARE(w.sheet.result(), int(kWizardFinished));
    }

    void cancelEscapeAndClosingCancelWithoutExchange() {
        {
            Wizard w;
            w.Start();
            w.Press(WizardCommand::Cancel);
            QCOMPARE(w.sheet.result(), int(kWizardCancelled));
            QVERIFY(w.log.empty());
        }
        {
            Wizard w;
            w.Start();
            QTest::keyClick(w.Edit(w.a), Qt::Key_Escape);
            QVERIFY(!w.sheet.isVisible());
            QCOMPARE(w.sheet.result(), int(kWizardCancelled));
            QVERIFY(w.log.empty());
        }
        {
            Wizard w;
            w.Start();
            w.Press(WizardCommand::Next);
            w.log.clear();
            w.sheet.close();
            QCOMPARE(w.sheet.result(), int(kWizardCancelled));
            QVERIFY(w.log.empty());
        }
    }

    void wizardButtonsFollowTheFlags() {
        Wizard w;
        w.Start();
        QPushButton* back = w.sheet.Button(WizardCommand::Back);
        QPushButton* next = w.sheet.Button(WizardCommand::Next);
        QPushButton* finish = w.sheet.Button(WizardCommand::Finish);
        QCOMPARE(back->text(), QStringLiteral("< 上一步(&B)"));
        QCOMPARE(next->text(), QStringLiteral("下一步(&N) >"));
        QCOMPARE(finish->text(), QStringLiteral("完成"));
        QCOMPARE(w.sheet.Button(WizardCommand::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(w.sheet.Button(WizardCommand::Help)->text(), QStringLiteral("帮助"));

        w.sheet.SetWizardButtons(kWizNext);
        QVERIFY(!back->isEnabled());
        QVERIFY(next->isVisible() && next->isEnabled() && next->isDefault());
        QVERIFY(!finish->isVisible());
        w.Press(WizardCommand::Back);
        QVERIFY(w.log.empty());

        w.sheet.SetWizardButtons(kWizBack | kWizFinish);
        QVERIFY(back->isEnabled());
        QVERIFY(!next->isVisible());
        QVERIFY(finish->isVisible() && finish->isEnabled() && finish->isDefault());
        QCOMPARE(finish->geometry(), next->geometry());

        w.sheet.SetWizardButtons(kWizDisabledFinish);
        QVERIFY(finish->isVisible() && !finish->isEnabled());
        QTest::keyClick(w.Edit(w.a), Qt::Key_Return);
        QVERIFY(w.sheet.isVisible());
        QVERIFY(w.log.empty());
    }

    void keyboardRunsTheWizard() {
        Wizard w;
        w.Start();
        w.sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.sheet));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Edit(w.a)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.sheet.GetActiveIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(w.sheet.GetActiveIndex(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(w.sheet.GetActiveIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.sheet.GetActiveIndex(), 2);
        w.sheet.SetWizardButtons(kWizBack | kWizFinish);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.sheet.result(), int(kWizardFinished));
        QVERIFY(!w.sheet.isVisible());
    }

    void pageRefusingActivationIsSkippedBothWays() {
        Wizard w;
        w.b.acceptActivation = false;
        w.Start();
        w.Press(WizardCommand::Next);
        QCOMPARE(w.sheet.GetActiveIndex(), 2);
        QCOMPARE(w.log, (Log{"A:Next", "A:Save", "B:Load", "B:SetActive", "C:Load", "C:SetActive"}));
        QVERIFY(test::Window(w.b)->isHidden());
        w.log.clear();
        w.Press(WizardCommand::Back);
        QCOMPARE(w.sheet.GetActiveIndex(), 0);
        QCOMPARE(w.log, (Log{"C:Back", "C:Save", "B:SetActive", "A:SetActive", "A:Load"}));
    }

    void pageIndexesFollowTheOrderOfAdding() {
        Wizard w;
        QCOMPARE(w.sheet.GetPageIndex(&w.a), 0);
        QCOMPARE(w.sheet.GetPageIndex(&w.c), 2);
        Log otherLog;
        RecordingPage stranger("X", otherLog);
        QCOMPARE(w.sheet.GetPageIndex(&stranger), -1);
        QCOMPARE(w.a.GetParentSheet(), static_cast<PropertySheet*>(&w.sheet));
    }

    void helpButtonAndF1AskTheApplication() {
        CountingApplication application;
        Wizard w;
        w.Start();
        w.sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.sheet));
        w.Press(WizardCommand::Help);
        QCOMPARE(application.helpRequests, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(application.helpRequests, 2);
        QVERIFY(w.log.empty());
    }

    void controlBindingAndReplacement() {
        ReplacingPage page;
        WizardSheet sheet;
        sheet.AddPage(&page);
        sheet.Create();
        const DialogUnits units(test::Window(page)->font());
        QCOMPARE(test::DlgItem(page, 5), &page.own);
        QCOMPARE(page.own.parentWidget(), test::Window(page));
        QCOMPARE(page.own.geometry(), units.ToPixels(10, 20, 30, 14));
        QVERIFY(!page.own.isEnabled());
        QCOMPARE(test::Window(page)->findChildren<QLineEdit*>().size(), 0);
        QCOMPARE(page.button, test::DlgItem<QPushButton>(page, 6));
        page.button->click();
        QCOMPARE(page.clicks, 1);
    }

    void mulDivRoundsHalvesAwayFromZero() {
        QCOMPARE(MulDiv(7, 6, 4), 11);  // 10.5
        QCOMPARE(MulDiv(5, 13, 8), 8);  // 8.125
        QCOMPARE(MulDiv(-7, 6, 4), -11);
        QCOMPARE(MulDiv(7, 6, -4), -11);
        QCOMPARE(MulDiv(1 << 30, 8, 16), 1 << 29);
        QCOMPARE(MulDiv(3, 4, 0), 0);
    }
};

ZENTRO_GUI_TEST_MAIN(WizardSheetTest)
#include "wizard_sheet_test.moc"
