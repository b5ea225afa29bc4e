#pragma once

#include "core/grid/GridJson.h"
#include "core/history/DrawHistory.h"

#include <QByteArray>
#include <QString>

// How the tests hold a window on screen against the command line's export of it.

// A new database at path holding the draws of history; false when it cannot be written.
bool writeDatabase(const QString &path, const DrawHistory &history);

// The JSON export names the window as shown has it, holds as many grids, each of the same size
// and with the same text in every cell. A failure names the grid and the row.
void compareWithExport(const QByteArray &json, const WindowExport &shown);
