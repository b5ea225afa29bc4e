#include "gui/print/GridPrinter.h"

#include "gui/grid/BandHeadingPane.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace {
// Room between the header, the body and the footer, and between grids.
constexpr double kGap = 8;
constexpr double kSectionGap = 16;
// Heading rows or columns that would take more than this share of the page are printed once,
// as ordinary rows or columns, so that every page still shows some of the grid.
constexpr double kMaxFrozenShare = 0.5;

// A font sized in page units: the screen's point size at 96 units per inch, so the printed
// grid has the screen's proportions whatever the resolution of the device.
QFont pageFont(const QFont &font, double factor = 1.0, bool bold = false) {
    QFont f = font;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    f.setPixelSize(std::max(1, int(std::lround(points * GridPrinter::kUnitsPerInch / 72.0 * factor))));
    f.setBold(bold);
    return f;
}

const int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
} // namespace

struct GridPrinter::Frame {
    QFont captionFont, textFont, footerFont;
    QRectF caption, description, latest; // header texts
    double headerRule;                   // the line under the header
    double bodyTop, bodyHeight;
    double footerRule, footerTop;
    QString latestText;
};

GridPrinter::GridPrinter(PrintDocument document, const QFont &font)
    : m_document(std::move(document)), m_font(pageFont(font)) {
    for (const PrintDocument::Section &section : m_document.sections) {
        auto painter = std::make_unique<ResultGridPainter>(m_font);
        painter->setGrid(&section.grid);
        m_painters.push_back(std::move(painter));
    }
}

std::vector<std::pair<int, int>> GridPrinter::bands(const std::vector<int> &edges, int frozen, double room) {
    std::vector<std::pair<int, int>> out;
    const int count = int(edges.size()) - 1;
    for (int first = frozen + 1; first <= count;) {
        // One more unit for the closing line on the far side.
        const auto limit = std::upper_bound(edges.begin() + first, edges.end(), edges[first - 1] + room - 1);
        const int last = std::max(first, int(limit - edges.begin()) - 1);
        out.emplace_back(first, last);
        first = last + 1;
    }
    return out;
}

GridPrinter::Frame GridPrinter::frame(const QSizeF &page) const {
    Frame f;
    f.captionFont = pageFont(m_font, 1.25, true);
    f.textFont = m_font;
    f.footerFont = pageFont(m_font, 0.9);
    const QFontMetricsF captionMetrics(f.captionFont), textMetrics(f.textFont), footerMetrics(f.footerFont);

    // Caption at the left, the latest draw at the right, the description between them, wrapped
    // when it is longer than its room.
    f.latestText = m_document.latestDrawNumber > 0 ? QStringLiteral("第%1回まで").arg(m_document.latestDrawNumber)
                                                   : QString();
    const double captionWidth = captionMetrics.horizontalAdvance(m_document.caption);
    const double latestWidth = textMetrics.horizontalAdvance(f.latestText);
    f.caption = QRectF(0, 0, captionWidth, captionMetrics.height());
    f.latest = QRectF(page.width() - latestWidth, 0, latestWidth, captionMetrics.height());
    const double left = captionWidth + 2 * kGap;
    const double room = std::max(1.0, page.width() - left - latestWidth - 2 * kGap);
    const QRectF wrapped = textMetrics.boundingRect(QRectF(left, 0, room, page.height()), kTextFlags,
                                                    m_document.description);
    // The first line of the description sits on the caption's baseline.
    const double shift = captionMetrics.ascent() - textMetrics.ascent();
    f.description = QRectF(left, shift, room, wrapped.height());
    f.headerRule = std::max(f.caption.bottom(), f.description.bottom()) + 2;
    f.bodyTop = f.headerRule + kGap;

    f.footerTop = page.height() - footerMetrics.height();
    f.footerRule = f.footerTop - 2;
    f.bodyHeight = std::max(1.0, f.footerRule - kGap - f.bodyTop);
    return f;
}

double GridPrinter::bodyHeight(const QSizeF &page) const {
    return frame(page).bodyHeight;
}

