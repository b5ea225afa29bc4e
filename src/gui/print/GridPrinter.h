#pragma once

#include "gui/grid/ResultGridPainter.h"
#include "core/print/PrintDocument.h"

#include <QDateTime>
#include <QFont>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <utility>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Lays a PrintDocument out on pages and paints them on a printer or a PDF writer. The grids are
// drawn as the window draws them (through ResultGridPainter), all at one scale: the widest of
// them fitted to the page width, or a scale the user chose. Pages break between rows and between
// columns, never inside a cell, and the heading rows and columns a grid freezes, and its band
// heading, are repeated on every page. Figures follow the grids, as wide as the page. Every page
// has a header (caption, description, "第N回まで") and a footer (print date, "ページ n / m").
//
// Lengths are in page units of 1/96 inch, the size of a screen pixel the grids were made for.
class GridPrinter {
public:
    static constexpr double kUnitsPerInch = 96.0;

    explicit GridPrinter(PrintDocument document, const QFont &font = QFont());
    GridPrinter(const GridPrinter &) = delete;
    GridPrinter &operator=(const GridPrinter &) = delete;

    const PrintDocument &document() const { return m_document; }
    // The grids' scale: kFitWidth (the default) fits the widest grid to the page width, between
    // kMinFitScale and kMaxFitScale; any other value is used as it is. A grid still wider than
    // the page is broken between columns.
    static constexpr double kFitWidth = 0;
    static constexpr double kMinFitScale = 0.75; // 9 points become about 7: still easy to read
    static constexpr double kMaxFitScale = 2.0;
    void setScale(double scale) { m_scale = scale; }
    double scale() const { return m_scale; }
    // The scale the grids are printed at on a page this wide.
    double gridScale(double pageWidth) const;
    // Landscape when the widest grid does not fit the width of a portrait page at screen size.
    QPageLayout::Orientation preferredOrientation(const QSizeF &portraitPage) const;
    void setPrintTime(const QDateTime &time) { m_printTime = time; }

    // One page's share of a grid: its frozen headings plus the columns and rows given (a range
    // whose first exceeds its last is empty), placed at top in the body at a scale.
    struct Piece {
        int section;
        int col1, col2, row1, row2;
        int frozenColumns, frozenRows; // the headings repeated with it
        double top;
        double scale;
    };
    struct Line {
        QString text;
        double top;
        double height; // a note longer than the page is wide wraps
        bool heading;  // a grid's heading rather than a note
    };
    struct Drawing {
        int figure;
        double x, top;
        double scale;
    };
    struct Page {
        std::vector<Piece> pieces;
        std::vector<Line> lines;
        std::vector<Drawing> drawings;
    };
    // The pages for a page of this size (page units, the whole printable area).
    std::vector<Page> layout(const QSizeF &page) const;
    // The room between header and footer on such a page, and what a piece takes of it.
    double bodyHeight(const QSizeF &page) const;
    QSizeF pieceSize(const Piece &piece) const;

    // Paints every page. False when the device cannot be painted on.
    bool print(QPagedPaintDevice &device) const;
    // The document as a PDF on A4 in its preferred orientation, as the preview saves it by
    // default.
    static bool writePdf(PrintDocument document, const QString &path, QString *error = nullptr,
                         double scale = kFitWidth);
    // The page set-up the program starts from: A4, 10 mm margins, in the document's orientation.
    void setDefaultPageLayout(QPagedPaintDevice &device) const;
    static void setPageLayout(QPagedPaintDevice &device, QPageLayout::Orientation orientation);

    // Runs of whole entries after the frozen ones that fit into room, given the entries'
    // edges (edges[i]: the end of entry i, edges[0] = 0). Each run holds at least one entry,
    // so an entry larger than the room gets a run of its own.
    static std::vector<std::pair<int, int>> bands(const std::vector<int> &edges, int frozen, double room);

private:
    struct Frame;
    Frame frame(const QSizeF &page) const;
    void paintPage(QPainter &painter, const Page &page, int number, int count, const QSizeF &size) const;
    void paintPiece(QPainter &painter, const Piece &piece, double bodyTop) const;
    void paintLegend(QPainter &painter, const QRectF &footer) const;
    double widestGrid() const;

    PrintDocument m_document;
    QFont m_font;
    std::vector<std::unique_ptr<ResultGridPainter>> m_painters; // one per section
    double m_scale = kFitWidth;
    QDateTime m_printTime = QDateTime::currentDateTime();
};
