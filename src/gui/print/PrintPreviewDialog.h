#pragma once

#include "gui/print/GridPrinter.h"

#include <QPrintPreviewDialog>

// Qt's print preview of a window's PrintDocument: it prints on any printer or saves a PDF
// (Qt's print dialog offers both), turns the page, and has one switch of its own that narrows
// wide grids to the page width. The pages start as A4 portrait.
class PrintPreviewDialog : public QPrintPreviewDialog {
    Q_OBJECT
public:
    explicit PrintPreviewDialog(PrintDocument document, QWidget *parent = nullptr);

    const GridPrinter &gridPrinter() const { return m_gridPrinter; }
    // The switch in the tool bar (objectName "fitWidth").
    QAction *fitWidthAction() const { return m_fitWidth; }

private:
    GridPrinter m_gridPrinter;
    QAction *m_fitWidth;
};
