#include "gui/wheel/WheelWindow.h"

#include "core/analysis/FourGroupTrendAnalysis.h"
#include "core/catalog/AnalysisCatalog.h"
#include "core/history/DrawHistory.h"
#include "core/prediction/PredictionEngine.h"
#include "core/wheel/Subsets.h"
#include "gui/grid/ResultGridView.h"
#include "gui/window/Question.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Design sizes, in twips.
constexpr int kMargin = 120;
} // namespace

WheelWindow::WheelWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionOptions &options,
                         QWidget *parent)
    : ChildWindow(parent), m_history(history), m_options(options) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = new QLabel(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    QHBoxLayout *top = descriptionRow(description);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Label2"));
    m_status->setWordWrap(true);
    m_summary = new ResultGridView(this);
    m_summary->setObjectName(QStringLiteral("fpSpread2"));
    m_summary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_summary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *legend = new QHBoxLayout;
    legend->addWidget(new QLabel(QStringLiteral("数字の色："), this));
    for (int g = 1; g <= FourGroupTrendAnalysis::kGroups; ++g) {
        legend->addWidget(colourSwatch(toQColor(FourGroupTrendAnalysis::groupColour(g))));
        legend->addWidget(new QLabel(FourGroupTrendAnalysis::groupHeading(g), this));
        legend->addSpacing(px(kMargin * 2));
    }
    legend->addStretch(1);
    m_tickets = new ResultGridView(this);
    m_tickets->setObjectName(QStringLiteral("fpSpread1"));
    offerPrinting(m_summary);
    offerPrinting(m_tickets);

    auto *right = new QVBoxLayout;
    right->addWidget(m_status);
    right->addWidget(m_summary, 0, Qt::AlignLeft);
    right->addLayout(legend);
    right->addWidget(m_tickets, 1);

    auto *content = new QWidget(this);
    auto *body = new QHBoxLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(buildInput());
    body->addLayout(right, 1);
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(px(kMargin), px(kMargin), px(kMargin), px(kMargin));
    root->addLayout(top);
    root->addWidget(scrollingBody(content), 1);

    m_poll = new QTimer(this);
    m_poll->setInterval(100);
    connect(m_poll, &QTimer::timeout, this, &WheelWindow::showProgress);
}

WheelWindow::~WheelWindow() {
    if (!m_thread)
        return;
    // A window closed during a build waits for the search, which stops at once when cancelled.
    m_run->cancel = true;
    disconnect(m_thread, nullptr, this, nullptr);
    m_thread->wait();
    delete m_thread;
}

void WheelWindow::load() {
    setBusy(false);
    display(std::nullopt, QStringLiteral("プールの数字と保証を指定して「作成」を押してください。"));
}

void WheelWindow::prepareForExit() {
    cancel();
}

std::optional<PrintDocument> WheelWindow::printDocument() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    PrintDocument document{entry.caption,
                           entry.description,
                           m_history.latestDrawNumber(),
                           {{m_status->text(), m_summary->grid()}, {QStringLiteral("買う組合せ"), m_tickets->grid()}},
                           {},
                           {}};
    for (int g = 1; g <= FourGroupTrendAnalysis::kGroups; ++g)
        document.legend.push_back(
            {false, FourGroupTrendAnalysis::groupColour(g), FourGroupTrendAnalysis::groupHeading(g)});
    return document;
}

std::optional<WindowExport> WheelWindow::exportContent() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    return WindowExport{entry.formName, entry.caption, entry.description, {m_summary->grid(), m_tickets->grid()}};
}

bool WheelWindow::takePrediction(Prediction::Method method) {
    const DrawRules::NumberMask set = predictSets(m_history, m_options)[std::size_t(method)];
    if (!set) {
        refuse(QStringLiteral("予想の数字がないため、プールにできません。"));
        return false;
    }
    QStringList numbers;
    for (const int n : WheelInput::numbersOf(set))
        numbers << QString::number(n);
    m_pool->setText(numbers.join(u' '));
    return true;
}

