#include "Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "BitmapPreview.h"
#include "Dialogs.h"
#include "VirtualDisplay.h"

namespace lcd {
namespace {

const QString CouldNotOpenDriver = QStringLiteral("Could not open the DriverLINX driver.");
const QString CouldNotShowBitmap = QStringLiteral("Could not load or display bitmap");

const QRect OuterBounds(234, 218, 685, 549);

// Where no specified control sits: right of the Memo and the BMP buttons, below the preview's place.
constexpr int ModuleLeft = 400;
constexpr int ModuleTop = 184;

const QString Advice = QStringLiteral(
    "What can help: join the lp group (sudo usermod -aG lp $USER, then log in again) and load the "
    "ppdev module (sudo modprobe ppdev); or allow direct I/O with sudo setcap cap_sys_rawio+ep on this "
    "program (a kernel "
    "locked down by Secure Boot refuses it even then); set the port to SPP/normal mode in the BIOS. A USB "
    "printer adapter cannot drive the display's pins.");

QFont PanelFont() {
    // The layout was made for 8-point MS Sans Serif. Liberation Sans is wider: at 10 pixels every caption
    // still fits its control, labels included.
    const QString family = QFontDatabase::hasFamily("MS Sans Serif") ? "MS Sans Serif" : "Liberation Sans";
    QFont font(family);
    font.setPixelSize(10);
    return font;
}

template <typename Control>
Control* Place(QWidget* parent, const char* name, const QRect& geometry) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* button = Place<QPushButton>(parent, name, QRect(left, top, 75, 25));
    button->setText(caption);
    button->setAutoDefault(false);
    return button;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setText(caption);
    return label;
}

std::vector<std::string> FirstLines(const QString& text, int count) {
    std::vector<std::string> lines;
    const QStringList all = text.split('\n');
    for (int i = 0; i < all.size() && i < count; ++i) {
        lines.push_back(all[i].toStdString());
    }
    return lines;
}

}  // namespace

bool TOpenPictureDialog::Execute(Dialogs& dialogs) {
    const QString chosen =
        dialogs.OpenFileName(FileName, {QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("All files (*)")});
    if (chosen.isEmpty()) {
        return false;
    }
    FileName = chosen;
    return true;
}

TForm1::TForm1(std::unique_ptr<Dialogs> dialogs, PortSystemCalls* calls, QWidget* parent)
    : QWidget(parent),
      DLPortIO1(calls != nullptr ? *calls : LinuxPortSystemCalls()),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)),
      bus_(DLPortIO1, delayText_, runner_.Signal()) {
    setObjectName("Form1");
    setWindowTitle("LCD Test for KS0108 / HD61202");
    setFont(PanelFont());
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    // Until the window system tells the frame's size, assume a common one so the outer bounds come out right.
    setGeometry(OuterBounds.adjusted(4, 30, -4, -4));

    DLPortIO1.AttachListener(module_);
    DLPortIO1.AttachListener(recorder_);

    BuildControls();
    BuildModulePanel();
    connect(&runner_, &CommandRunner::Finished, this, &TForm1::CommandFinished);
    connect(&statusTimer_, &QTimer::timeout, this, &TForm1::UpdateStatus);
    UpdateStatus();
}

TForm1::~TForm1() {
    runner_.StopAndWait();
}

