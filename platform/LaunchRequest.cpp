#include "platform/LaunchRequest.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QIODevice>

namespace tolvex {

namespace {
// Bumped whenever the encoding changes, so two different builds never misread each other.
constexpr quint32 encodingVersion = 0x544c5801;
} // namespace

LaunchRequest LaunchRequest::fromArguments(const QStringList& arguments,
                                           const QString& workingFolder)
{
    LaunchRequest request;
    QStringList rest = arguments;
    const bool erase = !rest.isEmpty() && rest.first() == QLatin1String(eraseOption);
    if (erase) {
        rest.removeFirst();
    }
    const QDir base(workingFolder);
    for (const QString& argument : rest) {
        if (!argument.isEmpty()) {
            request.paths.append(QDir::cleanPath(base.absoluteFilePath(argument)));
        }
    }
    if (erase) {
        request.kind = Kind::EraseFiles;
    } else if (!request.paths.isEmpty()) {
        request.kind = Kind::OpenFiles;
    }
    return request;
}

LaunchRequest LaunchRequest::ofThisProcess()
{
    return fromArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
}

QByteArray LaunchRequest::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << encodingVersion << static_cast<quint8>(kind) << paths;
    return bytes;
}

std::optional<LaunchRequest> LaunchRequest::decode(const QByteArray& bytes)
{
    QDataStream in(bytes);
    quint32 version = 0;
    quint8 kindValue = 0;
    LaunchRequest request;
    in >> version >> kindValue >> request.paths;
    if (in.status() != QDataStream::Ok || !in.atEnd() || version != encodingVersion ||
        kindValue > static_cast<quint8>(Kind::EraseFiles)) {
        return std::nullopt;
    }
    request.kind = static_cast<Kind>(kindValue);
    return request;
}

} // namespace tolvex
