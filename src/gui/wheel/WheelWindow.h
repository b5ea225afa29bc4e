#pragma once

#include "core/prediction/PredictedSets.h"
#include "core/wheel/WheelGrids.h"
#include "gui/window/ChildWindow.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class DrawHistory;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class QTimer;
class ResultGridView;
struct CatalogEntry;
struct PredictionOptions;

// 組合せ購入: a pool of numbers (typed, or the prediction's) and a guarantee "t if m" give a
// short list of tickets that holds it. The search runs on a thread of its own, with a progress
// bar and キャンセル; the core builds and checks the wheel, this window lays out the input, the
// two grids and where the tickets go next.
class WheelWindow : public ChildWindow {
    Q_OBJECT
public:
    // The options are the prediction window's, read whenever its numbers are taken.
    WheelWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionOptions &options,
                QWidget *parent = nullptr);
    ~WheelWindow() override;

    void load() override;
    void prepareForExit() override;
    // The summary under the sentence that says what was built, then the tickets to take to
    // the shop.
    std::optional<PrintDocument> printDocument() const override;
    std::optional<WindowExport> exportContent() const override;

    // The pool becomes the numbers of the prediction's set (消去法, 連発 or 一発); false after a
    // message when that set holds no numbers.
    bool takePrediction(Prediction::Method method);
    // 作成: reads the input and starts the build; false when the input was refused (a message
    // says why) and nothing is being built. A full wheel is built at once.
    bool build();
    bool building() const { return m_thread != nullptr; }
    // キャンセル: the build ends soon with the smallest wheel found so far, if any.
    void cancel();
    // The tickets one a line (CSV: with commas), as 当選照合 reads them; false after a message.
    bool saveTickets(const QString &path);

    const std::optional<WheelReport> &report() const { return m_report; }
    ResultGridView *summaryView() const { return m_summary; }
    ResultGridView *ticketView() const { return m_tickets; }

signals:
    // A build has ended, with a wheel or not.
    void built();
    // 当選照合へ: the tickets, one a line, to be checked.
    void checkRequested(const QString &tickets);

private:
    // What the build's thread and the window share; the thread keeps it alive.
    struct Run {
        std::atomic<bool> cancel = false;
        std::atomic<int> permille = 0, best = 0;
        std::optional<WheelReport> report;
    };

    QWidget *buildInput();
    void start(std::vector<int> pool, Guarantee guarantee, bool full);
    void finish();
    void showProgress();
    void display(std::optional<WheelReport> report, const QString &status);
    void setBusy(bool busy);
    void chooseFile();
    void refuse(const QString &message);

    const DrawHistory &m_history;
    const PredictionOptions &m_options;
    QLineEdit *m_pool;
    QComboBox *m_guarantee;
    QDoubleSpinBox *m_seconds;
    QCheckBox *m_full;
    QSpinBox *m_maxCost;
    QPushButton *m_build, *m_cancel, *m_toCheck, *m_save;
    std::vector<QPushButton *> m_sources; // the prediction's numbers
    QProgressBar *m_progress;
    QLabel *m_progressText;
    QLabel *m_status;
    ResultGridView *m_summary;
    ResultGridView *m_tickets;
    QTimer *m_poll;

    std::shared_ptr<Run> m_run;
    QThread *m_thread = nullptr;
    std::optional<WheelReport> m_report;
};
