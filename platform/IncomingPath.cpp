#include "platform/IncomingPath.h"

#include "platform/HomeFolder.h"
#include "platform/NativePath.h"

namespace tolvex {

namespace {

// The standard library's lexical normal form works on the bytes, so a name that is not text
// keeps its bytes; it leaves a trailing "/" as an empty last name.
QString lexicallyClean(const QString& absolutePath)
{
    QString clean = fromNativePath(toNativePath(absolutePath).lexically_normal());
    if (clean.size() > 1 && clean.endsWith(u'/'))
        clean.chop(1);
    return clean;
}

// The real home folder, cleaned, once for a whole batch of paths: each look-up asks the system.
QString cleanHomeFolder()
{
    const std::optional<QString> home = HomeFolder::realHomeFolder();
    return home && home->startsWith(u'/') ? lexicallyClean(*home) : QStringLiteral("/");
}

std::optional<QString> vettedBelow(const QString& home, const QString& path, QString* why,
                                   const std::optional<QString>& workingFolder)
{
    const auto refuse = [why](const QString& reason) -> std::optional<QString> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (path.isEmpty())
        return refuse(QStringLiteral("it is empty"));
    if (path.contains(QChar(0)))
        return refuse(QStringLiteral("it holds a NUL byte"));
    QString absolute = path;
    if (!path.startsWith(u'/')) {
        if (!workingFolder || !workingFolder->startsWith(u'/'))
            return refuse(QStringLiteral("it is relative and the working folder cannot be read"));
        absolute = *workingFolder + u'/' + path;
    }
    const QString clean = lexicallyClean(absolute);
    if (clean == u"/" || clean == home || home.startsWith(clean + u'/'))
        return refuse(QStringLiteral("it is the home folder or a folder that holds it"));
    return clean;
}

} // namespace

std::optional<QString> IncomingPath::vetted(const QString& path, QString* why,
                                            const std::optional<QString>& workingFolder)
{
    return vettedBelow(cleanHomeFolder(), path, why, workingFolder);
}

QStringList IncomingPath::vettedPaths(const QStringList& paths)
{
    const QString home = cleanHomeFolder();
    QStringList kept;
    for (const QString& path : paths) {
        if (const std::optional<QString> clean = vettedBelow(home, path, nullptr, std::nullopt))
            kept.append(*clean);
    }
    return kept;
}

} // namespace tolvex
