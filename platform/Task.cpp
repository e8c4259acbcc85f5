#include "Task.h"

#include "platform/NativePath.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace tolvex {

namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr int kUnknownStatus = -1;

// Reads `fd` to its end and hands every line to `deliver`, without its line feed.
void deliverLines(int fd, const Task::ReadabilityHandler& deliver)
{
    QByteArray pending;
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        pending.append(chunk.data(), count);
        qsizetype lineStart = 0;
        for (qsizetype lineEnd; (lineEnd = pending.indexOf('\n', lineStart)) >= 0;
             lineStart = lineEnd + 1) {
            if (deliver)
                deliver(pending.sliced(lineStart, lineEnd - lineStart));
        }
        pending.remove(0, lineStart);
    }
    if (!pending.isEmpty() && deliver)
        deliver(pending);
}

// A pipe whose ends close with it unless taken.
struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;

    Pipe() = default;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe()
    {
        closeReadEnd();
        closeWriteEnd();
    }

    bool open()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return false;
        readEnd = ends[0];
        writeEnd = ends[1];
        return true;
    }
    void closeReadEnd() { closeEnd(readEnd); }
    void closeWriteEnd() { closeEnd(writeEnd); }
    int takeReadEnd() { return std::exchange(readEnd, -1); }
    int takeWriteEnd() { return std::exchange(writeEnd, -1); }

private:
    static void closeEnd(int& end)
    {
        if (end >= 0)
            ::close(std::exchange(end, -1));
    }
};

// The child starts with no blocked signals and default dispositions, whatever this process
// ignores, so that terminate() always reaches it.
void resetSignals(posix_spawnattr_t& attributes)
{
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

// Writes `bytes` to `fd` and closes it. A program that stops reading early breaks the pipe: the
// write then fails with EPIPE, and the SIGPIPE it raises stays blocked on this thread, which ends.
void feedInput(int fd, const QByteArray& bytes)
{
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        sent += count;
    }
    ::close(fd);
}

} // namespace

struct Task::State {
    ReadabilityHandler readabilityHandler;
    ReadabilityHandler errorReadabilityHandler;
    TerminationHandler terminationHandler;
    std::optional<QByteArray> standardInput;

    mutable std::mutex mutex;
    std::condition_variable ended;
    Task* task = nullptr; // cleared when the task is destroyed from its own thread
    int outputFd = -1;
    int errorFd = -1; // only with an error readability handler
    int inputFd = -1; // only with standard input set
    pid_t pid = 0;
    bool launched = false;
    bool running = false;
    bool finished = false; // the termination handler has returned
    int status = 0;
    TerminationReason reason = TerminationReason::Exit;
    std::thread::id threadId;
};

Task::Task(QString launchPath, QStringList arguments)
    : launchPath_(std::move(launchPath)), arguments_(std::move(arguments)),
      state_(std::make_shared<State>())
{
    state_->task = this;
}

Task::~Task()
{
    if (!thread_.joinable())
        return;
    if (std::this_thread::get_id() == thread_.get_id()) {
        std::lock_guard lock(state_->mutex);
        state_->task = nullptr;
        thread_.detach();
    } else {
        thread_.join();
    }
}

void Task::setReadabilityHandler(ReadabilityHandler handler)
{
    state_->readabilityHandler = std::move(handler);
}

void Task::setTerminationHandler(TerminationHandler handler)
{
    state_->terminationHandler = std::move(handler);
}

void Task::setErrorReadabilityHandler(ReadabilityHandler handler)
{
    state_->errorReadabilityHandler = std::move(handler);
}

void Task::setStandardInput(QByteArray bytes)
{
    state_->standardInput = std::move(bytes);
}

