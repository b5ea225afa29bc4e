#include "gui/print/PrintPreviewDialog.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

PrintPreviewDialog::PrintPreviewDialog(PrintDocument document, QWidget *parent)
    : QPrintPreviewDialog(parent), m_gridPrinter(std::move(document)) {
    setObjectName(QStringLiteral("PrintPreviewDialog"));
    setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(m_gridPrinter.document().caption));
    GridPrinter::setDefaultPageLayout(*printer());
    printer()->setDocName(m_gridPrinter.document().caption);
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *printer) { m_gridPrinter.print(*printer); });

    m_fitWidth = new QAction(QStringLiteral("幅をページに合わせる"), this);
    m_fitWidth->setObjectName(QStringLiteral("fitWidth"));
    m_fitWidth->setCheckable(true);
    m_fitWidth->setChecked(m_gridPrinter.fitWidth());
    m_fitWidth->setToolTip(QStringLiteral("ページより少し広い表を、ページの幅に縮めて印刷します"));
    if (auto *toolBar = findChild<QToolBar *>()) {
        toolBar->addSeparator();
        toolBar->addAction(m_fitWidth);
    }
    connect(m_fitWidth, &QAction::toggled, this, [this](bool on) {
        m_gridPrinter.setFitWidth(on);
        if (auto *preview = findChild<QPrintPreviewWidget *>())
            preview->updatePreview();
    });
}
