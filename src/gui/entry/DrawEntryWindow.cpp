#include "gui/entry/DrawEntryWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/entry/DrawGrid.h"
#include "gui/window/Question.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {
const QString kErrorTitle = QStringLiteral("メッセ－ジ");
const QString kApplicationTitle = QStringLiteral("ナナズバリオ");
constexpr int kDrawNumberColumn = 0;
constexpr int kDateColumn = DrawRow::kDateColumn;
} // namespace

QString DrawEntryWindow::headingLines(const QString &name, const QFontMetrics &metrics, int room) {
    return DrawHeaderView::headingLines(name, metrics, room);
}

DrawEntryWindow::DrawEntryWindow(const ConnectionString &connection, QWidget *parent)
    : ChildWindow(parent), m_connection(connection) {
    const CatalogEntry &entry = AnalysisCatalog::dataEntry();
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    m_label = new QLabel(entry.description, this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_model = new DrawTableModel(this);
    m_view = new DrawTableView(this);
    m_view->setObjectName(QStringLiteral("fpSpread1"));
    m_close = new QPushButton(QStringLiteral("閉じる"), this);
    m_close->setObjectName(QStringLiteral("Command1"));
    connect(m_close, &QPushButton::clicked, this, &DrawEntryWindow::closeWindow);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_view, 1, Qt::AlignLeft);
    layout->addWidget(m_close, 0, Qt::AlignRight);

    resize(twipsToPixels(entry.widthTwips, this), twipsToPixels(entry.heightTwips, this));

    m_editMenu = new QMenu(QStringLiteral("編集(&E)"), this);
    m_editMenu->setObjectName(QStringLiteral("mnuEdit"));
    m_addLine = m_editMenu->addAction(QStringLiteral("行追加"), this, &DrawEntryWindow::addLine);
    m_addLine->setObjectName(QStringLiteral("mnuAddLine"));
    m_addLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    m_delLine = m_editMenu->addAction(QStringLiteral("行削除"), this, &DrawEntryWindow::deleteLine);
    m_delLine->setObjectName(QStringLiteral("mnuDelLine"));
    m_delLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // The keys work while focus is in this window, whether the menu is shown or not.
    addAction(m_addLine);
    addAction(m_delLine);

    m_confirm = [this](const QString &text) {
        return Question::ask(this, kApplicationTitle, text, QMessageBox::Warning);
    };
    m_notify = [this](const QString &text) { QMessageBox::critical(this, kErrorTitle, text); };

    m_view->setModel(m_model);
    setUpGrid();
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowLeft(current.row()); });
}

void DrawEntryWindow::load() {
    StoreError error;
    if (!m_model->open(m_connection, error))
        m_loadError = error.message;
    setColumnWidths(); // reading the draws resets the columns
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
}

DrawEntryWindow::~DrawEntryWindow() = default;

QTableView *DrawEntryWindow::view() const {
    return m_view;
}

std::optional<PrintDocument> DrawEntryWindow::printDocument() const {
    const CatalogEntry &entry = AnalysisCatalog::dataEntry();
    return PrintDocument{entry.caption, entry.description, m_model->latestDrawNumber(), {{{}, m_model->toGrid()}},
                         {}, {}};
}

std::optional<std::vector<DrawRecord>> DrawEntryWindow::takeDrawsAtOpen() {
    if (!m_model->isOpen())
        return std::nullopt;
    return m_model->takeDrawsAtOpen();
}

QMenu *DrawEntryWindow::windowMenu() {
    return m_editMenu;
}

QString DrawEntryWindow::addLineQuestion() {
    return QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？");
}

QString DrawEntryWindow::discardQuestion() {
    return QStringLiteral("保存できなかった行があります。入力した内容を保存せずに閉じますか？");
}

QString DrawEntryWindow::deleteLineQuestion() {
    return QStringLiteral("選択された行を削除します。よろしいですか？");
}

void DrawEntryWindow::setUpGrid() {
    m_view->setItemDelegate(new DrawCellDelegate(m_view));
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // As wide as its columns, so that no empty band stands to the right of them.
    m_view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setGridStyle(Qt::SolidLine);
    m_view->setStyleSheet(QStringLiteral("QTableView { gridline-color: black; }"));

    // Grid units: a width of 1 is the average character width, a height of 10 one text line
    // with a small margin.
    const QFontMetrics metrics(m_view->font());
    const int lineHeight = metrics.height() + 2;
    QHeaderView *rows = m_view->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(lineHeight);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rows, &QWidget::customContextMenuRequested, this, &DrawEntryWindow::rowHeadingMenuRequested);

    auto *columns = new DrawHeaderView(m_view);
    m_view->setHorizontalHeader(columns);
    columns->setMinimumSectionSize(1);
    columns->setDefaultAlignment(Qt::AlignCenter);
    setColumnWidths();
}

void DrawEntryWindow::setColumnWidths() {
    // A width unit is a third more than the average character width, as in the analysis grids.
    const double unit = QFontMetrics(m_view->font()).averageCharWidth() * 4.0 / 3.0;
    auto *columns = static_cast<DrawHeaderView *>(m_view->horizontalHeader());
    const int margin = m_view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, columns);
    int headingHeight = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        // 抽せん日 is as wide as a date with its slashes.
        const int width = c == kDrawNumberColumn ? 5 : c == kDateColumn ? 9 : 7;
        m_view->setColumnWidth(c, qRound(width * unit));
        // The header does not grow by itself for a heading on two lines: make room for it.
        const QRect needed =
            columns->fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignCenter, columns->headingText(c));
        headingHeight = std::max(headingHeight, needed.height() + 2 * margin);
    }
    columns->setMinimumHeight(headingHeight);
}

