#pragma once

#include <QString>

#include <array>
#include <optional>

// The twelve reflect options of the prediction window: true = 反映する, false = 反映しない.
struct PredictionOptions {
    static constexpr int kCount = 12;
    std::array<bool, kCount> ReflectFlag{}; // all off until the file says otherwise

    // The settings keys, in index order. Index 8 says 5 although its analysis splits into four.
    static const std::array<QString, kCount> &keys();

    bool operator==(const PredictionOptions &) const = default;
};

// The settings file: in the current directory in a build folder, the user's own when installed.
QString defaultSettingsPath();

// What went wrong with the settings file, in Japanese; empty on success.
struct SettingsResult {
    bool ok = true;
    QString message;
};

// The largest settings file read; the real one is twelve short lines.
constexpr qint64 kMaxSettingsFileBytes = 64 * 1024;

// Reads the options from the file at path into options. A missing file leaves every option as
// it is (all off at start-up), and so does one that cannot be read: not a regular file (a
// FIFO would never end), or larger than kMaxSettingsFileBytes.
SettingsResult ReadInitFile(const QString &path, PredictionOptions &options);

// The reading rules on the file's bytes: key=value lines, last occurrence wins, unknown keys,
// lines without "=" and values other than True/False are ignored.
void readSettingsText(const QByteArray &bytes, PredictionOptions &options);

// Writes exactly twelve lines, key=True|False, in index order, CP932, CRLF.
SettingsResult WriteInitFile(const QString &path, const PredictionOptions &options);

// The bytes WriteInitFile writes; nullopt when they cannot be put in CP932.
std::optional<QByteArray> settingsText(const PredictionOptions &options);
