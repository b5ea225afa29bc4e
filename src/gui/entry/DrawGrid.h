#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

class QFontMetrics;

// The parts of the 当選データ入力 grid: its cells, its column headings and the view itself.

// Colours, centred text and editors of the draw grid.
class DrawCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 回数 and the numbers take digits only (ASCII or full-width); any other key, or a paste
    // holding one, is refused whole with a beep rather than dropped quietly, which would turn
    // "1.5" into 15. 抽せん日 takes every key: the check names what is wrong with a date.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;
};

// Column headings on one line where they fit, else on two, broken between words.
class DrawHeaderView : public QHeaderView {
public:
    explicit DrawHeaderView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

    // A column heading for a column room pixels wide (without its margins): on one line when it
    // fits, else on two, broken where the kind of writing changes ("第1" / "数字").
    static QString headingLines(const QString &name, const QFontMetrics &metrics, int room);
    // The heading of a column as it is drawn at the column's width.
    QString headingText(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override;
};

// The grid: Enter (and Tab) go to the next cell, row by row, and stop at the last one.
class DrawTableView : public QTableView {
public:
    using QTableView::QTableView;

    // What the open editor holds goes into the model before anything looks at the rows.
    void commitOpenEditor();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
};
