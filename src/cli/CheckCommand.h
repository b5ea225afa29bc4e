#pragma once

#include "core/check/TicketChecker.h"
#include "core/history/DrawHistory.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// nanazubario-cli check --ticket "..." [--tickets FILE] [--draw N | --from N --to M] [--format json|csv]
struct CheckOptions {
    QStringList tickets;     // --ticket, one ticket each
    QStringList ticketFiles; // --tickets
    QString draw, from, to;  // empty when not given
    QString format;
};

// What a ticket check works on.
struct CheckInput {
    std::vector<Ticket> tickets;
    DrawHistory history;
    DrawRange range;
};

// The format, every ticket, the stored history and the range, refused as `check` refuses them;
// usage follows the message when no ticket is given. nullopt after a message, status set.
std::optional<CheckInput> readCheckInput(const QString &dbPath, const CheckOptions &o, const QString &usage,
                                         int &status);

// Exit status: 0, 1 (database) or 2 (arguments); messages go to stderr.
int runCheck(const QStringList &args, const QString &dbPath, const CheckOptions &o);
