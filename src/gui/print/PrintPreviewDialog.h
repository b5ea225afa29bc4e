#pragma once

#include "gui/print/GridPrinter.h"

#include <QPrintPreviewDialog>

class QComboBox;

// Qt's print preview of a window's PrintDocument: it prints on any printer or saves a PDF
// (Qt's print dialog offers both), turns the page, and has a 倍率 of its own for the grids:
// fitted to the page width, or a fixed percentage. The pages start as A4 in the orientation
// that suits the widest grid.
class PrintPreviewDialog : public QPrintPreviewDialog {
    Q_OBJECT
public:
    explicit PrintPreviewDialog(PrintDocument document, QWidget *parent = nullptr);

    const GridPrinter &gridPrinter() const { return m_gridPrinter; }
    // The 倍率 in the tool bar (objectName "printScale"); its items' data are GridPrinter scales.
    QComboBox *scaleBox() const { return m_scale; }

private:
    GridPrinter m_gridPrinter;
    QComboBox *m_scale;
};
