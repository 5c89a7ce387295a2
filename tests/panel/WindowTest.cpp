#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <set>

#include "PanelFixture.h"
#include "display/PortRegisters.h"
#include "panel/VirtualDisplay.h"

namespace lcd::testing {

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void controls_data();
    void controls();
    void tabOrder();
    void windowCaptionAndBounds();
    void virtualDisplayCoversNoControl();
    void startDriverFailureShowsItsBoxOncePerPress();
    void startDriverBoxIsAnErrorBoxWithOneOkButton();
    void statusLineTellsThePortAndTheTimingVerdict();
    void openPortGetsTheWritesAndTheVirtualDisplayToo();
    void clearDisplayBlanksPowerUpGarbage();
    void badDelayReportsTheConversionErrorAndSendsNothing();
    void stopEndsALongCommandLeavingTheBusClean();
    void closingMidCommandExitsCleanly();
    void moduleMenuSavesImageAndTraceAndPowerCycles();
};

void WindowTest::controls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("Label2") << "QLabel"
                            << "Press this 1st" << QRect(0, 48, 62, 13);
    QTest::newRow("Label3") << "QLabel"
                            << "Then this" << QRect(0, 96, 44, 13);
    QTest::newRow("Button1") << "QPushButton"
                             << "StartDriver" << QRect(72, 40, 75, 25);
    QTest::newRow("Button2") << "QPushButton"
                             << "Initialize LCD" << QRect(72, 88, 75, 25);
    QTest::newRow("Button3") << "QPushButton"
                             << "Clear Display" << QRect(168, 40, 75, 25);
    QTest::newRow("Button4") << "QPushButton"
                             << "Write Text" << QRect(72, 200, 75, 25);
    QTest::newRow("Memo1") << "QPlainTextEdit"
                           << "Memo1" << QRect(160, 200, 217, 129);
    QTest::newRow("Button5") << "QPushButton"
                             << "Draw Picture" << QRect(72, 352, 75, 25);
    QTest::newRow("CheckBox1") << "QCheckBox"
                               << "Small Font" << QRect(160, 176, 97, 17);
    QTest::newRow("Button6") << "QPushButton"
                             << "Test" << QRect(216, 112, 75, 25);
    QTest::newRow("Button7") << "QPushButton"
                             << "Open BMP" << QRect(336, 16, 75, 25);
    QTest::newRow("Button8") << "QPushButton"
                             << "Show BMP" << QRect(336, 56, 75, 25);
    QTest::newRow("Label1") << "QLabel"
                            << "Delay:" << QRect(56, 424, 30, 13);
    QTest::newRow("Edit1") << "QLineEdit"
                           << "1" << QRect(88, 416, 121, 21);
}

QString TextOf(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        return memo->toPlainText();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    return {};
}

void WindowTest::controls() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    PanelFixture panel;
    auto* control = panel.form->findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY(control != nullptr);
    QCOMPARE(control->metaObject()->className(), kind);
    QCOMPARE(TextOf(control), text);
    QCOMPARE(control->geometry(), geometry);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        QVERIFY(!box->isChecked());
    }
    // The caption must fit its control in the font the window uses.
    if (!qobject_cast<QPlainTextEdit*>(control) && !qobject_cast<QLineEdit*>(control)) {
        const int room = qobject_cast<QPushButton*>(control) ? geometry.width() - 6
                         : qobject_cast<QCheckBox*>(control) ? geometry.width() - 20
                                                             : geometry.width();
        QVERIFY2(control->fontMetrics().horizontalAdvance(text) <= room, qPrintable(text + " is cut"));
    }
}

