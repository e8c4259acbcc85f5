// tolx: overwrites files and folders with a shredding method, then removes them.

#include "tolx/ChunkProducer.h"
#include "tolx/CommandLine.h"
#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/RandomStream.h"
#include "tolx/Reporter.h"
#include "tolx/TreeWalker.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace tolvex::tolx;

namespace {

// Large enough for the device to stream, small enough that two of them keep memory low.
constexpr std::size_t kChunkSize = 4 * 1024 * 1024;
constexpr int kFailureStatus = 1;

void print(int fd, const std::string& text)
{
    [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
}

// A caller that ignores or blocks SIGTERM passes that on to us; the promise is to stop at once.
void restoreDefaultSignals()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, SIGTERM);
    sigaddset(&unblocked, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
}

// Every folder level of a deep tree holds one descriptor while the walk is below it.
void allowDeepTrees()
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

int shred(const Options& options)
{
    RandomStream random;
    ChunkProducer producer(random, kChunkSize);
    FileOverwriter overwriter(producer);
    EntryRemover remover(random);
    JournalPurger purger;
    Reporter reporter(STDOUT_FILENO, STDERR_FILENO, options.verbose);
    TreeWalker walker(options, reporter, overwriter, remover, purger, random);
    bool allDestroyed = true;
    for (const std::string& path : options.paths)
        allDestroyed = walker.destroy(path) && allDestroyed;
    purger.purge();
    return allDestroyed ? 0 : kFailureStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    restoreDefaultSignals();
    const Invocation invocation = CommandLine::parse(argc, argv);
    switch (invocation.action) {
    case Invocation::Action::Help:
        print(STDOUT_FILENO, CommandLine::help());
        return 0;
    case Invocation::Action::Version:
        print(STDOUT_FILENO, std::string("tolx ") + TOLVEX_VERSION + "\n");
        return 0;
    case Invocation::Action::UsageError:
        print(STDERR_FILENO, "tolx: " + invocation.error + "\n" + CommandLine::usage());
        return CommandLine::kUsageErrorStatus;
    case Invocation::Action::Shred:
        break;
    }
    allowDeepTrees();
    try {
        return shred(invocation.options);
    } catch (const std::exception& failure) {
        print(STDERR_FILENO, std::string("tolx: ") + failure.what() + "\n");
        return kFailureStatus;
    }
}
