#include "platform/NativePath.h"

namespace tolvex {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;
constexpr QChar kReplacement(0xFFFD);

bool isEscapedByte(char16_t unit)
{
    return unit >= kFirstEscape && unit <= kLastEscape;
}

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 when there is none
// (overlong forms, surrogates and code points past U+10FFFF are not well formed).
qsizetype wellFormedLength(QByteArrayView bytes, qsizetype at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const qsizetype length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (at + length > bytes.size())
        return 0;
    return bytes.sliced(at, length).isValidUtf8() ? length : 0;
}

} // namespace

QString decodeNativePath(QByteArrayView bytes)
{
    QString path;
    path.reserve(bytes.size());
    qsizetype textStart = 0;
    qsizetype at = 0;
    const auto flushText = [&] {
        path += QString::fromUtf8(bytes.sliced(textStart, at - textStart));
    };
    while (at < bytes.size()) {
        if (const qsizetype length = wellFormedLength(bytes, at)) {
            at += length;
            continue;
        }
        flushText();
        path += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[at])));
        textStart = ++at;
    }
    flushText();
    return path;
}

QByteArray encodeNativePath(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype textStart = 0;
    for (qsizetype at = 0; at < path.size(); ++at) {
        const char16_t unit = path[at].unicode();
        if (!isEscapedByte(unit))
            continue;
        bytes += QStringView(path).sliced(textStart, at - textStart).toUtf8();
        bytes += static_cast<char>(unit - kEscapeBase);
        textStart = at + 1;
    }
    bytes += QStringView(path).sliced(textStart).toUtf8();
    return bytes;
}

QString readablePath(const QString& path)
{
    QString readable = path;
    for (QChar& unit : readable) {
        if (isEscapedByte(unit.unicode()))
            unit = kReplacement;
    }
    return readable;
}

} // namespace tolvex
