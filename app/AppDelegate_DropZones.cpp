#include "AppDelegate.h"
#include "app/DropView.h"
#include "app/NamedImage.h"
#include "engine/ListId.h"
#include "engine/UtilsFileSystem.h"
#include "kit/DisableSubviews.h"
#include "kit/JESCircularProgressView.h"
#include "kit/MouseDownTextField.h"
#include "kit/ProgressIndicator.h"
#include "kit/Tag.h"
#include "platform/MainQueue.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMimeData>

namespace tolvex {

namespace {

constexpr double kMainFontSize = 24.0;
constexpr double kDescrFontSize = 11.0;
constexpr double kHoverMainFontSize = 26.0;
constexpr double kHoverInset = 8.0;

constexpr double kRingAnimationDuration = 0.5;
constexpr double kRingOuterLineWidth = 2.0;
constexpr double kRingProgressLineWidth = 6.0;
const QColor kRingOrange = QColor::fromRgbF(0.991f, 0.527f, 0.033f, 1.0f);
const QColor kRingWhite = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f);

const QString kAddNewImage = QStringLiteral("AddNew");
const QString kDropImage = QStringLiteral("drop");

// The empty look's texts by list.
QString emptyMainText(qint64 tag)
{
    return QStringLiteral("%1 - pass").arg(tag);
}

QString emptyDescrText(qint64 tag)
{
    switch (tag) {
    case 1:
        return QStringLiteral("Fastest,\nGood security");
    case 7:
        return QStringLiteral("Slower,\nBetter security");
    default:
        return QStringLiteral("Slowest,\nBest security");
    }
}

void setZoneFonts(const ZoneOutlets& zone, double mainSize, double descrSize)
{
    if (zone.mainTF)
        zone.mainTF->setFont(AppDelegate::fontForPassMainTFWithSize(mainSize));
    if (zone.descrTF)
        zone.descrTF->setFont(AppDelegate::fontForPassDescrTFWithSize(descrSize));
}

void setClearRevealShown(QWidget* group, bool shown)
{
    if (!group)
        return;
    group->setVisible(shown);
    disableSubviews(group, !shown);
}

} // namespace

void AppDelegate::resetDefStateForPassViewWithTag(qint64 tag)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone)
        return;
    setZoneFonts(*zone, kMainFontSize, kDescrFontSize);
    if (zone->mainTF)
        zone->mainTF->setText(emptyMainText(tag));
    if (zone->descrTF)
        zone->descrTF->setText(emptyDescrText(tag));
    if (zone->addNewFilesBtn) {
        NamedImage::setImage(zone->addNewFilesBtn, kAddNewImage);
        setTag(zone->addNewFilesBtn, tag);
    }
    if (JESCircularProgressView* ring = zone->indic) {
        ring->setAnimationDuration(kRingAnimationDuration);
        ring->setOuterLineWidth(kRingOuterLineWidth);
        ring->setProgressLineWidth(kRingProgressLineWidth);
        ring->setOuterLineisDashed(true);
        ring->setTintColor(kRingWhite);
        ring->setProgress(0.0, false);
    }
    setClearRevealShown(zone->clearRevealView, false);
    shredLists_.setFilePathsArr(tag, {});
    shredLists_.setTotalFilesPassCountNum(tag, 0);
}

void AppDelegate::dragEnteredStateForPassViewWithTag(qint64 tag)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone)
        return;
    // The description keeps its size: grown, its lines would reach the shrunken ring.
    setZoneFonts(*zone, kHoverMainFontSize, kDescrFontSize);
    NamedImage::setImage(zone->addNewFilesBtn, kDropImage);
    if (JESCircularProgressView* ring = zone->indic) {
        ring->setOuterLineisDashed(true);
        ring->setTintColor(kRingOrange);
        ring->setBounds(
            defaultIndicBounds_.adjusted(kHoverInset, kHoverInset, -kHoverInset, -kHoverInset));
        // The title grows only as far as the shrunken ring leaves it room.
        if (zone->mainTF)
            ring->fitTitle(zone->mainTF, zone->mainTF->font(), zone->mainTF->text());
    }
}

