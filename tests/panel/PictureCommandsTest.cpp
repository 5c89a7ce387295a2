#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>

#include "PanelFixture.h"
#include "display/ControllerAddressing.h"
#include "drawing/BuiltInPicture.h"
#include "panel/VirtualDisplay.h"

namespace lcd::testing {

class PictureCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void drawPictureSendsTheBuiltInPictureAndKeepsTheStartLine();
    void openBmpOffersTwoFiltersAndACancelKeepsTheName();
    void showBmpOfAnImageMagickBitmapShowsItInTheWindowAndOnTheDisplay();
    void showBmpWithNoFileChosenChangesNothing();
    void showBmpWithABadDelayPreviewsThenReportsAndSendsNothing();
    void unusableFileGivesTheMessageWithoutHanging_data();
    void unusableFileGivesTheMessageWithoutHanging();
    void statusLineNotesALayoutTheDisplayCannotShow_data();
    void statusLineNotesALayoutTheDisplayCannotShow();
    void previewSitsUnderTheControlsUntilTheNextShowBmp();
};

const QString CouldNotShow = QStringLiteral("Could not load or display bitmap");
// A whole picture: per page, four instructions of five writes and 128 data bytes of four.
constexpr std::size_t PictureWrites = 8 * (4 * 5 + 128 * 4);

QString CornerMarks() {
    return QStringLiteral(LCD_TEST_SOURCE_DIR "/drawing/fixtures/corner-marks.bmp");
}

// The black pixels of corner-marks.bmp, as its README describes them.
bool CornerMarkIsBlack(int x, int y) {
    return (x >= 3 && x <= 12 && y >= 5 && y <= 10) || (x == 121 && y == 58);
}

bool RamPixel(const ModuleSnapshot& snapshot, int x, int y) {
    const ControllerState& half = snapshot.controllers[static_cast<std::size_t>(x / 64)];
    return ((half.ram[static_cast<std::size_t>((y / 8) * 64 + x % 64)] >> (y % 8)) & 1) != 0;
}

// Where the first difference lies, or empty when the picture matches corner-marks.bmp pixel for pixel.
QString DifferenceFromCornerMarks(const std::function<bool(int, int)>& isBlack) {
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (isBlack(x, y) != CornerMarkIsBlack(x, y)) {
                return QString("pixel (%1, %2)").arg(x).arg(y);
            }
        }
    }
    return {};
}

bool IsDark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// A display scrolled away from line 0, so that a command which touched the start line shows it.
void ScrollStartLine(PanelFixture& panel, std::uint8_t line) {
    FixedDelayText noDelay{"0"};
    StopSignal stop;
    DisplayBus bus{panel.form->DLPortIO1, noDelay, stop};
    SetLCDStartLine(bus, line);
}

void ChooseFile(PanelFixture& panel, const QString& path) {
    panel.dialogs->openAnswer = path;
    QTest::mouseClick(panel.Find<QPushButton>("Button7"), Qt::LeftButton);
}

QLabel* Preview(const PanelFixture& panel) {
    return panel.Find<QLabel>("BitmapPreview");
}

bool PreviewShown(const PanelFixture& panel) {
    return Preview(panel)->isVisibleTo(panel.form.get());
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray SavedByQt(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "BMP") ? bytes : QByteArray();
}

QImage White(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    if (format == QImage::Format_Indexed8) {
        QList<QRgb> greys;
        for (int i = 0; i < 16; ++i) {
            greys << qRgb(i * 17, i * 17, i * 17);
        }
        image.setColorTable(greys);
        image.fill(15);
    } else {
        image.fill(Qt::white);
    }
    return image;
}

QByteArray Mono128x64() {
    return SavedByQt(White(128, 64, QImage::Format_Mono));
}

