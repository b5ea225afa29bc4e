#include "settings/PredictionOptions.h"

#include "settings/AppPaths.h"
#include "settings/Cp932.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    QFile file(path);
    // The program is delivered with the file; without it every option keeps its value.
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("設定ファイル %1 を読めませんでした（%2）。").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("設定ファイル %1 を読めませんでした（%2）。").arg(path, file.errorString())};

    // Undecodable bytes become U+FFFD: such a line matches no key and is ignored.
    const QString text = Cp932::decodeUtf8OrCp932(bytes).text;
    const auto &keys = PredictionOptions::keys();
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\n|\\r"));
    for (const QString &line : text.split(lineBreak)) {
        if (!line.contains(QLatin1Char('=')))
            continue;
        const QStringList parts = line.split(QLatin1Char('='));
        const auto key = std::find(keys.begin(), keys.end(), parts[0]);
        if (key == keys.end())
            continue;
        if (const std::optional<bool> flag = parseFlag(parts[1]))
            options.ReflectFlag[std::size_t(key - keys.begin())] = *flag; // a later line wins
    }
    return {};
}

SettingsResult WriteInitFile(const QString &path, const PredictionOptions &options) {
    QString text;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        text += PredictionOptions::keys()[std::size_t(i)] + QLatin1Char('=') +
                (options.ReflectFlag[std::size_t(i)] ? kTrue : kFalse) + QStringLiteral("\r\n");
    const std::optional<QByteArray> bytes = Cp932::encode(text);
    if (!bytes)
        return {false,
                QStringLiteral("設定ファイル %1 に書き込めませんでした（文字コードを変換できません）。").arg(path)};

    // Written beside the old file and renamed over it, so a failed write keeps the old settings.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return {false, QStringLiteral("設定ファイル %1 に書き込めませんでした（%2）。").arg(path, file.errorString())};
    return {};
}
