#include "CommandRunner.h"

#include <exception>

namespace lcd {

CommandRunner::CommandRunner(QObject* parent) : QObject(parent) {}

CommandRunner::~CommandRunner() {
    StopAndWait();
}

bool CommandRunner::Start(std::function<void()> command) {
    if (running_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    stop_.Clear();
    running_ = true;
    const quint64 generation = ++generation_;
    thread_ = std::thread([this, generation, command = std::move(command)] {
        Outcome outcome = Outcome::Done;
        QString errorText;
        try {
            command();
        } catch (const CommandStopped&) {
            outcome = Outcome::Stopped;
        } catch (const std::exception& error) {
            outcome = Outcome::Failed;
            errorText = QString::fromUtf8(error.what());
        } catch (...) {
            outcome = Outcome::Failed;
            errorText = QStringLiteral("The command failed with an unknown error.");
        }
        QMetaObject::invokeMethod(
            this, [this, generation, outcome, errorText] { Complete(generation, outcome, errorText); },
            Qt::QueuedConnection);
    });
    return true;
}

void CommandRunner::StopAndWait() {
    stop_.RequestStop();
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = false;
}

void CommandRunner::Complete(quint64 generation, Outcome outcome, const QString& errorText) {
    if (generation != generation_ || !running_) {
        return;  // already ended by StopAndWait
    }
    thread_.join();
    running_ = false;
    emit Finished(outcome, errorText);
}

}  // namespace lcd
