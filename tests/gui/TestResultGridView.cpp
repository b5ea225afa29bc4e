#include "gui/grid/ResultGridView.h"

#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

namespace {
QColor toColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Whether any pixel inside rect differs clearly from the background colour.
bool hasInk(const QImage &image, const QRect &rect, const QColor &background) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - background.red()) + std::abs(p.green() - background.green()) +
                    std::abs(p.blue() - background.blue()) >
                120)
                return true;
        }
    return false;
}

const QString kLong = QString(60, QLatin1Char('W'));

// A 7 x 3 sheet. Row 1: a long left-aligned text in column 1, a short text in column 4. Row 2:
// a short text in column 1, a long centred text in column 4. Row 3: texts that fit their cells.
ResultGrid overflowGrid(bool overflow) {
    ResultGrid g(7, 3);
    g.setColumnWidth(-1, 3);
    g.setText(1, 1, kLong);
    g.cellBlock(1, 1).align(Align::Left);
    g.setText(4, 1, QStringLiteral("x"));
    g.setText(1, 2, QStringLiteral("y"));
    g.setText(4, 2, kLong);
    g.setText(2, 3, QStringLiteral("短"));
    g.setText(5, 3, QStringLiteral("ab"));
    g.cellBlock(5, 3).align(Align::Left);
    g.setOverflow(overflow);
    return g;
}
} // namespace

