#include "gui/history/PrizeListWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "core/check/PrizeListGrid.h"
#include "gui/grid/ResultGridView.h"

#include <QLabel>
#include <QVBoxLayout>

PrizeListWindow::PrizeListWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent)
    : ChildWindow(parent), m_entry(entry), m_history(history), m_count(new QLabel(this)),
      m_grid(new ResultGridView(this)), m_chart(FigureKit::instance().prizes(this)) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = new QLabel(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    m_count->setObjectName(QStringLiteral("Label2"));
    m_count->setWordWrap(true);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    offerPrinting(m_grid);
    m_chart->widget()->setObjectName(QStringLiteral("chtPrizes"));
    m_chart->widget()->setMinimumHeight(px(3600));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(descriptionRow(description));
    layout->addWidget(m_count);
    layout->addWidget(m_grid, 3);
    layout->addWidget(m_chart->widget(), 2);
}

void PrizeListWindow::load() {
    WaitCursor wait;
    m_grid->setGrid(PrizeListGrid::build(m_history));
    // The latest draws first in view: the sheet ends with them.
    m_grid->scrollTo(2, m_grid->grid().rows());
    const PrizeListGrid::Coverage coverage = PrizeListGrid::coverage(m_history);
    QString count = QStringLiteral("当せん金のデータがある回 %1 回、ない回 %2 回。")
                        .arg(coverage.withPrizes)
                        .arg(coverage.withoutPrizes);
    if (coverage.withPrizes == 0)
        count += QStringLiteral("当せん金は、当せん口数と当せん金の列がある結果ファイルを"
                                "「CSVファイルから取り込み」で取り込むと記録されます。");
    m_count->setText(count);
    m_chart->setPoints(PrizeListGrid::chartPoints(m_history));
}

QSize PrizeListWindow::contentSize() const {
    return layout()->sizeHint();
}

std::optional<PrintDocument> PrizeListWindow::printDocument() const {
    return PrintDocument{m_entry.caption,        m_entry.description, m_history.latestDrawNumber(),
                         {{{}, m_grid->grid()}}, {m_count->text()},   {}};
}

std::optional<WindowExport> PrizeListWindow::exportContent() const {
    return WindowExport{m_entry.formName, m_entry.caption, m_entry.description, {m_grid->grid()}};
}