void PutLittle32(QByteArray& bytes, int at, qint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

void PictureCommandsTest::drawPictureSendsTheBuiltInPictureAndKeepsTheStartLine() {
    PanelFixture panel;
    panel.SetDelay("0");
    ScrollStartLine(panel, 5);
    QVERIFY(panel.ClickAndWait("Button5"));
    QVERIFY(panel.shown.isEmpty());
    QCOMPARE(panel.form->Recorder().WriteCount(), PictureWrites);
    const ModuleSnapshot snapshot = panel.form->Module().Snapshot();
    for (std::size_t half = 0; half < 2; ++half) {
        QCOMPARE(snapshot.controllers[half].startLine, std::uint8_t{5});
        for (std::size_t page = 0; page < 8; ++page) {
            for (std::size_t column = 0; column < 64; ++column) {
                QCOMPARE(snapshot.controllers[half].ram[page * 64 + column],
                         BuiltInPicture[page * 128 + half * 64 + column]);
            }
        }
    }
}

void PictureCommandsTest::openBmpOffersTwoFiltersAndACancelKeepsTheName() {
    PanelFixture panel;
    QVERIFY(panel.form->OpenPictureDialog1.FileName.isEmpty());
    ChooseFile(panel, "/pictures/first.bmp");
    QCOMPARE(panel.dialogs->openFilters, QStringList({"Bitmaps (*.bmp)", "All files (*)"}));
    QCOMPARE(panel.form->OpenPictureDialog1.FileName, QString("/pictures/first.bmp"));
    ChooseFile(panel, QString());  // cancelled
    QCOMPARE(panel.form->OpenPictureDialog1.FileName, QString("/pictures/first.bmp"));
    ChooseFile(panel, "/pictures/second.dat");
    QCOMPARE(panel.form->OpenPictureDialog1.FileName, QString("/pictures/second.dat"));
    QVERIFY(panel.shown.isEmpty());
    QCOMPARE(panel.form->Module().Snapshot().writeCount, std::uint64_t{0});
}

void PictureCommandsTest::showBmpOfAnImageMagickBitmapShowsItInTheWindowAndOnTheDisplay() {
    PanelFixture panel;
    panel.SetDelay("0");
    ScrollStartLine(panel, 9);
    ChooseFile(panel, CornerMarks());
    QVERIFY(panel.ClickAndWait("Button8"));
    QVERIFY(panel.shown.isEmpty());

    QVERIFY(PreviewShown(panel));
    QCOMPARE(Preview(panel)->geometry(), QRect(340, 100, 128, 64));
    const QImage painted = panel.form->grab(QRect(340, 100, 128, 64)).toImage();
    QCOMPARE(DifferenceFromCornerMarks([&](int x, int y) { return IsDark(painted, x, y); }), QString());

    QCOMPARE(panel.form->Recorder().WriteCount(), PictureWrites);
    const ModuleSnapshot snapshot = panel.form->Module().Snapshot();
    QCOMPARE(DifferenceFromCornerMarks([&](int x, int y) { return RamPixel(snapshot, x, y); }), QString());
    QCOMPARE(snapshot.controllers[0].startLine, std::uint8_t{9});
    QCOMPARE(snapshot.controllers[1].startLine, std::uint8_t{9});

    const QString status = panel.Find<QLabel>("StatusLine")->text();
    QVERIFY2(status.contains("Show BMP done"), qPrintable(status));
    QVERIFY2(!status.contains("expects"), qPrintable(status));
}

void PictureCommandsTest::showBmpWithNoFileChosenChangesNothing() {
    PanelFixture panel;
    panel.SetDelay("0");
    const QString statusBefore = panel.Find<QLabel>("StatusLine")->text();
    const ModuleSnapshot before = panel.form->Module().Snapshot();
    QVERIFY(panel.ClickAndWait("Button8"));
    QCOMPARE(panel.shown.size(), 1);
    QCOMPARE(panel.shown[0].kind, QString("message"));
    QCOMPARE(panel.shown[0].text, CouldNotShow);
    QVERIFY(!PreviewShown(panel));
    QCOMPARE(panel.Find<QLabel>("StatusLine")->text(), statusBefore);
    const ModuleSnapshot after = panel.form->Module().Snapshot();
    QCOMPARE(after.writeCount, before.writeCount);
    QVERIFY(after.controllers == before.controllers);
}

void PictureCommandsTest::showBmpWithABadDelayPreviewsThenReportsAndSendsNothing() {
    PanelFixture panel;
    panel.SetDelay("ten");
    ChooseFile(panel, CornerMarks());
    const ModuleSnapshot before = panel.form->Module().Snapshot();
    QSignalSpy ended(panel.form.get(), &TForm1::CommandEnded);
    QTest::mouseClick(panel.Find<QPushButton>("Button8"), Qt::LeftButton);
    QVERIFY(PreviewShown(panel));
    QVERIFY(panel.shown.isEmpty());  // the display part reports only once it has run

    QVERIFY(ended.count() > 0 || ended.wait(10000));
    QCOMPARE(panel.shown.size(), 1);
    QCOMPARE(panel.shown[0].kind, QString("message"));
    QCOMPARE(panel.shown[0].text, CouldNotShow);
    QVERIFY(PreviewShown(panel));
    QCOMPARE(Preview(panel)->geometry(), QRect(340, 100, 128, 64));
    const ModuleSnapshot after = panel.form->Module().Snapshot();
    QCOMPARE(after.writeCount, before.writeCount);
    QVERIFY(after.controllers == before.controllers);
    QVERIFY(panel.Find<QPushButton>("Button8")->isEnabled());
}

void PictureCommandsTest::unusableFileGivesTheMessageWithoutHanging_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("directory") << "directory";
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("endless device") << "/dev/zero";
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("missing file") << "missing";
}

