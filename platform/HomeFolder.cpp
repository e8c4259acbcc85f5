#include "HomeFolder.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace tolvex {

namespace {

constexpr size_t kFirstBufferSize = 1024;
constexpr size_t kLargestBufferSize = 1024 * 1024;

std::mutex testingMutex;
std::optional<std::optional<QString>> testingFolder;

// One field of a passwd entry, found by `lookUp` (getpwuid_r or getpwnam_r bound to its key)
// with a buffer that grows until the entry fits.
template <typename LookUp>
std::optional<QByteArray> passwdField(LookUp lookUp, char* passwd::*field)
{
    std::vector<char> buffer(kFirstBufferSize);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = lookUp(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kLargestBufferSize) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || !found)
            return std::nullopt;
        return QByteArray(entry.*field);
    }
}

std::optional<QString> passwdHomeFolder()
{
    const std::optional<QByteArray> userName = passwdField(
        [](passwd* entry, char* buffer, size_t size, passwd** found) {
            return ::getpwuid_r(::getuid(), entry, buffer, size, found);
        },
        &passwd::pw_name);
    if (!userName)
        return std::nullopt;
    const std::optional<QByteArray> home = passwdField(
        [&](passwd* entry, char* buffer, size_t size, passwd** found) {
            return ::getpwnam_r(userName->constData(), entry, buffer, size, found);
        },
        &passwd::pw_dir);
    if (!home)
        return std::nullopt;
    return QFile::decodeName(*home);
}

} // namespace

std::optional<QString> HomeFolder::realHomeFolder()
{
    {
        std::lock_guard lock(testingMutex);
        if (testingFolder)
            return *testingFolder;
    }
    // Asked for every path a file dialog shows; the passwd entry does not change while we run.
    static const std::optional<QString> home = passwdHomeFolder();
    return home;
}

void HomeFolder::setForTesting(std::optional<QString> folder)
{
    std::lock_guard lock(testingMutex);
    testingFolder = std::move(folder);
}

void HomeFolder::resetForTesting()
{
    std::lock_guard lock(testingMutex);
    testingFolder.reset();
}

} // namespace tolvex
