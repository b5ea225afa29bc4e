#include "gui/theory/PairWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "core/theory/TheoryGrids.h"
#include "gui/grid/ResultGridView.h"
#include "gui/theory/TheoryRangeBar.h"
#include "gui/theory/TheoryViews.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <array>

PairWindow::PairWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent)
    : ChildWindow(parent), m_entry(entry), m_history(history), m_range(new TheoryRangeBar(history, this)),
      m_matrix(TheoryViews::wholeGridView(QStringLiteral("fpSpread1"), this)),
      m_legend(TheoryViews::wholeGridView(QStringLiteral("fpSpread2"), this)),
      m_extremes(TheoryViews::wholeGridView(QStringLiteral("fpSpread3"), this)), m_expected(new QLabel(this)) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = new QLabel(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    QHBoxLayout *top = descriptionRow(description, Qt::AlignTop);

    for (ResultGridView *view : {m_matrix, m_legend, m_extremes})
        offerPrinting(view);
    m_expected->setObjectName(QStringLiteral("Label2"));
    m_expected->setWordWrap(true);
    auto *left = new QVBoxLayout;
    left->addWidget(m_matrix);
    left->addWidget(m_legend);
    left->addWidget(m_expected);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(m_extremes);
    right->addStretch(1);
    auto *grids = new QHBoxLayout;
    grids->addLayout(left);
    grids->addLayout(right);
    grids->addStretch(1);

    // Below the description and the buttons, everything scrolls in a small window.
    auto *content = new QWidget(this);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(m_range);
    contentLayout->addLayout(grids, 1);
    m_body = scrollingBody(content);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_body, 1);
    connect(m_range, &TheoryRangeBar::rangeChanged, this, &PairWindow::recompute);
}

void PairWindow::load() {
    recompute();
}

void PairWindow::recompute() {
    WaitCursor wait;
    const PairReport report = PairAnalysis::analyse(m_history, m_range->range());
    std::vector<ResultGrid> grids = TheoryGrids::pairGrids(report);
    const std::array<ResultGridView *, 3> views{m_matrix, m_legend, m_extremes};
    for (std::size_t i = 0; i < views.size(); ++i) {
        views[i]->setGrid(std::move(grids[i]));
        views[i]->setFixedSize(views[i]->sizeHint());
    }
    // The grids' sizes count also while the window is still hidden, for contentSize().
    TheoryViews::invalidate(m_body->widget()->layout());
    TheoryViews::invalidate(layout());
    m_counted = QStringLiteral("%1を集計").arg(m_range->rangeText(report.draws, report.skipped));
    m_range->showCount(m_counted);
    m_expected->setText(QStringLiteral("偶然の期待値は 2数字の組ごとに %1 回、3数字の組ごとに %2 回です。"
                                       "色は期待値からの隔たりを標準偏差（σ）で表し、±3σ 以上は同じ濃さです。")
                            .arg(report.pairExpected, 0, 'f', 2)
                            .arg(report.tripleExpected, 0, 'f', 2));
}

QSize PairWindow::contentSize() const {
    // The description row above the whole body, with no scroll bar.
    const QMargins margins = layout()->contentsMargins();
    const QSize top = layout()->itemAt(0)->sizeHint();
    const QSize body = m_body->widget()->sizeHint();
    return {std::max(top.width(), body.width()) + margins.left() + margins.right(),
            top.height() + layout()->spacing() + body.height() + margins.top() + margins.bottom()};
}

std::optional<PrintDocument> PairWindow::printDocument() const {
    return PrintDocument{m_entry.caption,
                         m_entry.description,
                         m_history.latestDrawNumber(),
                         {{{}, m_matrix->grid()}, {{}, m_legend->grid()}, {{}, m_extremes->grid()}},
                         {m_counted, m_expected->text()},
                         {}};
}

std::optional<WindowExport> PairWindow::exportContent() const {
    return WindowExport{m_entry.formName,
                        m_entry.caption,
                        m_entry.description,
                        {m_matrix->grid(), m_legend->grid(), m_extremes->grid()}};
}
