// The module's one entry: what the windows ask of Qt Charts and Qt Print Support.
#include "gui/figures/CumulativeHitsChart.h"
#include "gui/figures/HitDistributionChart.h"
#include "gui/figures/PrintPreviewDialog.h"
#include "gui/figures/PrizeChart.h"
#include "gui/figures/TheoryChart.h"

namespace {
class Kit : public FigureKit {
public:
    HitDistributionFigure *hitDistribution(QWidget *parent) override { return new HitDistributionChart(parent); }
    CumulativeHitsFigure *cumulativeHits(QWidget *parent) override { return new CumulativeHitsChart(parent); }
    PrizeFigure *prizes(QWidget *parent) override { return new PrizeChart(parent); }
    TheoryFigure *theory(QWidget *parent) override { return new TheoryChart(parent); }
    void printPreview(PreviewPages &pages, QWidget *parent) override {
        PrintPreviewDialog dialog(pages, parent);
        dialog.exec();
    }
};
} // namespace

extern "C" Q_DECL_EXPORT FigureKit *nanazubarioFigureKit() {
    static Kit kit;
    return &kit;
}
