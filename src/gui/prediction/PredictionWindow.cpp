#include "gui/prediction/PredictionWindow.h"

#include "core/prediction/PredictionEngine.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>

#include <algorithm>

namespace {
const std::array<QString, PredictionOptions::kCount> &optionCaptions() {
    static const std::array<QString, PredictionOptions::kCount> captions = {
        QStringLiteral("■頻度分析（出現頻度分析、回数出現分析）"),
        QStringLiteral("■間隔分析（出現間隔分析、数字間隔分析）"),
        QStringLiteral("■出現回数分析"),
        QStringLiteral("■バラツキ分析"),
        QStringLiteral("■引っ張り分析"),
        QStringLiteral("■連番・飛び石分析"),
        QStringLiteral("■数字合計分析"),
        QStringLiteral("■組合せパターン分析"),
        QStringLiteral("■4分割傾向分析"),
        QStringLiteral("■分割データ分析"),
        QStringLiteral("■下一桁出現傾向分析"),
        QStringLiteral("■下一桁連続出現回数分析"),
    };
    return captions;
}

struct Heading {
    const char *name;
    QString text;
    int top; // twips inside the result panel
};

const std::array<Heading, PredictionEngine::kGridCount> &headings() {
    static const std::array<Heading, PredictionEngine::kGridCount> list = {{
        {"Label1", QStringLiteral("●周期法による予想"), 840},
        {"Label2", QStringLiteral("●消去法による予想(この予想数字を組合わせて購入します)"), 2640},
        {"Label3", QStringLiteral("●連発ズバリオ予想(この予想数字を組合わせて購入します)"), 4200},
        {"Label4", QStringLiteral("●一発ズバリオ予想"), 5520},
    }};
    return list;
}

// Design-time geometry, in twips: the buttons' left edges, the top of the body below them and
// the far edges of the panels in it.
constexpr int kWheelLeft = 5880;
constexpr int kPrintLeft = 7440;
constexpr int kCloseLeft = 8640;
constexpr int kBodyTop = 420;
constexpr int kPanelsRight = 9855;
constexpr int kPanelsBottom = 7752;
constexpr int kMargin = 120;
} // namespace

PredictionWindow::PredictionWindow(PredictionEngine &engine, const DrawHistory &history, QWidget *parent)
    : ChildWindow(parent), m_engine(engine), m_history(history) {
    const CatalogEntry &entry = AnalysisCatalog::prediction();
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);
    resize(px(entry.widthTwips), px(entry.heightTwips));

    // The two panels lie in a body below the buttons, which scrolls when the window is smaller
    // than they are; it starts where the buttons end, so that they keep their designed places.
    auto *body = new QWidget;
    body->setMinimumSize(px(kPanelsRight), px(kPanelsBottom) - px(kBodyTop));
    m_body = scrollingBody(body);
    auto *options = new QGroupBox(QStringLiteral("データ分析オプション"), body);
    options->setObjectName(QStringLiteral("Frame3"));
    place(options, 120, 480, 3855, 7272);
    options->move(options->pos() - QPoint(0, px(kBodyTop)));
    buildOptionPanel(options);

    auto *results = new QGroupBox(QStringLiteral("当選予想"), body);
    results->setObjectName(QStringLiteral("Frame2"));
    place(results, 4080, 480, 5775, 7272);
    results->move(results->pos() - QPoint(0, px(kBodyTop)));

    // The numbers to buy as a wheel: the elimination set with one click, the others from its menu.
    m_wheel = new QToolButton(this);
    m_wheel->setObjectName(QStringLiteral("cmdWheel"));
    m_wheel->setPopupMode(QToolButton::MenuButtonPopup);
    auto *wheelMenu = new QMenu(m_wheel);
    const struct {
        const char *text, *name;
        Prediction::Method method;
    } wheelSources[] = {{"消去法の数字を組合せ購入", "actWheelElimination", Prediction::Elimination},
                        {"連発ズバリオの数字を組合せ購入", "actWheelRepeated", Prediction::Repeated},
                        {"一発ズバリオの数字を組合せ購入", "actWheelOneShot", Prediction::OneShot}};
    for (const auto &source : wheelSources) {
        QAction *action = wheelMenu->addAction(QString::fromUtf8(source.text));
        action->setObjectName(QString::fromLatin1(source.name));
        connect(action, &QAction::triggered, this, [this, method = source.method] { emit wheelRequested(method); });
    }
    m_wheel->setMenu(wheelMenu);
    connect(m_wheel, &QToolButton::clicked, this, [this] { emit wheelRequested(Prediction::Elimination); });
    m_wheel->setText(QStringLiteral("組合せ購入"));
    m_wheel->setToolTip(QStringLiteral("消去法の数字を組合せ購入で買う組合せにします"));
    place(m_wheel, kWheelLeft, 60, 1455, 360);
    m_print = new QPushButton(QStringLiteral("印刷"), this);
    m_print->setObjectName(QStringLiteral("Command2"));
    place(m_print, kPrintLeft, 60, 1095, 360);
    connect(m_print, &QPushButton::clicked, this, &ChildWindow::printPreview);
    m_close = new QPushButton(QStringLiteral("閉じる"), this);
    m_close->setObjectName(QStringLiteral("Cmd閉じる"));
    place(m_close, kCloseLeft, 60, 1095, 360);
    connect(m_close, &QPushButton::clicked, this, &ChildWindow::closeWindow);
    buildResultPanel(results);
}

