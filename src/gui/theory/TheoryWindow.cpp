#include "gui/theory/TheoryWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "core/theory/TheoryGrids.h"
#include "gui/grid/ResultGridView.h"
#include "gui/theory/TheoryRangeBar.h"
#include "gui/theory/TheoryViews.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int kChartWidth = 560;
constexpr int kMinChartHeight = 240;
constexpr int kDescriptionWidth = 400;

} // namespace

TheoryWindow::TheoryWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent)
    : ChildWindow(parent), m_entry(entry), m_history(history), m_range(new TheoryRangeBar(history, this)),
      m_summary(TheoryViews::wholeGridView(QStringLiteral("fpSpread1"), this)), m_sheet(new QWidget),
      m_scroll(new QScrollArea(this)) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = new QLabel(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    description->setMinimumWidth(kDescriptionWidth);
    QHBoxLayout *top = descriptionRow(description, Qt::AlignTop);

    offerPrinting(m_summary);
    auto *note =
        new QLabel(QStringLiteral("赤字の p値は 0.05 未満です。検定の区分が同じ行（灰色）は、期待値が小さいため"
                                  "まとめて検定しています。出現回数の χ² は、1回の抽せんに同じ数字が2度出ない"
                                  "ことを考えて 36/30 倍しています。"),
                   this);
    note->setObjectName(QStringLiteral("Label2"));
    note->setWordWrap(true);
    auto *summaryRow = new QHBoxLayout;
    summaryRow->addWidget(m_summary, 0, Qt::AlignTop);
    summaryRow->addWidget(note, 1, Qt::AlignTop);

    // The summary scrolls with the tables, so that a small window can still show all of it.
    auto *sheetLayout = new QGridLayout(m_sheet);
    sheetLayout->addLayout(summaryRow, 0, 0, 1, 3);
    for (int i = 0; i < TheoryComparison::kTableCount; ++i) {
        ResultGridView *table = TheoryViews::wholeGridView(QStringLiteral("fpSpread%1").arg(i + 2), m_sheet);
        offerPrinting(table);
        TheoryFigure *chart = FigureKit::instance().theory(m_sheet);
        chart->widget()->setObjectName(QStringLiteral("chtTable%1").arg(i + 1));
        chart->widget()->setFixedWidth(kChartWidth);
        sheetLayout->addWidget(table, i + 1, 0, Qt::AlignTop);
        sheetLayout->addWidget(chart->widget(), i + 1, 1, Qt::AlignTop);
        m_tables.push_back(table);
        m_charts.push_back(chart);
    }
    sheetLayout->setColumnStretch(2, 1);
    m_scroll->setObjectName(QStringLiteral("scrTables"));
    m_scroll->setWidget(m_sheet);
    m_scroll->setWidgetResizable(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_range);
    layout->addWidget(m_scroll, 1);
    connect(m_range, &TheoryRangeBar::rangeChanged, this, &TheoryWindow::recompute);
}

void TheoryWindow::load() {
    recompute();
}

void TheoryWindow::recompute() {
    WaitCursor wait;
    m_report = TheoryComparison::compare(m_history, m_range->range());
    std::vector<ResultGrid> grids = TheoryGrids::comparisonGrids(m_report);
    m_summary->setGrid(std::move(grids[0]));
    m_summary->setFixedSize(m_summary->sizeHint());
    for (std::size_t i = 0; i < m_tables.size(); ++i) {
        m_tables[i]->setGrid(std::move(grids[i + 1]));
        const QSize size = m_tables[i]->sizeHint();
        m_tables[i]->setFixedSize(size);
        m_charts[i]->widget()->setFixedHeight(std::max(size.height(), kMinChartHeight));
        m_charts[i]->setTable(m_report.tables[i]);
    }
    // The grids' sizes count also while the window is still hidden, for contentSize().
    TheoryViews::invalidate(m_sheet->layout());
    TheoryViews::invalidate(layout());
    m_range->showCount(QStringLiteral("%1を比較").arg(m_range->rangeText(m_report.draws, m_report.skipped)));
}

QSize TheoryWindow::contentSize() const {
    // As wide as a table beside its chart, without a horizontal scroll bar.
    const QMargins margins = layout()->contentsMargins();
    const int sheet = m_sheet->sizeHint().width() + m_scroll->verticalScrollBar()->sizeHint().width() +
                      2 * m_scroll->frameWidth() + margins.left() + margins.right();
    const QSize own = layout()->sizeHint();
    return {std::max(own.width(), sheet), own.height()};
}

std::optional<PrintDocument> TheoryWindow::printDocument() const {
    PrintDocument document{m_entry.caption,
                           m_entry.description,
                           m_history.latestDrawNumber(),
                           {{{}, m_summary->grid()}},
                           {m_range->rangeText(m_report.draws, m_report.skipped) + QStringLiteral("を比較")},
                           {}};
    for (const ResultGridView *table : m_tables)
        document.sections.push_back({{}, table->grid()});
    for (TheoryFigure *chart : m_charts)
        document.figures.push_back(chart->printed(QSizeF(kChartWidth, chart->widget()->height())));
    return document;
}

std::optional<WindowExport> TheoryWindow::exportContent() const {
    WindowExport out{m_entry.formName, m_entry.caption, m_entry.description, {m_summary->grid()}};
    for (const ResultGridView *table : m_tables)
        out.grids.push_back(table->grid());
    return out;
}
