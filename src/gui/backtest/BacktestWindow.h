#pragma once

#include "core/backtest/Backtest.h"
#include "gui/print/FigureKit.h"
#include "gui/window/ChildWindow.h"

class DrawHistory;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class ResultGridView;
struct CatalogEntry;
struct PredictionOptions;

// 予想の検証: replays the prediction on every past draw of a range, for the current options or
// for every setting, and shows the hits beside what chance gives, with the verdict, the grids
// and two charts of the method chosen.
class BacktestWindow : public ChildWindow {
    Q_OBJECT
public:
    // The options are the prediction window's, read at every recompute.
    BacktestWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionOptions &options,
                   QWidget *parent = nullptr);

    void load() override;
    const Backtest::Report &report() const { return m_report; }
    // The grids, the charts of the method chosen, the verdict and the notes.
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

private:
    void recompute();
    void showSetting();
    void showCharts();
    int currentOffset() const;

    const DrawHistory &m_history;
    const PredictionOptions &m_options;
    Backtest::Report m_report;
    Backtest::Report m_shown; // the setting on show, with its draws for the charts

    QSpinBox *m_from;
    QSpinBox *m_to;
    QRadioButton *m_current;
    QRadioButton *m_all;
    QLabel *m_settingLabel;
    QComboBox *m_setting;
    QComboBox *m_method;
    QLabel *m_verdict;
    QLabel *m_notes;
    ResultGridView *m_methods;
    ResultGridView *m_settings;
    HitDistributionFigure *m_distribution;
    CumulativeHitsFigure *m_cumulative;
    bool m_updating = false;
    int m_computedOffset = -1;
};
