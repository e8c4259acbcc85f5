#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvex {

namespace {
// A signal handler may only write to a descriptor; the event loop reads the other end.
int pair[2] = {-1, -1};
constexpr int signals[] = {SIGTERM, SIGINT, SIGHUP};

void noteSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pair[0], &byte, 1);
}

void handleWith(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    for (const int signal : signals)
        ::sigaction(signal, &action, nullptr);
}
} // namespace

TerminationSignals::TerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return;
    notifier_ = new QSocketNotifier(pair[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(pair[1], &byte, 1);
        QCoreApplication::quit();
    });
    handleWith(noteSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    handleWith(SIG_DFL);
    ::close(pair[0]);
    ::close(pair[1]);
}

} // namespace tolvex