void AppDelegate::droppedStateForPassViewWithTag(qint64 tag, const QStringList& arrOfPaths,
                                                 bool isRefresh, bool refreshSize)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone)
        return;
    setZoneFonts(*zone, kMainFontSize, kDescrFontSize);
    if (zone->mainTF)
        zone->mainTF->setText(arrOfPaths.size() == 1
                                  ? QStringLiteral("%1 file").arg(arrOfPaths.size())
                                  : QStringLiteral("%1 files").arg(arrOfPaths.size()));
    if (zone->indic)
        zone->indic->setProgress(0.0, false);
    setClearRevealShown(zone->clearRevealView, true);
    if (refreshSize) {
        if (zone->descrTF)
            zone->descrTF->clear();
        stopsizeProgressForID(tag);
        sizeMeasurement_.addMeasurement(arrOfPaths, tag);
        if (ProgressIndicator* spinner = zone->progIndicForFilesize) {
            spinner->show();
            spinner->startAnimation();
        }
    }
    NamedImage::setImage(zone->addNewFilesBtn, kAddNewImage);
    if (JESCircularProgressView* ring = zone->indic) {
        ring->setOuterLineisDashed(true);
        ring->setTintColor(kRingOrange);
        if (!isRefresh)
            ring->setBounds(defaultIndicBounds_);
    }
}

void AppDelegate::handleSize(const Notification& notification)
{
    const SizeLoadDic sizeLoad = notification.object.value<SizeLoadDic>();
    QPointer<AppDelegate> self(this);
    MainQueue::post([self, sizeLoad] {
        if (self)
            self->mainThread_handleSize(sizeLoad);
    });
}

void AppDelegate::mainThread_handleSize(const SizeLoadDic& sizeLoad)
{
    const qint64 tag = sizeLoad.scanCount;
    if (const std::optional<ZoneOutlets> zone = zoneOutlets(tag)) {
        shredLists_.setTotalFilesPassCountNum(tag, sizeLoad.scanTotalFilesCount);
        if (zone->descrTF)
            zone->descrTF->setText(Utils::getHumanReadableSizeFrom(qint64(sizeLoad.size)));
    }
    stopsizeProgressForID(tag);
}

void AppDelegate::stopsizeProgressForID(qint64 tag)
{
    sizeMeasurement_.cancelOperationsWithOperIDint(tag);
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (zone && zone->progIndicForFilesize) {
        zone->progIndicForFilesize->hide();
        zone->progIndicForFilesize->stopAnimation();
    }
}

void AppDelegate::dropViewDidGetDropWithPasteboard(DropView* dropView, const QStringList& fileNames)
{
    if (!dropView)
        return;
    shredLists_.dropViewDidGetDropWithPasteboard(
        dropView->mDropViewTag(), QVariant::fromValue<QObject*>(dropView), fileNames);
}

void AppDelegate::dropViewEntered(const DropViewInfoDic& info)
{
    if (shredTasks_.isShredding(info.senderTag))
        return;
    dragEnteredStateForPassViewWithTag(info.senderTag);
}

void AppDelegate::dropViewExited(const DropViewInfoDic& info)
{
    const qint64 tag = info.senderTag;
    if (shredTasks_.isShredding(tag))
        return;
    const bool refreshSize = info.refreshSize.value_or(false);
    const QStringList paths = shredLists_.filePathsArr(tag);
    if (paths.isEmpty()) {
        if (const std::optional<ZoneOutlets> zone = zoneOutlets(tag); zone && zone->indic)
            zone->indic->setBounds(defaultIndicBounds_);
        resetDefStateForPassViewWithTag(tag);
    } else {
        droppedStateForPassViewWithTag(tag, paths, false, refreshSize);
    }
}

void AppDelegate::clearPathsArrAction(QObject* sender)
{
    const qint64 tag = tolvex::tag(sender);
    stopsizeProgressForID(tag);
    resetDefStateForPassViewWithTag(tag);
}

void AppDelegate::revealInFinderAction(QObject* sender)
{
    const qint64 tag = tolvex::tag(sender);
    if (isListId(tag))
        Utils::revealMultiFilesInFinder(shredLists_.filePathsArr(tag));
}

} // namespace tolvex
