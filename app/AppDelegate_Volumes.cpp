#include "app/AppDelegate.h"
#include "app/AppLog.h"
#include "engine/UtilsFileSystem.h"
#include "volumes/UtilsVolumeQueries.h"

namespace tolvex {

namespace {

constexpr int kVolumesDirection = 2;

} // namespace

void AppDelegate::eraseDiskSpace(QObject* /*sender*/)
{
    if (refusedWhileShredding())
        return;
    FreeSpaceEraseVC* screen = outlets_.fse_VC;
    if (!screen)
        return;
    screen->setVolsDicsArr(Utils::getAllDisksInfoArr());
    secondaryScreens_.showInOverlay(screen, kVolumesDirection, false);
}

void AppDelegate::installFreeSpaceEraseAction()
{
    if (FreeSpaceEraseVC* screen = outlets_.fse_VC)
        screen->actionWithIndex = [this](qint64 tag, const std::optional<VolDic>& volume,
                                         bool eraseFreeSpace, bool reveal) {
            freeSpaceEraseAction(tag, volume, eraseFreeSpace, reveal);
        };
}

void AppDelegate::freeSpaceEraseAction(qint64 tag, const std::optional<VolDic>& volume,
                                       bool eraseFreeSpace, bool reveal)
{
    const QString path = volume ? volume->dskPath : QString();
    if (reveal) {
        if (!path.isEmpty())
            Utils::revealMultiFilesInFinder({path});
        close();
        return;
    }
    close();
    if (tag == FreeSpaceEraseVC::closeTag)
        return;
    // Erasing is not offered: the request is only written down.
    qCInfo(lcApp).noquote() << (eraseFreeSpace ? QStringLiteral("Erace free space > %1")
                                               : QStringLiteral("Erace&Format > %1"))
                                   .arg(path);
}

void AppDelegate::runEraseFreeSpaceTask(const VolDic& volume)
{
    eraseFreeSpaceRunner_.runEraseFreeSpaceTask(volume);
}

} // namespace tolvex
