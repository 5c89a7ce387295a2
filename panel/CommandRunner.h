#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <thread>

#include "display/StopSignal.h"

namespace lcd {

// Runs one command at a time on its own thread, so the window keeps repainting and can offer Stop.
// The outcome comes back to the window's thread through Finished. Nothing on the command thread may
// touch a widget.
class CommandRunner : public QObject {
    Q_OBJECT
  public:
    enum class Outcome { Done, Stopped, Failed };
    Q_ENUM(Outcome)

    explicit CommandRunner(QObject* parent = nullptr);
    ~CommandRunner() override;

    // Starts the command unless one is running; returns whether it started.
    bool Start(std::function<void()> command);
    // Asks the running command to stop; it ends at once, leaving the bus clean.
    void RequestStop() { stop_.RequestStop(); }
    // Stops the running command, if any, and waits for its thread (for closing the window).
    void StopAndWait();
    bool IsRunning() const { return running_; }
    const StopSignal& Signal() const { return stop_; }

  signals:
    void Finished(lcd::CommandRunner::Outcome outcome, const QString& errorText);

  private:
    void Complete(quint64 generation, Outcome outcome, const QString& errorText);

    StopSignal stop_;
    std::thread thread_;
    bool running_ = false;
    quint64 generation_ = 0;  // tells a late report of an abandoned command from the current one
};

}  // namespace lcd
