#include "core/io/InputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace InputFile {

QString sizeText(qint64 maxBytes) {
    if (maxBytes >= 1024 * 1024 && maxBytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MB").arg(QString::number(maxBytes / (1024 * 1024)));
    if (maxBytes >= 1024 && maxBytes % 1024 == 0)
        return QStringLiteral("%1 KB").arg(QString::number(maxBytes / 1024));
    return QStringLiteral("%1 バイト").arg(QString::number(maxBytes));
}

std::optional<QByteArray> read(const QString &path, qint64 maxBytes, QString &message) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString &why) -> std::optional<QByteArray> {
        message = QStringLiteral("%1 を読めません（%2）。").arg(shown, why);
        return std::nullopt;
    };
    const auto tooLarge = [&]() -> std::optional<QByteArray> {
        message = QStringLiteral("%1 は大きすぎるため読みません（%2 までのファイルを読みます）。")
                      .arg(shown, sizeText(maxBytes));
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(QStringLiteral("ファイルがありません"));
    // Checked before opening: opening a FIFO waits for a writer.
    if (!info.isFile())
        return refuse(QStringLiteral("通常のファイルではありません"));
    if (info.size() > maxBytes)
        return tooLarge();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    // One byte past the bound, for a file that grows after its size was taken.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    if (bytes.size() > maxBytes)
        return tooLarge();
    return bytes;
}

} // namespace InputFile
