#pragma once

#include <QString>

#include <optional>

class QWidget;

// The save dialog of "CSVで保存...": where the file goes and whether it starts with a UTF-8
// byte-order mark (the spreadsheet programs Japanese users have open such a file directly;
// plain UTF-8 suits other programs).
class CsvSaveDialog {
public:
    struct Choice {
        QString path;
        bool byteOrderMark;
    };
    // Nothing when the user cancels.
    static std::optional<Choice> ask(QWidget *parent, const QString &baseName);
};
