#include "gui/grid/GridClipboard.h"

#include "gui/grid/ResultGridPainter.h"

#include <QStringList>

namespace GridClipboard {

QString text(const ResultGrid &grid, const QRect &cells) {
    QStringList lines;
    for (int r = cells.top(); r <= cells.bottom() && !cells.isEmpty(); ++r) {
        QStringList fields;
        for (int c = cells.left(); c <= cells.right(); ++c)
            fields << grid.text(c, r);
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

QString html(const ResultGrid &grid, const QRect &cells) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" style=\"border-collapse:collapse\">");
    for (int r = cells.top(); r <= cells.bottom(); ++r) {
        html += QLatin1String("<tr>");
        for (int c = cells.left(); c <= cells.right(); ++c) {
            const GridCell &cell = grid.cell(c, r);
            html += QStringLiteral("<td bgcolor=\"%1\" style=\"background-color:%1;color:%2;text-align:%3\">%4</td>")
                        .arg(toQColor(cell.back).name(), toQColor(cell.fore).name(),
                             cell.align == Align::Left ? QLatin1String("left") : QLatin1String("center"),
                             cell.text.toHtmlEscaped());
        }
        html += QLatin1String("</tr>");
    }
    html += QLatin1String("</table>");
    return html;
}

} // namespace GridClipboard
