#pragma once

#include "gui/grid/ResultGridPainter.h"
#include "core/print/PrintDocument.h"

#include <QDateTime>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <utility>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Lays a PrintDocument out on pages and paints them on a printer or a PDF writer. The grids are
// drawn as the window draws them (through ResultGridPainter), at the screen's size or narrowed
// to the page width when they are a little wider; pages break between rows and between columns, never inside a cell, and
// the heading rows and columns a grid freezes are repeated on every page. Every page has a
// header (caption, description, "第N回まで") and a footer (print date, "ページ n / m").
//
// Lengths are in page units of 1/96 inch, the size of a screen pixel the grids were made for.
class GridPrinter {
public:
    static constexpr double kUnitsPerInch = 96.0;

    explicit GridPrinter(PrintDocument document, const QFont &font = QFont());
    GridPrinter(const GridPrinter &) = delete;
    GridPrinter &operator=(const GridPrinter &) = delete;

    const PrintDocument &document() const { return m_document; }
    // Narrows a grid somewhat wider than the page to the page width instead of breaking its
    // columns (on by default); a grid that would become too small is broken between columns.
    void setFitWidth(bool on) { m_fitWidth = on; }
    bool fitWidth() const { return m_fitWidth; }
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
    struct Page {
        std::vector<Piece> pieces;
        std::vector<Line> lines;
    };
    // The pages for a page of this size (page units, the whole printable area).
    std::vector<Page> layout(const QSizeF &page) const;
    // The room between header and footer on such a page, and what a piece takes of it.
    double bodyHeight(const QSizeF &page) const;
    QSizeF pieceSize(const Piece &piece) const;

    // Paints every page. False when the device cannot be painted on.
    bool print(QPagedPaintDevice &device) const;
    // The document as a PDF on A4 portrait, as the preview saves it by default.
    static bool writePdf(PrintDocument document, const QString &path, QString *error = nullptr);
    // The page set-up the program starts from: A4 portrait, 10 mm margins.
    static void setDefaultPageLayout(QPagedPaintDevice &device);

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

    PrintDocument m_document;
    QFont m_font;
    std::vector<std::unique_ptr<ResultGridPainter>> m_painters; // one per section
    bool m_fitWidth = true;
    QDateTime m_printTime = QDateTime::currentDateTime();
};
