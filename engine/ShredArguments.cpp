#include "engine/ShredArguments.h"

#include "engine/ListId.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NativePath.h"

namespace tolvex {

namespace {

// Per method, in kListIds order: the helper's flag and where its argument list is kept.
const std::array<QString, kListIds.size()> kMethodFlags{
    QStringLiteral("-frsv"), QStringLiteral("-frmv"), QStringLiteral("-frv")};
constexpr std::array<std::optional<QStringList> ShredArgumentsDic::*, kListIds.size()> kParamsOf{
    &ShredArgumentsDic::params1, &ShredArgumentsDic::params7, &ShredArgumentsDic::params35};

} // namespace

qint64 ShredArguments::methodOf(const ShredEntryDic& record)
{
    const qint64 pass = record.passIndx.value_or(0);
    return pass == 0 ? 1 : pass;
}

ShredArgumentsDic ShredArguments::forRecords(const ShredEntryDics& records)
{
    std::array<QStringList, kListIds.size()> pathsByMethod;
    for (const ShredEntryDic& record : records) {
        const auto index = listIndex(methodOf(record));
        if (index && Utils::itemExistsAtPath(record.filePath)) {
            pathsByMethod[*index].append(record.filePath);
        }
    }
    ShredArgumentsDic arguments;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (!pathsByMethod[i].isEmpty()) {
            arguments.*kParamsOf[i] = QStringList{kMethodFlags[i]} + pathsByMethod[i];
        }
    }
    return arguments;
}

QString ShredArguments::pathsOnInputFlag()
{
    return QStringLiteral("-z");
}

QByteArray ShredArguments::pathsOnInput(const QStringList& paths)
{
    QByteArray input;
    for (const QString& path : paths) {
        input += encodeNativePath(path);
        input += '\0';
    }
    return input;
}

} // namespace tolvex
