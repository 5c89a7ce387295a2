#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <condition_variable>
#include <mutex>

#include "PanelFixture.h"
#include "display/PortRegisters.h"

namespace lcd::testing {
namespace {

// One page's column bytes as the module shows them (bit 0 the top row), read back from the visible
// image, so a controller left off or a wrong start line fails too.
QByteArray ShownBytes(const TForm1& form, int page, int firstColumn, int count) {
    const ModuleSnapshot snapshot = form.Module().Snapshot();
    QByteArray bytes;
    for (int x = firstColumn; x < firstColumn + count; ++x) {
        int byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            if (snapshot.PixelOn(x, page * 8 + bit)) {
                byte |= 1 << bit;
            }
        }
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

QByteArray Hex(const char* bytes) {
    return QByteArray::fromHex(bytes);
}

QString Repeated(const QString& piece, int times) {
    return piece.repeated(times);
}

// Sixteen full blocks light a whole page in the large font: a known background that a later command
// must either overwrite or leave alone.
const QString FullBlockLine = Repeated(QStringLiteral("\u2588"), 16);

// Holds the command thread at the first data-register write of a chosen value, so the window can be
// looked at while the command is at a known point.
class Checkpoint : public PortWriteListener {
  public:
    // Lets a held command go on, and holds it again at the next write of value.
    void HoldAt(std::uint8_t value) {
        std::lock_guard lock(mutex_);
        value_ = value;
        armed_ = true;
        holding_ = false;
        ++generation_;
        moved_.notify_all();
    }
    void Release() {
        std::lock_guard lock(mutex_);
        armed_ = false;
        holding_ = false;
        ++generation_;
        moved_.notify_all();
    }
    bool Holding() {
        std::lock_guard lock(mutex_);
        return holding_;
    }
    void PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t) override {
        std::unique_lock lock(mutex_);
        if (!armed_ || address != DataRegister || value != value_) {
            return;
        }
        armed_ = false;
        holding_ = true;
        const std::uint64_t heldIn = generation_;
        moved_.wait(lock, [this, heldIn] { return generation_ != heldIn; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable moved_;
    std::uint16_t value_ = 0;
    std::uint64_t generation_ = 0;
    bool armed_ = false;
    bool holding_ = false;
};

// Lets a held command go on before the window is torn down, even when a check failed on the way.
struct ReleaseOnExit {
    Checkpoint& checkpoint;
    ~ReleaseOnExit() { checkpoint.Release(); }
};

}  // namespace

class TextCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void initLCDBanner_data();
    void initLCDBanner();
    void writeTextInitialMemoInTheLargeFont();
    void writeTextSmallFontKeepsTheSixthColumns();
    void writeTextMapsCodePage437_data();
    void writeTextMapsCodePage437();
    void writeTextDrawsOnlyTheFirstEightLines();
    void writeTextLongLineEnds_data();
    void writeTextLongLineEnds();
    void writeTextBadDelayReportsTheConversionError();
    void testLeavesEveryPageBlank();
    void testShowsItsPageAndStep();
    void stopEndsTestInsideItsPause();

  private:
    static void Prepare(PanelFixture& panel) {
        panel.SetDelay("0");
        panel.form->testStepPause = std::chrono::milliseconds(0);
    }
    static void SetMemo(PanelFixture& panel, const QString& text) {
        panel.Find<QPlainTextEdit>("Memo1")->setPlainText(text);
    }
};

// Expected bytes typed from the small-font table: P 7F 09 09 09 06, S 46 49 49 49 31, t 04 3F 44 40 20,
// ) 00 41 22 1C 00, each followed by the blank column that PrintLCDText streams.
void TextCommandsTest::initLCDBanner_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("P and its blank at column 0 of page 0") << 0 << 0 << Hex("7F0909090600");
    QTest::newRow("PrintLCDText ends with t at 66-70, blank from 71")
        << 0 << 66 << Hex("043F4440200000000000");
    QTest::newRow("SetLCDXY(1,1) starts at column 6") << 1 << 0 << Hex("0000000000004649494931");
    QTest::newRow("SetLCDXY(3,3) starts at column 18") << 3 << 17 << Hex("004649494931");
    QTest::newRow("SetLCDXY(2,6) starts at column 12") << 6 << 11 << Hex("00464949493100");
    QTest::newRow("SetLCDXY(2,6) ends with ) at 84-88, blank from 89") << 6 << 84 << Hex("0041221C00000000");
    QTest::newRow("page 4 cleared") << 4 << 0 << QByteArray(128, '\0');
    QTest::newRow("page 5 cleared") << 5 << 0 << QByteArray(128, '\0');
    QTest::newRow("page 7 cleared") << 7 << 0 << QByteArray(128, '\0');
    QTest::newRow("page 6 right half cleared") << 6 << 90 << QByteArray(38, '\0');
}

void TextCommandsTest::initLCDBanner() {
    QFETCH(int, page);
    QFETCH(int, firstColumn);
    QFETCH(QByteArray, expected);
    PanelFixture panel;  // powered up: display off, RAM full of garbage
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    QVERIFY(panel.shown.isEmpty());
    QCOMPARE(ShownBytes(*panel.form, page, firstColumn, static_cast<int>(expected.size())).toHex(' '),
             expected.toHex(' '));
}

void TextCommandsTest::writeTextInitialMemoInTheLargeFont() {
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    QVERIFY(panel.ClickAndWait("Button4"));  // memo "Memo1", Small Font off: the window's initial settings
    QVERIFY(panel.shown.isEmpty());

    // Start line: 2 instructions; page 0: 4 address instructions and 5 x 8 data bytes; pages 1-7: only
    // their 4 address instructions. 5 port writes an instruction, 4 a data byte.
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{2 * 5 + (4 * 5 + 40 * 4) + 7 * (4 * 5)});

