#include "core/io/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {
// An iconv descriptor closed on every path.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
} // namespace

namespace Cp932 {

Decoded decode(const QByteArray &bytes) {
    Decoded result;
    Converter cd("UTF-8", "CP932");
    if (!cd.valid()) {
        result.firstBadByte = 0;
        return result;
    }
    QByteArray out;
    // One CP932 byte never yields more than three UTF-8 bytes.
    out.resize(bytes.size() * 3 + 16);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break; // E2BIG cannot happen with the room reserved above
        if (result.firstBadByte < 0)
            result.firstBadByte = in - bytes.constData();
        // Replace the byte with U+FFFD and carry on after it.
        static const char replacement[] = "\xEF\xBF\xBD";
        if (outLeft < 3)
            break;
        memcpy(outPtr, replacement, 3);
        outPtr += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
        iconv(cd.handle(), nullptr, nullptr, nullptr, nullptr);
    }
    out.truncate(outPtr - out.data());
    result.text = QString::fromUtf8(out);
    return result;
}

std::optional<QByteArray> encode(const QString &text) {
    Converter cd("CP932", "UTF-8");
    if (!cd.valid())
        return std::nullopt;
    QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.resize(utf8.size() + 16); // CP932 is never longer than UTF-8
    char *in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    if (iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft) == size_t(-1))
        return std::nullopt;
    // Flush any shift state (none for CP932, but it costs nothing).
    if (iconv(cd.handle(), nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
        return std::nullopt;
    out.truncate(outPtr - out.data());
    return out;
}

qsizetype firstInvalidUtf8(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        int length;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return i;
        i += length;
    }
    return -1;
}

Decoded decodeUtf8OrCp932(const QByteArray &bytes) {
    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArray body = bom ? bytes.mid(kUtf8Bom.size()) : bytes;
    const qsizetype utf8Bad = firstInvalidUtf8(body);
    if (utf8Bad < 0)
        return {QString::fromUtf8(body), -1};
    Decoded decoded = decode(body);
    if (!decoded.ok() && utf8Bad > decoded.firstBadByte)
        decoded = {QString::fromUtf8(body), utf8Bad}; // invalid sequences become U+FFFD
    if (!decoded.ok() && bom)
        decoded.firstBadByte += kUtf8Bom.size();
    return decoded;
}

} // namespace Cp932