void WindowTest::tabOrder() {
    PanelFixture panel;
    const QStringList expected{"Button1",   "Button2", "Button3", "Button4", "Memo1", "Button5",
                               "CheckBox1", "Button6", "Button7", "Button8", "Edit1"};
    const std::set<QString> specified(expected.begin(), expected.end());
    QStringList chain;
    QWidget* widget = panel.Find<QWidget>("Button1");
    for (int i = 0; i < 200 && chain.size() < expected.size(); ++i, widget = widget->nextInFocusChain()) {
        if (specified.count(widget->objectName()) != 0 && !chain.contains(widget->objectName())) {
            chain << widget->objectName();
        }
    }
    QCOMPARE(chain, expected);
    QCOMPARE(panel.Find<QLabel>("Label1")->focusPolicy(), Qt::NoFocus);
}

void WindowTest::windowCaptionAndBounds() {
    PanelFixture panel;
    QCOMPARE(panel.form->objectName(), QString("Form1"));
    QCOMPARE(panel.form->windowTitle(), QString("LCD Test for KS0108 / HD61202"));
    panel.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.form.get()));
    QCOMPARE(panel.form->frameGeometry(), QRect(234, 218, 685, 549));
    QCOMPARE(panel.form->palette().color(QPalette::Window), panel.form->palette().color(QPalette::Button));
}

void WindowTest::virtualDisplayCoversNoControl() {
    PanelFixture panel;
    panel.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.form.get()));
    const QStringList ours{"VirtualDisplay", "ModuleButton", "StopButton", "Progress", "StatusLine"};
    for (const QString& name : ours) {
        auto* added = panel.form->findChild<QWidget*>(name);
        QVERIFY2(added != nullptr, qPrintable(name));
        QVERIFY2(panel.form->rect().contains(added->geometry()), qPrintable(name + " is outside the window"));
        for (QWidget* control : panel.form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (ours.contains(control->objectName()) || control->objectName() == "BitmapPreview" ||
                control->objectName().isEmpty()) {
                continue;
            }
            QVERIFY2(!added->geometry().intersects(control->geometry()),
                     qPrintable(name + " covers " + control->objectName()));
        }
    }
    QVERIFY(panel.form->Display().width() >= 256 && panel.form->Display().height() >= 128);
}

void WindowTest::startDriverFailureShowsItsBoxOncePerPress() {
    PanelFixture panel;
    for (int press = 1; press <= 2; ++press) {
        QTest::mouseClick(panel.Find<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(panel.shown.size(), press);
        QCOMPARE(panel.shown.last().kind, QString("error"));
        QCOMPARE(panel.shown.last().text, QString("Could not open the DriverLINX driver."));
        QVERIFY(panel.shown.last().detail.contains("lp group"));
        QVERIFY(panel.shown.last().detail.contains("CAP_SYS_RAWIO"));
        QVERIFY(panel.shown.last().detail.contains("USB"));
    }
    QVERIFY(!panel.form->DLPortIO1.ActiveHW());
    QCOMPARE(panel.form->DLPortIO1.DriverPath, QCoreApplication::applicationDirPath().toStdString());
    for (const char* button :
         {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7", "Button8"}) {
        QVERIFY2(panel.Find<QPushButton>(button)->isEnabled(), button);
    }
    panel.SetDelay("0");
    QVERIFY(panel.ClickAndWait("Button3"));
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{4266});
}

void WindowTest::startDriverBoxIsAnErrorBoxWithOneOkButton() {
    NoPortSystemCalls noPort;
    TForm1 form(nullptr, &noPort);
    QString text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        icon = box->icon();
        box->accept();
    });
    form.Button1Click();
    QCOMPARE(text, QString("Could not open the DriverLINX driver."));
    QCOMPARE(buttons, 1);
    QCOMPARE(icon, QMessageBox::Critical);
}

QString StatusOf(const PanelFixture& panel) {
    return panel.Find<QLabel>("StatusLine")->text();
}

