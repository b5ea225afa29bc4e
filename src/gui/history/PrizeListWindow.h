#pragma once

#include "gui/print/FigureKit.h"
#include "gui/window/ChildWindow.h"

class DrawHistory;
class QLabel;
class ResultGridView;
struct CatalogEntry;

// 当せん金一覧: per draw the winners and prize of every tier and the carry-over, as stored from
// the result files, with a chart of the 1等 prize and the carry-over over time.
class PrizeListWindow : public ChildWindow {
    Q_OBJECT
public:
    PrizeListWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent = nullptr);

    void load() override;
    QSize contentSize() const override;
    // The grid with the count of draws with and without prize data; the chart is not printed.
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    ResultGridView *gridView() const { return m_grid; }

private:
    const CatalogEntry &m_entry;
    const DrawHistory &m_history;
    QLabel *m_count;
    ResultGridView *m_grid;
    PrizeFigure *m_chart;
};