void PictureCommandsTest::unusableFileGivesTheMessageWithoutHanging() {
    QFETCH(QString, kind);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QString path = scratch.filePath("picture.bmp");
    if (kind == "directory") {
        path = scratch.path();
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind.startsWith('/')) {
        path = kind;
    } else if (kind == "text") {
        WriteBytes(path, "BM is not enough to make a bitmap\n");
    } else if (kind == "empty") {
        WriteBytes(path, QByteArray());
    }

    PanelFixture panel;
    panel.SetDelay("0");
    ChooseFile(panel, path);
    QVERIFY(panel.ClickAndWait("Button8", 10000));
    QCOMPARE(panel.shown.size(), 1);
    QCOMPARE(panel.shown[0].kind, QString("message"));
    QCOMPARE(panel.shown[0].text, CouldNotShow);
    QVERIFY(!PreviewShown(panel));
    QCOMPARE(panel.form->Module().Snapshot().writeCount, std::uint64_t{0});
}

void PictureCommandsTest::statusLineNotesALayoutTheDisplayCannotShow_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("note");

    const QString scrambled = "the display expects 128 x 64 at 1 bit per pixel, so it shows scrambled.";
    QTest::newRow("128 x 64 one-bit") << Mono128x64() << QString();
    QTest::newRow("200 x 100") << SavedByQt(White(200, 100, QImage::Format_Mono))
                               << "The file is 200 x 100 at 1 bit per pixel; " + scrambled;
    QTest::newRow("24-bit") << SavedByQt(White(128, 64, QImage::Format_RGB32))
                            << "The file is 128 x 64 at 24 bits per pixel; " + scrambled;
    // Such a file loads as an 8-bit image: only its header tells the depth it has.
    QTest::newRow("4-bit") << SavedByQt(White(128, 64, QImage::Format_Indexed8))
                           << "The file is 128 x 64 at 4 bits per pixel; " + scrambled;

    QByteArray topDown = Mono128x64();
    PutLittle32(topDown, 22, -64);
    QTest::newRow("top row first")
        << topDown
        << QString(
               "The file is 128 x 64 at 1 bit per pixel, stored top row first; the display expects 128 x 64 "
               "at 1 bit per pixel, bottom row first, so it shows scrambled.");

    QByteArray gap = Mono128x64();
    gap.insert(62, QByteArray(4, '\0'));
    PutLittle32(gap, 2, static_cast<qint32>(gap.size()));
    PutLittle32(gap, 10, 66);
    QTest::newRow("pixels after a gap")
        << gap
        << QString(
               "The file is 128 x 64 at 1 bit per pixel, with its pixels from byte 66; the display expects "
               "128 x 64 at 1 bit per pixel, pixels from byte 62, so it shows scrambled.");

    QTest::newRow("cut short") << Mono128x64().left(600)
                               << QString(
                                      "The file holds only 600 of the 1086 bytes of a 128 x 64 bitmap; the "
                                      "rows it lacks show lit.");
}

