#include "tolx/CommandLine.h"

#include <algorithm>
#include <getopt.h>
#include <string_view>

namespace tolvex::tolx {

namespace {

constexpr int kHelpOption = 1000;
constexpr int kVersionOption = 1001;

constexpr std::string_view kUsageLine =
    "Usage: tolx [-frv] [-s | -m] PATH...\n       tolx [-frv] [-s | -m] -z < LIST\n";

const option kLongOptions[] = {
    {"help", no_argument, nullptr, kHelpOption},
    {"version", no_argument, nullptr, kVersionOption},
    {nullptr, 0, nullptr, 0},
};

Invocation usageError(std::string error)
{
    Invocation invocation;
    invocation.action = Invocation::Action::UsageError;
    invocation.error = std::move(error);
    return invocation;
}

} // namespace

Invocation CommandLine::parse(int argc, char* argv[])
{
    Invocation invocation;
    invocation.action = Invocation::Action::Shred;
    Options& options = invocation.options;
    // getopt keeps its place in globals: start over for every command line.
    optind = 0;
    opterr = 0;
    for (;;) {
        const int letter = getopt_long(argc, argv, "frsmvz", kLongOptions, nullptr);
        if (letter == -1)
            break;
        switch (letter) {
        case 'f':
            options.force = true;
            break;
        case 'r':
            options.recursive = true;
            break;
        case 's':
            options.method = ShredMethod::OnePass;
            break;
        case 'm':
            options.method = ShredMethod::SevenPass;
            break;
        case 'v':
            options.verbose = true;
            break;
        case 'z':
            options.pathsFromInput = true;
            break;
        case kHelpOption:
            invocation.action = Invocation::Action::Help;
            return invocation;
        case kVersionOption:
            invocation.action = Invocation::Action::Version;
            return invocation;
        default:
            return usageError(optopt != 0
                                  ? std::string("unknown option -") + static_cast<char>(optopt)
                                  : "unknown option " + std::string(argv[optind - 1]));
        }
    }
    options.paths.assign(argv + optind, argv + argc);
    if (options.pathsFromInput && !options.paths.empty())
        return usageError("-z reads the paths from standard input; none may follow it");
    if (!options.pathsFromInput && options.paths.empty())
        return usageError("no path given");
    return invocation;
}

std::string CommandLine::pathsError(const std::vector<std::string>& paths)
{
    return std::ranges::any_of(paths, &std::string::empty) ? "an empty path names no item" : "";
}

std::string CommandLine::usage()
{
    return std::string(kUsageLine) + "Try 'tolx --help' for more information.\n";
}

std::string CommandLine::help()
{
    return std::string(kUsageLine) +
           R"(Overwrites files with the passes of a shredding method, then renames and removes them.

Method (of -s and -m, the last one given counts):
  -s         1 pass of random data
  -m         7 passes (DoD 5220.22-M ECE): a random byte, its complement, random data,
             a second random byte, a third random byte, the third one's complement,
             random data
  neither    35 passes (Gutmann): 4 of random data, the 27 fixed patterns in an order
             drawn anew for every file, 4 of random data

Options:
  -f         make the user's own files and folders being destroyed writable for the
             user first (a file loses its set-user-ID, set-group-ID and sticky bits);
             the folder holding a named item is never changed. Without it, a file the
             user may not write, or one whose owner took away their own write bit, is
             left alone
  -r         destroy folders and everything in them
  -v         print progress on standard output
  -z         read the paths from standard input, each one ended by a NUL byte; a last
             path without its NUL is reported and never used, and an empty one refuses
             the whole list
  --help     show this help and exit
  --version  show the version and exit

Every file is overwritten over its whole length, holes included, and each pass reaches
the device before the next one starts. The file is then renamed a few times to random
names of shrinking length, truncated and removed. Folders are emptied depth first, then
renamed and removed. Symbolic links are removed, never followed. FIFOs, sockets and
device nodes are removed, never opened. A mount point, named or met inside a folder,
is not entered: it is reported and the folders holding it stay. An item whose name
cannot be removed is left intact. A file that grows while it is overwritten has the
new part overwritten too; one that keeps growing is left in place. When run by root,
the journal of every ext4 file system that lost items is checkpointed and zeroed at
the end, so no copy of a removed name stays in it.

Progress with -v, one message per line:
  removing PATH   an item starts (it still exists)
  N%              the share of the item's work done over all its passes, in whole
                  numbers, printed when it changes
  done            the item is gone
Every PATH is printed with each backslash doubled and each line feed written as \n
(a backslash and the letter n); every other byte is printed as it is. Problems are
reported on standard error. When the reader of standard output goes away, the work
goes on without progress messages.

Exit status: 0 when every named item that existed was destroyed, 1 when something could
not be destroyed, 64 on a usage error. A named path that does not exist is reported and
is not a failure. SIGTERM or SIGINT stops at once; the file being overwritten stays
under its name, and an item already being renamed and removed is finished first.
)";
}

} // namespace tolvex::tolx
