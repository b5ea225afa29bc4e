#pragma once

#include "core/prediction/PredictedSets.h"
#include "gui/window/ChildWindow.h"

#include <array>

class DrawHistory;
class PredictionEngine;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class ResultGridView;

// 一発ズバリオ予想: the twelve reflect options on the left, the four predictions on the right.
// The engine belongs to the main window and outlives every opening, so the flags set here are
// seen again at the next opening and written to the settings file at exit.
class PredictionWindow : public ChildWindow {
    Q_OBJECT
public:
    PredictionWindow(PredictionEngine &engine, const DrawHistory &history, QWidget *parent = nullptr);

    // Opening: sets the option buttons from the flags, lays out the grids and runs the whole
    // prediction.
    void load() override;
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

signals:
    // 組合せ購入: buy the numbers of that set (消去法 when the button itself is clicked) as a wheel.
    void wheelRequested(Prediction::Method method);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildOptionPanel(QWidget *panel);
    void buildResultPanel(QWidget *panel);
    void optionClicked(int index, bool reflect);
    void refreshGrids();
    void place(QWidget *w, int left, int top, int width, int height) const;

    PredictionEngine &m_engine;
    const DrawHistory &m_history;
    std::array<QRadioButton *, 12> m_reflectButtons{};
    std::array<QRadioButton *, 12> m_ignoreButtons{};
    std::array<ResultGridView *, 4> m_gridViews{};
    QScrollArea *m_body = nullptr;
    QToolButton *m_wheel = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_close = nullptr;
};
