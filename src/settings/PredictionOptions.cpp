#include "settings/PredictionOptions.h"

#include <QDir>

const std::array<QString, PredictionOptions::kCount> &PredictionOptions::keys() {
    static const std::array<QString, kCount> list = {
        QStringLiteral("頻度分析Opt"),       QStringLiteral("間隔分析Opt"),         QStringLiteral("出現回数分析Opt"),
        QStringLiteral("バラツキ分析Opt"),   QStringLiteral("引っ張り分析Opt"),     QStringLiteral("連番飛び石分析Opt"),
        QStringLiteral("数字合計分析Opt"),   QStringLiteral("組合せパターン分析Opt"), QStringLiteral("5分割傾向分析Opt"),
        QStringLiteral("分割データ分析Opt"), QStringLiteral("下一桁出現傾向分析Opt"), QStringLiteral("下一桁連続出現回数分析Opt"),
    };
    return list;
}

QString defaultSettingsPath() { return QDir::current().filePath(QStringLiteral("ナナズバリオ.ini")); }

// Placeholder: the file format lands with the settings work.
SettingsResult ReadInitFile(const QString &, PredictionOptions &) { return {}; }
SettingsResult WriteInitFile(const QString &, const PredictionOptions &) { return {}; }
