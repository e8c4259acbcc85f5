#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <string>

namespace tolvex::tolx {

class RandomStream;

// Takes a name out of a folder so that it cannot be read back: a few renames to random names
// of shrinking length, one folder sync, then the removal.
class EntryRemover {
public:
    explicit EntryRemover(RandomStream& random);

    // Removes name from the folder dirFd: a folder (which must be empty) with rmdir, anything
    // else with unlink. openFile, when given, is the file's own descriptor; the file is
    // truncated to nothing before its name goes. Returns 0, or the errno of the removal.
    int remove(int dirFd, const std::string& name, bool isFolder, int openFile = -1);
    // The renames alone, for callers that sync many folders at once: the entry's name now, the
    // same as before when no rename succeeded. Stop requests must be held by the caller until
    // the entry is removed.
    std::string renameAway(int dirFd, const std::string& name);
    // The removal alone, once the entry's new name is on the device. System calls only.
    static int removeRenamed(int dirFd, const char* name, bool isFolder, int openFile);
    // The renames as a stop handler may make them: system calls only, the random names drawn
    // from the kernel. Leaves the entry's name now in current.
    using Name = std::array<char, NAME_MAX + 1>;
    static void renameAwayWhenStopped(int dirFd, const char* name, Name& current);
    // Moves name from the folder dirFd into the folder toDirFd under a random name of the
    // same length, and returns that name; empty when it could not.
    std::string moveAway(int dirFd, const std::string& name, int toDirFd);

private:
    // The new name, or an empty string when the entry could not be renamed.
    std::string renameRandomly(int dirFd, const std::string& name, int toDirFd, std::size_t length);
    std::string randomName(std::size_t length);

    RandomStream& random_;
    // The folder last renamed into, and the longest name length found full there.
    int crowdedFolder_ = -1;
    std::size_t crowdedLength_ = 0;
};

} // namespace tolvex::tolx
