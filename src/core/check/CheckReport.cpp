#include "core/check/CheckReport.h"

#include "core/grid/GridJson.h"
#include "core/check/CheckGrids.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
template <typename Range> QByteArray integers(const Range &values) {
    QByteArray out = "[";
    bool first = true;
    for (const auto v : values) {
        if (!first)
            out += ", ";
        first = false;
        out += QByteArray::number(qulonglong(v));
    }
    return out + ']';
}

QByteArray member(const char *name, const QByteArray &value) {
    return QByteArray("\"") + name + "\": " + value;
}

// The totals come first in both reports, so they are counted before any ticket is written.
CheckResult totals(const std::vector<Ticket> &tickets, const TicketChecker &checker) {
    std::vector<DrawRules::NumberMask> masks;
    masks.reserve(tickets.size());
    for (const Ticket &t : tickets)
        masks.push_back(t.mask);
    return checker.totals(masks);
}

// Writes are gathered into pieces of about this size.
constexpr qsizetype kChunk = 1 << 16;
} // namespace

void CheckReport::writeJson(const std::vector<Ticket> &tickets, const TicketChecker &checker, const Sink &sink) {
    const CheckResult result = totals(tickets, checker);
    QJsonArray expected;
    for (const double e : result.expected())
        expected.append(e);

    QByteArray out = "{";
    out += member("from", QByteArray::number(result.range.from)) + ", ";
    out += member("to", QByteArray::number(result.range.to)) + ",\n ";
    out += member("drawsChecked", QByteArray::number(result.drawsChecked())) + ", ";
    out += member("drawsSkipped", QByteArray::number(result.drawsSkipped)) + ",\n ";
    out += member("tiers", integers(result.tiers)) + ",\n ";
    out += member("expected", QJsonDocument(expected).toJson(QJsonDocument::Compact)) + ",\n ";
    out += member("tickets", "[");
    TicketOutcome outcome;
    for (std::size_t t = 0; t < tickets.size(); ++t) {
        checker.checkOne(tickets[t].mask, outcome);
        out += t ? ",\n  {" : "\n  {";
        out += member("numbers", integers(tickets[t].numbers)) + ", ";
        out += member("tiers", integers(outcome.tiers)) + ", ";
        out += member("wins", "[");
        for (std::size_t i = 0; i < outcome.wins.size(); ++i) {
            const TicketWin &w = outcome.wins[i];
            out += i ? ", {" : "{";
            out += member("draw", QByteArray::number(result.draws[w.drawIndex].drawNumber)) + ", ";
            out += member("main", QByteArray::number(w.main)) + ", ";
            out += member("bonus", QByteArray::number(w.bonus)) + ", ";
            out += member("tier", QByteArray::number(w.tier)) + "}";
        }
        out += "]}";
        if (out.size() >= kChunk) {
            sink(out);
            out.clear();
        }
    }
    out += tickets.empty() ? "]}\n" : "\n ]}\n";
    sink(out);
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
