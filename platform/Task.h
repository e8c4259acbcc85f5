#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <thread>

namespace tolvex {

// Runs a program with a pipe on its standard output, like a shell pipeline of one.
//
// launch() starts the program (posix_spawn) and one thread of the task's own. That thread reads
// the output and hands every line to the readability handler (without its line feed; a last line
// without one is delivered at the end of the output), then waits for the program to end, marks
// the task as no longer running and calls the termination handler. So the termination handler
// always comes after the last message, on the same thread, and isRunning() is already false in
// it. The output is read to its end before the program is reaped: a program that hands its
// standard output to a child that outlives it keeps the task running until that child closes it.
//
// The environment and the working directory are inherited. So is standard input, unless bytes
// for it are set: then it is a pipe that a third thread of the task's own fills with those bytes
// and closes, whatever the program writes meanwhile. A program that ends before reading them all
// simply leaves the rest unread. Standard error is inherited too, unless an error readability
// handler is set, which makes it a second pipe whose lines go to that handler from a second reader
// thread. The termination handler then also comes after its last line. The program and its
// arguments reach the system as the bytes NativePath gives them, so any file name passes intact.
// A task is launched at most once. Destroying a launched task waits for it to end, except from
// inside its own handlers, where the task may be destroyed and its thread finishes alone.
class Task {
public:
    enum class TerminationReason { Exit, UncaughtSignal };

    using ReadabilityHandler = std::function<void(const QByteArray& message)>;
    using TerminationHandler = std::function<void(Task& task)>;

    Task(QString launchPath, QStringList arguments);
    ~Task();
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // Handlers are taken at launch; set them before.
    void setReadabilityHandler(ReadabilityHandler handler);
    void setTerminationHandler(TerminationHandler handler);
    void setErrorReadabilityHandler(ReadabilityHandler handler);
    // What the program reads on its standard input, which then ends. Set it before launch.
    void setStandardInput(QByteArray bytes);

    // Starts the program. False, with a readable reason in `error`, when it cannot be started
    // (missing, not executable, already launched); the handlers are then never called.
    bool launch(QString* error = nullptr);

    // Blocks until the program has ended and the termination handler has returned. Returns at
    // once for a task that was never launched, and when called from the task's own handlers.
    void waitUntilExit();

    // True from a successful launch until the program has ended. Safe from any thread.
    bool isRunning() const;

    // Sends SIGTERM to the program if it is still running; does nothing otherwise.
    void terminate();

    // Valid once the task has ended: the exit code, or the number of the signal that killed it.
    int terminationStatus() const;
    TerminationReason terminationReason() const;

    // The process id while it runs and after; 0 before launch.
    qint64 processIdentifier() const;

    const QString& launchPath() const { return launchPath_; }
    const QStringList& arguments() const { return arguments_; }

private:
    struct State;

    static void run(std::shared_ptr<State> state);

    QString launchPath_;
    QStringList arguments_;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace tolvex
