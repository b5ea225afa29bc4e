#pragma once

#include "core/catalog/AnalysisCatalog.h"
#include "gui/analysis/AnalysisWindowLook.h"
#include "gui/window/ChildWindow.h"

#include <vector>

class QLabel;
class QPushButton;
class ResultGridView;

// The frame every analysis window shares: the description, the result grid, the Close button,
// the Print button where the window has one, and the window's colour legend. The analysis runs
// once, in load(); the window is static afterwards.
class AnalysisWindow : public ChildWindow {
    Q_OBJECT
public:
    AnalysisWindow(const CatalogEntry &entry, const DrawHistory &history, QWidget *parent = nullptr);

    void load() override;
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    const CatalogEntry &entry() const { return m_entry; }
    ResultGridView *gridView() const { return m_grid; }
    // How many times this window has computed its analysis (once, unless something is wrong).
    int computeCount() const { return m_computeCount; }

    // Room for the grid's visible area with nothing under a scroll bar, once load() has run.
    QSize sizeHint() const override;
    QSize contentSize() const override { return sizeHint(); }
    bool widthFollowsContent() const override { return m_look.widthFollowsGrid; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildLegend();
    void layoutControls();
    void placeLegendRow(int x, int centreY);
    int legendRowWidth() const;
    int legendRowHeight() const;
    QSize buttonSize() const;

    const CatalogEntry &m_entry;
    const AnalysisWindowLook &m_look;
    const DrawHistory &m_history;
    QLabel *m_description;
    ResultGridView *m_grid;
    QPushButton *m_close;
    QPushButton *m_print = nullptr;
    std::vector<QWidget *> m_samples; // dot or swatch of each legend item
    std::vector<QLabel *> m_legendTexts;
    bool m_shown = false;
    int m_computeCount = 0;
};