void TForm1::BuildControls() {
    Label(this, "Label2", "Press this 1st", QRect(0, 48, 62, 13));
    Label(this, "Label3", "Then this", QRect(0, 96, 44, 13));
    Button1 = Button(this, "Button1", "StartDriver", 72, 40);
    Button2 = Button(this, "Button2", "Initialize LCD", 72, 88);
    Button3 = Button(this, "Button3", "Clear Display", 168, 40);
    Button4 = Button(this, "Button4", "Write Text", 72, 200);
    Memo1 = Place<QPlainTextEdit>(this, "Memo1", QRect(160, 200, 217, 129));
    Memo1->setPlainText("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button5 = Button(this, "Button5", "Draw Picture", 72, 352);
    CheckBox1 = Place<QCheckBox>(this, "CheckBox1", QRect(160, 176, 97, 17));
    CheckBox1->setText("Small Font");
    Button6 = Button(this, "Button6", "Test", 216, 112);
    Button7 = Button(this, "Button7", "Open BMP", 336, 16);
    Button8 = Button(this, "Button8", "Show BMP", 336, 56);
    Label(this, "Label1", "Delay:", QRect(56, 424, 30, 13));
    Edit1 = Place<QLineEdit>(this, "Edit1", QRect(88, 416, 121, 21));
    Edit1->setText("1");

    // The preview is painted on the window itself, so every control stays above it and takes its own clicks.
    BitmapPreview = Place<QLabel>(this, "BitmapPreview", QRect(340, 100, 0, 0));
    BitmapPreview->setAttribute(Qt::WA_TransparentForMouseEvents);
    BitmapPreview->hide();

    const QList<QWidget*> tabOrder{Button1,   Button2, Button3, Button4, Memo1, Button5,
                                   CheckBox1, Button6, Button7, Button8, Edit1};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
}

void TForm1::BuildModulePanel() {
    virtualDisplay_ = new VirtualDisplay(module_, this);
    virtualDisplay_->setObjectName("VirtualDisplay");
    virtualDisplay_->move(ModuleLeft, ModuleTop);
    const int displayWidth = virtualDisplay_->width();
    const int below = ModuleTop + virtualDisplay_->height() + 8;

    moduleMenu_ = new QMenu(this);
    moduleMenu_->setObjectName("ModuleMenu");
    moduleMenu_->addAction("Save image...", this, &TForm1::SaveImage);
    moduleMenu_->addAction("Save bus trace...", this, &TForm1::SaveBusTrace);
    moduleMenu_->addAction("Power-cycle module", this, &TForm1::PowerCycleModule);
    connect(virtualDisplay_, &VirtualDisplay::ContextMenuAsked, this, &TForm1::ShowModuleMenu);

    moduleButton_ = Place<QToolButton>(this, "ModuleButton", QRect(ModuleLeft, below, 90, 25));
    moduleButton_->setText("Module");
    moduleButton_->setMenu(moduleMenu_);
    moduleButton_->setPopupMode(QToolButton::InstantPopup);

    stopButton_ =
        Place<QPushButton>(this, "StopButton", QRect(ModuleLeft + displayWidth - 75, below, 75, 25));
    stopButton_->setText("Stop");
    stopButton_->setAutoDefault(false);
    stopButton_->setEnabled(false);
    connect(stopButton_, &QPushButton::clicked, this, &TForm1::StopClick);

    progress_ = Place<QProgressBar>(this, "Progress", QRect(ModuleLeft, below + 33, displayWidth, 14));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);

    statusLine_ = Place<QLabel>(this, "StatusLine", QRect(8, 446, 665, 64));
    statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusLine_->setWordWrap(true);
    statusLine_->setFrameShape(QFrame::StyledPanel);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || windowHandle() == nullptr) {
        return;
    }
    placed_ = true;
    const QMargins frame = windowHandle()->frameMargins();
    setGeometry(OuterBounds.marginsRemoved(frame));
}

void TForm1::closeEvent(QCloseEvent* event) {
    closing_ = true;
    runner_.StopAndWait();
    DLPortIO1.CloseDriver();
    event->accept();
}

void TForm1::ShowModuleMenu(const QPoint& globalPosition) {
    moduleMenu_->popup(globalPosition);
}

// --- commands ---------------------------------------------------------------------------------------

void TForm1::Button1Click() {
    DLPortIO1.DriverPath = QCoreApplication::applicationDirPath().toStdString();
    DLPortIO1.OpenDriver();
    UpdateStatus();
    if (!DLPortIO1.ActiveHW()) {
        QStringList reasons;
        for (const std::string& reason : DLPortIO1.FailureReasons()) {
            reasons << QString::fromStdString(reason);
        }
        reasons << Advice;
        dialogs_->ErrorBox(CouldNotOpenDriver, reasons.join("\n\n"));
    }
}