void PredictionWindow::resizeEvent(QResizeEvent *event) {
    ChildWindow::resizeEvent(event);
    if (!m_close)
        return;
    m_body->setGeometry(0, px(kBodyTop), width(), std::max(0, height() - px(kBodyTop)));
    // A window narrower than the panels moves the buttons left with its right edge.
    const int shift = std::clamp(px(kPanelsRight) - width(), 0, px(kWheelLeft) - px(kMargin));
    m_wheel->move(px(kWheelLeft) - shift, m_wheel->y());
    m_print->move(px(kPrintLeft) - shift, m_print->y());
    m_close->move(px(kCloseLeft) - shift, m_close->y());
}

void PredictionWindow::load() {
    WaitCursor wait;
    // The buttons mirror the flags as last set, not as the settings file holds them. Setting
    // them does not count as a click: the recompute follows below anyway.
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        (m_engine.reflectFlag(i) ? m_reflectButtons : m_ignoreButtons)[std::size_t(i)]->setChecked(true);

    m_engine.layOutGrids();
    m_engine.runCycleMethod(m_history);
    refreshGrids();
}

void PredictionWindow::place(QWidget *w, int left, int top, int width, int height) const {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

void PredictionWindow::buildOptionPanel(QWidget *panel) {
    auto *label = new QLabel(QStringLiteral("各データ分析の分析結果を当選予想へ反映するかを設定します。"), panel);
    label->setObjectName(QStringLiteral("Label15"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, 120, 240, 3615, 615);

    for (int i = 0; i < PredictionOptions::kCount; ++i) {
        auto *frame = new QGroupBox(optionCaptions()[std::size_t(i)], panel);
        frame->setObjectName(QStringLiteral("Frame%1").arg(4 + i));
        place(frame, 120, 720 + 540 * i, 3615, 495);

        // Both buttons of a frame share its parent, so they exclude each other.
        auto *reflect = new QRadioButton(QStringLiteral("反映する"), frame);
        reflect->setObjectName(QStringLiteral("Opt反映する"));
        auto *ignore = new QRadioButton(QStringLiteral("反映しない"), frame);
        ignore->setObjectName(QStringLiteral("Opt反映しない"));
        for (QRadioButton *b : {reflect, ignore})
            b->setProperty("index", i);
        place(reflect, 480, 240, 1335, 240);
        place(ignore, 1920, 240, 1575, 240);
        connect(reflect, &QRadioButton::clicked, this, [this, i] { optionClicked(i, true); });
        connect(ignore, &QRadioButton::clicked, this, [this, i] { optionClicked(i, false); });
        m_reflectButtons[std::size_t(i)] = reflect;
        m_ignoreButtons[std::size_t(i)] = ignore;
    }
}

void PredictionWindow::buildResultPanel(QWidget *panel) {
    auto *label = new QLabel(AnalysisCatalog::prediction().description, panel);
    label->setObjectName(QStringLiteral("Label19"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, 120, 240, 5535, 375);

    for (int g = 0; g < PredictionEngine::kGridCount; ++g) {
        const Heading &h = headings()[std::size_t(g)];
        auto *heading = new QLabel(h.text, panel);
        heading->setObjectName(QString::fromLatin1(h.name));
        place(heading, 120, h.top, 5535, 255);

        auto *view = new ResultGridView(panel);
        view->setObjectName(QStringLiteral("fpSpread1"));
        view->setProperty("index", g);
        // Every row and column is visible, so the view never scrolls.
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->move(px(120), px(h.top + 270));
        offerPrinting(view);
        m_gridViews[std::size_t(g)] = view;
    }
}

std::optional<PrintDocument> PredictionWindow::printDocument() const {
    const CatalogEntry &entry = AnalysisCatalog::prediction();
    PrintDocument document{entry.caption, entry.description, m_history.latestDrawNumber(), {}, {}, {}};
    for (int g = 0; g < PredictionEngine::kGridCount; ++g)
        document.sections.push_back({headings()[std::size_t(g)].text, m_gridViews[std::size_t(g)]->grid()});
    // The options the predictions were made with.
    document.notes << QStringLiteral("データ分析オプション");
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        document.notes << QStringLiteral("%1　%2").arg(optionCaptions()[std::size_t(i)],
                                                     m_engine.reflectFlag(i) ? QStringLiteral("反映する")
                                                                             : QStringLiteral("反映しない"));
    return document;
}

std::optional<WindowExport> PredictionWindow::exportContent() const {
    const CatalogEntry &entry = AnalysisCatalog::prediction();
    WindowExport out{entry.formName, entry.caption, entry.description, {}};
    for (const ResultGridView *view : m_gridViews)
        out.grids.push_back(view->grid());
    return out;
}

void PredictionWindow::optionClicked(int index, bool reflect) {
    m_engine.setReflectFlag(index, reflect);
    m_engine.recompute();
    refreshGrids();
}

void PredictionWindow::refreshGrids() {
    for (int g = 0; g < PredictionEngine::kGridCount; ++g) {
        ResultGridView *view = m_gridViews[std::size_t(g)];
        view->setGrid(m_engine.grid(g));
        const ResultGrid &grid = view->grid();
        int width = 1 + 2 * view->frameWidth(), height = 1 + 2 * view->frameWidth();
        for (int c = 1; c <= grid.columns(); ++c)
            width += view->columnWidthPixels(c);
        for (int r = 1; r <= grid.rows(); ++r)
            height += view->rowHeightPixels(r);
        view->resize(width, height);
    }
}
