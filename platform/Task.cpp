#include "Task.h"

#include <QFile>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
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

} // namespace

struct Task::State {
    ReadabilityHandler readabilityHandler;
    ReadabilityHandler errorReadabilityHandler;
    TerminationHandler terminationHandler;

    mutable std::mutex mutex;
    std::condition_variable ended;
    Task* task = nullptr; // cleared when the task is destroyed from its own thread
    int outputFd = -1;
    int errorFd = -1; // only with an error readability handler
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

bool Task::launch(QString* error)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot launch %1: %2").arg(launchPath_, reason);
        return false;
    };
    if (state_->launched)
        return fail(QStringLiteral("it was launched already"));

    // Both ends close on exec: a task launched at the same time on another thread must not
    // inherit this pipe, or this task would never see the end of its output.
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return fail(qt_error_string(errno));
    int errorFds[2] = {-1, -1};
    if (state_->errorReadabilityHandler && ::pipe2(errorFds, O_CLOEXEC) != 0) {
        const int pipeError = errno;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return fail(qt_error_string(pipeError));
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    if (errorFds[1] >= 0)
        posix_spawn_file_actions_adddup2(&actions, errorFds[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);

    const QByteArray program = QFile::encodeName(launchPath_);
    std::vector<QByteArray> encoded{program};
    for (const QString& argument : arguments_)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawnError =
        posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (errorFds[1] >= 0)
        ::close(errorFds[1]);
    if (spawnError != 0) {
        ::close(pipeFds[0]);
        if (errorFds[0] >= 0)
            ::close(errorFds[0]);
        return fail(qt_error_string(spawnError));
    }

    {
        std::lock_guard lock(state_->mutex);
        state_->launched = true;
        state_->running = true;
        state_->pid = pid;
        state_->outputFd = pipeFds[0];
        state_->errorFd = errorFds[0];
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
    std::thread errorReader;
    if (state->errorFd >= 0)
        errorReader = std::thread(deliverLines, state->errorFd, state->errorReadabilityHandler);
    deliverLines(state->outputFd, state->readabilityHandler);
    ::close(state->outputFd);
    if (errorReader.joinable()) {
        errorReader.join();
        ::close(state->errorFd);
    }

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
