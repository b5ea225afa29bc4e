#pragma once

#include <QString>

// The title of the last-digit headers (96 characters): 下一桁数字 placed by counted ASCII and
// ideographic spaces so that it runs across the ten digit columns. Shared by both last-digit windows.
inline QString lastDigitBandText() {
    const QChar space = QLatin1Char(' ');
    return QString(43, space) + QStringLiteral("下一桁数字") + QString(27, space) + QString(3, QChar(0x3000)) +
           QString(18, space);
}

// The last digit 0..9 of a drawn number.
inline int lastDigit(int number) {
    return (number % 10 + 10) % 10;
}
