#include "engine/MountedVolumes.h"

#include "engine/PathComponents.h"
#include "platform/NativePath.h"

#include <QFile>
#include <libmount.h>
#include <memory>
#include <mutex>

namespace tolvex {

namespace {

std::mutex testVolumesMutex;
std::optional<QList<MountedVolume>> testVolumes;

struct TableUnref {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterFree {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

QString volumeName(const QString& mountPoint)
{
    return mountPoint == u"/" ? QString() : lastPathComponent(mountPoint);
}

QString decoded(const char* text)
{
    return text ? QFile::decodeName(text) : QString();
}

// A mount that another was mounted over, on the same folder, is out of reach: nothing on it can
// be seen, sized or revealed, and its folder already stands for the mount on top.
bool isCovered(libmnt_table* table, libmnt_fs* fs)
{
    libmnt_fs* over = nullptr;
    return mnt_table_over_fs(table, fs, &over) == 0;
}

} // namespace

QList<MountedVolume> MountedVolumes::mountedVolumes()
{
    {
        std::lock_guard lock(testVolumesMutex);
        if (testVolumes) {
            return *testVolumes;
        }
    }
    QList<MountedVolume> volumes;
    std::unique_ptr<libmnt_table, TableUnref> table(mnt_new_table());
    std::unique_ptr<libmnt_iter, IterFree> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter || mnt_table_parse_mtab(table.get(), nullptr) != 0) {
        return volumes;
    }
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const char* target = mnt_fs_get_target(fs);
        if (!target) {
            continue;
        }
        const QString mountPoint = decodeNativePath(target);
        if ((mnt_fs_is_pseudofs(fs) && mountPoint != u"/") || isCovered(table.get(), fs)) {
            continue;
        }
        volumes.append({mountPoint, volumeName(mountPoint), decoded(mnt_fs_get_source(fs)),
                        decoded(mnt_fs_get_fstype(fs)), decoded(mnt_fs_get_options(fs))});
    }
    return volumes;
}

void MountedVolumes::setForTesting(std::optional<QList<MountedVolume>> volumes)
{
    std::lock_guard lock(testVolumesMutex);
    testVolumes = std::move(volumes);
}

} // namespace tolvex