class TestResultGridView : public QObject {
    Q_OBJECT
private slots:
    void textColumns_data() {
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("left-aligned runs up to the next text") << true << 1 << 1 << 1 << 3;
        QTest::newRow("centred runs both ways up to texts and edges") << true << 4 << 2 << 2 << 7;
        QTest::newRow("centred that fits stays") << true << 2 << 3 << 2 << 2;
        QTest::newRow("left-aligned that fits stays") << true << 5 << 3 << 5 << 5;
        QTest::newRow("empty cell") << true << 3 << 3 << 3 << 3;
        QTest::newRow("left-aligned without overflow") << false << 1 << 1 << 1 << 1;
        QTest::newRow("centred without overflow") << false << 4 << 2 << 4 << 4;
    }
    void textColumns() {
        QFETCH(bool, overflow);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, first);
        QFETCH(int, last);
        ResultGridView view;
        view.setGrid(overflowGrid(overflow));
        QCOMPARE(view.textColumns(column, row), std::pair(first, last));
    }

    // The long text shows in the empty neighbours only when overflow is allowed and it is
    // left-aligned; a cell holding text stops it.
    void overflowPainting_data() {
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("inked");
        QTest::newRow("left-aligned runs into column 2") << true << 1 << 2 << true;
        QTest::newRow("left-aligned runs into column 3") << true << 1 << 3 << true;
        QTest::newRow("a text stops it") << true << 1 << 5 << false;
        QTest::newRow("centred runs left") << true << 2 << 2 << true;
        QTest::newRow("centred runs right") << true << 2 << 7 << true;
        QTest::newRow("left-aligned clipped without overflow") << false << 1 << 2 << false;
        QTest::newRow("centred clipped without overflow") << false << 2 << 3 << false;
    }
    void overflowPainting() {
        QFETCH(bool, overflow);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, inked);
        ResultGridView view;
        view.setGrid(overflowGrid(overflow));
        view.resize(400, 200);
        const QImage image = view.viewport()->grab().toImage();
        const QRect cell = view.cellRect(column, row).adjusted(1, 1, -1, -1);
        QVERIFY(!cell.isEmpty());
        QCOMPARE(hasInk(image, cell, Qt::white), inked);
    }

    // Frozen rows and columns stay put; the rest moves by whole rows and columns, and a text
    // whose own cell has scrolled away still runs into the visible cells.
    void frozenPanes() {
        ResultGrid g(30, 40);
        g.setColumnWidth(-1, 4);
        g.freezeRows(1);
        g.freezeColumns(1);
        g.block(-1, 1, -1, 1).back(Palette::LightPink);
        g.block(1, 2, 1, -1).back(Palette::LightYellow);
        g.setOverflow(true);
        g.setText(3, 1, QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
        g.cellBlock(3, 1).align(Align::Left);
        ResultGridView view;
        view.setGrid(g);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QRect corner = view.cellRect(1, 1);
        const QRect firstHeading = view.cellRect(2, 1);
        const QRect firstLabel = view.cellRect(1, 2);
        view.scrollTo(5, 8);
        QCOMPARE(view.firstScrollableColumn(), 5);
        QCOMPARE(view.firstScrollableRow(), 8);
        QCOMPARE(view.cellRect(1, 1), corner);
        QCOMPARE(view.cellRect(5, 1).topLeft(), firstHeading.topLeft());
        QCOMPARE(view.cellRect(1, 8).topLeft(), firstLabel.topLeft());
        QCOMPARE(view.cellRect(5, 8).topLeft(), QPoint(firstHeading.left(), firstLabel.top()));
        QVERIFY(view.cellRect(3, 3).isEmpty());
        QCOMPARE(view.cellAt(view.cellRect(6, 9).center()), QPoint(6, 9));
        QCOMPARE(view.cellAt(corner.center()), QPoint(1, 1));

        const QImage image = view.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(view.cellRect(1, 8).center()), toColor(Palette::LightYellow));
        QCOMPARE(image.pixelColor(view.cellRect(6, 1).bottomRight() - QPoint(1, 1)), toColor(Palette::LightPink));
        QVERIFY(hasInk(image, view.cellRect(5, 1).adjusted(1, 1, -1, -1), toColor(Palette::LightPink)));
    }

    // Lines are drawn after every background: a neighbour's background never hides them.
    void bordersOverBackgrounds() {
        ResultGrid g(3, 3);
        g.all().back(Palette::LightCyan);
        g.cellBlock(2, 2).border(Right | Bottom, Palette::Red);
        g.cellBlock(3, 2).back(Palette::Blue);
        g.cellBlock(1, 1).outline(Palette::Black);
        ResultGridView view;
        view.setGrid(g);
        view.resize(200, 120);
        const QImage image = view.viewport()->grab().toImage();
        const QRect cell = view.cellRect(2, 2);
        const QPoint rightLine(cell.left() + cell.width(), cell.center().y());
        const QPoint bottomLine(cell.center().x(), cell.top() + cell.height());
        QCOMPARE(image.pixelColor(rightLine), toColor(Palette::Red));
        QCOMPARE(image.pixelColor(bottomLine), toColor(Palette::Red));
        QCOMPARE(image.pixelColor(cell.left(), cell.center().y()), toColor(Palette::LightCyan));
        QCOMPARE(image.pixelColor(view.cellRect(1, 1).topLeft()), toColor(Palette::Black));
    }

    // A text too wide for its cell is drawn smaller until it fits, but not below the floor of
    // 60 %; below that it is cut.
    void textShrinksToFit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("room"); // share of the text's width at the view's font
        QTest::addColumn<bool>("fits");
        QTest::newRow("fits as it is") << QStringLiteral("ボ数字1") << 1.0 << true;
        QTest::newRow("a fifth too wide") << QStringLiteral("ボ数字2") << 0.8 << true;
        QTest::newRow("near the floor") << QStringLiteral("第1数字") << 0.7 << true;
        QTest::newRow("scale label") << QStringLiteral("100") << 0.75 << true;
        QTest::newRow("below the floor") << QStringLiteral("ボ数字1") << 0.4 << false;
    }
    void textShrinksToFit() {
        QFETCH(QString, text);
        QFETCH(double, room);
        QFETCH(bool, fits);
        QFont japanese;
        japanese.setFamilies({QStringLiteral("IPAGothic"), japanese.family()});
        japanese.setPointSize(9);
        const ResultGridPainter painter(japanese);
        const int pixels = int(painter.fontMetrics().horizontalAdvance(text) * room);
        const QFont font = painter.fittedFont(text, pixels);
        QCOMPARE(QFontMetrics(font).horizontalAdvance(text) <= pixels, fits);
        QVERIFY(font.pointSizeF() >= japanese.pointSizeF() * ResultGridPainter::kSmallestTextScale - 1e-9);
        if (room >= 1)
            QCOMPARE(font, japanese);
    }

    // Where a cell's text is drawn: as it is when what shows fits, padding spaces or not;
    // smaller when it does not; cut only below the smallest size.
    void textPlace_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width"); // column width in grid units
        QTest::addColumn<bool>("left"); // left-aligned, else centred
        QTest::addColumn<bool>("shrunk");
        QTest::addColumn<bool>("cut");
        QTest::newRow("fits") << QStringLiteral("12") << 4 << false << false << false;
        QTest::newRow("heading a little too wide") << QStringLiteral("ボ数字1") << 4 << false << true << false;
        QTest::newRow("far too wide") << QStringLiteral("ボーナス数字1ボーナス数字2") << 2 << false << true << true;
        QTest::newRow("padding spaces after")
            << QStringLiteral("12") + QString(30, QLatin1Char(' ')) << 4 << true << false << false;
    }
    void textPlace() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, left);
        QFETCH(bool, shrunk);
        QFETCH(bool, cut);
        ResultGrid g(1, 1);
        g.setColumnWidth(-1, width);
        g.setText(1, 1, text);
        if (left)
            g.cellBlock(1, 1).align(Align::Left);
        QFont japanese;
        japanese.setFamilies({QStringLiteral("IPAGothic"), japanese.family()});
        japanese.setPointSize(9);
        ResultGridPainter painter(japanese);
        painter.setGrid(&g);
        const ResultGridPainter::TextPlace place = painter.placeText(1, 1);
        QCOMPARE(place.shrunk, shrunk);
        QCOMPARE(place.cut, cut);
        QCOMPARE(painter.textCutOff(1, 1), cut);
        if (!shrunk)
            QCOMPARE(place.text, text);
    }

    // Digits sit in the middle of a tall row, not under its top line (a pixel either way is
    // their anti-aliased edge).
    void digitsCentredVertically() {
        ResultGrid g(1, 1);
        g.setColumnWidth(-1, 10);
        g.setRowHeight(-1, 30);
        g.setText(1, 1, QStringLiteral("88"));
        ResultGridView view;
        QFont japanese = view.font();
        japanese.setFamilies({QStringLiteral("IPAGothic"), japanese.family()});
        japanese.setPointSize(9);
        view.setFont(japanese);
        view.setGrid(g);
        view.resize(200, 120);
        const QImage image = view.viewport()->grab().toImage();
        const QRect cell = view.cellRect(1, 1);
        int first = -1, last = -1;
        for (int y = cell.top() + 1; y < cell.top() + cell.height(); ++y)
            if (hasInk(image, QRect(cell.left() + 1, y, cell.width() - 1, 1), Qt::white)) {
                first = first < 0 ? y : first;
                last = y;
            }
        QVERIFY(first > 0);
        const int above = first - (cell.top() + 1), below = cell.top() + cell.height() - 1 - last;
        QVERIFY2(std::abs(above - below) <= 2, qPrintable(QStringLiteral("%1 above, %2 below").arg(above).arg(below)));
    }

    void sizesFollowGridUnits() {
        ResultGrid g(3, 3);
        g.setColumnWidth(-1, 2);
        g.setColumnWidth(3, 10);
        g.setRowHeight(-1, 10);
        g.setRowHeight(1, 20);
        ResultGridView view;
        view.setGrid(g);
        const QFontMetrics fm = view.fontMetrics();
        QCOMPARE(view.columnWidthPixels(1), qRound(2 * fm.averageCharWidth() * 4 / 3.0));
        QCOMPARE(view.columnWidthPixels(3), qRound(10 * fm.averageCharWidth() * 4 / 3.0));
        QVERIFY(view.rowHeightPixels(2) > fm.height());
        QVERIFY(view.rowHeightPixels(2) <= fm.height() + 4);
        QVERIFY(qAbs(view.rowHeightPixels(1) - 2 * view.rowHeightPixels(2)) <= 1);
    }

    void keyboardScrolling() {
        ResultGrid g(5, 200);
        g.freezeRows(2);
        ResultGridView view;
        view.setGrid(g);
        view.resize(200, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.firstScrollableRow(), 3);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.firstScrollableRow(), 4);
        QTest::keyClick(&view, Qt::Key_PageDown);
        QVERIFY(view.firstScrollableRow() > 5);
        QTest::keyClick(&view, Qt::Key_End);
        // The last row is fully visible, and no further (End also went to the last column).
        QVERIFY(view.cellRect(5, 200).bottom() < view.viewport()->height());
        QVERIFY(view.cellRect(5, 200).bottom() + view.rowHeightPixels(1) >= view.viewport()->height() - 1);
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.firstScrollableRow(), 3);
    }

    void selectAndCopy() {
        ResultGrid g(3, 3);
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                g.setText(c, r, QStringLiteral("%1%2").arg(QChar(u'a' + c - 1)).arg(r));
        g.setText(2, 2, QString());
        g.parkCursor();
        ResultGridView view;
        view.setGrid(g);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.selection().isEmpty());

        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, view.cellRect(1, 1).center());
        QMouseEvent move(QEvent::MouseMove, view.cellRect(2, 2).center(),
                         view.viewport()->mapToGlobal(view.cellRect(2, 2).center()), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, view.cellRect(2, 2).center());
        QCOMPARE(view.selection(), QRect(1, 1, 2, 2));
        QCOMPARE(view.selectedText(), QStringLiteral("a1\tb1\na2\t"));

        QApplication::clipboard()->clear();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a1\tb1\na2\t"));
    }

    // A press on a frozen heading takes its whole column or row; Shift+click extends from the
    // last press, keeping whole columns when that press was on a heading.
    void selectionByClicks_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("shiftClick");
        QTest::addColumn<QRect>("selected");
        QTest::newRow("cell") << QPoint(3, 3) << QPoint() << QRect(3, 3, 1, 1);
        QTest::newRow("heading row: column") << QPoint(3, 1) << QPoint() << QRect(3, 1, 1, 6);
        QTest::newRow("heading column: row") << QPoint(1, 4) << QPoint() << QRect(1, 4, 5, 1);
        QTest::newRow("corner: cell") << QPoint(1, 1) << QPoint() << QRect(1, 1, 1, 1);
        QTest::newRow("shift+click") << QPoint(2, 2) << QPoint(4, 5) << QRect(2, 2, 3, 4);
        QTest::newRow("shift+click backwards") << QPoint(4, 5) << QPoint(2, 3) << QRect(2, 3, 3, 3);
        QTest::newRow("shift+click after heading") << QPoint(2, 1) << QPoint(4, 3) << QRect(2, 1, 3, 6);
    }
    void selectionByClicks() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, shiftClick);
        QFETCH(QRect, selected);
        ResultGrid g(5, 6);
        g.freezeRows(1);
        g.freezeColumns(1);
        ResultGridView view;
        view.setGrid(g);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.cellRect(press.x(), press.y()).center());
        if (!shiftClick.isNull())
            QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                              view.cellRect(shiftClick.x(), shiftClick.y()).center());
        QCOMPARE(view.selection(), selected);
    }

    // With nothing selected the whole grid is copied; the HTML form keeps each cell's colours.
    void copyWholeGridWithColours() {
        ResultGrid g(2, 2);
        g.setText(1, 1, QStringLiteral("<1>"));
        g.setText(2, 2, QStringLiteral("x"));
        g.cellBlock(1, 1).back(Palette::LightPink).fore(Palette::Red);
        ResultGridView view;
        view.setGrid(g);
        QApplication::clipboard()->clear();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("<1>\t\n\tx"));
        const QString html = data->html();
        QVERIFY2(html.contains(QStringLiteral("background-color:%1;color:%2")
                                   .arg(toColor(Palette::LightPink).name(), toColor(Palette::Red).name())),
                 qPrintable(html));
        QVERIFY(html.contains(QStringLiteral("&lt;1&gt;")));
        QCOMPARE(html.count(QStringLiteral("<tr>")), 2);
    }

    // A band heading shows once, whole, wherever its band is in view: in its own place when
    // that is in view, else moved into the part of the band shown; not at all without a band.
    void bandHeading_data() {
        QTest::addColumn<int>("bandLast"); // 0: no band heading
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<QString>("place");
        QTest::newRow("first screen") << 58 << 2 << "moved";
        QTest::newRow("own place in view") << 58 << 28 << "own";
        QTest::newRow("own place cut at the right") << 58 << 24 << "moved";
        QTest::newRow("scrolled past it") << 58 << 60 << "moved";
        QTest::newRow("band scrolled away") << 20 << 60 << "none";
        QTest::newRow("no band heading") << 0 << 2 << "none";
    }
    void bandHeading() {
        QFETCH(int, bandLast);
        QFETCH(int, firstColumn);
        QFETCH(QString, place);
        const QString title = QStringLiteral("  出 現 頻 度（回）");
        ResultGrid g(60, 3);
        g.setColumnWidth(-1, 3);
        g.freezeRows(1);
        g.freezeColumns(1);
        g.setOverflow(true);
        g.block(2, 1, 59, 1).back(Palette::LightYellow);
        g.setText(30, 1, title);
        g.cellBlock(30, 1).fore(Palette::Red).align(Align::Left);
        if (bandLast)
            g.setBandHeading({.column = 30, .row = 1, .firstColumn = 2, .lastColumn = bandLast});
        ResultGridView view;
        view.setGrid(g);
        view.resize(300, 120);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.scrollTo(firstColumn, 2);
        const QImage image = view.viewport()->grab().toImage();
        int left = image.width(), right = -1;
        const int y1 = view.cellRect(1, 1).top(), y2 = view.cellRect(1, 1).bottom();
        for (int y = y1; y <= y2; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QColor p = image.pixelColor(x, y); p.red() > 180 && p.green() < 100 && p.blue() < 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        if (place == QStringLiteral("none")) {
            QCOMPARE(right, -1);
            return;
        }
        QVERIFY(right >= 0);
        QVERIFY(left >= view.cellRect(1, 1).right() + 1);
        QVERIFY(right < view.viewport()->width());
        QVERIFY(right - left < QFontMetrics(view.font()).horizontalAdvance(title.trimmed()) + 2);
        if (place == QStringLiteral("own"))
            QVERIFY(left > view.cellRect(30, 1).left());
    }

    // A window whose builder produced nothing shows an empty grid without trouble.
    void emptyGrid() {
        ResultGridView view;
        view.setGrid(ResultGrid());
        view.resize(100, 100);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!view.viewport()->grab().isNull());
        QCOMPARE(view.cellAt(QPoint(5, 5)), QPoint());
        QTest::keyClick(&view, Qt::Key_End);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(view.selection().isEmpty());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
        QVERIFY(view.selection().isEmpty());
    }
};

QTEST_MAIN(TestResultGridView)
#include "TestResultGridView.moc"
