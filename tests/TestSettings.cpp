#include "core/io/Cp932.h"
#include "core/settings/PredictionOptions.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
// The twelve flags written as 0/1 characters, index 0 first.
PredictionOptions optionsFrom(const char *bits) {
    PredictionOptions o;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        o.ReflectFlag[std::size_t(i)] = bits[i] == '1';
    return o;
}

QString bitsOf(const PredictionOptions &o) {
    QString s;
    for (bool f : o.ReflectFlag)
        s += f ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QByteArray utf8(const char *text) {
    return QByteArray(text);
}

QByteArray cp932(const char *text) {
    return *Cp932::encode(QString::fromUtf8(text));
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void read_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        const char *all = "頻度分析Opt=True\r\n間隔分析Opt=False\r\n出現回数分析Opt=True\r\nバラツキ分析Opt=True\r\n"
                          "引っ張り分析Opt=False\r\n連番飛び石分析Opt=False\r\n数字合計分析Opt=False\r\n"
                          "組合せパターン分析Opt=True\r\n5分割傾向分析Opt=False\r\n分割データ分析Opt=False\r\n"
                          "下一桁出現傾向分析Opt=False\r\n下一桁連続出現回数分析Opt=True\r\n";
        QTest::newRow("as written, CP932") << cp932(all) << "000000000000"
                                           << "101100010001";
        QTest::newRow("as written, UTF-8") << utf8(all) << "000000000000"
                                           << "101100010001";
        QTest::newRow("UTF-8 with byte-order mark")
            << (QByteArray("\xEF\xBB\xBF") + utf8("頻度分析Opt=True\r\n")) << "000000000000"
            << "100000000000";
        QTest::newRow("another order, LF only")
            << cp932("下一桁連続出現回数分析Opt=True\n5分割傾向分析Opt=True\n頻度分析Opt=True\n") << "000000000000"
            << "100000001001";
        QTest::newRow("a CR alone ends a line too")
            << cp932("頻度分析Opt=True\r間隔分析Opt=True\r\r\n出現回数分析Opt=True") << "000000000000"
            << "111000000000";
        QTest::newRow("missing keys keep their values") << cp932("間隔分析Opt=True\r\n") << "100000000001"
                                                        << "110000000001";
        QTest::newRow("last line wins")
            << cp932("間隔分析Opt=True\r\n間隔分析Opt=False\r\n出現回数分析Opt=False\r\n出現回数分析Opt=True\r\n")
            << "010000000000"
            << "001000000000";
        QTest::newRow("unknown keys, lines without =, empty lines")
            << cp932("[section]\r\n\r\n4分割傾向分析Opt=True\r\n頻度分析Opt\r\nバラツキ分析Opt=True\r\n")
            << "000000000000"
            << "000100000000";
        QTest::newRow("keys compare exactly")
            << cp932("頻度分析opt=True\r\n 間隔分析Opt=True\r\n出現回数分析Opt =True\r\n") << "000000000000"
            << "000000000000";
        QTest::newRow("values: any case, spaces trimmed")
            << cp932("頻度分析Opt= true \r\n間隔分析Opt=FALSE\r\n出現回数分析Opt=tRuE\r\n") << "010000000000"
            << "101000000000";
        QTest::newRow("other values are ignored")
            << cp932("頻度分析Opt=1\r\n間隔分析Opt=\r\n出現回数分析Opt=Yes\r\nバラツキ分析Opt=False\r\n")
            << "111100000000"
            << "111000000000";
        QTest::newRow("a bad value does not undo an earlier good one")
            << cp932("頻度分析Opt=True\r\n頻度分析Opt=maybe\r\n") << "000000000000"
            << "100000000000";
        QTest::newRow("the second part is the value") << cp932("頻度分析Opt=True=False\r\n") << "000000000000"
                                                      << "100000000000";
        QTest::newRow("no line break at the end") << cp932("数字合計分析Opt=True") << "000000000000"
                                                  << "000000100000";
        QTest::newRow("empty file") << QByteArray() << "101010101010"
                                    << "101010101010";
        QTest::newRow("exactly as large as the bound")
            << cp932("頻度分析Opt=True\r\n").leftJustified(kMaxSettingsFileBytes, ' ') << "000000000000"
            << "100000000000";
        QTest::newRow("undecodable bytes only spoil their line")
            << (QByteArray("\xFF\xFE=True\r\n") + cp932("分割データ分析Opt=True\r\n")) << "000000000000"
            << "000000000100";
    }
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        QVERIFY(writeFile(path, bytes));
        PredictionOptions options = optionsFrom(qPrintable(before));
        const SettingsResult result = ReadInitFile(path, options);
        QVERIFY(result.ok);
        QCOMPARE(bitsOf(options), after);
    }

    void missingFileLeavesOptions() {
        QTemporaryDir dir;
        PredictionOptions options = optionsFrom("100000000001");
        const SettingsResult result = ReadInitFile(dir.filePath(QStringLiteral("ナナズバリオ.ini")), options);
        QVERIFY(result.ok);
        QCOMPARE(bitsOf(options), QStringLiteral("100000000001"));
    }

    void unreadableFileIsReported_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a FIFO, which would never end") << "fifo";
        QTest::newRow("larger than the bound") << "large";
    }
    void unreadableFileIsReported() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(writeFile(path, cp932("頻度分析Opt=False\r\n") + QByteArray(kMaxSettingsFileBytes, ' ')));
        // Nothing of it is taken: every option keeps the value it had.
        PredictionOptions options = optionsFrom("100000000001");
        const SettingsResult result = ReadInitFile(path, options);
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(path));
        QCOMPARE(bitsOf(options), QStringLiteral("100000000001"));
    }

    void writesExactBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        // What an existing file has is replaced, unknown keys included.
        QVERIFY(writeFile(path, cp932("謎のキー=True\r\n頻度分析Opt=False\r\n")));
        QVERIFY(WriteInitFile(path, optionsFrom("101100010001")).ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // Twelve CRLF lines in CP932, as a Japanese Windows program writes them.
        const QByteArray expected = QByteArray::fromHex(
            "9570937895aa90cd4f70743d547275650d0a8ad48a7595aa90cd4f70743d46616c73650d0a8f6f8cbb89f1909495aa90cd4f70743d"
            "547275650d0a836f83898363834c95aa90cd4f70743d547275650d0a88f882c192a382e895aa90cd4f70743d46616c73650d0a9841"
            "94d494f282d190ce95aa90cd4f70743d46616c73650d0a90948e9a8d878c7695aa90cd4f70743d46616c73650d0a91678d8782b983"
            "70835e815b839395aa90cd4f70743d547275650d0a3595aa8a848c588cfc95aa90cd4f70743d46616c73650d0a95aa8a848366815b"
            "835e95aa90cd4f70743d46616c73650d0a89ba88ea8c858f6f8cbb8c588cfc95aa90cd4f70743d46616c73650d0a89ba88ea8c8598"
            "4191b18f6f8cbb89f1909495aa90cd4f70743d547275650d0a");
        QCOMPARE(f.readAll(), expected);
    }

    void sameLengthOtherOptionsRewritten() {
        // Two flags swapped: the file keeps its length, and must still be written.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        QVERIFY(WriteInitFile(path, optionsFrom("100000000000")).ok);
        QVERIFY(WriteInitFile(path, optionsFrom("010000000000")).ok);
        PredictionOptions read;
        QVERIFY(ReadInitFile(path, read).ok);
        QCOMPARE(bitsOf(read), QStringLiteral("010000000000"));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("bits");
        QTest::newRow("all off") << "000000000000";
        QTest::newRow("all on") << "111111111111";
        for (int i = 0; i < PredictionOptions::kCount; ++i) {
            QString bits(PredictionOptions::kCount, QLatin1Char('0'));
            bits[i] = QLatin1Char('1');
            QTest::addRow("only %d", i) << bits;
        }
    }
    void roundTrip() {
        QFETCH(QString, bits);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        QVERIFY(WriteInitFile(path, optionsFrom(qPrintable(bits))).ok);
        // Read into the opposite values, so every option must come from the file.
        PredictionOptions read;
        read.ReflectFlag.fill(true);
        for (int i = 0; i < PredictionOptions::kCount; ++i)
            read.ReflectFlag[std::size_t(i)] = bits[i] != QLatin1Char('1');
        QVERIFY(ReadInitFile(path, read).ok);
        QCOMPARE(bitsOf(read), bits);
    }

    void unknownKeysDroppedAtNextWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        QVERIFY(writeFile(path, cp932("古いキー=True\r\n下一桁出現傾向分析Opt=True\r\nコメント\r\n頻度分析Opt=True\r\n"
                                      "頻度分析Opt=False\r\n")));
        PredictionOptions options;
        QVERIFY(ReadInitFile(path, options).ok);
        QVERIFY(WriteInitFile(path, options).ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = Cp932::decode(f.readAll()).text;
        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString()); // the last line ends with CRLF too
        QCOMPARE(lines.size(), PredictionOptions::kCount);
        for (int i = 0; i < PredictionOptions::kCount; ++i)
            QCOMPARE(lines[i], PredictionOptions::keys()[std::size_t(i)] +
                                   (i == 10 ? QStringLiteral("=True") : QStringLiteral("=False")));
    }

    void utf8Validity_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("firstInvalid");
        QTest::newRow("ASCII") << QByteArray("abc") << -1;
        QTest::newRow("kana") << QByteArray("\xE3\x81\x82") << -1;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << -1;
        QTest::newRow("truncated at the end") << QByteArray("ab\xE3\x81") << 2;
        QTest::newRow("stray continuation byte") << QByteArray("ab\xE3\x81\x82\x80") << 5;
        QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF") << 0;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << 0;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << 0;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
        QTest::newRow("CP932 kana") << QByteArray("a\x82\xA0") << 1;
    }
    void utf8Validity() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, firstInvalid);
        QCOMPARE(int(Cp932::firstInvalidUtf8(bytes)), firstInvalid);
    }

    void cp932Conversion() {
        // The Windows extensions round-trip: wave dash as full-width tilde, circled digits.
        const QString text = QStringLiteral("～①あ");
        QCOMPARE(*Cp932::encode(text), QByteArray("\x81\x60\x87\x40\x82\xA0"));
        QCOMPARE(Cp932::decode(QByteArray("\x81\x60\x87\x40\x82\xA0")).text, text);
        QVERIFY(!Cp932::encode(QStringLiteral("😀")));
        const Cp932::Decoded bad = Cp932::decode(QByteArray("\x82\xA0\xFF"
                                                            "a"));
        QCOMPARE(bad.firstBadByte, 2);
        QCOMPARE(bad.text, QStringLiteral("あ\uFFFDa"));
        // Mostly UTF-8 with one stray byte stays UTF-8 around it.
        const Cp932::Decoded mixed = Cp932::decodeUtf8OrCp932(QByteArray("頻度分析Opt=True\n\xFF\n"));
        QCOMPARE(mixed.text, QStringLiteral("頻度分析Opt=True\n\uFFFD\n"));
        QCOMPARE(int(mixed.firstBadByte), QByteArray("頻度分析Opt=True\n").size());
    }

    void failedWriteIsReported() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("無いフォルダ/ナナズバリオ.ini"));
        const SettingsResult result = WriteInitFile(path, optionsFrom("111111111111"));
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(path));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
