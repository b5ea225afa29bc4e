#pragma once

#include "core/history/ConnectionString.h"
#include "core/history/DrawCsv.h"

class QWidget;

// CSVファイルへ書き出し: the save dialog, whose file type chooses the encoding, and the export.
namespace ExportDialog {
// Asks for a file and an encoding, then exports.
void chooseAndExport(QWidget *parent, const ConnectionString &connection);
// Writes every stored draw to path and tells the user how it went; true when written.
bool exportTo(QWidget *parent, const ConnectionString &connection, const QString &path, DrawCsv::Encoding encoding);
} // namespace ExportDialog