void WindowTest::statusLineTellsThePortAndTheTimingVerdict() {
    PanelFixture panel;
    QVERIFY(StatusOf(panel).startsWith("no port open: writes go to the virtual display only"));
    panel.SetDelay("5");
    QVERIFY(panel.ClickAndWait("Button3"));
    QVERIFY(StatusOf(panel).contains("Clear Display done"));
    QVERIFY2(!StatusOf(panel).contains("minimum"), qPrintable(StatusOf(panel)));
    panel.SetDelay("0");  // back-to-back writes hold E high far less than 450 ns
    QVERIFY(panel.ClickAndWait("Button3"));
    QVERIFY2(StatusOf(panel).contains("450 ns is the minimum"), qPrintable(StatusOf(panel)));
    QVERIFY(StatusOf(panel).contains("raise the Delay"));
}

void WindowTest::openPortGetsTheWritesAndTheVirtualDisplayToo() {
    Parport0SystemCalls parport;
    QList<FakeDialogs::Shown> shown;
    TForm1 form(std::make_unique<FakeDialogs>(shown), &parport);
    form.Button1Click();
    QVERIFY(shown.isEmpty());
    QVERIFY(form.DLPortIO1.ActiveHW());
    QVERIFY(
        form.findChild<QLabel*>("StatusLine")->text().startsWith("port 0x378 open through /dev/parport0"));
    form.findChild<QLineEdit*>("Edit1")->setText("0");
    QSignalSpy ended(&form, &TForm1::CommandEnded);
    form.Button3Click();
    QVERIFY(ended.wait(60000));
    QCOMPARE(parport.registerWrites, 4266);
    QCOMPARE(form.Recorder().WriteCount(), std::size_t{4266});
}

void WindowTest::clearDisplayBlanksPowerUpGarbage() {
    PanelFixture panel;
    const auto ramIsBlank = [&panel] {
        for (const ControllerState& controller : panel.form->Module().Snapshot().controllers) {
            for (std::uint8_t byte : controller.ram) {
                if (byte != 0) {
                    return false;
                }
            }
        }
        return true;
    };
    QVERIFY2(!ramIsBlank(), "power-up should leave garbage in the RAM");
    panel.SetDelay("0");
    QVERIFY(panel.ClickAndWait("Button3"));
    QVERIFY(ramIsBlank());
    QVERIFY(panel.shown.isEmpty());
}

void WindowTest::badDelayReportsTheConversionErrorAndSendsNothing() {
    PanelFixture panel;
    panel.SetDelay("abc");
    const auto writesBefore = panel.form->Module().Snapshot().writeCount;
    QVERIFY(panel.ClickAndWait("Button3"));
    QCOMPARE(panel.shown.size(), 1);
    QCOMPARE(panel.shown[0].kind, QString("exception"));
    QCOMPARE(panel.shown[0].text, QString("'abc' is not a valid integer value"));
    QCOMPARE(panel.form->Module().Snapshot().writeCount, writesBefore);
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{0});
    QVERIFY(panel.Find<QPushButton>("Button3")->isEnabled());
}

// Where the writes of a Clear fall into whole transactions: two instructions, then per page four
// instructions and 128 data bytes.
std::set<std::size_t> ClearTransactionEnds() {
    std::set<std::size_t> ends{0};
    std::size_t at = 0;
    const auto add = [&](std::size_t count, std::size_t writes) {
        for (std::size_t i = 0; i < count; ++i) {
            at += writes;
            ends.insert(at);
        }
    };
    add(2, 5);
    for (int page = 0; page < 8; ++page) {
        add(4, 5);
        add(128, 4);
    }
    return ends;
}

