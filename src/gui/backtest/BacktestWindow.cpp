#include "gui/backtest/BacktestWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"
#include "core/backtest/BacktestGrids.h"
#include "core/backtest/BacktestText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLabel *label(const QString &text, QWidget *parent) {
    return new QLabel(text, parent);
}

// The grid's own width: every column shown, beside a vertical scroll bar if asked for.
int fullWidth(const ResultGridView *view, bool withBar = true) {
    int width = 2 * view->frameWidth() + 1 + (withBar ? view->verticalScrollBar()->sizeHint().width() : 0);
    for (int c = 1; c <= view->grid().columns(); ++c)
        width += view->columnWidthPixels(c);
    return width;
}

// The grid's own height: every row shown, no scrolling.
int fullHeight(const ResultGridView *view) {
    int height = 2 * view->frameWidth() + 1;
    for (int r = 1; r <= view->grid().rows(); ++r)
        height += view->rowHeightPixels(r);
    return height;
}
} // namespace

BacktestWindow::BacktestWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionOptions &options,
                               QWidget *parent)
    : ChildWindow(parent), m_history(history), m_options(options) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = label(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    QHBoxLayout *top = descriptionRow(description);

    // The range: every draw number the history holds; the first and last complete draws by default.
    int first = 0, last = 0;
    for (const DrawRecord &d : history.records()) {
        if (!d.isComplete() || !DrawRules::isDrawNumber(d.drawNumber))
            continue;
        first = first ? first : d.drawNumber;
        last = d.drawNumber;
    }
    m_from = new QSpinBox(this);
    m_from->setObjectName(QStringLiteral("spnFrom"));
    m_to = new QSpinBox(this);
    m_to->setObjectName(QStringLiteral("spnTo"));
    for (QSpinBox *spin : {m_from, m_to}) {
        spin->setRange(DrawRules::kMinDrawNumber, std::max(last, DrawRules::kMinDrawNumber));
        spin->setKeyboardTracking(false);
    }
    m_from->setValue(std::max(first, DrawRules::kMinDrawNumber));
    m_to->setValue(std::max(last, DrawRules::kMinDrawNumber));
    m_to->setMinimum(m_from->value());
    m_from->setMaximum(m_to->value());

    m_current = new QRadioButton(this);
    m_current->setObjectName(QStringLiteral("optCurrent"));
    m_current->setChecked(true);
    m_all = new QRadioButton(QStringLiteral("すべての設定 (%1 通り)").arg(Backtest::reachableOffsets().size()), this);
    m_all->setObjectName(QStringLiteral("optAll"));
    auto *mode = new QButtonGroup(this);
    mode->addButton(m_current);
    mode->addButton(m_all);
    m_settingLabel = label(QStringLiteral("表示する設定:"), this);
    m_setting = new QComboBox(this);
    m_setting->setObjectName(QStringLiteral("cboSetting"));
    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("cboMethod"));
    for (int m = 0; m < Backtest::kMethodCount; ++m)
        m_method->addItem(Backtest::methodName(m));
    m_method->setCurrentIndex(Backtest::Elimination);

    auto *controls = new QHBoxLayout;
    controls->addWidget(label(QStringLiteral("範囲: 第"), this));
    controls->addWidget(m_from);
    controls->addWidget(label(QStringLiteral("回 ～ 第"), this));
    controls->addWidget(m_to);
    controls->addWidget(label(QStringLiteral("回"), this));
    controls->addSpacing(24);
    controls->addWidget(m_current);
    controls->addWidget(m_all);
    controls->addSpacing(24);
    controls->addWidget(m_settingLabel);
    controls->addWidget(m_setting);
    controls->addSpacing(24);
    controls->addWidget(label(QStringLiteral("グラフの手法:"), this));
    controls->addWidget(m_method);
    controls->addStretch(1);

    m_verdict = label(QString(), this);
    m_verdict->setObjectName(QStringLiteral("Label2"));
    QFont bold = m_verdict->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_verdict->setFont(bold);
    m_verdict->setWordWrap(true);

    m_methods = new ResultGridView(this);
    m_methods->setObjectName(QStringLiteral("fpSpread1"));
    m_methods->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_notes = label(QString(), this);
    m_notes->setObjectName(QStringLiteral("Label3"));
    m_notes->setWordWrap(true);

    m_settings = new ResultGridView(this);
    m_settings->setObjectName(QStringLiteral("fpSpread2"));
    offerPrinting(m_methods);
    offerPrinting(m_settings);
    m_distribution = FigureKit::instance().hitDistribution(this);
    m_distribution->widget()->setObjectName(QStringLiteral("chtDistribution"));
    m_cumulative = FigureKit::instance().cumulativeHits(this);
    m_cumulative->widget()->setObjectName(QStringLiteral("chtCumulative"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_settings);
    bottom->addWidget(m_distribution->widget(), 2);
    bottom->addWidget(m_cumulative->widget(), 3);

    // Below the description and the buttons, everything scrolls in a small window.
    auto *content = new QWidget(this);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addLayout(controls);
    contentLayout->addWidget(m_verdict);
    contentLayout->addWidget(m_methods);
    contentLayout->addWidget(m_notes);
    contentLayout->addLayout(bottom, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scrollingBody(content), 1);

    connect(m_from, &QSpinBox::valueChanged, this, [this](int v) {
        m_to->setMinimum(v);
        recompute();
    });
    connect(m_to, &QSpinBox::valueChanged, this, [this](int v) {
        m_from->setMaximum(v);
        recompute();
    });
    connect(m_all, &QRadioButton::toggled, this, [this] { recompute(); });
    connect(m_setting, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_updating)
            showSetting();
    });
    connect(m_method, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_updating)
            showCharts();
    });
}

