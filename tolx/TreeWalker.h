#pragma once

#include "tolx/CommandLine.h"
#include "tolx/RemovalBatch.h"

#include <cstdint>
#include <dirent.h>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace tolvex::tolx {

class DeviceSync;
class EntryRemover;
class FileOverwriter;
class JournalPurger;
class RandomStream;
class RemovedFolders;
class Reporter;

// Destroys named paths: files are overwritten and removed, folders emptied depth first and
// removed, links and special files removed without being opened. Nothing is touched whose name
// could not be removed afterwards. The walk is a loop over a stack of folder levels: it keeps
// only the deepest few folders open and streams each one as it reads it, so descriptors and
// read buffers stay bounded however deep or wide the tree. A folder met very deep is moved into
// the named folder and destroyed there at once; whatever of it stays, and all of it when the run
// is stopped, is put back under its own name first.
class TreeWalker {
public:
    TreeWalker(const Options& options, Reporter& reporter, FileOverwriter& overwriter,
               EntryRemover& remover, RemovedFolders& removedFolders, JournalPurger& purger,
               RandomStream& random, const DeviceSync& sync);
    ~TreeWalker();

    // False when some part of the item could not be destroyed. A path that does not exist is
    // reported and counts as done: an earlier run over the same list may have destroyed it.
    bool destroy(const std::string& path);
    // Destroys what still waits in the batch. False when some item handed to the batch could not
    // be destroyed.
    bool finish();

private:
    struct Entry {
        mode_t mode = 0;
        uid_t owner = 0;
        dev_t device = 0;
        ino_t inode = 0;
        nlink_t links = 0;
        bool mountRoot = false;
        // Immutable or append-only: neither its name nor the names in it may go.
        bool locked = false;
    };
    // A folder the walk acts in.
    struct Place {
        int fd = -1;
        Entry entry;
        // Why names in it cannot be removed, or 0.
        int blocker = 0;
    };
    struct CloseDir {
        void operator()(DIR* dir) const;
    };
    // A folder being emptied, one per level below a named folder.
    struct Level {
        Entry entry;
        // Where the folder's name starts in path_.
        std::size_t nameStart = 0;
        // Open for the named folder and the deepest levels only; the others are reopened
        // through ".." on the way back up.
        std::unique_ptr<DIR, CloseDir> dir;
        int blocker = 0;
        // This scan of the folder met an entry still to act on.
        bool sawEntry = false;
        bool hadEntries = false;
        bool failed = false;
    };
    // A folder moved into the named folder: levels_[level], now named movedAs there. Its own
    // folder is reached from the named folder through parentPath, names joined by '/'.
    struct Move {
        std::size_t level = 0;
        std::string name;
        std::string movedAs;
        std::string parentPath;
    };
    enum class Step { Done, Kept, Entered, Lost };

    static int statEntry(int dirFd, const std::string& name, Entry& entry);
    static bool isSameItem(const struct stat& status, const Entry& entry);
    static bool isSameItem(int fd, const Entry& entry);
    bool destroyEntry(const Place& place, const std::string& name, const Entry& entry);
    bool mayRemove(const Place& place, const Entry& entry);
    bool destroyFile(const Place& place, const std::string& name, const Entry& entry);
    bool destroyOther(const Place& place, const std::string& name, const Entry& entry);
    bool destroyTree(const Place& place, const std::string& name, const Entry& entry);
    // The file open for writing, or -1: reported, or vanished (gone before we came).
    int openForOverwrite(int dirFd, const std::string& name, const Entry& entry, bool& vanished);
    int openMadeWritable(int dirFd, const std::string& name, const Entry& entry);
    bool overwriteAll(int fd);
    static RemovalBatch::Folder folderOf(const Place& place);
    static RemovalBatch::Identity identityOf(const Entry& entry);
    int openFreeingDescriptors(const std::function<int()>& open);
    Step enterFolder(const Place& place, const std::string& name, const Entry& entry);
    int folderBlocker(int fd, const Entry& folder, bool mayChange);
    bool nextChild(Level& level, std::string& name, Entry& entry);
    void destroyChild(const std::string& name, const Entry& entry);
    Step leaveFolder(const Place& top);
    bool reopenParentOf(const Level& level, Level& parent);
    Step moveUpAndEnter(const Place& place, const std::string& name, const Entry& entry,
                        std::size_t parentEnd);
    void endMove(Step step, int parentFd);
    bool reopenMovedFrom(const Move& move, Level& parent);
    int openMovedFrom(const Move& move) const;
    bool putBack(const Move& move, int parentFd) const;
    void putBackAll() const;
    static void putBackAndStop(int signal);
    void keep(const Entry& entry);
    // Takes the entry's name out of its folder; a name already gone counts as removed.
    bool removeName(int dirFd, const std::string& name, const Entry& entry, int openFile,
                    const std::string& failure);
    void problem(const std::string& reason, int error = 0);

    const Options& options_;
    Reporter& reporter_;
    FileOverwriter& overwriter_;
    EntryRemover& remover_;
    RemovedFolders& removedFolders_;
    JournalPurger& purger_;
    RandomStream& random_;
    // The item in hand, as the user named it or as the walk reached it.
    std::string path_;
    std::vector<Level> levels_;
    // Folders moved into the named folder and not yet destroyed, innermost last. Changed only
    // while stop requests are held: the stop handler reads it.
    std::vector<Move> moves_;
    // The named folder being walked.
    int topFd_ = -1;
    // Items that stay, by device and inode, so that a folder's later scans pass them over.
    RemovalBatch::Kept kept_;
    RemovalBatch batch_;
};

} // namespace tolvex::tolx