QSize DrawEntryWindow::contentSize() const {
    // Every column and 50 rows of draws, with the vertical scroll bar beside them.
    constexpr int kVisibleRows = 50;
    const int frame = 2 * m_view->frameWidth();
    const QSize grid(m_view->verticalHeader()->sizeHint().width() + m_view->horizontalHeader()->length() + frame +
                         m_view->verticalScrollBar()->sizeHint().width(),
                     m_view->horizontalHeader()->minimumHeight() +
                         kVisibleRows * m_view->verticalHeader()->defaultSectionSize() + frame);
    const QMargins margins = layout()->contentsMargins();
    const int spacing = layout()->spacing();
    return {std::max(grid.width(), m_label->sizeHint().width()) + margins.left() + margins.right(),
            m_label->sizeHint().height() + spacing + grid.height() + spacing + m_close->sizeHint().height() +
                margins.top() + margins.bottom()};
}

void DrawEntryWindow::showEvent(QShowEvent *event) {
    ChildWindow::showEvent(event);
    if (!m_loadError.isEmpty() && !m_exiting) {
        // Nothing to show without the database: say why and go.
        QTimer::singleShot(0, this, [this] {
            m_notify(m_loadError);
            m_exiting = true;
            closeWindow();
        });
    }
}

void DrawEntryWindow::rowLeft(int currentRow) {
    report(m_model->storeRowsLeft(currentRow));
}

void DrawEntryWindow::report(const std::vector<StoreProblem> &problems) {
    if (problems.empty())
        return;
    QStringList parts;
    for (const StoreProblem &p : problems)
        parts << p.message;
    const QString text = parts.join(QStringLiteral("\n\n"));
    // Told after the grid has finished moving the cursor, not in the middle of it.
    QTimer::singleShot(0, this, [this, text] { m_notify(text); });
}

void DrawEntryWindow::addLine() {
    m_view->commitOpenEditor();
    if (!m_confirm(addLineQuestion()))
        return;
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    const int row = m_model->insertEmptyRow(current.isValid() ? current.row() : -1);
    m_view->setCurrentIndex(m_model->index(row, column));
    m_view->scrollTo(m_view->currentIndex());
    m_view->setFocus();
}

void DrawEntryWindow::deleteLine() {
    m_view->commitOpenEditor();
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return;
    if (!m_confirm(deleteLineQuestion()))
        return;
    const int row = current.row();
    const int column = current.column();
    std::optional<StoreProblem> problem;
    if (m_model->deleteRow(row, problem)) {
        // The cursor stays where it was: on the row that moved up, or on the new last row.
        if (m_model->rowCount() > 0)
            m_view->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), column));
    } else if (problem) {
        report({*problem});
    }
    m_view->setFocus();
}

void DrawEntryWindow::rowHeadingMenuRequested(const QPoint &position) {
    QHeaderView *rows = m_view->verticalHeader();
    const int row = rows->logicalIndexAt(position);
    if (row < 0 || row >= m_model->rowCount())
        return;
    if (selectionCoversOneRow())
        m_editMenu->popup(rows->mapToGlobal(position));
}

bool DrawEntryWindow::selectionCoversOneRow() const {
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return m_view->currentIndex().isValid();
    int first = selected.front().row();
    int last = first;
    for (const QModelIndex &index : selected) {
        first = std::min(first, index.row());
        last = std::max(last, index.row());
    }
    return first == last;
}

bool DrawEntryWindow::validateAndStore() {
    m_view->commitOpenEditor();
    if (const auto fault = m_model->firstFault()) {
        m_notify(fault->message);
        const QModelIndex cell = m_model->index(fault->row, fault->column);
        m_view->setCurrentIndex(cell);
        m_view->scrollTo(cell);
        m_view->setFocus();
        return false;
    }
    const std::vector<StoreProblem> problems = m_model->storeAll();
    if (problems.empty())
        return true;
    QStringList parts;
    for (const StoreProblem &p : problems)
        parts << p.message;
    m_notify(parts.join(QStringLiteral("\n\n")));
    // Rows the database keeps refusing would otherwise hold the window open for good; the
    // user has just been shown what they hold and may let them go.
    return m_model->hasPendingRows() && m_confirm(discardQuestion());
}

void DrawEntryWindow::closeEvent(QCloseEvent *event) {
    if (m_exiting || !m_model->isOpen() || validateAndStore())
        event->accept();
    else
        event->ignore();
}

void DrawEntryWindow::prepareForExit() {
    m_exiting = true;
    if (!m_model->isOpen())
        return;
    m_view->commitOpenEditor();
    const std::vector<StoreProblem> problems = m_model->storeAll();
    if (problems.empty())
        return;
    QStringList parts{QStringLiteral("当選データ入力の次の行は保存できませんでした。")};
    for (const StoreProblem &p : problems)
        parts << p.message;
    m_notify(parts.join(QStringLiteral("\n\n")));
}
