#include "tolx/RemovalBatch.h"

#include "tolx/DeviceSync.h"
#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/RemovedFolders.h"
#include "tolx/Reporter.h"
#include "tolx/StopRequestsHeld.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <span>
#include <sys/resource.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

// Items per batch: each holds up to two descriptors, for as long as two batches. Enough that a sync
// serves many items, few enough that progress moves on often.
constexpr std::size_t kMostItems = 256;
// File bytes per flush: what a flush writes in one pass, and so how long progress stands still.
constexpr std::uint64_t kMostFileBytes = 32 << 20;
// Path bytes per batch: with the batch settled before, most of the memory held.
constexpr std::uint64_t kMostPathBytes = 2 << 20;
// The share of the process's descriptors a batch may take: two batches are held at once, the
// walk and the held folders need the rest.
constexpr rlim_t kDescriptorShare = 16;

std::size_t mostItemsFor(const rlimit& files)
{
    return std::clamp<std::size_t>(files.rlim_cur / kDescriptorShare, 1, kMostItems);
}

} // namespace

struct RemovalBatch::Item {
    Kind kind = Kind::FolderStart;
    std::string path;
    // The folder holding its name, and the name, which changes as it is renamed.
    std::shared_ptr<const UniqueFd> folder;
    std::string name;
    // A file open for writing, or a folder itself.
    UniqueFd own;
    Identity identity;
    std::uint64_t size = 0;
    std::vector<PassPattern> passes;
    bool hadEntries = false;
    bool failed = false;
};

RemovalBatch::Item RemovalBatch::entryItem(Kind kind, const std::string& path,
                                           const std::string& name, const Identity& identity)
{
    Item item;
    item.kind = kind;
    item.path = path;
    item.name = name;
    item.identity = identity;
    return item;
}

RemovalBatch::RemovalBatch(ShredMethod method, Reporter& reporter, FileOverwriter& overwriter,
                           const DeviceSync& sync, EntryRemover& remover,
                           RemovedFolders& removedFolders, JournalPurger& purger,
                           RandomStream& random, Kept& kept)
    : method_(method), reporter_(reporter), overwriter_(overwriter), sync_(sync), remover_(remover),
      removedFolders_(removedFolders), purger_(purger), random_(random), kept_(kept),
      mostItems_(kMostItems)
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0)
        mostItems_ = mostItemsFor(files);
}

RemovalBatch::~RemovalBatch() = default;

void RemovalBatch::folderStarts(const std::string& path)
{
    Item item;
    item.path = path;
    add(item, {}, 0);
}

bool RemovalBatch::addFile(const Folder& folder, const std::string& name, const std::string& path,
                           const Identity& identity, UniqueFd& file, std::uint64_t size)
{
    // Small writes go through the page cache, so that one sync writes out many files together.
    const int flags = fcntl(file.get(), F_GETFL);
    if (flags < 0 || fcntl(file.get(), F_SETFL, flags & ~O_DIRECT) != 0)
        return false;
    Item item = entryItem(Kind::File, path, name, identity);
    item.size = size;
    item.passes = passPlanFor(method_, random_);
    item.own = std::move(file);
    if (add(item, folder, size))
        return true;
    file = std::move(item.own);
    return false;
}

bool RemovalBatch::addOther(const Folder& folder, const std::string& name, const std::string& path,
                            const Identity& identity)
{
    Item item = entryItem(Kind::Other, path, name, identity);
    return add(item, folder, 0);
}

bool RemovalBatch::addEmptiedFolder(const Folder& parent, const std::string& name,
                                    const std::string& path, int self, const Identity& identity,
                                    bool hadEntries)
{
    Item item = entryItem(Kind::Folder, path, name, identity);
    item.hadEntries = hadEntries;
    item.own.reset(fcntl(self, F_DUPFD_CLOEXEC, 0));
    if (!item.own.valid()) {
        flush();
        item.own.reset(fcntl(self, F_DUPFD_CLOEXEC, 0));
    }
    return item.own.valid() && add(item, parent, 0);
}

// Takes the item when it returns true; leaves it untouched otherwise.
bool RemovalBatch::add(Item& item, const Folder& folder, std::uint64_t fileBytes)
{
    const bool isEntry = item.kind != Kind::FolderStart;
    if (items_.size() >= mostItems_ || fileBytes_ + fileBytes > kMostFileBytes ||
        pathBytes_ + item.path.size() > kMostPathBytes ||
        (isEntry && !items_.empty() && device_ != item.identity.device))
        settle();
    if (isEntry) {
        const std::pair<dev_t, ino_t> folderId{folder.device, folder.inode};
        if (!lastFolder_ || lastFolderId_ != folderId) {
            int copy = fcntl(folder.fd, F_DUPFD_CLOEXEC, 0);
            if (copy < 0) {
                flush();
                copy = fcntl(folder.fd, F_DUPFD_CLOEXEC, 0);
            }
            if (copy < 0)
                return false;
            lastFolder_ = std::make_shared<const UniqueFd>(copy);
            lastFolderId_ = folderId;
        }
        item.folder = lastFolder_;
        device_ = item.identity.device;
        waiting_.insert({item.identity.device, item.identity.inode});
    }
    fileBytes_ += fileBytes;
    pathBytes_ += item.path.size();
    items_.push_back(std::move(item));
    return true;
}

bool RemovalBatch::holds(dev_t device, ino_t inode) const
{
    return waiting_.contains({device, inode});
}