void TForm1::Button2Click() {
    RunCommand({"Initialize LCD"}, [this] { InitLCD(bus_); });
}

void TForm1::Button3Click() {
    RunCommand({"Clear Display", 4266}, [this] { ClearDisplay(bus_); });
}

void TForm1::Button4Click() {
    RunCommand({"Write Text"}, [this, lines = FirstLines(Memo1->toPlainText(), DisplayPages),
                                smallFont = CheckBox1->isChecked()] { WriteText(bus_, lines, smallFont); });
}

void TForm1::Button5Click() {
    RunCommand({"Draw Picture", 4256}, [this] { DrawPicture(bus_); });
}

void TForm1::Button6Click() {
    if (runner_.IsRunning()) {
        return;  // the progress belongs to the Test that runs
    }
    testProgress_.page = -1;
    testProgress_.step = -1;
    RunCommand({"Test"},
               [this, pause = testStepPause] { RunTest(bus_, runner_.Signal(), testProgress_, pause); });
}

void TForm1::Button7Click() {
    OpenPictureDialog1.Execute(*dialogs_);
}

void TForm1::Button8Click() {
    if (runner_.IsRunning() || closing_) {
        return;
    }
    const QString fileName = OpenPictureDialog1.FileName;
    if (!ShowBitmapPreview(fileName)) {
        dialogs_->ShowMessage(CouldNotShowBitmap);
        return;
    }
    RunCommand({"Show BMP", 4256, true}, [this, path = QFile::encodeName(fileName).toStdString()] {
        ShowBMPOnDisplay(bus_, bitmap_, path);
    });
}

bool TForm1::ShowBitmapPreview(const QString& fileName) {
    const std::optional<PreviewedBitmap> bitmap = ReadBitmapPreview(fileName);
    if (!bitmap) {
        return false;
    }
    BitmapPreview->setPixmap(QPixmap::fromImage(bitmap->image));
    BitmapPreview->resize(bitmap->image.size());
    BitmapPreview->show();
    BitmapPreview->lower();
    bitmapNote_ = bitmap->note;
    return true;
}

void TForm1::StopClick() {
    runner_.RequestStop();
}

void TForm1::RunCommand(const RunningCommand& command, std::function<void()> body) {
    if (runner_.IsRunning() || closing_) {
        return;
    }
    if (!command.reportsAsShowBMP) {
        bitmapNote_.clear();
    }
    command_ = command;
    commandDone_ = false;
    delayText_.SetText(Edit1->text().toStdString());
    recorder_.Clear();
    module_.ResetTimingChecks();
    writesAtStart_ = module_.Snapshot().writeCount;
    commandClock_.start();
    SetCommandControlsEnabled(false);
    runner_.Start(std::move(body));
    statusTimer_.start(100);
    UpdateStatus();
}

void TForm1::CommandFinished(CommandRunner::Outcome outcome, const QString& errorText) {
    statusTimer_.stop();
    virtualDisplay_->Refresh();
    const QString seconds = QString::number(static_cast<double>(commandClock_.elapsed()) / 1000.0, 'f', 2);
    switch (outcome) {
        case CommandRunner::Outcome::Done:
            commandDone_ = true;
            lastOutcome_ = QString("%1 done in %2 s.").arg(command_.name, seconds);
            break;
        case CommandRunner::Outcome::Stopped:
            lastOutcome_ = QString("%1 stopped after %2 s.").arg(command_.name, seconds);
            break;
        case CommandRunner::Outcome::Failed:
            lastOutcome_ = QString("%1 failed: %2").arg(command_.name, errorText);
            break;
    }
    SetCommandControlsEnabled(true);
    UpdateStatus();
    if (outcome == CommandRunner::Outcome::Failed && !closing_) {
        if (command_.reportsAsShowBMP) {
            dialogs_->ShowMessage(CouldNotShowBitmap);
        } else {
            dialogs_->ShowException(errorText);
        }
    }
    emit CommandEnded(outcome);
}