void BacktestWindow::load() {
    recompute();
    // The options may change in the prediction window meanwhile: coming back, the window
    // follows them.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        connect(frame, &QMdiSubWindow::aboutToActivate, this, [this] {
            if (m_computedOffset != currentOffset())
                recompute();
        });
}

int BacktestWindow::currentOffset() const {
    return Backtest::reflectOffsetOf(m_options);
}

void BacktestWindow::recompute() {
    if (m_updating)
        return;
    WaitCursor wait;
    const Backtest::Range range{m_from->value(), m_to->value()};
    const bool all = m_all->isChecked();
    m_current->setText(QStringLiteral("現在のオプション (反映オフセット %1)").arg(currentOffset()));
    m_computedOffset = currentOffset();
    m_report = all ? Backtest::runAll(m_history, range) : Backtest::runOne(m_history, range, m_computedOffset);
    m_verdict->setText(m_report.verdict);

    m_updating = true;
    m_setting->clear();
    if (all) {
        // Best first, as the ranking grid lists them.
        std::vector<const Backtest::SettingResult *> ranked;
        for (const Backtest::SettingResult &s : m_report.settings)
            ranked.push_back(&s);
        std::sort(ranked.begin(), ranked.end(), [](auto *a, auto *b) { return a->rank < b->rank; });
        for (const Backtest::SettingResult *s : ranked)
            m_setting->addItem(QStringLiteral("%1位: 反映オフセット %2").arg(s->rank).arg(s->reflectOffset),
                               s->reflectOffset);
        m_setting->setCurrentIndex(m_setting->findData(m_report.bestSetting().reflectOffset));
        m_settings->setGrid(BacktestGrids::settingsGrid(m_report, currentOffset()));
        m_settings->setFixedWidth(fullWidth(m_settings));
    }
    m_updating = false;
    m_settingLabel->setVisible(all);
    m_setting->setVisible(all);
    m_settings->setVisible(all);

    QStringList notes;
    notes << QStringLiteral("%1 回を検証 (第%2回～第%3回)。")
                 .arg(m_report.drawsTested)
                 .arg(m_report.firstTested)
                 .arg(m_report.lastTested);
    if (m_report.anyApproximatePValue())
        notes << QStringLiteral("p値は当たり数の合計の両側検定で、正規近似 (連続修正つき) です。");
    else
        notes << QStringLiteral("p値は当たり数の合計の両側検定で、厳密に計算しています。");
    notes << (all ? QStringLiteral("補正後の p値は設定ごとに消去法・連発予想・１発予想の最小 p値を 3 倍し、"
                                   "%1 通りの設定について Holm 法で補正したものです。")
                        .arg(m_report.comparisons)
                  : QStringLiteral("補正後の p値は 7 手法について Holm 法で補正したものです。"));
    notes << QStringLiteral("95%区間は 1 回あたりの当たり数の正規近似です。周期法は反映オプションに左右されません。");
    notes << BacktestText::yenNote(m_report);
    m_notes->setText(notes.join(QString()));
    showSetting();
}

std::optional<PrintDocument> BacktestWindow::printDocument() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    PrintDocument document{entry.caption, entry.description, m_history.latestDrawNumber(), {{{}, m_methods->grid()}},
                           {m_verdict->text(), m_notes->text()}, {}};
    if (m_report.allSettings)
        document.sections.push_back({{}, m_settings->grid()});
    // The charts a little more square than on screen, so that two stand side by side on a
    // landscape page.
    document.figures.push_back(m_distribution->printed(QSizeF(520, 360)));
    document.figures.push_back(m_cumulative->printed(QSizeF(520, 360)));
    return document;
}

std::optional<WindowExport> BacktestWindow::exportContent() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    WindowExport out{entry.formName, entry.caption, entry.description, {m_methods->grid()}};
    if (m_report.allSettings)
        out.grids.push_back(m_settings->grid());
    return out;
}

void BacktestWindow::showSetting() {
    const bool all = m_report.allSettings;
    const int offset = all && m_setting->currentIndex() >= 0 ? m_setting->currentData().toInt() : currentOffset();
    m_shown = Backtest::runOne(m_history, m_report.range, offset, true);
    const Backtest::SettingResult *setting = &m_shown.settings.front();
    if (all)
        for (const Backtest::SettingResult &s : m_report.settings)
            if (s.reflectOffset == offset)
                setting = &s;
    m_methods->setGrid(BacktestGrids::methodGrid(*setting, !all, m_report.drawsWithPrizes() > 0));
    // Shown whole: in a narrow window the body scrolls, not the table.
    m_methods->setFixedHeight(fullHeight(m_methods));
    m_methods->setMinimumWidth(fullWidth(m_methods, false));
    showCharts();
}

void BacktestWindow::showCharts() {
    const int method = std::max(0, m_method->currentIndex());
    const Backtest::SettingResult &setting = m_shown.settings.front();
    const QString title =
        m_report.allSettings
            ? QStringLiteral("%1 (反映オフセット %2)").arg(Backtest::methodName(method)).arg(setting.reflectOffset)
            : Backtest::methodName(method);
    m_distribution->setSummary(setting.methods[std::size_t(method)], title);
    m_cumulative->setPoints(Backtest::cumulativeExcess(setting, method), title);
}