    const QByteArray cells = ShownBytes(*panel.form, 0, 0, 40);
    for (int cell = 0; cell < 5; ++cell) {
        QVERIFY2(cells.mid(cell * 8, 7).count('\0') < 7, qPrintable(QString("cell %1 is blank").arg(cell)));
        QCOMPARE(cells.at(cell * 8 + 7), '\0');  // letters and digits keep their eighth column as the gap
    }
    // Nothing is cleared first: the banner's "PrintLCDText" goes on past column 39 (C 3E 41 41 41 22 at
    // 36-40, its blank at 41, D 7F 41 41 22 1C from 42), and page 1 still shows its line.
    QCOMPARE(ShownBytes(*panel.form, 0, 40, 7).toHex(' '), Hex("22007F4141221C").toHex(' '));
    QCOMPARE(ShownBytes(*panel.form, 1, 6, 5).toHex(' '), Hex("4649494931").toHex(' '));
}

void TextCommandsTest::writeTextSmallFontKeepsTheSixthColumns() {
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    SetMemo(panel, FullBlockLine);
    QVERIFY(panel.ClickAndWait("Button4"));
    QCOMPARE(ShownBytes(*panel.form, 0, 0, 128), QByteArray(128, '\xFF'));

    SetMemo(panel, "Memo1");
    panel.Find<QCheckBox>("CheckBox1")->setChecked(true);
    QVERIFY(panel.ClickAndWait("Button4"));
    QVERIFY(panel.shown.isEmpty());

    // M 7F 02 04 02 7F, e 38 54 54 54 18, m 7C 04 18 04 78, o 38 44 44 44 38, 1 00 42 7F 40 00; the
    // sixth column of each cell (5, 11, 17, 23, 29) and everything past the text stay lit.
    const QByteArray expected = Hex("7F0204027FFF"
                                    "3854545418FF"
                                    "7C04180478FF"
                                    "3844444438FF"
                                    "00427F4000FF") +
                                QByteArray(98, '\xFF');
    QCOMPARE(ShownBytes(*panel.form, 0, 0, 128).toHex(' '), expected.toHex(' '));
    // Empty lines send nothing in the small font: start line, then 5 characters of 4 instructions and 5
    // data bytes.
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{2 * 5 + 5 * (4 * 5 + 5 * 4)});
}

