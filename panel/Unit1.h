#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "CommandRunner.h"
#include "Dialogs.h"
#include "PanelCommands.h"
#include "display/DelaySource.h"
#include "display/DisplayBus.h"
#include "display/PortSystemCalls.h"
#include "display/TDLPortIO.h"
#include "drawing/BitmapImport.h"
#include "module/BusRecorder.h"
#include "module/ModuleModel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace lcd {

class VirtualDisplay;

// The picture-file open dialog: keeps the last chosen file name; a cancel keeps the earlier one.
class TOpenPictureDialog {
  public:
    QString FileName;
    bool Execute(Dialogs& dialogs);
};

// The test panel. Each button's command runs on the command runner with a snapshot of the settings it
// reads; while it runs, the command buttons and settings are disabled and Stop ends it at once.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // dialogs: where boxes go, null for the real message boxes; calls: the kernel behind port access,
    // null for this machine's.
    explicit TForm1(std::unique_ptr<Dialogs> dialogs = nullptr, PortSystemCalls* calls = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TDLPortIO DLPortIO1;
    TOpenPictureDialog OpenPictureDialog1;

    const ModuleModel& Module() const { return module_; }
    ModuleModel& Module() { return module_; }
    const BusRecorder& Recorder() const { return recorder_; }
    const CommandRunner& Runner() const { return runner_; }
    VirtualDisplay& Display() const { return *virtualDisplay_; }
    // The pause after each step of Test; tests set it to zero.
    std::chrono::milliseconds testStepPause = TestStepPause;

    void Button1Click();  // StartDriver
    void Button2Click();  // Initialize LCD
    void Button3Click();  // Clear Display
    void Button4Click();  // Write Text
    void Button5Click();  // Draw Picture
    void Button6Click();  // Test
    void Button7Click();  // Open BMP
    void Button8Click();  // Show BMP
    void StopClick();

    void SaveImage();
    void SaveBusTrace();
    void PowerCycleModule();

  signals:
    // After a command's outcome has been reported.
    void CommandEnded(lcd::CommandRunner::Outcome outcome);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct RunningCommand {
        QString name;
        int expectedWrites = 0;  // 0 when not known in advance
        bool reportsAsShowBMP = false;
    };

    void BuildControls();
    void BuildModulePanel();
    void RunCommand(const RunningCommand& command, std::function<void()> body);
    void CommandFinished(CommandRunner::Outcome outcome, const QString& errorText);
    void SetCommandControlsEnabled(bool enabled);
    void UpdateStatus();
    QString PortState() const;
    QString CommandState(std::uint64_t writes) const;
    bool ShowBitmapPreview(const QString& fileName);
    void ShowModuleMenu(const QPoint& globalPosition);

    std::unique_ptr<Dialogs> dialogs_;
    ModuleModel module_;
    BusRecorder recorder_;
    FixedDelayText delayText_;
    CommandRunner runner_;
    DisplayBus bus_;
    BitmapImport bitmap_;
    TestProgress testProgress_;

    RunningCommand command_;
    QString lastOutcome_;
    QString bitmapNote_;
    std::uint64_t writesAtStart_ = 0;
    QElapsedTimer commandClock_;
    QTimer statusTimer_;
    bool commandDone_ = false;  // the last command ran to its end
    bool closing_ = false;
    bool placed_ = false;

    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1;
    QLineEdit* Edit1;
    QLabel* BitmapPreview;
    VirtualDisplay* virtualDisplay_;
    QToolButton* moduleButton_;
    QMenu* moduleMenu_;
    QPushButton* stopButton_;
    QProgressBar* progress_;
    QLabel* statusLine_;
};

}  // namespace lcd
