#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text files that people bring from Windows: the Japanese code page CP932 (Shift_JIS with the
// Windows extensions, so ～ and ① round-trip), converted with glibc iconv.
namespace Cp932 {

struct Decoded {
    QString text;
    qsizetype firstBadByte = -1; // offset of the first byte that could not be decoded, -1 if none
    bool ok() const { return firstBadByte < 0; }
};

// CP932 bytes to text; undecodable bytes become U+FFFD and the first one is reported.
Decoded decode(const QByteArray &bytes);

// Text to CP932 bytes; nullopt when a character has no CP932 form.
std::optional<QByteArray> encode(const QString &text);

// The offset of the first byte that is not part of well-formed UTF-8 (truncated, overlong and
// surrogate sequences are not), -1 when all of it is.
qsizetype firstInvalidUtf8(const QByteArray &bytes);

// A text file written by hand or by another program: a UTF-8 byte-order mark is skipped; the
// rest is read as UTF-8 when it is valid UTF-8, otherwise as CP932. When neither fits, the
// one that reads further wins and the first bad byte is reported.
Decoded decodeUtf8OrCp932(const QByteArray &bytes);

} // namespace Cp932