// Characters typed into the memo reach the large font as their code page 437 bytes. Expected glyphs are
// the telling rows of the font; the medium shade is the half-lit checkerboard between light and dark.
void TextCommandsTest::writeTextMapsCodePage437_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("degree sign -> F8") << QStringLiteral("\u00B0") << Hex("00060F090F060000");
    QTest::newRow("light shade -> B0") << QStringLiteral("\u2591") << Hex("AA005500AA005500");
    QTest::newRow("medium shade -> B1") << QStringLiteral("\u2592") << Hex("AA55AA55AA55AA55");
    QTest::newRow("u with diaeresis -> 81") << QStringLiteral("\u00FC") << Hex("3A7A40407A7A4000");
    QTest::newRow("horizontal line -> C4") << QStringLiteral("\u2500") << Hex("1010101010101010");
    QTest::newRow("full block -> DB") << QStringLiteral("\u2588") << Hex("FFFFFFFFFFFFFFFF");
    QTest::newRow("smiling face -> 01") << QStringLiteral("\u263A") << Hex("7E8195B1B195817E");
    QTest::newRow("capital A stays 41") << QStringLiteral("A") << Hex("7C7E13137E7C0000");
}

void TextCommandsTest::writeTextMapsCodePage437() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));  // on and cleared; its banner leaves pages 4 and 5 blank
    SetMemo(panel, "\n\n\n\n" + typed + "\n" + typed + typed);
    QVERIFY(panel.ClickAndWait("Button4"));
    QVERIFY(panel.shown.isEmpty());
    QCOMPARE(ShownBytes(*panel.form, 4, 0, 16).toHex(' '), (expected + QByteArray(8, '\0')).toHex(' '));
    QCOMPARE(ShownBytes(*panel.form, 5, 0, 24).toHex(' '),
             (expected + expected + QByteArray(8, '\0')).toHex(' '));
}

void TextCommandsTest::writeTextDrawsOnlyTheFirstEightLines() {
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    SetMemo(panel, Repeated("A\n", 8) + FullBlockLine + "\n" + FullBlockLine);
    QVERIFY(panel.ClickAndWait("Button4"));
    QVERIFY(panel.shown.isEmpty());

    // Start line, then 8 lines of 4 address instructions and one 8-byte glyph; nothing for lines 9 and 10.
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{2 * 5 + 8 * (4 * 5 + 8 * 4)});
    const QByteArray capitalA = Hex("7C7E13137E7C0000");
    for (int page = 0; page < 8; ++page) {
        QCOMPARE(ShownBytes(*panel.form, page, 0, 8).toHex(' '), capitalA.toHex(' '));
    }
}

// A line longer than the text routines' 255 characters ends like any other. In the small font
// characters 43 on wrap to columns 2, 8, ... and 86 on to 4, 10, ..., so 255 dashes (08 08 08 08 08)
// cover every column of the page; a W past the 255th character would land at column 0.
void TextCommandsTest::writeTextLongLineEnds_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("smallFont");
    QTest::addColumn<QByteArray>("expectedPage0");

    QTest::newRow("small font, 300 characters")
        << Repeated("-", 255) + Repeated("W", 45) << true << QByteArray(128, '\x08');
    QTest::newRow("large font, 300 light shades")
        << Repeated(QStringLiteral("\u2591"), 300) << false << Hex("AA005500AA005500").repeated(16);
}

void TextCommandsTest::writeTextLongLineEnds() {
    QFETCH(QString, line);
    QFETCH(bool, smallFont);
    QFETCH(QByteArray, expectedPage0);
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    SetMemo(panel, line);
    panel.Find<QCheckBox>("CheckBox1")->setChecked(smallFont);
    QVERIFY2(panel.ClickAndWait("Button4", 30000), "Write Text did not end");
    QVERIFY(panel.shown.isEmpty());
    QCOMPARE(ShownBytes(*panel.form, 0, 0, 128).toHex(' '), expectedPage0.toHex(' '));
}

void TextCommandsTest::writeTextBadDelayReportsTheConversionError() {
    PanelFixture panel;
    panel.SetDelay("1O");
    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QVERIFY(panel.ClickAndWait("Button4"));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.first().first().value<CommandRunner::Outcome>(), CommandRunner::Outcome::Failed);
    QCOMPARE(panel.shown.size(), 1);
    QCOMPARE(panel.shown[0].kind, QString("exception"));
    QCOMPARE(panel.shown[0].text, QString("'1O' is not a valid integer value"));
    QCOMPARE(panel.form->Recorder().WriteCount(), std::size_t{0});
    QVERIFY(panel.Find<QPushButton>("Button4")->isEnabled());
}

