#include "UtilsSettings.h"

#include "engine/ListId.h"
#include "platform/UserDefaults.h"

#include <QVariantMap>
#include <limits>
#include <mutex>

namespace tolvex::Utils {

namespace {

const QString kShredDataSize = QStringLiteral("shredDataSize");
const QString kShredFilesCount = QStringLiteral("shredFilesCount");

// Runs of different methods end on their own threads, possibly together: each add is a read,
// a sum and a store that must not interleave with another, or one run would be lost.
std::mutex totalsMutex;

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

// The byte count a total can show; a stored value beyond it, or no count at all, reads as 0.
constexpr quint64 kLargestTotal = std::numeric_limits<qint64>::max();

std::optional<quint64> field(const QVariantMap& record, const QString& key)
{
    const auto found = record.constFind(key);
    if (found == record.constEnd())
        return std::nullopt;
    bool isCount = false;
    const quint64 value = found->toULongLong(&isCount);
    return isCount && value <= kLargestTotal ? value : 0;
}

quint64 sum(quint64 stored, quint64 delta)
{
    return delta > kLargestTotal - stored ? kLargestTotal : stored + delta;
}

} // namespace

qint64 defShredMethodInd()
{
    const qint64 index = defaults().integerForKey(DefaultsKey::selectedDefShredMethodInd);
    return index >= 0 && index < qint64(kListIds.size()) ? index : 0;
}

void defShredMethodInd(qint64 index)
{
    defaults().setInteger(DefaultsKey::selectedDefShredMethodInd, index);
}

qint64 defShredMethodListId()
{
    return kListIds[std::size_t(defShredMethodInd())];
}

bool defShreddingEnbled()
{
    return defaults().boolForKey(DefaultsKey::defaultShreddingEnbled);
}

bool shouldQuitOnAllComplete()
{
    return defaults().boolForKey(DefaultsKey::quitOnAllComplete);
}

bool windIsVert_cal()
{
    return defaults().boolForKey(DefaultsKey::windowIsVert_cal);
}

void windIsVert_calSave(bool vertical)
{
    defaults().setBool(DefaultsKey::windowIsVert_cal, vertical);
}

bool shownHarlightAd()
{
    return defaults().boolForKey(DefaultsKey::showHarlightAd);
}

void shownHarlightAdSave(bool shown)
{
    defaults().setBool(DefaultsKey::showHarlightAd, shown);
}

std::optional<TotalShredInfoDic> getTotalShredInfoDic()
{
    const QVariant stored = defaults().objectForKey(DefaultsKey::totalShredDataDic);
    if (!stored.isValid())
        return std::nullopt;
    const QVariantMap record = stored.toMap();
    return TotalShredInfoDic{field(record, kShredDataSize), field(record, kShredFilesCount)};
}

void overWriteTotalShredInfoDic(const TotalShredInfoDic& delta)
{
    std::lock_guard lock(totalsMutex);
    const TotalShredInfoDic old = getTotalShredInfoDic().value_or(TotalShredInfoDic{});
    const quint64 bytes = sum(old.shredDataSize.value_or(0), delta.shredDataSize.value_or(0));
    const quint64 files = sum(old.shredFilesCount.value_or(0), delta.shredFilesCount.value_or(0));
    defaults().setObject(DefaultsKey::totalShredDataDic,
                         QVariantMap{{kShredDataSize, QVariant::fromValue(bytes)},
                                     {kShredFilesCount, QVariant::fromValue(files)}});
}

} // namespace tolvex::Utils