QSizeF GridPrinter::pieceSize(const Piece &piece) const {
    const ResultGridPainter &grid = *m_painters[std::size_t(piece.section)];
    const std::vector<int> &colEdge = grid.columnEdges(), &rowEdge = grid.rowEdges();
    const int width = colEdge[piece.frozenColumns] + std::max(0, colEdge[piece.col2] - colEdge[piece.col1 - 1]);
    const int height = rowEdge[piece.frozenRows] + std::max(0, rowEdge[piece.row2] - rowEdge[piece.row1 - 1]);
    return QSizeF(width + 1, height + 1) * piece.scale;
}

std::vector<GridPrinter::Page> GridPrinter::layout(const QSizeF &page) const {
    const Frame f = frame(page);
    const double width = page.width(), height = f.bodyHeight;
    const double lineHeight = QFontMetricsF(m_font).height() + 2;
    const double scale = gridScale(width);

    std::vector<Page> pages(1);
    double y = 0;
    auto newPage = [&] {
        pages.emplace_back();
        y = 0;
    };
    const QFontMetricsF metrics(m_font);
    auto addLine = [&](const QString &text, bool heading) {
        const double textHeight =
            std::max(lineHeight, metrics.boundingRect(QRectF(0, 0, width, height), kTextFlags, text).height() + 2);
        if (y > 0 && y + textHeight > height)
            newPage();
        pages.back().lines.push_back({text, y, textHeight, heading});
        y += textHeight;
    };

    for (int s = 0; s < int(m_document.sections.size()); ++s) {
        const PrintDocument::Section &section = m_document.sections[std::size_t(s)];
        const ResultGridPainter &grid = *m_painters[std::size_t(s)];
        const std::vector<int> &colEdge = grid.columnEdges(), &rowEdge = grid.rowEdges();
        const int columns = section.grid.columns(), rows = section.grid.rows();
        const double headingHeight = section.heading.isEmpty() ? 0 : lineHeight;
        if (columns == 0 || rows == 0) {
            if (!section.heading.isEmpty())
                addLine(section.heading, true);
            continue;
        }
        // Room for the grid in its own (unscaled) units.
        const double roomX = width / scale, roomY = (height - headingHeight) / scale;
        int frozenColumns = std::clamp(section.grid.frozenColumns(), 0, columns);
        int frozenRows = std::clamp(section.grid.frozenRows(), 0, rows);
        if (colEdge[frozenColumns] > roomX * kMaxFrozenShare)
            frozenColumns = 0;
        if (rowEdge[frozenRows] > roomY * kMaxFrozenShare)
            frozenRows = 0;
        const double frozenWidth = colEdge[frozenColumns], frozenHeight = rowEdge[frozenRows];

        std::vector<std::pair<int, int>> columnBands = bands(colEdge, frozenColumns, roomX - frozenWidth);
        if (columnBands.empty())
            columnBands.emplace_back(frozenColumns + 1, frozenColumns); // every column is a heading
        for (std::size_t b = 0; b < columnBands.size(); ++b) {
            if (b > 0)
                newPage();
            for (int row = frozenRows + 1;;) {
                // Whole rows that fit below the headings in what is left of this page.
                const double room = (height - y - headingHeight) / scale - frozenHeight - 1;
                const auto limit = std::upper_bound(rowEdge.begin() + row, rowEdge.end(), rowEdge[row - 1] + room);
                int last = int(limit - rowEdge.begin()) - 1;
                const bool fits = row > rows ? room >= 0 : last >= row;
                if (!fits && y > 0) {
                    newPage();
                    continue;
                }
                last = std::min(rows, std::max(last, row)); // a row taller than a page is cut, not lost
                if (!section.heading.isEmpty()) {
                    pages.back().lines.push_back({section.heading, y, headingHeight, true});
                    y += headingHeight;
                }
                pages.back().pieces.push_back({s, columnBands[b].first, columnBands[b].second, row, last, frozenColumns,
                                               frozenRows, y, scale});
                y += (frozenHeight + rowEdge[std::max(last, row - 1)] - rowEdge[row - 1] + 1) * scale + kSectionGap;
                row = std::max(last, row - 1) + 1;
                if (row > rows)
                    break;
                newPage();
            }
        }
    }
    // The figures at one scale, side by side while they fit the width, at most half the page tall
    // so that two of them share a page.
    double figureWidth = 0, figureHeight = 0;
    for (const PrintDocument::Figure &figure : m_document.figures) {
        figureWidth = std::max(figureWidth, figure.size.width());
        figureHeight = std::max(figureHeight, figure.size.height());
    }
    if (figureWidth > 0 && figureHeight > 0) {
        const double fit = std::min(width / figureWidth, (height - kSectionGap) / 2 / figureHeight);
        double x = 0, rowHeight = 0;
        for (int i = 0; i < int(m_document.figures.size()); ++i) {
            const QSizeF size = m_document.figures[std::size_t(i)].size * fit;
            if (size.isEmpty())
                continue;
            if (x > 0 && x + size.width() > width) {
                y += rowHeight + kSectionGap;
                x = rowHeight = 0;
            }
            if (x == 0 && y > 0 && y + size.height() > height)
                newPage();
            pages.back().drawings.push_back({i, x, y, fit});
            x += size.width() + kSectionGap;
            rowHeight = std::max(rowHeight, size.height());
        }
        y += rowHeight + kSectionGap;
    }
    for (const QString &note : m_document.notes)
        addLine(note, false);
    return pages;
}

