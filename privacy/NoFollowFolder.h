#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tolvex {

// A folder held open by its descriptor, so that what is done in it happens in that very folder
// whatever its path names meanwhile. Folders below it are opened without following links: a
// link planted where a browser keeps its data leads nowhere but to its own removal.
class NoFollowFolder {
public:
    // The folder at `path`, following links on the way, as a root the user chose may be one.
    static std::optional<NoFollowFolder> open(const std::filesystem::path& path,
                                              std::error_code& error);
    // The folder at `path` unless its last component is a link or no folder.
    static std::optional<NoFollowFolder> openUnlessLink(const std::filesystem::path& path,
                                                        std::error_code& error);

    NoFollowFolder(NoFollowFolder&& other) noexcept;
    NoFollowFolder& operator=(NoFollowFolder&& other) noexcept;
    NoFollowFolder(const NoFollowFolder&) = delete;
    NoFollowFolder& operator=(const NoFollowFolder&) = delete;
    ~NoFollowFolder();

    // The child folder `name`, refused when it is a link or no folder.
    std::optional<NoFollowFolder> folder(const std::string& name, std::error_code& error) const;
    // The names of the children, "." and ".." left out; empty when it cannot be read.
    std::vector<std::string> childNames() const;
    // Whether the child exists; a link counts, whatever it points at.
    bool hasChild(const std::string& name) const;
    // Removes the child: a link or file goes as it is, a folder with everything inside it, each
    // level through its own descriptor. Goes on past what cannot be removed and answers the
    // first error.
    std::error_code removeChild(const std::string& name) const;

private:
    explicit NoFollowFolder(int descriptor) : descriptor_(descriptor) {}
    static std::optional<NoFollowFolder> openAt(int parent, const char* name, int flags,
                                                std::error_code& error);

    int descriptor_;
};

} // namespace tolvex
