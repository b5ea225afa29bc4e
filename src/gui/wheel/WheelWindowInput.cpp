// WheelWindow: its input panel, laid out here so the window file keeps to the rest.
#include "gui/wheel/WheelWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// Design width of the panel, in twips.
constexpr int kInputWidth = 5400;
// The guarantees players ask for most, offered in the list; any other can be typed.
const char *const kGuarantees[] = {"3/3", "4/4", "5/5", "6/6", "3/4", "4/5", "5/6", "3/7", "4/7", "5/7", "6/7"};
constexpr double kDefaultSeconds = 2.0, kMaxSeconds = 600;
constexpr int kCostStep = 10'000;
constexpr int kMaxCost = int(WheelBuilder::kMaxFullTickets) * Wheel::kTicketPrice;

QPushButton *button(const QString &text, const QString &name, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

// The pool, the guarantee, the full wheel and the buttons, on the left.
QWidget *WheelWindow::buildInput() {
    auto *panel = new QWidget(this);
    panel->setFixedWidth(px(kInputWidth));
    auto *left = new QVBoxLayout(panel);
    left->setContentsMargins(0, 0, 0, 0);

    auto *poolLabel = new QLabel(QStringLiteral("プールの数字（7個以上。空白かカンマで区切ります）"), panel);
    poolLabel->setWordWrap(true);
    m_pool = new QLineEdit(panel);
    m_pool->setObjectName(QStringLiteral("txtPool"));
    m_pool->setPlaceholderText(QStringLiteral("例：2 5 8 11 14 17 20 23 26 29"));
    auto *sources = new QHBoxLayout;
    sources->addWidget(new QLabel(QStringLiteral("予想から："), panel));
    const struct {
        const char *text, *name;
        Prediction::Method method;
    } fromPrediction[] = {{"消去法", "cmdElimination", Prediction::Elimination},
                          {"連発ズバリオ", "cmdRepeated", Prediction::Repeated},
                          {"一発ズバリオ", "cmdOneShot", Prediction::OneShot}};
    for (const auto &source : fromPrediction) {
        QPushButton *b = button(QString::fromUtf8(source.text), QString::fromLatin1(source.name), panel);
        connect(b, &QPushButton::clicked, this, [this, method = source.method] { takePrediction(method); });
        sources->addWidget(b);
        m_sources.push_back(b);
    }
    sources->addStretch(1);

    auto *guaranteeBox = new QGroupBox(QStringLiteral("保証"), panel);
    guaranteeBox->setObjectName(QStringLiteral("Frame1"));
    m_guarantee = new QComboBox(guaranteeBox);
    m_guarantee->setObjectName(QStringLiteral("cboGuarantee"));
    m_guarantee->setEditable(true);
    m_guarantee->setInsertPolicy(QComboBox::NoInsert);
    for (const char *g : kGuarantees)
        m_guarantee->addItem(QString::fromLatin1(g));
    auto *rule = new QLabel(QStringLiteral("本数字が「条件の数」個以上プールに入れば、どれかの券"
                                           "が「当たり数」個以上当たります（4個で5等、5個で4等、6個で3等）。"),
                            guaranteeBox);
    rule->setWordWrap(true);
    m_seconds = new QDoubleSpinBox(guaranteeBox);
    m_seconds->setObjectName(QStringLiteral("spnSeconds"));
    m_seconds->setRange(0.5, kMaxSeconds);
    m_seconds->setDecimals(1);
    m_seconds->setValue(kDefaultSeconds);
    m_seconds->setSuffix(QStringLiteral(" 秒"));
    auto *guaranteeGrid = new QGridLayout(guaranteeBox);
    guaranteeGrid->addWidget(new QLabel(QStringLiteral("当たり数/条件の数"), guaranteeBox), 0, 0);
    guaranteeGrid->addWidget(m_guarantee, 0, 1);
    guaranteeGrid->addWidget(rule, 1, 0, 1, 3);
    guaranteeGrid->addWidget(new QLabel(QStringLiteral("探す時間"), guaranteeBox), 2, 0);
    guaranteeGrid->addWidget(m_seconds, 2, 1);
    guaranteeGrid->setColumnStretch(2, 1);

    auto *fullBox = new QGroupBox(QStringLiteral("全組合せ"), panel);
    fullBox->setObjectName(QStringLiteral("Frame2"));
    m_full = new QCheckBox(QStringLiteral("プールのすべての組合せを作る"), fullBox);
    m_full->setObjectName(QStringLiteral("chkFull"));
    m_maxCost = new QSpinBox(fullBox);
    m_maxCost->setObjectName(QStringLiteral("spnMaxCost"));
    m_maxCost->setRange(0, kMaxCost);
    m_maxCost->setSingleStep(kCostStep);
    m_maxCost->setGroupSeparatorShown(true);
    m_maxCost->setSuffix(QStringLiteral(" 円"));
    m_maxCost->setValue(int(WheelInput::kDefaultFullCostLimit));
    auto *fullGrid = new QGridLayout(fullBox);
    fullGrid->addWidget(m_full, 0, 0, 1, 3);
    fullGrid->addWidget(new QLabel(QStringLiteral("上限金額"), fullBox), 1, 0);
    fullGrid->addWidget(m_maxCost, 1, 1);
    fullGrid->setColumnStretch(2, 1);

    m_build = button(QStringLiteral("作成"), QStringLiteral("cmdBuild"), panel);
    m_build->setDefault(true);
    connect(m_build, &QPushButton::clicked, this, &WheelWindow::build);
    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("prgBuild"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_cancel = button(QStringLiteral("キャンセル"), QStringLiteral("cmdCancel"), panel);
    connect(m_cancel, &QPushButton::clicked, this, &WheelWindow::cancel);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_cancel);
    m_progressText = new QLabel(panel);
    m_progressText->setObjectName(QStringLiteral("Label3"));

    m_toCheck = button(QStringLiteral("当選照合へ送る"), QStringLiteral("cmdToCheck"), panel);
    connect(m_toCheck, &QPushButton::clicked, this, [this] {
        if (m_report && m_report->result.wheel)
            emit checkRequested(QString::fromLatin1(WheelGrids::ticketFile(*m_report->result.wheel, false)));
    });
    m_save = button(QStringLiteral("ファイルに保存..."), QStringLiteral("cmdSave"), panel);
    connect(m_save, &QPushButton::clicked, this, &WheelWindow::chooseFile);
    auto *after = new QHBoxLayout;
    after->addWidget(m_toCheck);
    after->addWidget(m_save);
    after->addStretch(1);

    left->addWidget(poolLabel);
    left->addWidget(m_pool);
    left->addLayout(sources);
    left->addWidget(guaranteeBox);
    left->addWidget(fullBox);
    left->addWidget(m_build);
    left->addLayout(progress);
    left->addWidget(m_progressText);
    left->addLayout(after);
    left->addStretch(1);
    return panel;
}
