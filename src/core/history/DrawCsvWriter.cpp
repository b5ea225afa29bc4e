// Writing draw lists: our layout, for this program and for others.
#include "core/history/DrawCsv.h"

#include "core/history/DrawStore.h"
#include "core/io/Cp932.h"
#include "core/io/CsvText.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>

namespace {
// A database written by another program may hold any text as 抽せん日: each date is read by the
// import's rules, and one that breaks them is written empty, never as it is (a spreadsheet would
// take =HYPERLINK(…) for a formula, and the list could not be imported again).
QString writeText(std::vector<DrawRecord> records, const QString &lineEnd, QString *badDates) {
    std::sort(records.begin(), records.end(),
              [](const DrawRecord &a, const DrawRecord &b) { return a.drawNumber < b.drawNumber; });
    // The prize columns only when there is something to put in them, so that a history without
    // prizes is written as it always was.
    const bool withPrizes =
        std::any_of(records.begin(), records.end(), [](const DrawRecord &r) { return r.prizes.has_value(); });
    QStringList heading = DrawCsv::oursHeading(true);
    if (withPrizes)
        heading += DrawPrizes::columnNames();
    QString text = heading.join(QLatin1Char(',')) + lineEnd;
    int bad = 0;
    int firstBad = 0;
    for (const DrawRecord &r : records) {
        const std::optional<QString> date = DrawCsv::normaliseDate(r.drawDate.trimmed());
        if (!date && bad++ == 0)
            firstBad = r.drawNumber;
        QStringList fields{QString::number(r.drawNumber), CsvText::quoteField(date.value_or(QString()))};
        for (const std::optional<int> &n : r.numbers)
            fields << (n ? QString::number(*n) : QString());
        if (withPrizes)
            for (int c = 0; c < DrawPrizes::kColumnCount; ++c)
                fields << (r.prizes ? QString::number(r.prizes->values()[std::size_t(c)]) : QString());
        text += fields.join(QLatin1Char(',')) + lineEnd;
    }
    if (badDates)
        *badDates = bad == 0 ? QString()
                             : QStringLiteral("抽せん日が日付として読めない %1 件は、抽せん日を空にして書き出しました"
                                              "（最初の回数: %2）。")
                                   .arg(bad)
                                   .arg(firstBad);
    return text;
}
} // namespace

namespace DrawCsv {

QByteArray write(std::vector<DrawRecord> records, QString *badDates) {
    return writeText(std::move(records), QStringLiteral("\n"), badDates).toUtf8();
}

std::optional<QByteArray> writeFile(std::vector<DrawRecord> records, Encoding encoding, QString *badDates) {
    const QString text = writeText(std::move(records), QStringLiteral("\r\n"), badDates);
    if (encoding == Encoding::Cp932)
        return Cp932::encode(text);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

bool exportDraws(const DrawStore &store, const QString &path, Encoding encoding, int &count, QString &message) {
    count = 0;
    StoreError error;
    std::vector<DrawRecord> records = store.readAll(error);
    if (error) {
        message = error.message;
        return false;
    }
    const int n = int(records.size());
    QString badDates;
    const std::optional<QByteArray> bytes = writeFile(std::move(records), encoding, &badDates);
    if (!bytes) {
        message = QStringLiteral("シフトJIS（CP932）にない文字があるため書き出せません。UTF-8 で書き出してください。");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        message =
            QStringLiteral("%1 に書き込めませんでした（%2）。").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    count = n;
    message = badDates;
    return true;
}

} // namespace DrawCsv
