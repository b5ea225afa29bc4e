#include "ExportCompare.h"

#include "core/history/DrawStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <map>

bool writeDatabase(const QString &path, const DrawHistory &history) {
    StoreError error;
    auto store = DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
    return store && store->store(history.records(), error);
}

void compareWithExport(const QByteArray &json, const WindowExport &shown) {
    QJsonParseError error;
    const QJsonObject exported = QJsonDocument::fromJson(json, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QCOMPARE(exported[QStringLiteral("window")].toString(), shown.window);
    QCOMPARE(exported[QStringLiteral("caption")].toString(), shown.caption);
    QCOMPARE(exported[QStringLiteral("description")].toString(), shown.description);
    const QJsonArray grids = exported[QStringLiteral("grids")].toArray();
    QCOMPARE(grids.size(), qsizetype(shown.grids.size()));
    for (qsizetype g = 0; g < grids.size(); ++g) {
        const QJsonObject grid = grids[g].toObject();
        const ResultGrid &screen = shown.grids[std::size_t(g)];
        QCOMPARE(grid[QStringLiteral("columns")].toInt(), screen.columns());
        QCOMPARE(grid[QStringLiteral("rows")].toInt(), screen.rows());
        std::map<std::pair<int, int>, QString> texts; // (row, col); a cell not listed is empty
        for (const QJsonValue &cell : grid[QStringLiteral("cells")].toArray())
            texts[{cell[QStringLiteral("row")].toInt(), cell[QStringLiteral("col")].toInt()}] =
                cell[QStringLiteral("text")].toString();
        for (int r = 1; r <= screen.rows(); ++r) {
            QStringList onScreen, inExport;
            for (int c = 1; c <= screen.columns(); ++c) {
                onScreen << screen.text(c, r);
                const auto found = texts.find({r, c});
                inExport << (found == texts.end() ? QString() : found->second);
            }
            const QString where = QStringLiteral("grid %1, row %2: ").arg(g).arg(r);
            QCOMPARE(where + inExport.join(u','), where + onScreen.join(u','));
        }
    }
}
