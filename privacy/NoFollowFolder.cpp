#include "privacy/NoFollowFolder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tolvex {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

} // namespace

std::optional<NoFollowFolder> NoFollowFolder::openAt(int parent, const char* name, int flags,
                                                     std::error_code& error)
{
    const int descriptor = ::openat(parent, name, flags);
    if (descriptor < 0) {
        error = lastError();
        return std::nullopt;
    }
    error.clear();
    return NoFollowFolder(descriptor);
}

std::optional<NoFollowFolder> NoFollowFolder::open(const std::filesystem::path& path,
                                                   std::error_code& error)
{
    return openAt(AT_FDCWD, path.c_str(), kFolderFlags, error);
}

std::optional<NoFollowFolder> NoFollowFolder::openUnlessLink(const std::filesystem::path& path,
                                                             std::error_code& error)
{
    return openAt(AT_FDCWD, path.c_str(), kFolderFlags | O_NOFOLLOW, error);
}

NoFollowFolder::NoFollowFolder(NoFollowFolder&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
{}

NoFollowFolder& NoFollowFolder::operator=(NoFollowFolder&& other) noexcept
{
    std::swap(descriptor_, other.descriptor_);
    return *this;
}

NoFollowFolder::~NoFollowFolder()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::optional<NoFollowFolder> NoFollowFolder::folder(const std::string& name,
                                                     std::error_code& error) const
{
    return openAt(descriptor_, name.c_str(), kFolderFlags | O_NOFOLLOW, error);
}

std::vector<std::string> NoFollowFolder::childNames() const
{
    // The listing owns and closes a descriptor of its own, reading from the start.
    const int listed = ::openat(descriptor_, ".", kFolderFlags);
    if (listed < 0)
        return {};
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(listed));
    if (!dir) {
        ::close(listed);
        return {};
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    return names;
}

bool NoFollowFolder::hasChild(const std::string& name) const
{
    struct stat status {};
    return ::fstatat(descriptor_, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

std::error_code NoFollowFolder::removeChild(const std::string& name) const
{
    if (::unlinkat(descriptor_, name.c_str(), 0) == 0)
        return {};
    // A folder: Linux answers EISDIR, and POSIX lets it answer EPERM.
    const std::error_code unlinkError = lastError();
    if (unlinkError.value() != EISDIR && unlinkError.value() != EPERM)
        return unlinkError;
    std::error_code error;
    const std::optional<NoFollowFolder> child = folder(name, error);
    if (!child)
        return error.value() == ENOTDIR ? unlinkError : error;
    std::error_code firstError;
    for (const std::string& grandchild : child->childNames()) {
        if (const std::error_code childError = child->removeChild(grandchild); !firstError)
            firstError = childError;
    }
    if (::unlinkat(descriptor_, name.c_str(), AT_REMOVEDIR) != 0 && !firstError)
        firstError = lastError();
    return firstError;
}

} // namespace tolvex
