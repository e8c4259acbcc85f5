#include "engine/PathComponents.h"

namespace tolvex {

namespace {

QString withoutTrailingSlashes(const QString& path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == u'/') {
        --end;
    }
    return path.left(end);
}

} // namespace

QString lastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == u"/") {
        return trimmed;
    }
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

QString deletingLastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(u'/');
    if (slash < 0) {
        return QString();
    }
    return slash == 0 ? QStringLiteral("/") : trimmed.left(slash);
}

QString appendingPathComponent(const QString& folder, const QString& component)
{
    return folder.endsWith(u'/') ? folder + component : folder + u'/' + component;
}

} // namespace tolvex
