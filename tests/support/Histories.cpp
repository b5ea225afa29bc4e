#include "support/Histories.h"

#include <QFile>
#include <QTextStream>

DrawHistory realHistory() {
    QFile file(QStringLiteral(TEST_DATA_DIR "/loto7-draws-688.csv"));
    std::vector<DrawRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return DrawHistory();
    QTextStream in(&file);
    in.readLine(); // heading
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (f.size() != 11)
            continue;
        DrawRecord r;
        r.drawNumber = f[0].toInt();
        r.drawDate = f[1];
        for (int k = 0; k < 9; ++k)
            r.numbers[k] = f[k + 2].toInt();
        records.push_back(r);
    }
    return DrawHistory(std::move(records));
}
