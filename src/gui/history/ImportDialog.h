#pragma once

#include "core/history/ImportPlan.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

// CSVファイルから取り込み: shows what importing a file would do (new, identical, differing side by
// side, unreadable lines) and lets the user choose, for every differing draw at once, between
// the stored draw and the file's. Nothing is written before 取り込む; with nothing to write the
// dialog says so and offers only 閉じる.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(const ImportPlan &plan, const QString &path, QWidget *parent = nullptr);

    ImportPlan::Choice choice() const;

    struct Outcome {
        bool stored = false; // the database was changed
        ImportPlan::Summary summary;
    };
    // The whole import of one file: reads and plans it, shows the dialog, writes on 取り込む and
    // tells the user about any failure. Reading and writing run beside the event loop, with a
    // progress bar when they take more than a moment.
    static Outcome importFile(QWidget *parent, const ConnectionString &connection, const QString &path);

    static QString title();
    // Whether the plan has anything to write: draws to add or differing ones to choose for.
    static bool hasWork(const ImportPlan &plan);
    // What the dialog says when it has nothing to import, and what the program says after it wrote.
    static QString nothingToImport();
    static QString writtenMessage(const ImportPlan::Summary &summary);
    // How long work may take before the progress bar shows, in milliseconds.
    static constexpr int kProgressDelay = 400;

private:
    QRadioButton *m_keepStored = nullptr;
    QRadioButton *m_takeFile = nullptr;
    QPushButton *m_import = nullptr;
};
