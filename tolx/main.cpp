// tolx: overwrites files and folders with a shredding method, then removes them.

#include "tolx/ChunkProducer.h"
#include "tolx/CommandLine.h"
#include "tolx/DeviceSync.h"
#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/PathList.h"
#include "tolx/RandomStream.h"
#include "tolx/RemovedFolders.h"
#include "tolx/Reporter.h"
#include "tolx/TreeWalker.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace tolvex::tolx;

namespace {

// Large enough for the device to stream, small enough that two of them keep memory low.
constexpr std::size_t kChunkSize = 2 * 1024 * 1024;
constexpr int kFailureStatus = 1;

void print(int fd, const std::string& text)
{
    [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
}

// A caller that ignores or blocks SIGTERM passes that on to us; the promise is to stop at once
// (RemovedFolders then handles it). A reader of our progress that goes away must not stop us
// halfway through a file.
void setUpSignals()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, SIGTERM);
    sigaddset(&unblocked, SIGINT);
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
}

// Removed folders stay open until a sync has written them out: more descriptors, fewer syncs.
void allowManyDescriptors()
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

// The paths of the command line, or those on standard input. A list cut off by its writer is
// not the list the user gave: its whole run counts as failed.
bool collectPaths(Options& options, Reporter& reporter)
{
    if (!options.pathsFromInput)
        return true;
    PathList list = PathList::read(STDIN_FILENO);
    options.paths = std::move(list.paths);
    if (list.error != 0)
        reporter.problem("standard input", std::string("could not read the whole list: ") +
                                               std::strerror(list.error));
    if (list.cutOff)
        reporter.problem(*list.cutOff, "the list ends in the middle of this path; not used");
    return list.error == 0 && !list.cutOff;
}

int usageError(const std::string& error)
{
    print(STDERR_FILENO, "tolx: " + error + "\n" + CommandLine::usage());
    return CommandLine::kUsageErrorStatus;
}

int shred(Options options)
{
    RandomStream random;
    ChunkProducer producer(random, kChunkSize);
    const DeviceSync sync;
    FileOverwriter overwriter(producer, sync);
    EntryRemover remover(random);
    JournalPurger purger;
    Reporter reporter(STDOUT_FILENO, STDERR_FILENO, options.verbose);
    bool allDestroyed = collectPaths(options, reporter);
    if (std::string error = CommandLine::pathsError(options.paths); !error.empty())
        return usageError(error);
    RemovedFolders removedFolders;
    TreeWalker walker(options, reporter, overwriter, remover, removedFolders, purger, random, sync);
    for (const std::string& path : options.paths)
        allDestroyed = walker.destroy(path) && allDestroyed;
    allDestroyed = walker.finish() && allDestroyed;
    removedFolders.release();
    purger.purge();
    return allDestroyed ? 0 : kFailureStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    setUpSignals();
    const Invocation invocation = CommandLine::parse(argc, argv);
    switch (invocation.action) {
    case Invocation::Action::Help:
        print(STDOUT_FILENO, CommandLine::help());
        return 0;
    case Invocation::Action::Version:
        print(STDOUT_FILENO, std::string("tolx ") + TOLVEX_VERSION + "\n");
        return 0;
    case Invocation::Action::UsageError:
        return usageError(invocation.error);
    case Invocation::Action::Shred:
        break;
    }
    allowManyDescriptors();
    try {
        return shred(invocation.options);
    } catch (const std::exception& failure) {
        print(STDERR_FILENO, std::string("tolx: ") + failure.what() + "\n");
        return kFailureStatus;
    }
}
