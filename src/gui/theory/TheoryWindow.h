#pragma once

#include "core/theory/TheoryComparison.h"
#include "gui/print/FigureKit.h"
#include "gui/window/ChildWindow.h"

#include <vector>

class QLabel;
class QScrollArea;
class ResultGridView;
class TheoryRangeBar;
struct CatalogEntry;

// 理論との比較: the draws of a range (all of them at first) against what chance alone predicts,
// one table for each thing counted with its test, each beside a chart of the two; above them
// the tests side by side.
class TheoryWindow : public ChildWindow {
    Q_OBJECT
public:
    TheoryWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent = nullptr);

    void load() override;
    QSize contentSize() const override;
    // The summary, then the tables, as the window shows them; the charts are not printed.
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    const TheoryReport &report() const { return m_report; }
    ResultGridView *summaryView() const { return m_summary; }

private:
    void recompute();

    const CatalogEntry &m_entry;
    const DrawHistory &m_history;
    TheoryReport m_report;
    TheoryRangeBar *m_range;
    ResultGridView *m_summary;
    std::vector<ResultGridView *> m_tables;
    std::vector<TheoryFigure *> m_charts;
    QWidget *m_sheet;      // the tables and charts,
    QScrollArea *m_scroll; // scrolled
};