void PictureCommandsTest::statusLineNotesALayoutTheDisplayCannotShow() {
    QFETCH(QByteArray, file);
    QFETCH(QString, note);
    QVERIFY(!file.isEmpty());
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    WriteBytes(scratch.filePath("picture.bmp"), file);

    PanelFixture panel;
    panel.SetDelay("0");
    ChooseFile(panel, scratch.filePath("picture.bmp"));
    QVERIFY(panel.ClickAndWait("Button8"));
    QVERIFY(panel.shown.isEmpty());
    QVERIFY(PreviewShown(panel));
    // Whatever the header says, the display gets the fixed-offset conversion.
    QCOMPARE(panel.form->Recorder().WriteCount(), PictureWrites);

    // The bitmap note has a line of its own on the status line.
    const QString status = panel.Find<QLabel>("StatusLine")->text();
    const QStringList notes = status.split("\n").filter(QRegularExpression("^The file"));
    QCOMPARE(notes, note.isEmpty() ? QStringList() : QStringList{note});
    QVERIFY(panel.ClickAndWait("Button3"));  // the note belongs to the picture on the display
    QVERIFY(!panel.Find<QLabel>("StatusLine")->text().contains("The file"));
}

void PictureCommandsTest::previewSitsUnderTheControlsUntilTheNextShowBmp() {
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString large = scratch.filePath("large.bmp");
    WriteBytes(large, SavedByQt(White(200, 100, QImage::Format_Mono)));

    PanelFixture panel;
    panel.SetDelay("0");
    ChooseFile(panel, CornerMarks());
    QVERIFY(panel.ClickAndWait("Button8"));
    QCOMPARE(Preview(panel)->geometry(), QRect(340, 100, 128, 64));
    QVERIFY(panel.ClickAndWait("Button3"));
    QVERIFY(PreviewShown(panel));

    ChooseFile(panel, large);
    QVERIFY(panel.ClickAndWait("Button8"));
    QCOMPARE(Preview(panel)->geometry(), QRect(340, 100, 200, 100));
    QVERIFY(panel.shown.isEmpty());
    // The large preview reaches over the virtual display, which must stay on top and keep its clicks.
    const QRect display = panel.form->Display().geometry();
    const QPoint overlap = display.topLeft() + QPoint(10, 5);
    QVERIFY(Preview(panel)->geometry().contains(overlap));
    QWidget* hit = panel.form->childAt(overlap);
    QVERIFY(hit != nullptr);
    QVERIFY2(hit == &panel.form->Display() || panel.form->Display().isAncestorOf(hit),
             qPrintable(hit->objectName()));

    // Only what a screen could show is kept of a picture wider than any screen.
    const QString wide = scratch.filePath("wide.bmp");
    WriteBytes(wide, SavedByQt(White(5000, 2, QImage::Format_Mono)));
    ChooseFile(panel, wide);
    QVERIFY(panel.ClickAndWait("Button8"));
    QCOMPARE(Preview(panel)->geometry(), QRect(340, 100, 4096, 2));
    QVERIFY(panel.shown.isEmpty());
}

}  // namespace lcd::testing

QTEST_MAIN(lcd::testing::PictureCommandsTest)
#include "PictureCommandsTest.moc"