bool WheelWindow::build() {
    if (building())
        return false;
    const auto refused = [this](const QString &reason) {
        display(std::nullopt, QStringLiteral("入力に誤りがあるため、組合せは作っていません。"));
        refuse(reason);
        return false;
    };
    QString reason;
    const std::optional<std::vector<int>> pool = WheelInput::parsePool(m_pool->text(), &reason);
    if (!pool)
        return refused(reason);
    const std::optional<Guarantee> guarantee = WheelInput::parseGuarantee(m_guarantee->currentText(), &reason);
    if (!guarantee)
        return refused(reason);
    if (m_full->isChecked()) {
        WheelReport report = [&] {
            WaitCursor wait;
            return WheelReport::of(WheelBuilder::full(*pool, *guarantee, m_maxCost->value()), true);
        }();
        if (!report.result.wheel)
            return refused(report.result.message +
                           (Subsets::binomial(int(pool->size()), DrawRules::kMainCount) <= WheelBuilder::kMaxFullTickets
                                ? QStringLiteral("\n上限金額を上げると作れます。")
                                : QString()));
        const QString status = WheelGrids::statusText(report);
        display(std::move(report), status);
        emit built();
        return true;
    }
    if (const QString why = WheelBuilder::problem(*pool, *guarantee); !why.isEmpty())
        return refused(why);
    start(*pool, *guarantee, false);
    return true;
}

void WheelWindow::start(std::vector<int> pool, Guarantee guarantee, bool full) {
    auto run = std::make_shared<Run>();
    WheelBuilder::Options options;
    options.seconds = m_seconds->value();
    options.progress = [run](const WheelBuilder::Progress &p) {
        run->permille = int(p.fraction * 1000);
        run->best = p.best;
        return !run->cancel;
    };
    m_run = run;
    m_thread = QThread::create([run, pool = std::move(pool), guarantee, full, options] {
        run->report = WheelReport::of(WheelBuilder::build(pool, guarantee, options), full);
    });
    connect(m_thread, &QThread::finished, this, &WheelWindow::finish);
    setBusy(true);
    showProgress();
    m_thread->start();
    m_poll->start();
}

void WheelWindow::cancel() {
    if (m_run)
        m_run->cancel = true;
}

void WheelWindow::finish() {
    m_poll->stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    std::optional<WheelReport> report = std::move(m_run->report);
    m_run.reset();
    setBusy(false);
    const QString status = WheelGrids::statusText(*report);
    const bool failed = !report->result.wheel && report->result.outcome != WheelBuilder::Outcome::Cancelled;
    display(std::move(report), status);
    if (failed)
        refuse(status);
    emit built();
}

void WheelWindow::showProgress() {
    if (!m_run)
        return;
    m_progress->setValue(m_run->permille);
    const int best = m_run->best;
    m_progressText->setText(best ? QStringLiteral("探しています。いまの最少は%1枚です。").arg(best)
                                 : QStringLiteral("探しています。"));
}

void WheelWindow::display(std::optional<WheelReport> report, const QString &status) {
    m_report = std::move(report);
    const Wheel *wheel = m_report && m_report->result.wheel ? &*m_report->result.wheel : nullptr;
    m_status->setText(status);
    m_summary->setGrid(WheelGrids::summary(m_report ? &*m_report : nullptr));
    m_tickets->setGrid(WheelGrids::tickets(wheel));
    m_toCheck->setEnabled(wheel);
    m_save->setEnabled(wheel);
    m_summary->fitWholeSheet();
}

void WheelWindow::setBusy(bool busy) {
    for (QWidget *w : std::initializer_list<QWidget *>{m_pool, m_guarantee, m_seconds, m_full, m_maxCost, m_build})
        w->setEnabled(!busy);
    for (QPushButton *b : m_sources)
        b->setEnabled(!busy);
    m_progress->setEnabled(busy);
    m_cancel->setEnabled(busy);
    m_toCheck->setEnabled(!busy && m_report && m_report->result.wheel);
    m_save->setEnabled(!busy && m_report && m_report->result.wheel);
    if (!busy) {
        m_progress->setValue(0);
        m_progressText->clear();
    }
}

void WheelWindow::chooseFile() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("組合せを保存"), QStringLiteral("組合せ購入.txt"),
                                     QStringLiteral("テキスト (*.txt);;CSV (*.csv)"));
    if (!path.isEmpty())
        saveTickets(path);
}

bool WheelWindow::saveTickets(const QString &path) {
    if (!m_report || !m_report->result.wheel)
        return false;
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(WheelGrids::ticketFile(*m_report->result.wheel, csv)) < 0 ||
        !file.commit()) {
        refuse(QStringLiteral("%1 に書き込めませんでした（%2）。").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void WheelWindow::refuse(const QString &message) {
    Question::tell(this, message);
}