bool Task::launch(QString* error)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot launch %1: %2").arg(launchPath_, reason);
        return false;
    };
    if (state_->launched)
        return fail(QStringLiteral("it was launched already"));

    // Every end closes on exec: a task launched at the same time on another thread must not
    // inherit these pipes, or this task would never see the end of its output, nor its program
    // the end of its input.
    Pipe output;
    Pipe errors;
    Pipe input;
    if (!output.open() || (state_->errorReadabilityHandler && !errors.open()) ||
        (state_->standardInput && !input.open()))
        return fail(qt_error_string(errno));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output.writeEnd, STDOUT_FILENO);
    if (errors.writeEnd >= 0)
        posix_spawn_file_actions_adddup2(&actions, errors.writeEnd, STDERR_FILENO);
    if (input.readEnd >= 0)
        posix_spawn_file_actions_adddup2(&actions, input.readEnd, STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);

    const QByteArray program = encodeNativePath(launchPath_);
    std::vector<QByteArray> encoded{program};
    for (const QString& argument : arguments_)
        encoded.push_back(encodeNativePath(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawnError =
        posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    output.closeWriteEnd();
    errors.closeWriteEnd();
    input.closeReadEnd();
    if (spawnError != 0)
        return fail(qt_error_string(spawnError));

    {
        std::lock_guard lock(state_->mutex);
        state_->launched = true;
        state_->running = true;
        state_->pid = pid;
        state_->outputFd = output.takeReadEnd();
        state_->errorFd = errors.takeReadEnd();
        state_->inputFd = input.takeWriteEnd();
    }
    thread_ = std::thread(&Task::run, state_);
    return true;
}

void Task::run(std::shared_ptr<State> state)
{
    {
        std::lock_guard lock(state->mutex);
        state->threadId = std::this_thread::get_id();
    }
    std::thread inputFeeder;
    if (state->inputFd >= 0)
        inputFeeder = std::thread(feedInput, state->inputFd, *state->standardInput);
    std::thread errorReader;
    if (state->errorFd >= 0)
        errorReader = std::thread(deliverLines, state->errorFd, state->errorReadabilityHandler);
    deliverLines(state->outputFd, state->readabilityHandler);
    ::close(state->outputFd);
    if (errorReader.joinable()) {
        errorReader.join();
        ::close(state->errorFd);
    }
    if (inputFeeder.joinable())
        inputFeeder.join();

    // Wait without reaping first: the process id stays ours until it is reaped under the lock,
    // so terminate() can never signal a process that merely got the same id later.
    siginfo_t info{};
    while (::waitid(P_PID, state->pid, &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    Task* owner = nullptr;
    {
        std::lock_guard lock(state->mutex);
        int status = 0;
        pid_t reaped = 0;
        while ((reaped = ::waitpid(state->pid, &status, 0)) < 0 && errno == EINTR) {
        }
        if (reaped < 0) {
            // Someone else reaped it: the outcome is unknown, which must not read as success.
            state->reason = TerminationReason::Exit;
            state->status = kUnknownStatus;
        } else if (WIFSIGNALED(status)) {
            state->reason = TerminationReason::UncaughtSignal;
            state->status = WTERMSIG(status);
        } else {
            state->reason = TerminationReason::Exit;
            state->status = WEXITSTATUS(status);
        }
        state->running = false;
        owner = state->task;
    }
    if (owner && state->terminationHandler)
        state->terminationHandler(*owner);
    {
        std::lock_guard lock(state->mutex);
        state->finished = true;
    }
    state->ended.notify_all();
}

void Task::waitUntilExit()
{
    std::unique_lock lock(state_->mutex);
    if (!state_->launched || state_->threadId == std::this_thread::get_id())
        return;
    state_->ended.wait(lock, [this] { return state_->finished; });
}

bool Task::isRunning() const
{
    std::lock_guard lock(state_->mutex);
    return state_->running;
}

void Task::terminate()
{
    std::lock_guard lock(state_->mutex);
    if (state_->running)
        ::kill(state_->pid, SIGTERM);
}

int Task::terminationStatus() const
{
    std::lock_guard lock(state_->mutex);
    return state_->status;
}

Task::TerminationReason Task::terminationReason() const
{
    std::lock_guard lock(state_->mutex);
    return state_->reason;
}

qint64 Task::processIdentifier() const
{
    std::lock_guard lock(state_->mutex);
    return state_->pid;
}

} // namespace tolvex
