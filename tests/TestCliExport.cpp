// nanazubario-cli run as a process, on a frozen history: what it exports must be the grid the
// builder makes, cell by cell (its refusals are tested in TestCli).
#include "core/catalog/AnalysisCatalog.h"
#include "support/Files.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

namespace {
const QString kCli = QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli");
const QString kFrozen = QStringLiteral(TEST_DATA_DIR "/loto7-draws-688.csv");

std::optional<Rgb> colourOf(const QJsonValue &v) {
    if (v.isNull())
        return std::nullopt;
    const uint rgb = v.toString().mid(1).toUInt(nullptr, 16);
    return Rgb(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

std::vector<int> intsOf(const QJsonValue &v) {
    std::vector<int> out;
    for (const QJsonValue &x : v.toArray())
        out.push_back(x.toInt());
    return out;
}

// The sheet an exported grid describes; cells it leaves out are default cells.
ResultGrid gridOf(const QJsonObject &o) {
    ResultGrid g(o[u"columns"].toInt(), o[u"rows"].toInt());
    g.setVisibleArea(o[u"visibleColumns"].toInt(), o[u"visibleRows"].toInt());
    g.freezeColumns(o[u"frozenColumns"].toInt());
    g.freezeRows(o[u"frozenRows"].toInt());
    g.setOverflow(o[u"overflow"].toBool());
    const std::vector<int> widths = intsOf(o[u"columnWidths"]), heights = intsOf(o[u"rowHeights"]);
    for (std::size_t c = 0; c < widths.size(); ++c)
        g.setColumnWidth(int(c) + 1, widths[c]);
    for (std::size_t r = 0; r < heights.size(); ++r)
        g.setRowHeight(int(r) + 1, heights[r]);
    for (const QJsonValue &v : o[u"cells"].toArray()) {
        const QJsonObject c = v.toObject();
        GridCell *cell = g.cellAt(c[u"col"].toInt(), c[u"row"].toInt());
        if (!cell)
            continue;
        cell->text = c[u"text"].toString();
        cell->fore = *colourOf(c[u"fore"]);
        cell->back = *colourOf(c[u"back"]);
        cell->align = c[u"align"].toString() == u"left" ? Align::Left : Align::Center;
        const QJsonObject b = c[u"borders"].toObject();
        cell->setBorders({colourOf(b[u"left"]), colourOf(b[u"right"]), colourOf(b[u"top"]), colourOf(b[u"bottom"])});
    }
    return g;
}

// The first difference, named; empty when the sheets agree in everything the export carries.
QString difference(const ResultGrid &got, const ResultGrid &want) {
    if (describeSheet(got).remove(QStringLiteral(" parked")) != describeSheet(want).remove(QStringLiteral(" parked")))
        return describeSheet(got) + QStringLiteral(" / ") + describeSheet(want);
    if (got.columnWidths() != want.columnWidths() || got.rowHeights() != want.rowHeights())
        return QStringLiteral("column widths or row heights");
    for (int row = 1; row <= want.rows(); ++row)
        for (int col = 1; col <= want.columns(); ++col)
            if (!(got.cell(col, row) == want.cell(col, row)))
                return QStringLiteral("%1,%2: %3 / %4")
                    .arg(col)
                    .arg(row)
                    .arg(describe(got.cell(col, row)), describe(want.cell(col, row)));
    return {};
}

// One line per grid row, the cell texts separated by commas; a text with a comma is quoted
// (no text of these windows holds a quote or a line break).
QStringList csvLines(const ResultGrid &g) {
    QStringList lines;
    for (int row = 1; row <= g.rows(); ++row) {
        QStringList texts;
        for (int col = 1; col <= g.columns(); ++col) {
            const QString text = g.text(col, row);
            texts << (text.contains(QLatin1Char(',')) ? QLatin1Char('"') + text + QLatin1Char('"') : text);
        }
        lines << texts.join(QLatin1Char(','));
    }
    return lines;
}
} // namespace

class TestCliExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;
    DrawHistory m_history;

    QString settingsFile(bool allOn) {
        QByteArray text;
        for (const QString &key : PredictionOptions::keys())
            text += (key + (allOn ? QStringLiteral("=True\r\n") : QStringLiteral("=False\r\n"))).toUtf8();
        const QString path = m_dir.filePath(allOn ? QStringLiteral("on.ini") : QStringLiteral("off.ini"));
        return writeFile(path, text) ? path : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(kCli), "build nanazubario-cli first");
        m_db = m_dir.filePath(QStringLiteral("frozen.mdb"));
        QCOMPARE(runCli({QStringLiteral("import"), kFrozen, QStringLiteral("--db"), m_db}).status, 0);
        m_history = realHistory();
    }

