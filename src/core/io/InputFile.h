#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files the user names (draw lists, tickets, settings) are read only when they are regular
// files of a bounded size: /dev/zero would fill the memory and a FIFO would never end.
namespace InputFile {

// The bytes of the file at path, or nullopt with a Japanese sentence in message saying why not
// (for example "tickets.txt は大きすぎるため読みません（64 MB までのファイルを読みます）。").
std::optional<QByteArray> read(const QString &path, qint64 maxBytes, QString &message);

// maxBytes in words: "64 KB", "16 MB".
QString sizeText(qint64 maxBytes);

} // namespace InputFile