void TextCommandsTest::testLeavesEveryPageBlank() {
    PanelFixture panel;
    Prepare(panel);
    QVERIFY(panel.ClickAndWait("Button2"));
    SetMemo(panel, Repeated(FullBlockLine + "\n", 8));
    QVERIFY(panel.ClickAndWait("Button4"));
    for (int page = 0; page < 8; ++page) {
        QCOMPARE(ShownBytes(*panel.form, page, 0, 128), QByteArray(128, '\xFF'));
    }

    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QVERIFY(panel.ClickAndWait("Button6"));
    QCOMPARE(ended.first().first().value<CommandRunner::Outcome>(), CommandRunner::Outcome::Done);
    QVERIFY(panel.shown.isEmpty());
    for (int page = 0; page < 8; ++page) {
        QCOMPARE(ShownBytes(*panel.form, page, 0, 128).toHex(' '), QByteArray(128, '\0').toHex(' '));
    }
}

// The command is held at known points of its run while the status line is read: the first page 2
// instruction (0xBA) comes with step 0 of page 2; the first column 37 instruction (0x65) after it comes
// with step 33, whose # goes to column 37. Shown counted from 1.
void TextCommandsTest::testShowsItsPageAndStep() {
    Checkpoint checkpoint;
    PanelFixture panel;
    ReleaseOnExit releaseOnExit{checkpoint};
    Prepare(panel);
    panel.form->DLPortIO1.AttachListener(checkpoint);
    auto* status = panel.Find<QLabel>("StatusLine");

    checkpoint.HoldAt(0xBA);
    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QTest::mouseClick(panel.Find<QPushButton>("Button6"), Qt::LeftButton);
    QTRY_VERIFY(checkpoint.Holding());
    QTRY_VERIFY2(status->text().contains("page 3 of 8, step 1 of 128"), qPrintable(status->text()));

    checkpoint.HoldAt(0x65);
    QTRY_VERIFY(checkpoint.Holding());
    QTRY_VERIFY2(status->text().contains("page 3 of 8, step 34 of 128"), qPrintable(status->text()));

    checkpoint.Release();
    QVERIFY(ended.count() > 0 || ended.wait(60000));
    QVERIFY2(!status->text().contains("page"), qPrintable(status->text()));
    panel.form->DLPortIO1.DetachListener(checkpoint);
}

void TextCommandsTest::stopEndsTestInsideItsPause() {
    PanelFixture panel;
    panel.SetDelay("0");
    panel.form->testStepPause = std::chrono::hours(1);
    const auto writesBefore = panel.form->Module().Snapshot().writeCount;
    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QTest::mouseClick(panel.Find<QPushButton>("Button6"), Qt::LeftButton);

    // Step 0 draws a space at column 0 and a # at column 4: each 4 address instructions (5 writes) and
    // 5 data bytes (4 writes); then the pause.
    constexpr std::uint64_t firstStepWrites = 2 * (4 * 5 + 5 * 4);
    QTRY_COMPARE(panel.form->Module().Snapshot().writeCount - writesBefore, firstStepWrites);
    auto* status = panel.Find<QLabel>("StatusLine");
    QTRY_VERIFY2(status->text().contains("page 1 of 8, step 1 of 128"), qPrintable(status->text()));
    QVERIFY(panel.form->Runner().IsRunning());

    QElapsedTimer sinceStop;
    sinceStop.start();
    QTest::mouseClick(panel.Find<QPushButton>("StopButton"), Qt::LeftButton);
    QVERIFY2(ended.count() > 0 || ended.wait(10000), "Stop waited for the pause");
    qInfo("Stop to end of Test: %lld ms", static_cast<long long>(sinceStop.elapsed()));
    QCOMPARE(ended.first().first().value<CommandRunner::Outcome>(), CommandRunner::Outcome::Stopped);
    QCOMPARE(panel.form->Module().Snapshot().writeCount - writesBefore, firstStepWrites);
    QVERIFY(panel.shown.isEmpty());
    QVERIFY(status->text().contains("Test stopped"));
    QVERIFY(panel.Find<QPushButton>("Button6")->isEnabled());
}

}  // namespace lcd::testing

QTEST_MAIN(lcd::testing::TextCommandsTest)
#include "TextCommandsTest.moc"
