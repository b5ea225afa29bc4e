#include "gui/analysis/AnalysisWindow.h"

#include "gui/grid/ResultGridView.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {
// Design-time geometry, in twips.
constexpr int kMargin = 120;
constexpr int kDescriptionTop = 180;
constexpr int kGridTop = 600;
constexpr int kLegendGap = 240;
// The carry-over window keeps its legend beside the description, where it was designed.
constexpr int kCarryOverDescriptionWidth = 4815;
constexpr QPoint kBesideSample(5640, 150);
constexpr QPoint kBesideText(6240, 180);
constexpr QSize kBesideTextSize(1095, 255);
// The legend pictures are 19 x 19 pixel boxes holding a dot.
constexpr int kDotBox = 19;
constexpr int kDotDiameter = 11;

// A legend picture: a small filled dot in a mark colour.
class LegendDot : public QWidget {
public:
    LegendDot(QColor colour, QWidget *parent) : QWidget(parent), m_colour(colour) { setFixedSize(kDotBox, kDotBox); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_colour);
        const double offset = (kDotBox - kDotDiameter) / 2.0;
        painter.drawEllipse(QRectF(offset, offset, kDotDiameter, kDotDiameter));
    }

private:
    QColor m_colour;
};
} // namespace

AnalysisWindow::AnalysisWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent)
    : ChildWindow(parent), m_entry(entry), m_look(AnalysisWindowLook::of(entry.formName)), m_history(history) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    m_description = new QLabel(entry.description, this);
    m_description->setObjectName(QStringLiteral("Label1"));
    m_description->setWordWrap(true);

    m_grid = new ResultGridView(this);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    offerPrinting(m_grid);

    m_close = new QPushButton(QStringLiteral("閉じる"), this);
    m_close->setObjectName(QStringLiteral("Command1"));
    connect(m_close, &QPushButton::clicked, this, &AnalysisWindow::closeWindow);
    if (m_look.hasPrint) {
        m_print = new QPushButton(QStringLiteral("印刷"), this);
        m_print->setObjectName(QStringLiteral("Command2"));
        connect(m_print, &QPushButton::clicked, this, &ChildWindow::printPreview);
    }
    buildLegend();
}

void AnalysisWindow::buildLegend() {
    for (const LegendItem &item : m_look.legend) {
        const QColor colour = toQColor(item.colour);
        QWidget *sample = nullptr;
        if (item.kind == LegendItem::Kind::Dot) {
            sample = new LegendDot(colour, this);
        } else {
            sample = colourSwatch(colour);
        }
        sample->setObjectName(item.sampleName);
        auto *text = new QLabel(item.text, this);
        text->setObjectName(item.labelName);
        m_samples.push_back(sample);
        m_legendTexts.push_back(text);
    }
}

void AnalysisWindow::load() {
    WaitCursor wait;
    if (m_look.yield == EventYield::BeforeCompute)
        QCoreApplication::processEvents();
    m_grid->setGrid(m_entry.build ? m_entry.build(m_history) : ResultGrid());
    ++m_computeCount;
    if (m_look.yield == EventYield::AfterCompute)
        QCoreApplication::processEvents();
}

std::optional<PrintDocument> AnalysisWindow::printDocument() const {
    PrintDocument document{m_entry.caption, m_entry.description, m_history.latestDrawNumber(), {{{}, m_grid->grid()}},
                           {}, {}};
    for (const LegendItem &item : m_look.legend)
        if (!item.text.isEmpty())
            document.legend.push_back({item.kind == LegendItem::Kind::Dot, item.colour, item.text});
    return document;
}

std::optional<WindowExport> AnalysisWindow::exportContent() const {
    return WindowExport{m_entry.formName, m_entry.caption, m_entry.description, {m_grid->grid()}};
}

void AnalysisWindow::resizeEvent(QResizeEvent *event) {
    ChildWindow::resizeEvent(event);
    // Tiled, cascaded or maximised, the grid takes the room the window has and the buttons stay
    // in its corner.
    layoutControls();
}

void AnalysisWindow::showEvent(QShowEvent *event) {
    ChildWindow::showEvent(event);
    if (!m_shown) {
        layoutControls();
        m_shown = true;
    }
}

