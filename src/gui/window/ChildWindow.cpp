#include "gui/window/ChildWindow.h"

#include "gui/grid/ResultGridView.h"
#include "gui/print/CsvSaveDialog.h"
#include "gui/print/FigureKit.h"
#include "gui/print/GridPrinter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>

namespace {
// A window's printout as the print preview shows it.
class GridPages : public PreviewPages {
public:
    explicit GridPages(PrintDocument document) : m_printer(std::move(document)) {}
    QString caption() const override { return m_printer.document().caption; }
    void setDefaultPageLayout(QPagedPaintDevice &device) const override { m_printer.setDefaultPageLayout(device); }
    void print(QPagedPaintDevice &device) const override { m_printer.print(device); }
    void setScale(double scale) override { m_printer.setScale(scale); }

private:
    GridPrinter m_printer;
};
} // namespace

ChildWindow::ChildWindow(QWidget *parent) : QWidget(parent) {
    auto *print = new QAction(QStringLiteral("印刷"), this);
    print->setObjectName(QStringLiteral("printShortcut"));
    print->setShortcut(QKeySequence::Print);
    print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(print, &QAction::triggered, this, &ChildWindow::printPreview);
    addAction(print);
}

void ChildWindow::printPreview() {
    std::optional<PrintDocument> document = printDocument();
    if (!document)
        return;
    GridPages pages(std::move(*document));
    FigureKit::instance().printPreview(pages, this);
}

void ChildWindow::saveCsv() {
    if (!exportContent())
        return;
    if (const auto choice = CsvSaveDialog::ask(this, objectName()))
        writeCsv(choice->path, choice->byteOrderMark);
}

bool ChildWindow::writeCsv(const QString &path, bool byteOrderMark) {
    const std::optional<WindowExport> content = exportContent();
    QString error;
    if (content && GridCsv::save(path, *content, byteOrderMark, &error))
        return true;
    QMessageBox::critical(this, QStringLiteral("メッセ－ジ"),
                          QStringLiteral("%1 に書き込めませんでした（%2）。").arg(path, error));
    return false;
}

void ChildWindow::offerPrinting(ResultGridView *view) {
    connect(view, &ResultGridView::printRequested, this, &ChildWindow::printPreview);
    connect(view, &ResultGridView::saveCsvRequested, this, &ChildWindow::saveCsv);
}

QLabel *ChildWindow::colourSwatch(const QColor &colour) {
    auto *swatch = new QLabel(this);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
    swatch->setFixedSize(px(kSwatchTwips.width()), px(kSwatchTwips.height()));
    return swatch;
}

QScrollArea *ChildWindow::scrollingBody(QWidget *body) {
    auto *area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("body"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(body);
    // The window's own background shows through, as without the area.
    area->viewport()->setAutoFillBackground(false);
    body->setAutoFillBackground(false);
    return area;
}

QHBoxLayout *ChildWindow::descriptionRow(QLabel *description, Qt::Alignment buttonAlignment) {
    auto *print = new QPushButton(QStringLiteral("印刷"), this);
    print->setObjectName(QStringLiteral("Command2"));
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &ChildWindow::closeWindow);
    connect(print, &QPushButton::clicked, this, &ChildWindow::printPreview);
    auto *row = new QHBoxLayout;
    row->addWidget(description, 1);
    row->addWidget(print, 0, buttonAlignment);
    row->addWidget(close, 0, buttonAlignment);
    return row;
}
