#include "engine/HelperMessage.h"

#include "engine/PercentParsing.h"
#include "platform/NativePath.h"

namespace tolvex {

namespace {

constexpr QByteArrayView kRemoving = "removing ";
const QString kDone = QStringLiteral("done");

// The helper writes each backslash of a path doubled and each line feed as a backslash and the
// letter n, so that one path is one line.
QByteArray unescapedPath(QByteArrayView escaped)
{
    QByteArray path;
    path.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char next = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
        if (escaped[i] == '\\' && (next == '\\' || next == 'n')) {
            path += next == 'n' ? '\n' : '\\';
            ++i;
        } else {
            path += escaped[i];
        }
    }
    return path;
}

} // namespace

HelperMessage HelperMessage::read(const QByteArray& line)
{
    if (line.startsWith(kRemoving)) {
        return {Kind::Removing,
                decodeNativePath(unescapedPath(QByteArrayView(line).sliced(kRemoving.size())))};
    }
    const QString text = QString::fromUtf8(line);
    if (const auto fraction = parsePercentage(text)) {
        return {Kind::Progress, {}, *fraction};
    }
    if (text.trimmed().endsWith(kDone)) {
        return {Kind::Done, {}, 1.0};
    }
    return {};
}

} // namespace tolvex
