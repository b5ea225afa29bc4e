#pragma once

#include "core/grid/ResultGrid.h"

#include <QByteArray>
#include <QString>

#include <vector>

// What one window shows, as the command line exports it.
struct WindowExport {
    QString window;      // form name
    QString caption;
    QString description; // Label1 (Label19 in the prediction window); empty where none
    std::vector<ResultGrid> grids;
};

namespace GridJson {
// One UTF-8 object and a newline, keys in the documented order.
QByteArray toJson(const WindowExport &w);
// A JSON string literal (quotes included), escaped by Qt's JSON writer.
QByteArray quoted(const QString &text);
} // namespace GridJson

namespace GridCsv {
// Cell texts only, RFC 4180 quoting, CRLF; several grids separated by one empty line.
QByteArray toCsv(const WindowExport &w);
// Writes toCsv(w) to a file, after a UTF-8 byte-order mark when asked (spreadsheet programs
// then read it as UTF-8 rather than in the system's code page). The file is replaced whole or
// not at all; false with the reason in error when it cannot be written.
bool save(const QString &path, const WindowExport &w, bool byteOrderMark, QString *error = nullptr);
} // namespace GridCsv
