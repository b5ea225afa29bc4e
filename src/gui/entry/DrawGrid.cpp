#include "gui/entry/DrawGrid.h"

#include "core/entry/DrawRowCheck.h"
#include "core/grid/Palette.h"
#include "gui/grid/ResultGridPainter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolTip>

namespace {
constexpr int kDrawNumberColumn = 0;
constexpr int kFirstBonusColumn = 8;
constexpr int kDateColumn = DrawRow::kDateColumn;
constexpr Rgb kBonusBackground{197, 255, 255};

bool isEnter(const QKeyEvent *key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isEditShortcut(const QKeyEvent *key) {
    return key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_A || key->key() == Qt::Key_D);
}

// Which kind of writing a character is; a heading breaks only where the kind changes.
int scriptOf(QChar c) {
    const char16_t u = c.unicode();
    if (c.isDigit())
        return 0;
    if ((u >= 0x30A0 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F))
        return 1; // katakana and the long vowel mark
    if (u >= 0x3040 && u <= 0x309F)
        return 2; // hiragana
    return 3;
}
} // namespace

QWidget *DrawCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignCenter);
    if (index.column() != DrawRow::kDateColumn) {
        static const QRegularExpression digits(QStringLiteral("[0-9０-９ 　]*"));
        editor->setValidator(new QRegularExpressionValidator(digits, editor));
        QObject::connect(editor, &QLineEdit::inputRejected, editor, [editor] {
            QApplication::beep();
            QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())),
                               QStringLiteral("この欄には数字だけを入力できます。"), editor);
        });
    }
    return editor;
}

// The cell is painted here as the style paints it: the style lays every cell's text out
// twice as a paragraph that may wrap and is elided, and works out the places of a check box
// and an icon these cells never have, which made painting a screenful of short numbers the
// slowest part of opening the window. The focused cell, with its focus frame, is left to
// the style.
void DrawCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const {
    if (option.state & QStyle::State_HasFocus) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget *widget = cell.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    if (cell.text.isEmpty())
        return;
    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
    // One line, centred as the style centres it: in whole pixels vertically, to the fraction
    // of a pixel horizontally. Numbers fit; a longer text the user typed is cut at the cell.
    const QFontMetricsF metrics(cell.font);
    const int lineHeight = int(metrics.ascent() + metrics.descent());
    const int top = textRect.top() + (textRect.height() - lineHeight) / 2;
    const qreal left = textRect.left() + (textRect.width() - metrics.horizontalAdvance(cell.text)) / 2;
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(
        cell.palette.color(group, (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(cell.font);
    painter->drawText(QPointF(left, top + metrics.ascent()), cell.text);
    painter->restore();
}

void DrawCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignCenter;
    if (index.column() == kDrawNumberColumn) {
        option->palette.setColor(QPalette::Text, toQColor(Palette::Blue));
    } else if (index.column() >= kFirstBonusColumn && index.column() < kDateColumn) {
        option->palette.setColor(QPalette::Text, toQColor(Palette::Red));
        option->backgroundBrush = toQColor(kBonusBackground);
    }
}

bool DrawCellDelegate::eventFilter(QObject *object, QEvent *event) {
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::ShortcutOverride && isEditShortcut(static_cast<QKeyEvent *>(event))) {
        // The window's 行追加 and 行削除 win over the line edit's own use of the keys.
        event->ignore();
        return true;
    }
    if (editor && event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

QString DrawHeaderView::headingLines(const QString &name, const QFontMetrics &metrics, int room) {
    if (metrics.horizontalAdvance(name) <= room)
        return name;
    // Where the kind of writing changes ("第1|数字", "ボーナス|数字1"), at the place that leaves
    // the longer line shortest.
    int best = -1, bestWidth = 0;
    for (int i = 1; i < name.size(); ++i) {
        if (scriptOf(name[i - 1]) == scriptOf(name[i]) || name[i].isLowSurrogate())
            continue;
        const int width = std::max(metrics.horizontalAdvance(name.left(i)), metrics.horizontalAdvance(name.mid(i)));
        if (best < 0 || width < bestWidth) {
            best = i;
            bestWidth = width;
        }
    }
    return best < 0 ? name : name.left(best) + QLatin1Char('\n') + name.mid(best);
}

QString DrawHeaderView::headingText(int logicalIndex) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return headingLines(model()->headerData(logicalIndex, orientation()).toString(), fontMetrics(),
                        sectionSize(logicalIndex) - 2 * margin);
}

void DrawHeaderView::initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text = headingText(logicalIndex);
}

void DrawTableView::commitOpenEditor() {
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QModelIndex DrawTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveNext)
        return QTableView::moveCursor(action, modifiers);
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0);
    if (current.column() + 1 < model()->columnCount())
        return current.siblingAtColumn(current.column() + 1);
    if (current.row() + 1 < model()->rowCount())
        return model()->index(current.row() + 1, 0);
    return current;
}

void DrawTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint != QAbstractItemDelegate::EditNextItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    setCurrentIndex(moveCursor(MoveNext, Qt::NoModifier));
}

void DrawTableView::keyPressEvent(QKeyEvent *event) {
    if (isEnter(event) && state() != EditingState) {
        setCurrentIndex(moveCursor(MoveNext, event->modifiers()));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