void TForm1::SetCommandControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button1, Button2, Button3, Button4, Button5, Button6, Button7,
                                         Button8, Memo1, CheckBox1, Edit1}) {
        control->setEnabled(enabled);
    }
    for (QAction* action : moduleMenu_->actions()) {
        action->setEnabled(enabled);  // the trace and the module belong to the command while it runs
    }
    stopButton_->setEnabled(!enabled);
}

// --- status line --------------------------------------------------------------------------------------

QString TForm1::PortState() const {
    if (!DLPortIO1.ActiveHW()) {
        return "no port open: writes go to the virtual display only";
    }
    return QString("port 0x378 open through %1").arg(QString::fromStdString(DLPortIO1.OpenedThrough()));
}

QString TForm1::CommandState(std::uint64_t writes) const {
    if (!runner_.IsRunning()) {
        return lastOutcome_;
    }
    if (command_.name == "Test") {
        const int page = testProgress_.page;
        return page < 0 ? QString("Test running.")
                        : QString("Test running: page %1 of 8, step %2 of 128.")
                              .arg(page + 1)
                              .arg(testProgress_.step + 1);
    }
    return QString("%1 running: %2 port writes.").arg(command_.name).arg(writes);
}

void TForm1::UpdateStatus() {
    const ModuleSnapshot snapshot = module_.Snapshot();
    const std::uint64_t writes = snapshot.writeCount - writesAtStart_;
    // First line: the port and the command; below it, one line for each thing worth knowing.
    QStringList parts{(PortState() + ".  " + CommandState(writes)).trimmed()};
    if (!bitmapNote_.isEmpty()) {
        parts << bitmapNote_;
    }
    if (!runner_.IsRunning() && snapshot.timing.AnyViolation()) {
        parts << QString::fromStdString(snapshot.timing.Verdict());
    }
    if (recorder_.Overflowed() && !runner_.IsRunning()) {
        parts << "The bus trace holds only the command's first writes: it reached its memory limit.";
    }
    statusLine_->setText(parts.join("\n"));

    int percent = runner_.IsRunning() || !commandDone_ ? 0 : 100;
    if (runner_.IsRunning()) {
        if (command_.name == "Test") {
            const int done = std::max(0, testProgress_.page * 128 + testProgress_.step);
            percent = done * 100 / (8 * 128);
        } else if (command_.expectedWrites > 0) {
            percent = static_cast<int>(
                std::min<std::uint64_t>(100, writes * 100 / static_cast<unsigned>(command_.expectedWrites)));
        }
    }
    progress_->setValue(percent);
}

// --- the virtual module's menu -------------------------------------------------------------------------

void TForm1::SaveImage() {
    const QString path = dialogs_->SaveFileName("Save image", "module.png", "PNG images (*.png)");
    if (path.isEmpty()) {
        return;
    }
    // The chosen file gets the picture enlarged for a report; beside it, "-1x" holds the 128 x 64 dots.
    const QFileInfo target(path);
    const QString oneToOne = target.path() + "/" + target.completeBaseName() + "-1x.png";
    if (!virtualDisplay_->Image(4).save(path, "PNG") || !virtualDisplay_->Image(1).save(oneToOne, "PNG")) {
        dialogs_->ErrorBox(QString("Could not save the image to %1.").arg(path), QString());
    }
}

void TForm1::SaveBusTrace() {
    if (runner_.IsRunning()) {
        return;
    }
    const QString path =
        dialogs_->SaveFileName("Save bus trace", "bus-trace.vcd", "Value change dumps (*.vcd)");
    if (path.isEmpty()) {
        return;
    }
    try {
        recorder_.SaveVcd(path.toStdString());
    } catch (const std::exception& error) {
        dialogs_->ShowException(QString::fromUtf8(error.what()));
    }
}

void TForm1::PowerCycleModule() {
    if (runner_.IsRunning()) {
        return;
    }
    module_.PowerCycle();
    virtualDisplay_->Refresh();
}

}  // namespace lcd
