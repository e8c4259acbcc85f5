#include "tolx/EntryRemover.h"

#include "tolx/RandomStream.h"
#include "tolx/StopRequestsHeld.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

constexpr std::string_view kNameAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kLongestName = 255;
constexpr int kAttemptsPerLength = 8;

// The lengths of the random names an entry passes through: its own length, half of it, one.
std::array<std::size_t, 3> renameLengths(std::size_t nameLength)
{
    const std::size_t first = std::clamp<std::size_t>(nameLength, 1, kLongestName);
    return {first, (first + 1) / 2, 1};
}

bool renameNoReplace(int dirFd, const std::string& from, int toDirFd, const std::string& to)
{
    if (renameat2(dirFd, from.c_str(), toDirFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    // A file system without RENAME_NOREPLACE: look first, then rename.
    struct stat existing {};
    if (fstatat(toDirFd, to.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return renameat(dirFd, from.c_str(), toDirFd, to.c_str()) == 0;
}

} // namespace

EntryRemover::EntryRemover(RandomStream& random) : random_(random) {}

int EntryRemover::remove(int dirFd, const std::string& name, bool isFolder, int openFile)
{
    // A stop in the middle of the renames would leave the item under a random name.
    const StopRequestsHeld held;
    const std::string current = renameAway(dirFd, name);
    // Each rename rewrote the same folder block; only its last state needs to reach the disk.
    // Syncs in between would only leave more copies behind on copy-on-write file systems.
    if (current != name)
        fsync(dirFd);
    return removeRenamed(dirFd, current.c_str(), isFolder, openFile);
}

std::string EntryRemover::renameAway(int dirFd, const std::string& name)
{
    std::string current = name;
    for (const std::size_t length : renameLengths(name.size())) {
        std::string next = renameRandomly(dirFd, current, dirFd, length);
        if (next.empty())
            break;
        current = std::move(next);
    }
    return current;
}

int EntryRemover::removeRenamed(int dirFd, const char* name, bool isFolder, int openFile)
{
    // The data is overwritten already: a file that will not shrink loses its name all the same.
    [[maybe_unused]] const int truncated = openFile >= 0 ? ftruncate(openFile, 0) : 0;
    if (unlinkat(dirFd, name, isFolder ? AT_REMOVEDIR : 0) != 0)
        return errno;
    return 0;
}

std::string EntryRemover::moveAway(int dirFd, const std::string& name, int toDirFd)
{
    return renameRandomly(dirFd, name, toDirFd, name.size());
}

std::string EntryRemover::renameRandomly(int dirFd, const std::string& name, int toDirFd,
                                         std::size_t length)
{
    // Short names collide easily in a full folder: lengthen the name until one is free. A
    // length found full stays skipped for the folder's next entries.
    if (toDirFd != crowdedFolder_) {
        crowdedFolder_ = toDirFd;
        crowdedLength_ = 0;
    }
    for (std::size_t tryLength = std::max(length, crowdedLength_ + 1); tryLength <= kLongestName;
         ++tryLength) {
        for (int attempt = 0; attempt < kAttemptsPerLength; ++attempt) {
            std::string candidate = randomName(tryLength);
            if (renameNoReplace(dirFd, name, toDirFd, candidate))
                return candidate;
            if (errno != EEXIST)
                return {};
        }
        crowdedLength_ = tryLength;
    }
    return {};
}

void EntryRemover::renameAwayWhenStopped(int dirFd, const char* name, Name& current)
{
    const std::size_t nameLength = strnlen(name, kLongestName);
    std::copy_n(name, nameLength, current.begin());
    current[nameLength] = '\0';
    std::array<std::uint8_t, kLongestName> drawn{};
    Name next{};
    for (const std::size_t length : renameLengths(nameLength)) {
        for (int attempt = 0; attempt < kAttemptsPerLength; ++attempt) {
            if (getrandom(drawn.data(), length, 0) != static_cast<ssize_t>(length))
                return;
            for (std::size_t i = 0; i < length; ++i)
                next[i] = kNameAlphabet[drawn[i] % kNameAlphabet.size()];
            next[length] = '\0';
            if (renameat2(dirFd, current.data(), dirFd, next.data(), RENAME_NOREPLACE) == 0) {
                current = next;
                break;
            }
            if (errno != EEXIST)
                return;
        }
    }
}

std::string EntryRemover::randomName(std::size_t length)
{
    std::string result(length, '\0');
    for (char& c : result)
        c = kNameAlphabet[random_.below(static_cast<std::uint32_t>(kNameAlphabet.size()))];
    return result;
}

} // namespace tolvex::tolx