    void exportIsTheBuiltGrid_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("optionsOn");
        for (const char *window : {"出現頻度分析", "回数別出現分析", "分割9データ分析", "下一桁出現傾向分析"})
            QTest::newRow(window) << QString::fromUtf8(window) << false;
        QTest::newRow("prediction, options off") << QStringLiteral("一発ズバリオ予想") << false;
        QTest::newRow("prediction, options on") << QStringLiteral("一発ズバリオ予想") << true;
    }
    void exportIsTheBuiltGrid() {
        QFETCH(QString, window);
        QFETCH(bool, optionsOn);
        const CatalogEntry *entry = AnalysisCatalog::find(window);
        QVERIFY(entry);
        PredictionOptions options;
        options.ReflectFlag.fill(optionsOn);
        const std::vector<ResultGrid> want = entry->grids(m_history, options);
        const QStringList common{QStringLiteral("--db"), m_db, QStringLiteral("--settings"), settingsFile(optionsOn)};

        const CliRun json = runCli(QStringList{QStringLiteral("export"), window} + common);
        QCOMPARE(json.status, 0);
        const QJsonObject top = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(top[u"window"].toString(), entry->formName);
        QCOMPARE(top[u"caption"].toString(), entry->caption);
        QCOMPARE(top[u"description"].toString(), entry->description);
        const QJsonArray grids = top[u"grids"].toArray();
        QCOMPARE(grids.size(), qsizetype(want.size()));
        for (std::size_t i = 0; i < want.size(); ++i)
            QCOMPARE(difference(gridOf(grids[qsizetype(i)].toObject()), want[i]), QString());

        const CliRun csv = runCli(
            QStringList{QStringLiteral("export"), window, QStringLiteral("--format"), QStringLiteral("csv")} + common);
        QCOMPARE(csv.status, 0);
        QStringList expected;
        for (std::size_t i = 0; i < want.size(); ++i)
            expected << (i ? QStringList{QString()} : QStringList{}) + csvLines(want[i]);
        QCOMPARE(QString::fromUtf8(csv.out), expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    // The options change the prediction; an export that ignored --settings would match both.
    void settingsChangeThePrediction() {
        const auto predict = [&](bool on) {
            return runCli({QStringLiteral("export"), QStringLiteral("一発ズバリオ予想"), QStringLiteral("--db"), m_db,
                           QStringLiteral("--settings"), settingsFile(on)})
                .out;
        };
        QVERIFY(predict(true) != predict(false));
    }

    void importsEveryLayout_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("ours") << QByteArray("回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                                            "ボーナス数字1,ボーナス数字2\n689,2026-08-07,2,5,11,19,26,31,36,8,22\n");
        QTest::newRow("published") << QByteArray("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                                                 "BONUS数字1,BONUS数字2\n第689回,2026/08/07,2,5,11,19,26,31,36,8,22\n");
        QTest::newRow("compact") << QByteArray("抽せん日,本数字,ボーナス数字,回別\n"
                                               "2026/08/07,02 05 11 19 26 31 36,08 22,第689回\n");
    }
    void importsEveryLayout() {
        QFETCH(QByteArray, csv);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("t.mdb")), file = dir.filePath(QStringLiteral("in.csv"));
        QVERIFY(writeFile(file, csv));
        const CliRun run = runCli({QStringLiteral("import"), file, QStringLiteral("--db"), db});
        QCOMPARE(run.status, 0);
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("追加 1 件、置換 0 件、変更なし 0 件\n"));
        QVERIFY(runCli({QStringLiteral("draws"), QStringLiteral("--db"), db})
                    .out.endsWith("\n689,2026-08-07,2,5,11,19,26,31,36,8,22\n"));
    }

    // Enough tickets against the whole frozen history that the report is written in several
    // pieces: it still reads as one object whose totals are the sums over its tickets.
    void checkReportIsWhole() {
        QByteArray lines;
        for (int i = 0; i < 200; ++i)
            for (int k = 0; k < 7; ++k)
                lines += QByteArray::number((i + k * 5) % 37 + 1) + (k < 6 ? " " : "\n");
        const QString file = m_dir.filePath(QStringLiteral("tickets.txt"));
        QVERIFY(writeFile(file, lines));
        const CliRun run =
            runCli({QStringLiteral("check"), QStringLiteral("--db"), m_db, QStringLiteral("--tickets"), file});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.size() > 200'000);
        const QJsonObject top = QJsonDocument::fromJson(run.out).object();
        const QJsonArray tickets = top[u"tickets"].toArray();
        QCOMPARE(tickets.size(), 200);
        std::vector<int> sums(6);
        for (const QJsonValue &t : tickets)
            for (int k = 0; k < 6; ++k)
                sums[std::size_t(k)] += t[u"tiers"][k].toInt();
        QCOMPARE(sums, intsOf(top[u"tiers"]));
        const std::vector<int> last = intsOf(tickets[199][u"tiers"]);
        QCOMPARE(tickets[199][u"wins"].toArray().size(), std::accumulate(last.begin(), last.end(), 0));
    }
};

QTEST_GUILESS_MAIN(TestCliExport)
#include "TestCliExport.moc"