void WindowTest::stopEndsALongCommandLeavingTheBusClean() {
    PanelFixture panel;
    panel.SetDelay("100000");  // a Clear would take seven minutes
    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QTest::mouseClick(panel.Find<QPushButton>("Button3"), Qt::LeftButton);
    QVERIFY(panel.form->Runner().IsRunning());
    QVERIFY(!panel.Find<QPushButton>("Button3")->isEnabled());
    QVERIFY(!panel.Find<QLineEdit>("Edit1")->isEnabled());
    QVERIFY(panel.Find<QPushButton>("StopButton")->isEnabled());
    QTest::qWait(350);  // a few writes go out meanwhile, and the window keeps serving events
    QVERIFY(panel.form->Module().Snapshot().writeCount > 0);

    QElapsedTimer sinceStop;
    sinceStop.start();
    QTest::mouseClick(panel.Find<QPushButton>("StopButton"), Qt::LeftButton);
    QVERIFY(ended.count() > 0 || ended.wait(5000));
    qInfo("Stop to end of command: %lld ms", static_cast<long long>(sinceStop.elapsed()));
    QCOMPARE(ended.first().first().value<CommandRunner::Outcome>(), CommandRunner::Outcome::Stopped);
    QVERIFY(panel.shown.isEmpty());

    const auto& writes = panel.form->Recorder().Writes();
    QVERIFY(!writes.empty());
    QVERIFY2(ClearTransactionEnds().count(writes.size()) == 1, "a transaction was cut in half");
    auto lastControl = std::find_if(writes.rbegin(), writes.rend(),
                                    [](const RecordedWrite& w) { return w.address == ControlRegister; });
    QVERIFY(lastControl != writes.rend());
    QCOMPARE(lastControl->value & 0x01, 1);  // E low
    QVERIFY(panel.Find<QPushButton>("Button3")->isEnabled());
}

void WindowTest::closingMidCommandExitsCleanly() {
    PanelFixture panel;
    panel.form->show();
    panel.SetDelay("2000000000");
    QTest::mouseClick(panel.Find<QPushButton>("Button3"), Qt::LeftButton);
    QVERIFY(panel.form->Runner().IsRunning());
    QTest::qWait(50);
    QVERIFY(panel.form->close());
    QVERIFY(!panel.form->Runner().IsRunning());
    QVERIFY(!panel.form->DLPortIO1.ActiveHW());
    panel.form.reset();  // the window goes away with its thread already ended
}

QAction* MenuAction(const PanelFixture& panel, const QString& text) {
    auto* menu = panel.form->findChild<QMenu*>("ModuleMenu");
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

void WindowTest::moduleMenuSavesImageAndTraceAndPowerCycles() {
    PanelFixture panel;
    for (const char* text : {"Save image...", "Save bus trace...", "Power-cycle module"}) {
        QVERIFY2(MenuAction(panel, text) != nullptr, text);
    }
    panel.SetDelay("0");
    QVERIFY(panel.ClickAndWait("Button2"));  // display on, cleared, banner
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    panel.dialogs->saveAs = folder.filePath("shot.png");
    MenuAction(panel, "Save image...")->trigger();
    const QImage scaled(folder.filePath("shot.png"));
    const QImage dots(folder.filePath("shot-1x.png"));
    QCOMPARE(dots.size(), QSize(128, 64));
    QVERIFY(scaled.width() >= 256 && scaled.height() == scaled.width() / 2);
    // "P" of the banner: its first column 7F lights rows 0-6 of column 0, and row 7 stays dark.
    const QRgb lit = dots.pixel(0, 0);
    QVERIFY(lit != dots.pixel(0, 7));
    for (int y = 0; y < 7; ++y) {
        QCOMPARE(dots.pixel(0, y), lit);
    }

    panel.dialogs->saveAs = folder.filePath("trace.vcd");
    MenuAction(panel, "Save bus trace...")->trigger();
    QFile trace(folder.filePath("trace.vcd"));
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QByteArray vcd = trace.readAll();
    QVERIFY(vcd.contains("$enddefinitions"));
    QVERIFY(vcd.contains("$timescale"));

    MenuAction(panel, "Power-cycle module")->trigger();
    const ModuleSnapshot snapshot = panel.form->Module().Snapshot();
    QVERIFY(!snapshot.controllers[0].displayOn && !snapshot.controllers[1].displayOn);
    QVERIFY(std::any_of(snapshot.controllers[0].ram.begin(), snapshot.controllers[0].ram.end(),
                        [](std::uint8_t byte) { return byte != 0; }));
    QVERIFY(panel.shown.isEmpty());
}

}  // namespace lcd::testing

QTEST_MAIN(lcd::testing::WindowTest)
#include "WindowTest.moc"
