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

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 when there is none
// (overlong forms, surrogates and code points past U+10FFFF are not well formed).
qsizetype wellFormedLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    const qsizetype left = bytes.size() - at;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && isContinuation(byte(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(byte(1)) || !isContinuation(byte(2)))
            return 0;
        if (lead == 0xE0 && byte(1) < 0xA0)
            return 0;
        if (lead == 0xED && byte(1) >= 0xA0)
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(byte(1)) || !isContinuation(byte(2)) ||
            !isContinuation(byte(3)))
            return 0;
        if (lead == 0xF0 && byte(1) < 0x90)
            return 0;
        if (lead == 0xF4 && byte(1) >= 0x90)
            return 0;
        return 4;
    }
    return 0;
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
