#pragma once

#include "core/check/CheckGrids.h"
#include "gui/window/ChildWindow.h"

#include <optional>

class DrawHistory;
class PredictionEngine;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class ResultGridView;
struct CatalogEntry;

// 当選照合: tickets typed, pasted, read from a file or taken from the prediction, checked
// against one draw, a range of draws or all of them. The checking is the core's; this window
// lays out the input and the two grids.
class CheckWindow : public ChildWindow {
    Q_OBJECT
public:
    CheckWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionEngine &prediction,
                QWidget *parent = nullptr);

    void load() override;
    // The summary under the range it covers, then the results, as the window shows them.
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    // 照合: reads the tickets and the range and shows the result. False when the input was
    // refused (a message says why) and nothing was checked.
    bool check();
    // Adds the tickets of the prediction window's current predictions to the ticket list.
    void takePrediction();
    // The ticket list becomes these tickets (one undo brings back what was there), then 照合.
    bool checkTickets(const QString &tickets);
    // Adds the lines of a text or CSV file to the ticket list; false after a message.
    bool appendFile(const QString &path);

    ResultGridView *resultView() const { return m_results; }
    ResultGridView *summaryView() const { return m_summary; }

private:
    void chooseFile();
    void appendText(const QString &text);
    std::optional<DrawRange> selectedRange();
    void showResults();
    void clearResults(const QString &why);
    void refuse(const QString &message);

    const DrawHistory &m_history;
    const PredictionEngine &m_prediction;
    QPlainTextEdit *m_tickets;
    QRadioButton *m_oneDraw, *m_range, *m_all;
    QSpinBox *m_draw, *m_from, *m_to;
    QCheckBox *m_allRows;
    QLabel *m_rangeText;
    ResultGridView *m_summary;
    ResultGridView *m_results;

    // The last check, kept so that showing all rows or only wins needs no new check.
    std::vector<Ticket> m_checked;
    std::optional<CheckResult> m_result;
};
