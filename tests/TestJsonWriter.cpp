// The ordered JSON writer's layout rules, in the cases the exports rarely reach: empty
// containers under a line layout, a line break that affects one separator only, nesting.
#include "core/io/JsonWriter.h"

#include <QtTest>

#include <functional>

namespace {
constexpr JsonWriter::Layout kLines{.open = "\n  ", .separator = ",\n  ", .close = "\n"};
constexpr JsonWriter::Layout kBreaks{.open = "<", .close = ">", .lineSeparator = ",\n "};
} // namespace

Q_DECLARE_METATYPE(std::function<void(JsonWriter &)>)

class TestJsonWriter : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<std::function<void(JsonWriter &)>>("write");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty under a line layout") << std::function([](JsonWriter &w) {
            w.beginObject(kLines).key("a").beginArray(kLines).endArray().endObject();
        }) << QByteArray("{\n  \"a\": []\n}");
        QTest::newRow("empty object") << std::function([](JsonWriter &w) { w.beginObject(kBreaks).endObject(); })
                                      << QByteArray("{}");
        QTest::newRow("a line break moves one item only") << std::function([](JsonWriter &w) {
            w.beginArray(kBreaks).integer(1).integer(2).breakLine().integer(3).integer(-4).endArray();
        }) << QByteArray("[<1, 2,\n 3, -4>]");
        QTest::newRow("nested, each with its own layout") << std::function([](JsonWriter &w) {
            w.beginArray(kLines).beginObject().key("x").null().key("y").boolean(false).endObject();
            w.beginArray(JsonWriter::kCompact).number(0.5).number(3).endArray().string(QStringLiteral("\"")).endArray();
        }) << QByteArray("[\n  {\"x\": null, \"y\": false},\n  [0.5,3],\n  \"\\\"\"\n]");
    }
    void layout() {
        QFETCH(std::function<void(JsonWriter &)>, write);
        QFETCH(QByteArray, expected);
        JsonWriter w;
        write(w);
        QCOMPARE(w.take(), expected);
        QCOMPARE(w.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "TestJsonWriter.moc"
