#include "gui/figures/PrintPreviewDialog.h"

#include "gui/print/GridPrinter.h"

#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

PrintPreviewDialog::PrintPreviewDialog(PreviewPages &pages, QWidget *parent)
    : QPrintPreviewDialog(parent), m_pages(pages) {
    setObjectName(QStringLiteral("PrintPreviewDialog"));
    setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(m_pages.caption()));
    m_pages.setDefaultPageLayout(*printer());
    printer()->setDocName(m_pages.caption());
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *printer) { m_pages.print(*printer); });

    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("printScale"));
    m_scale->addItem(QStringLiteral("ページ幅に合わせる"), GridPrinter::kFitWidth);
    for (int percent : {50, 75, 100, 125, 150, 200})
        m_scale->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    m_scale->setToolTip(QStringLiteral("表を印刷する大きさ"));
    if (auto *toolBar = findChild<QToolBar *>()) {
        toolBar->addSeparator();
        auto *label = new QLabel(QStringLiteral("倍率(&S):"), toolBar);
        label->setBuddy(m_scale);
        toolBar->addWidget(label);
        toolBar->addWidget(m_scale);
    }
    connect(m_scale, &QComboBox::currentIndexChanged, this, [this] {
        m_pages.setScale(m_scale->currentData().toDouble());
        if (auto *preview = findChild<QPrintPreviewWidget *>())
            preview->updatePreview();
    });
}