double GridPrinter::widestGrid() const {
    double widest = 0;
    for (std::size_t s = 0; s < m_painters.size(); ++s) {
        const ResultGrid &grid = m_document.sections[s].grid;
        if (grid.columns() > 0 && grid.rows() > 0)
            widest = std::max(widest, double(m_painters[s]->columnEdges().back() + 1));
    }
    return widest;
}

double GridPrinter::gridScale(double pageWidth) const {
    if (m_scale > 0)
        return m_scale;
    const double widest = widestGrid();
    return widest > 0 ? std::clamp(pageWidth / widest, kMinFitScale, kMaxFitScale) : 1.0;
}

QPageLayout::Orientation GridPrinter::preferredOrientation(const QSizeF &portraitPage) const {
    return widestGrid() > portraitPage.width() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void GridPrinter::setPageLayout(QPagedPaintDevice &device, QPageLayout::Orientation orientation) {
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

void GridPrinter::setDefaultPageLayout(QPagedPaintDevice &device) const {
    const QPageLayout portrait(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                               QPageLayout::Millimeter);
    const QSizeF body = portrait.paintRect(QPageLayout::Inch).size() * kUnitsPerInch;
    setPageLayout(device, preferredOrientation(body));
}

bool GridPrinter::print(QPagedPaintDevice &device) const {
    const QPageLayout layout = device.pageLayout();
    const double scale = device.logicalDpiX() / kUnitsPerInch;
    const QRectF paintRect = layout.paintRectPixels(device.logicalDpiX());
    const QSizeF size(paintRect.width() / scale, paintRect.height() / scale);
    const std::vector<Page> pages = this->layout(size);

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.scale(scale, scale);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        paintPage(painter, pages[i], int(i) + 1, int(pages.size()), size);
    }
    return painter.end();
}

void GridPrinter::paintPage(QPainter &painter, const Page &page, int number, int count, const QSizeF &size) const {
    const Frame f = frame(size);
    const QColor ink(Qt::black);
    painter.setPen(ink);
    painter.setFont(f.captionFont);
    painter.drawText(f.caption, Qt::AlignLeft | Qt::AlignTop, m_document.caption);
    painter.setFont(f.textFont);
    painter.drawText(f.description, kTextFlags, m_document.description);
    painter.drawText(f.latest, Qt::AlignRight | Qt::AlignBottom, f.latestText);
    painter.fillRect(QRectF(0, f.headerRule, size.width(), 1), ink);

    for (const Piece &piece : page.pieces)
        paintPiece(painter, piece, f.bodyTop);
    for (const Drawing &drawing : page.drawings) {
        const PrintDocument::Figure &figure = m_document.figures[std::size_t(drawing.figure)];
        painter.drawImage(QRectF(QPointF(drawing.x, f.bodyTop + drawing.top), figure.size * drawing.scale),
                          QImage::fromData(figure.picture));
    }
    painter.setFont(m_font);
    painter.setPen(ink);
    for (const Line &line : page.lines)
        painter.drawText(QRectF(0, f.bodyTop + line.top + 1, size.width(), line.height), kTextFlags, line.text);

    painter.fillRect(QRectF(0, f.footerRule, size.width(), 1), ink);
    painter.setFont(f.footerFont);
    const QRectF footer(0, f.footerTop, size.width(), size.height() - f.footerTop);
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("印刷日 %1").arg(m_printTime.toString(QStringLiteral("yyyy/MM/dd HH:mm"))));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("ページ %1 / %2").arg(number).arg(count));
    paintLegend(painter, footer);
}

