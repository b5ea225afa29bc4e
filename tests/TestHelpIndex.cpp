#include "core/catalog/AnalysisCatalog.h"
#include "core/help/HelpIndex.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kShippedHelp = QStringLiteral(TEST_SOURCE_DIR "/help/") + QString::fromUtf8(HelpIndex::kFileName);

const char *const kSmallFile = R"(<html><head><style>h1 { color: red; }</style></head><body>
<section id="a" data-keywords="ナナズバリオについて;はじめに"><h1>概要</h1><p><a href="#b">次へ</a></p></section>
<section id="b" data-keywords="出現頻度分析"><h1>出現<b>頻度</b></h1></section>
</body></html>)";
} // namespace

class TestHelpIndex : public QObject {
    Q_OBJECT
private slots:
    void keywordLookup_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("topic");
        QTest::newRow("about") << QStringLiteral("ナナズバリオについて") << QStringLiteral("a");
        QTest::newRow("second keyword of a topic") << QStringLiteral("はじめに") << QStringLiteral("a");
        QTest::newRow("other topic") << QStringLiteral("出現頻度分析") << QStringLiteral("b");
        QTest::newRow("unknown") << QStringLiteral("ロト6") << QString();
        QTest::newRow("prefix only") << QStringLiteral("出現") << QString();
    }
    void keywordLookup() {
        QFETCH(QString, keyword);
        QFETCH(QString, topic);
        const HelpIndex index = HelpIndex::parse(QString::fromUtf8(kSmallFile));
        const HelpIndex::Topic *found = index.topicForKeyword(keyword);
        QCOMPARE(found ? found->id : QString(), topic);
    }

    // The index follows the readings (あいうえお順), not the character codes; voiced kana sort
    // with their unvoiced ones.
    void indexInReadingOrder() {
        const HelpIndex index = HelpIndex::parse(QStringLiteral(
            R"(<section id="a" data-keywords="引っ張り分析|ひっぱりぶんせき;高数字|こうすうじ;アイコンの整列|あいこんのせいれつ">)"
            R"(<h1>a</h1></section><section id="b" data-keywords="バラツキ分析|ばらつきぶんせき;合計|ごうけい;)"
            R"(出現頻度分析|しゅつげんひんどぶんせき;カサ;ハッパ"><h1>b</h1></section>)"));
        QStringList order;
        for (const HelpIndex::Keyword &k : index.keywordIndex())
            order << k.text;
        QCOMPARE(order, QStringList({"アイコンの整列", "カサ", "合計", "高数字", "出現頻度分析", "ハッパ",
                                     "バラツキ分析", "引っ張り分析"}));
        QCOMPARE(index.keywordAtOrAfter(QStringLiteral("こ"))->text, QStringLiteral("合計"));
    }

    void filterAsOneTypes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");
        QTest::newRow("nothing typed") << QString() << true;
        QTest::newRow("part of the keyword") << QStringLiteral("頻度") << true;
        QTest::newRow("reading in hiragana") << QStringLiteral("ひんど") << true;
        QTest::newRow("reading in katakana") << QStringLiteral("ヒンド") << true;
        QTest::newRow("half-width katakana") << QStringLiteral("ﾋﾝﾄﾞ") << true;
        QTest::newRow("elsewhere") << QStringLiteral("間隔") << false;
    }
    void filterAsOneTypes() {
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        const HelpIndex::Keyword keyword{QStringLiteral("出現頻度分析"), QStringLiteral("しゅつげんひんどぶんせき"),
                                         "x"};
        QCOMPARE(HelpIndex::matches(keyword, typed), matches);
    }

    void topicTitleAndStyle() {
        const HelpIndex index = HelpIndex::parse(QString::fromUtf8(kSmallFile));
        QCOMPARE(index.topic(QStringLiteral("b"))->title, QStringLiteral("出現頻度"));
        QVERIFY(index.page(*index.topic(QStringLiteral("a"))).contains(QStringLiteral("color: red")));
    }

    void locatePrefersCurrentDirectory() {
        QTemporaryDir current, program;
        const QString name = QString::fromUtf8(HelpIndex::kFileName);
        // Neither: the current directory's path, so a message can name it.
        QCOMPARE(HelpIndex::locate(current.path(), program.path()), current.filePath(name));
        QFile beside(program.filePath(name));
        QVERIFY(beside.open(QIODevice::WriteOnly));
        beside.close();
        QCOMPARE(HelpIndex::locate(current.path(), program.path()), program.filePath(name));
        QFile here(current.filePath(name));
        QVERIFY(here.open(QIODevice::WriteOnly));
        here.close();
        QCOMPARE(HelpIndex::locate(current.path(), program.path()), current.filePath(name));
    }

    void missingFile() {
        QTemporaryDir dir;
        QVERIFY(!HelpIndex::load(dir.filePath(QStringLiteral("none.html"))));
    }

    // Every window can be looked up under its menu caption, and every link leads to a topic.
    void shippedFileCoversEveryWindow() {
        const auto index = HelpIndex::load(kShippedHelp);
        QVERIFY(index);
        QVERIFY(index->topicForKeyword(QString::fromUtf8(HelpIndex::kAboutKeyword)));
        static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)$"));
        for (const CatalogEntry &e : AnalysisCatalog::entries()) {
            const QString caption = QString(e.menuText).remove(accessKey);
            QVERIFY2(index->topicForKeyword(caption), qPrintable(caption));
        }
        for (const HelpIndex::Keyword &k : index->keywordIndex())
            QVERIFY2(HelpIndex::readingIsKana(k.reading),
                     qPrintable(k.text + " needs its reading in hiragana: data-keywords=\"keyword|reading\""));
        static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
        for (const HelpIndex::Topic &t : index->topics())
            for (auto it = link.globalMatch(t.html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(index->topic(target), qPrintable(t.id + " -> " + target));
            }
    }
};

QTEST_GUILESS_MAIN(TestHelpIndex)
#include "TestHelpIndex.moc"
