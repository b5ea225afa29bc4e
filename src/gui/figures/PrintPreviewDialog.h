#pragma once

#include "gui/print/FigureKit.h"

#include <QPrintPreviewDialog>

class QComboBox;

// Qt's print preview of a window's pages: it prints on any printer or saves a PDF (Qt's print
// dialog offers both), turns the page, and has a 倍率 of its own for the grids: fitted to the
// page width, or a fixed percentage. The pages start as A4 in the orientation that suits the
// widest grid.
class PrintPreviewDialog : public QPrintPreviewDialog {
    Q_OBJECT
public:
    PrintPreviewDialog(PreviewPages &pages, QWidget *parent = nullptr);

    // The 倍率 in the tool bar (objectName "printScale"); its items' data are GridPrinter scales.
    QComboBox *scaleBox() const { return m_scale; }

private:
    PreviewPages &m_pages;
    QComboBox *m_scale;
};
