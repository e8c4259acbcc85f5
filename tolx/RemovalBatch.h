#pragma once

#include "tolx/PassPattern.h"
#include "tolx/PassPlan.h"
#include "tolx/UniqueFd.h"

#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
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

// Destroys many small items with few syncs. Items wait here in the order the walk meets them.
// Settling a batch writes pass k of every file in it, brings them all to the device with one
// sync, and only then writes pass k+1; then it writes each item's messages, in order, while
// every name still exists. The names go a batch later: every entry of the batch settled before is
// renamed, the new names are brought to the device with one sync, and only then are the entries
// removed. So a reader of the messages has a batch's passes to look at an item it is told of. A
// batch settles when it is full (by count, which bounds descriptors, or by bytes, which bounds
// memory and how long progress stands still), when the file system changes, and when the walk
// needs the messages in order; a flush also removes what settled.
class RemovalBatch {
public:
    // Bigger files go their own road: passes streamed with progress as they go.
    static constexpr std::uint64_t kLargestFile = 1 << 20;

    using Kept = std::set<std::pair<dev_t, ino_t>>;
    // Who an item is: its file system, its inode and how many names it has.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        nlink_t links = 1;
    };
    // Where an item's name is: a folder open as fd, and that folder's identity.
    struct Folder {
        int fd = -1;
        dev_t device = 0;
        ino_t inode = 0;
    };

    RemovalBatch(ShredMethod method, Reporter& reporter, FileOverwriter& overwriter,
                 const DeviceSync& sync, EntryRemover& remover, RemovedFolders& removedFolders,
                 JournalPurger& purger, RandomStream& random, Kept& kept);
    ~RemovalBatch();
    RemovalBatch(const RemovalBatch&) = delete;
    RemovalBatch& operator=(const RemovalBatch&) = delete;

    // The walk of the folder at path begins.
    void folderStarts(const std::string& path);
    // Each returns false when the batch cannot take the item (out of descriptors); the caller
    // then destroys it on its own, after a flush. file is open for writing and holds size bytes.
    bool addFile(const Folder& folder, const std::string& name, const std::string& path,
                 const Identity& identity, UniqueFd& file, std::uint64_t size);
    // A link or a special file: removed, never opened.
    bool addOther(const Folder& folder, const std::string& name, const std::string& path,
                  const Identity& identity);
    // An emptied folder, open as self; held open after its removal when it had entries, until
    // its blocks are written out.
    bool addEmptiedFolder(const Folder& parent, const std::string& name, const std::string& path,
                          int self, const Identity& identity, bool hadEntries);
    // The item waits for a flush.
    bool holds(dev_t device, ino_t inode) const;
    // Overwrites the waiting files and writes the waiting items' messages; removes the names of
    // the items settled before. Items that stay are reported and added to kept.
    void settle();
    // Settles, then removes every name still waiting.
    void flush();
    // For a stop: removes the names of the settled items, which may have been told of already,
    // as the walk would have. Safe in a signal handler.
    void removeSettledNames() const;
    // False once some item given to the batch could not be destroyed.
    bool allDestroyed() const { return allDestroyed_; }

private:
    enum class Kind { FolderStart, File, Other, Folder };
    struct Item;

    // An entry of a folder: what every kind but a folder's start has.
    static Item entryItem(Kind kind, const std::string& path, const std::string& name,
                          const Identity& identity);
    bool add(Item& item, const Folder& folder, std::uint64_t fileBytes);
    void overwriteFiles(std::vector<Item>& items);
    void report(std::span<const Item> items);
    // Removes the names of the first count settled items, and forgets those items.
    void removeNames(std::size_t count);
    void fail(Item& item, const std::string& reason, int error);

    const ShredMethod method_;
    Reporter& reporter_;
    FileOverwriter& overwriter_;
    const DeviceSync& sync_;
    EntryRemover& remover_;
    RemovedFolders& removedFolders_;
    JournalPurger& purger_;
    RandomStream& random_;
    Kept& kept_;
    std::vector<Item> items_;
    // Settled: overwritten and told of, their names still to go. Changed only while stop
    // requests are held: the stop handler reads it.
    std::vector<Item> reported_;
    std::set<std::pair<dev_t, ino_t>> waiting_;
    // The file system of the entries in items_.
    dev_t device_ = 0;
    std::uint64_t fileBytes_ = 0;
    std::uint64_t pathBytes_ = 0;
    std::size_t mostItems_;
    bool allDestroyed_ = true;
    // The last folder an item's name was in: consecutive items share its descriptor.
    std::shared_ptr<const UniqueFd> lastFolder_;
    std::pair<dev_t, ino_t> lastFolderId_{};
};

} // namespace tolvex::tolx
