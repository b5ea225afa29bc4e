#include "core/settings/PredictionOptions.h"

#include "core/settings/AppPaths.h"
#include "core/io/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <optional>

const std::array<QString, PredictionOptions::kCount> &PredictionOptions::keys() {
    static const std::array<QString, kCount> list = {
        QStringLiteral("頻度分析Opt"),           QStringLiteral("間隔分析Opt"),
        QStringLiteral("出現回数分析Opt"),       QStringLiteral("バラツキ分析Opt"),
        QStringLiteral("引っ張り分析Opt"),       QStringLiteral("連番飛び石分析Opt"),
        QStringLiteral("数字合計分析Opt"),       QStringLiteral("組合せパターン分析Opt"),
        QStringLiteral("5分割傾向分析Opt"),      QStringLiteral("分割データ分析Opt"),
        QStringLiteral("下一桁出現傾向分析Opt"), QStringLiteral("下一桁連続出現回数分析Opt"),
    };
    return list;
}

QString defaultSettingsPath() {
    return AppPaths().settings();
}

namespace {
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// "True" or "False" in any case, spaces around it allowed; anything else is no value.
std::optional<bool> parseFlag(const QString &value) {
    const QString v = value.trimmed();
    if (v.compare(kTrue, Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(kFalse, Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}
} // namespace

SettingsResult ReadInitFile(const QString &path, PredictionOptions &options) {
    const auto unreadable = [&path](const QString &why) {
        return SettingsResult{false, QStringLiteral("設定ファイル %1 を読めませんでした（%2）。").arg(path, why)};
    };
    const QFileInfo info(path);
    // The program is delivered with the file; without it every option keeps its value.
    if (!info.exists())
        return {};
    if (!info.isFile())
        return unreadable(QStringLiteral("通常のファイルではありません"));
    if (info.size() > kMaxSettingsFileBytes)
        return unreadable(QStringLiteral("%1 KiB を超えています").arg(kMaxSettingsFileBytes / 1024));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    // Read one byte past the bound, for a file that grows after the size was taken.
    const QByteArray bytes = file.read(kMaxSettingsFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    if (bytes.size() > kMaxSettingsFileBytes)
        return unreadable(QStringLiteral("%1 KiB を超えています").arg(kMaxSettingsFileBytes / 1024));
    readSettingsText(bytes, options);
    return {};
}

void readSettingsText(const QByteArray &bytes, PredictionOptions &options) {
    // Undecodable bytes become U+FFFD: such a line matches no key and is ignored.
    QString text = Cp932::decodeUtf8OrCp932(bytes).text;
    const auto &keys = PredictionOptions::keys();
    // Lines end in CR LF, LF or CR alike.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1Char('=')))
            continue;
        const QStringList parts = line.split(QLatin1Char('='));
        const auto key = std::find(keys.begin(), keys.end(), parts[0]);
        if (key == keys.end())
            continue;
        if (const std::optional<bool> flag = parseFlag(parts[1]))
            options.ReflectFlag[std::size_t(key - keys.begin())] = *flag; // a later line wins
    }
}

std::optional<QByteArray> settingsText(const PredictionOptions &options) {
    QString text;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        text += PredictionOptions::keys()[std::size_t(i)] + QLatin1Char('=') +
                (options.ReflectFlag[std::size_t(i)] ? kTrue : kFalse) + QStringLiteral("\r\n");
    return Cp932::encode(text);
}

SettingsResult WriteInitFile(const QString &path, const PredictionOptions &options) {
    const std::optional<QByteArray> bytes = settingsText(options);
    if (!bytes)
        return {false,
                QStringLiteral("設定ファイル %1 に書き込めませんでした（文字コードを変換できません）。").arg(path)};
    // Written beside the old file and renamed over it, so a failed write keeps the old settings.
    // Writing in place (a folder we may not write in) is only for a regular file: opening a
    // FIFO to write would wait for a reader forever.
    const QFileInfo info(path);
    // Every exit writes the options; when the file already holds them, writing would only cost
    // a flush to disk.
    if (info.isFile() && info.size() == bytes->size()) {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == *bytes)
            return {};
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(!info.exists() || info.isFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return {false, QStringLiteral("設定ファイル %1 に書き込めませんでした（%2）。").arg(path, file.errorString())};
    return {};
}