void RemovalBatch::settle()
{
    if (items_.empty())
        return;
    overwriteFiles(items_);
    const std::size_t settledBefore = reported_.size();
    {
        // From here on the items may be told of: a stop removes their names too.
        const StopRequestsHeld held;
        std::ranges::move(items_, std::back_inserter(reported_));
    }
    items_.clear();
    report(std::span(reported_).subspan(settledBefore));
    removeNames(settledBefore);
    fileBytes_ = 0;
    pathBytes_ = 0;
    lastFolder_.reset();
}

void RemovalBatch::flush()
{
    settle();
    removeNames(reported_.size());
}

// Only system calls: it runs in the stop handler, which comes only between the steps that
// change the settled items.
void RemovalBatch::removeSettledNames() const
{
    std::array<EntryRemover::Name, 2 * kMostItems> names;
    const std::size_t count = std::min(reported_.size(), names.size());
    const auto waiting = [](const Item& item) {
        return item.kind != Kind::FolderStart && !item.failed;
    };
    for (std::size_t i = 0; i < count; ++i)
        if (waiting(reported_[i]))
            EntryRemover::renameAwayWhenStopped(reported_[i].folder->get(),
                                                reported_[i].name.c_str(), names[i]);
    int synced = -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (waiting(reported_[i]) && reported_[i].folder->get() != synced) {
            synced = reported_[i].folder->get();
            fsync(synced);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Item& item = reported_[i];
        if (waiting(item))
            EntryRemover::removeRenamed(item.folder->get(), names[i].data(),
                                        item.kind == Kind::Folder,
                                        item.kind == Kind::File ? item.own.get() : -1);
    }
}

void RemovalBatch::overwriteFiles(std::vector<Item>& items)
{
    std::vector<Item*> files;
    for (Item& item : items)
        if (item.kind == Kind::File && item.size > 0)
            files.push_back(&item);
    const std::size_t passCount = files.empty() ? 0 : files.front()->passes.size();
    std::vector<int> written;
    for (std::size_t pass = 0; pass < passCount; ++pass) {
        written.clear();
        for (Item* file : files) {
            if (file->failed)
                continue;
            if (const int error =
                    overwriter_.writePass(file->own.get(), file->size, file->passes[pass]))
                fail(*file, "could not overwrite it; it is left in place", error);
            else
                written.push_back(file->own.get());
        }
        if (const int error = sync_.files(written))
            for (Item* file : files)
                if (!file->failed)
                    fail(*file, "could not overwrite it; it is left in place", error);
    }
    for (Item& item : items) {
        if (item.kind != Kind::File || item.failed)
            continue;
        const int result = overwriter_.overwriteToEnd(item.own.get(), item.size, item.passes, {});
        if (result == FileOverwriter::kStillGrowing)
            fail(item, "is still being written by another program; it is left in place", 0);
        else if (result != 0)
            fail(item, "could not overwrite it; it is left in place", result);
    }
}

// Percentages as the file's own road prints them: one as each pass reaches the device.
void RemovalBatch::report(std::span<const Item> items)
{
    for (const Item& item : items) {
        if (item.failed)
            continue;
        switch (item.kind) {
        case Kind::FolderStart:
            reporter_.removing(item.path);
            break;
        case Kind::File:
            reporter_.removing(item.path);
            for (std::size_t pass = 1; item.size > 0 && pass <= item.passes.size(); ++pass)
                reporter_.progress(item.size * pass, item.size * item.passes.size());
            reporter_.done();
            break;
        case Kind::Other:
            reporter_.removing(item.path);
            reporter_.done();
            break;
        case Kind::Folder:
            reporter_.done();
            break;
        }
    }
}

void RemovalBatch::removeNames(std::size_t count)
{
    const StopRequestsHeld held;
    const std::span items(reported_.data(), count);
    std::vector<int> folders;
    for (Item& item : items) {
        if (item.kind == Kind::FolderStart || item.failed)
            continue;
        item.name = remover_.renameAway(item.folder->get(), item.name);
        if (folders.empty() || folders.back() != item.folder->get())
            folders.push_back(item.folder->get());
    }
    std::ranges::sort(folders);
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    sync_.folders(folders);
    for (Item& item : items) {
        waiting_.erase({item.identity.device, item.identity.inode});
        if (item.kind == Kind::FolderStart || item.failed)
            continue;
        const bool isFolder = item.kind == Kind::Folder;
        if (isFolder && item.hadEntries)
            removedFolders_.hold(item.own.get());
        const int error = EntryRemover::removeRenamed(item.folder->get(), item.name.c_str(),
                                                      isFolder, isFolder ? -1 : item.own.get());
        if (error != 0 && error != ENOENT) {
            fail(item,
                 item.kind == Kind::File ? "overwritten, but its name could not be removed"
                 : !isFolder             ? "could not remove it"
                 : error == ENOTEMPTY    ? "some of its contents stay, and so does the folder"
                                         : "emptied, but the folder could not be removed",
                 error);
            continue;
        }
        purger_.noteRemoval(item.identity.device, item.folder->get());
        if (item.kind == Kind::File && item.identity.links > 1)
            reporter_.problem(item.path, "its data was overwritten and this name removed; the "
                                         "file's " +
                                             std::to_string(item.identity.links - 1) +
                                             " other name(s) remain");
    }
    reported_.erase(reported_.begin(), reported_.begin() + static_cast<std::ptrdiff_t>(count));
}

void RemovalBatch::fail(Item& item, const std::string& reason, int error)
{
    item.failed = true;
    allDestroyed_ = false;
    kept_.insert({item.identity.device, item.identity.inode});
    reporter_.problem(item.path, reason, error);
}

} // namespace tolvex::tolx
