#pragma once

#include "tolx/CommandLine.h"

#include <cstdint>
#include <dirent.h>
#include <string>
#include <sys/types.h>

namespace tolvex::tolx {

class EntryRemover;
class FileOverwriter;
class JournalPurger;
class RandomStream;
class Reporter;

// Destroys named paths: files are overwritten and removed, folders emptied depth first and
// removed, links and special files removed without being opened. The walk streams each folder
// as it reads it, so memory stays flat however many entries a folder holds.
class TreeWalker {
public:
    TreeWalker(const Options& options, Reporter& reporter, FileOverwriter& overwriter,
               EntryRemover& remover, JournalPurger& purger, RandomStream& random);

    // False when some part of the item could not be destroyed. A path that does not exist is
    // reported and counts as done: an earlier run over the same list may have destroyed it.
    bool destroy(const std::string& path);

private:
    struct Entry {
        mode_t mode = 0;
        dev_t device = 0;
        ino_t inode = 0;
        nlink_t links = 0;
        bool mountRoot = false;
    };
    enum class Scan { Empty, Progressed, Failed };

    static int statEntry(int dirFd, const std::string& name, Entry& entry);
    bool destroyEntry(int dirFd, const std::string& name, const Entry& entry);
    bool destroyFile(int dirFd, const std::string& name, const Entry& entry);
    bool destroyFolder(int dirFd, const std::string& name, const Entry& entry);
    bool destroyOther(int dirFd, const std::string& name);
    Scan destroyContents(DIR* folder, dev_t device);
    // The file open for writing, or -1: reported, or vanished (gone before we came).
    int openForOverwrite(int dirFd, const std::string& name, const Entry& entry, bool& vanished);
    bool isSameItem(int fd, const Entry& entry);
    void problem(const std::string& reason, int error = 0);

    const Options& options_;
    Reporter& reporter_;
    FileOverwriter& overwriter_;
    EntryRemover& remover_;
    JournalPurger& purger_;
    RandomStream& random_;
    // The item in hand, as the user named it or as the walk reached it.
    std::string path_;
};

} // namespace tolvex::tolx
