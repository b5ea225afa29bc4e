#include "core/check/CheckReport.h"

#include "core/check/CheckGrids.h"
#include "core/grid/GridJson.h"
#include "core/io/JsonWriter.h"

namespace {
// A few members a line, then one ticket a line.
constexpr JsonWriter::Layout kReport{.lineSeparator = ",\n "};
constexpr JsonWriter::Layout kTickets{.open = "\n  ", .separator = ",\n  ", .close = "\n "};

template <typename Range> void writeIntegers(JsonWriter &w, const Range &values) {
    w.beginArray();
    for (const auto v : values)
        w.integer(qulonglong(v));
    w.endArray();
}

// The totals come first in both reports, so they are counted before any ticket is written.
CheckResult totals(const std::vector<Ticket> &tickets, const TicketChecker &checker) {
    std::vector<DrawRules::NumberMask> masks;
    masks.reserve(tickets.size());
    for (const Ticket &t : tickets)
        masks.push_back(t.mask);
    return checker.totals(masks);
}

void writePrize(JsonWriter &w, const std::optional<qint64> &yen) {
    if (yen)
        w.integer(*yen);
    else
        w.null();
}

// Writes are gathered into pieces of about this size.
constexpr qsizetype kChunk = 1 << 16;
} // namespace

void CheckReport::writeJson(const std::vector<Ticket> &tickets, const TicketChecker &checker, const Sink &sink) {
    const CheckResult result = totals(tickets, checker);
    JsonWriter w;
    w.beginObject(kReport);
    w.key("from").integer(result.range.from).key("to").integer(result.range.to).breakLine();
    w.key("drawsChecked").integer(result.drawsChecked());
    w.key("drawsSkipped").integer(result.drawsSkipped).breakLine();
    writeIntegers(w.key("tiers"), result.tiers);
    // As Qt writes an array of numbers: no spaces.
    w.breakLine().key("expected").beginArray(JsonWriter::kCompact);
    for (const double e : result.expected())
        w.number(e);
    w.endArray().breakLine();
    w.key("tickets").beginArray(kTickets);
    TicketOutcome outcome;
    for (const Ticket &ticket : tickets) {
        checker.checkOne(ticket.mask, outcome);
        w.beginObject();
        writeIntegers(w.key("numbers"), ticket.numbers);
        writeIntegers(w.key("tiers"), outcome.tiers);
        w.key("wins").beginArray();
        for (const TicketWin &win : outcome.wins) {
            w.beginObject().key("draw").integer(result.draws[win.drawIndex].drawNumber);
            w.key("main").integer(win.main).key("bonus").integer(win.bonus).key("tier").integer(win.tier);
            writePrize(w.key("prize"), result.prizeOf(win));
            w.endObject();
        }
        w.endArray();
        w.key("won").integer(outcome.won).key("paid").integer(qint64(PrizeTier::kTicketPrice) * result.drawsChecked());
        w.key("drawsWithoutPrizes").integer(result.drawsWithoutPrizes);
        w.endObject();
        if (w.size() >= kChunk)
            sink(w.take());
    }
    w.endArray().breakLine();
    w.key("won").integer(result.won).key("paid").integer(result.paid());
    w.key("drawsWithoutPrizes").integer(result.drawsWithoutPrizes);
    w.endObject();
    sink(w.take() + '\n');
}

void CheckReport::writeCsv(const std::vector<Ticket> &tickets, const TicketChecker &checker, const Sink &sink) {
    const CheckResult result = totals(tickets, checker);
    // The summary as the window shows it; the wins written row by row, so that none is cut off.
    QByteArray out = GridCsv::toCsv({QString(), QString(), QString(), {CheckGrids::summary(result)}});
    out += "\r\n";
    QString heading = QStringLiteral("チケット,回数");
    for (int k = 1; k <= DrawRules::kMainCount; ++k)
        heading += QStringLiteral(",数字%1").arg(k);
    out += (heading + QStringLiteral(",本数字,ボーナス,等級\r\n")).toUtf8();
    TicketOutcome outcome;
    for (std::size_t t = 0; t < tickets.size(); ++t) {
        checker.checkOne(tickets[t].mask, outcome);
        QByteArray numbers;
        for (const int n : tickets[t].numbers)
            numbers += ',' + QByteArray::number(n);
        for (const TicketWin &w : outcome.wins) {
            out += QByteArray::number(qulonglong(t + 1)) + ',' +
                   QByteArray::number(result.draws[w.drawIndex].drawNumber) + numbers + ',' +
                   QByteArray::number(w.main) + ',' + QByteArray::number(w.bonus) + ',' +
                   PrizeTier::tierName(w.tier).toUtf8() + "\r\n";
        }
        if (out.size() >= kChunk) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}