void AnalysisWindow::layoutControls() {
    const QSize inner = size();
    const int margin = px(kMargin);

    // A description longer than the window wraps onto a second line above the grid.
    const int oneLine = m_description->fontMetrics().horizontalAdvance(m_entry.description) + 1;
    const int descriptionWidth = m_look.legendPlace == LegendPlace::BesideDescription
                                     ? std::max(px(kCarryOverDescriptionWidth), oneLine)
                                     : std::min(oneLine, std::max(1, inner.width() - 2 * margin));
    m_description->setGeometry(margin, px(kDescriptionTop), descriptionWidth,
                               m_description->heightForWidth(descriptionWidth));

    // The buttons sit in a row at the bottom right, Close outermost.
    const QSize button = buttonSize();
    const int buttonTop = inner.height() - margin - button.height();
    m_close->setGeometry(inner.width() - margin - button.width(), buttonTop, button.width(), button.height());
    if (m_print)
        m_print->setGeometry(m_close->x() - margin - button.width(), buttonTop, button.width(), button.height());

    // A legend below the grid shares the button row while it fits left of the buttons; in a
    // narrower window it takes a row of its own above them.
    int gridBottom = buttonTop - margin;
    int legendCentre = buttonTop + button.height() / 2;
    const int buttonsLeft = m_print ? m_print->x() : m_close->x();
    if (m_look.legendPlace == LegendPlace::BelowGrid && margin + legendRowWidth() + margin > buttonsLeft) {
        const int rowHeight = legendRowHeight();
        legendCentre = gridBottom - rowHeight / 2;
        gridBottom -= rowHeight + margin;
    }

    // The grid fills the room right of and below its corner, above the button row, as far as
    // its sheet goes; so its scroll bars stay inside the window whatever its size.
    const QPoint corner(margin, std::max(px(kGridTop), m_description->geometry().bottom() + 1));
    const QSize room(inner.width() - margin - corner.x(), gridBottom - corner.y());
    m_grid->setGeometry(QRect(corner, m_grid->fittedSize(room)));

    switch (m_look.legendPlace) {
    case LegendPlace::None:
        break;
    case LegendPlace::BelowGrid:
        placeLegendRow(margin, legendCentre);
        break;
    case LegendPlace::AboveGrid:
        placeLegendRow(m_description->geometry().right() + 1 + 2 * px(kLegendGap),
                       m_description->geometry().center().y());
        break;
    case LegendPlace::BesideDescription:
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            m_samples[i]->move(px(kBesideSample.x()), px(kBesideSample.y()));
            m_legendTexts[i]->setGeometry(px(kBesideText.x()), px(kBesideText.y()),
                                          std::max(px(kBesideTextSize.width()), m_legendTexts[i]->sizeHint().width()),
                                          px(kBesideTextSize.height()));
        }
        break;
    }
}

QSize AnalysisWindow::buttonSize() const {
    return {std::max(px(kButtonTwips.width()), m_close->sizeHint().width()),
            std::max(px(kButtonTwips.height()), m_close->sizeHint().height())};
}

QSize AnalysisWindow::sizeHint() const {
    const QSize grid = m_grid->sizeHint();
    const int margin = px(kMargin);
    return {margin + grid.width() + margin, px(kGridTop) + grid.height() + 2 * margin + buttonSize().height()};
}

int AnalysisWindow::legendRowWidth() const {
    int width = 0;
    for (std::size_t i = 0; i < m_samples.size(); ++i)
        width += (i ? px(kLegendGap) : 0) + m_samples[i]->width() + 2 + m_legendTexts[i]->sizeHint().width();
    return width;
}

int AnalysisWindow::legendRowHeight() const {
    int height = 0;
    for (std::size_t i = 0; i < m_samples.size(); ++i)
        height = std::max({height, m_samples[i]->height(), m_legendTexts[i]->sizeHint().height()});
    return height;
}

void AnalysisWindow::placeLegendRow(int x, int centreY) {
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        QWidget *sample = m_samples[i];
        sample->move(x, centreY - sample->height() / 2);
        x += sample->width() + 2;
        QLabel *text = m_legendTexts[i];
        const QSize hint = text->sizeHint();
        text->setGeometry(x, centreY - hint.height() / 2, hint.width(), hint.height());
        x += hint.width() + px(kLegendGap);
    }
}
