#pragma once

#include "gui/window/ChildWindow.h"

class DrawHistory;
class QLabel;
class QScrollArea;
class ResultGridView;
class TheoryRangeBar;
struct CatalogEntry;

// ペア出現分析: for the draws of a range (all of them at first), how often every two numbers
// came up together, coloured by how far each count lies from chance, with its colour key, and
// the most and least frequent pairs and triples.
class PairWindow : public ChildWindow {
    Q_OBJECT
public:
    PairWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent = nullptr);

    void load() override;
    QSize contentSize() const override;
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    ResultGridView *matrixView() const { return m_matrix; }

private:
    void recompute();

    const CatalogEntry &m_entry;
    const DrawHistory &m_history;
    TheoryRangeBar *m_range;
    ResultGridView *m_matrix;
    ResultGridView *m_legend;
    ResultGridView *m_extremes;
    QLabel *m_expected;
    QScrollArea *m_body = nullptr; // the range and the grids, scrolling in a small window
    QString m_counted; // the range and its draws
};