void GridPrinter::paintLegend(QPainter &painter, const QRectF &footer) const {
    if (m_document.legend.empty())
        return;
    const QFontMetricsF metrics(painter.font());
    const double mark = metrics.ascent() * 0.8, gap = metrics.averageCharWidth() * 2;
    double width = 0;
    for (const PrintDocument::Key &key : m_document.legend)
        width += (key.dot ? mark : 2 * mark) + 2 + metrics.horizontalAdvance(key.text) + gap;
    double x = footer.center().x() - (width - gap) / 2;
    const double markTop = footer.bottom() - metrics.descent() - metrics.ascent() + (metrics.ascent() - mark) / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PrintDocument::Key &key : m_document.legend) {
        const QColor colour = toQColor(key.colour);
        const QRectF sample(x, markTop, key.dot ? mark : 2 * mark, mark);
        if (key.dot) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(sample);
        } else {
            painter.fillRect(sample, colour);
        }
        x = sample.right() + 2;
        painter.setPen(Qt::black);
        const double textWidth = metrics.horizontalAdvance(key.text);
        painter.drawText(QRectF(x, footer.top(), textWidth + 1, footer.height()), Qt::AlignLeft | Qt::AlignBottom,
                         key.text);
        x += textWidth + gap;
    }
    painter.restore();
}

void GridPrinter::paintPiece(QPainter &painter, const Piece &piece, double bodyTop) const {
    const ResultGridPainter &grid = *m_painters[std::size_t(piece.section)];
    const std::vector<int> &colEdge = grid.columnEdges(), &rowEdge = grid.rowEdges();
    const int columns = grid.grid().columns();
    const int fc = piece.frozenColumns, fr = piece.frozenRows;
    const int fw = colEdge[fc], fh = rowEdge[fr];
    const int c1 = piece.col1, c2 = piece.col2, r1 = piece.row1, r2 = piece.row2;
    const int bandWidth = c2 >= c1 ? colEdge[c2] - colEdge[c1 - 1] : 0;
    const int bandHeight = r2 >= r1 ? rowEdge[r2] - rowEdge[r1 - 1] : 0;
    const int dx = fw - colEdge[c1 - 1], dy = fh - rowEdge[r1 - 1];

    painter.save();
    painter.translate(0, bodyTop + piece.top);
    painter.scale(piece.scale, piece.scale);
    // As on screen: the scrolling part first, then the headings with their closing lines.
    const ResultGridPainter::Pane panes[] = {
        {c1, c2, r1, r2, fc + 1, columns, QPoint(dx, dy), QRect(fw, fh, bandWidth + 1, bandHeight + 1)},
        {c1, c2, 1, fr, fc + 1, columns, QPoint(dx, 0), QRect(fw, 0, bandWidth + 1, fh + 1)},
        {1, fc, r1, r2, 1, fc, QPoint(0, dy), QRect(0, fh, fw + 1, bandHeight + 1)},
        {1, fc, 1, fr, 1, fc, QPoint(0, 0), QRect(0, 0, fw + 1, fh + 1)},
    };
    for (const ResultGridPainter::Pane &pane : panes) {
        grid.paintPane(painter, pane);
        if (const auto heading = bandHeadingPane(grid, pane))
            grid.paintPane(painter, *heading);
    }
    painter.restore();
}

bool GridPrinter::writePdf(PrintDocument document, const QString &path, QString *error, double scale) {
    QPdfWriter writer(path);
    writer.setTitle(document.caption);
    writer.setCreator(QStringLiteral("ナナズバリオ"));
    GridPrinter printer(std::move(document));
    printer.setScale(scale);
    printer.setDefaultPageLayout(writer);
    if (printer.print(writer))
        return true;
    if (error)
        *error = QStringLiteral("%1 に書き込めませんでした。").arg(path);
    return false;
}
