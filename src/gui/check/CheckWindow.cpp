#include "gui/check/CheckWindow.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"
#include "gui/window/Question.h"
#include "core/history/DrawHistory.h"
#include "core/prediction/PredictionEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
// Bad lines listed in one message; the rest are counted.
constexpr int kErrorsShown = 10;
// Design sizes, in twips.
constexpr int kMargin = 120;
constexpr int kInputWidth = 4200;

QSpinBox *drawSpin(const QString &name, QWidget *parent) {
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(DrawRules::kMinDrawNumber, DrawRules::kMaxDrawNumber);
    spin->setSuffix(QStringLiteral(" 回"));
    spin->setPrefix(QStringLiteral("第 "));
    return spin;
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

CheckWindow::CheckWindow(const CatalogEntry &entry, const DrawHistory &history, const PredictionEngine &prediction,
                         QWidget *parent)
    : ChildWindow(parent), m_history(history), m_prediction(prediction) {
    setObjectName(entry.formName);
    setWindowTitle(entry.caption);

    auto *description = new QLabel(entry.description, this);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);

    // The tickets and the range on the left.
    auto *ticketLabel =
        new QLabel(QStringLiteral("チケット（1行に1枚、7個の数字を空白・カンマ・タブで区切ります）"), this);
    ticketLabel->setObjectName(QStringLiteral("Label3"));
    ticketLabel->setWordWrap(true);
    m_tickets = new QPlainTextEdit(this);
    m_tickets->setObjectName(QStringLiteral("txtTickets"));
    m_tickets->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Numbers pasted from a spreadsheet, or typed with Tab, are separated by tabs: each becomes
    // a space, the separator the rest of the box shows, rather than a wide gap.
    connect(m_tickets, &QPlainTextEdit::textChanged, this, [this] {
        QTextDocument *document = m_tickets->document();
        const QString tab(QLatin1Char('\t'));
        for (QTextCursor at = document->find(tab); !at.isNull(); at = document->find(tab, at))
            at.insertText(QStringLiteral(" "));
    });
    m_tickets->setPlaceholderText(QStringLiteral("例：3 7 12 19 25 31 36"));
    QPushButton *file = button(QStringLiteral("ファイルから読む..."), QStringLiteral("cmdFile"), this);
    QPushButton *fromPrediction = button(QStringLiteral("予想を取り込む"), QStringLiteral("cmdPrediction"), this);
    connect(file, &QPushButton::clicked, this, &CheckWindow::chooseFile);
    connect(fromPrediction, &QPushButton::clicked, this, &CheckWindow::takePrediction);

    auto *rangeBox = new QGroupBox(QStringLiteral("照合する回"), this);
    rangeBox->setObjectName(QStringLiteral("Frame1"));
    m_oneDraw = new QRadioButton(QStringLiteral("1回だけ"), rangeBox);
    m_oneDraw->setObjectName(QStringLiteral("optOneDraw"));
    m_range = new QRadioButton(QStringLiteral("範囲"), rangeBox);
    m_range->setObjectName(QStringLiteral("optRange"));
    m_all = new QRadioButton(QStringLiteral("全回"), rangeBox);
    m_all->setObjectName(QStringLiteral("optAll"));
    m_draw = drawSpin(QStringLiteral("spnDraw"), rangeBox);
    m_from = drawSpin(QStringLiteral("spnFrom"), rangeBox);
    m_to = drawSpin(QStringLiteral("spnTo"), rangeBox);
    auto *rangeGrid = new QGridLayout(rangeBox);
    rangeGrid->addWidget(m_oneDraw, 0, 0);
    rangeGrid->addWidget(m_draw, 0, 1);
    rangeGrid->addWidget(m_range, 1, 0);
    rangeGrid->addWidget(m_from, 1, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("～"), rangeBox), 1, 2);
    rangeGrid->addWidget(m_to, 1, 3);
    rangeGrid->addWidget(m_all, 2, 0, 1, 4);
    rangeGrid->setColumnStretch(4, 1);
    m_oneDraw->setChecked(true);
    // Typing a draw number chooses the kind of range it belongs to.
    connect(m_draw, &QSpinBox::valueChanged, m_oneDraw, [this] { m_oneDraw->setChecked(true); });
    connect(m_from, &QSpinBox::valueChanged, m_range, [this] { m_range->setChecked(true); });
    connect(m_to, &QSpinBox::valueChanged, m_range, [this] { m_range->setChecked(true); });

    m_allRows = new QCheckBox(QStringLiteral("はずれも表示する"), this);
    m_allRows->setObjectName(QStringLiteral("chkAllRows"));
    connect(m_allRows, &QCheckBox::toggled, this, &CheckWindow::showResults);
    QPushButton *run = button(QStringLiteral("照合"), QStringLiteral("cmdCheck"), this);
    run->setDefault(true);
    connect(run, &QPushButton::clicked, this, &CheckWindow::check);

    auto *left = new QVBoxLayout;
    left->addWidget(ticketLabel);
    left->addWidget(m_tickets, 1);
    auto *sources = new QHBoxLayout;
    sources->addWidget(file);
    sources->addWidget(fromPrediction);
    left->addLayout(sources);
    left->addWidget(rangeBox);
    left->addWidget(m_allRows);
    left->addWidget(run);

    // The summary, the colour key and the result grid on the right.
    m_rangeText = new QLabel(this);
    m_rangeText->setObjectName(QStringLiteral("Label2"));
    m_rangeText->setWordWrap(true);
    m_summary = new ResultGridView(this);
    m_summary->setObjectName(QStringLiteral("fpSpread2"));
    m_summary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_summary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *legend = new QHBoxLayout;
    const struct {
        Rgb colour;
        QString text;
    } keys[] = {{CheckGrids::kMainHit, QStringLiteral("：本数字と一致")},
                {CheckGrids::kBonusHit, QStringLiteral("：ボーナス数字と一致")}};
    for (const auto &key : keys) {
        legend->addWidget(colourSwatch(toQColor(key.colour)));
        legend->addWidget(new QLabel(key.text, this));
        legend->addSpacing(px(kMargin * 2));
    }
    legend->addStretch(1);
    m_results = new ResultGridView(this);
    m_results->setObjectName(QStringLiteral("fpSpread1"));

    auto *right = new QVBoxLayout;
    right->addWidget(m_rangeText);
    right->addWidget(m_summary, 0, Qt::AlignLeft);
    right->addLayout(legend);
    right->addWidget(m_results, 1);

    auto *body = new QHBoxLayout;
    auto *leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftPanel->setFixedWidth(px(kInputWidth));
    body->addWidget(leftPanel);
    body->addLayout(right, 1);

    QPushButton *print = button(QStringLiteral("印刷"), QStringLiteral("Command2"), this);
    QPushButton *close = button(QStringLiteral("閉じる"), QStringLiteral("Command1"), this);
    for (QPushButton *b : {print, close})
        b->setMinimumSize(px(kButtonTwips.width()), px(kButtonTwips.height()));
    connect(close, &QPushButton::clicked, this, &ChildWindow::closeWindow);
    connect(print, &QPushButton::clicked, this, &ChildWindow::printPreview);
    offerPrinting(m_summary);
    offerPrinting(m_results);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addSpacing(px(kMargin));
    buttons->addWidget(close);

    auto *content = new QWidget(this);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(description);
    contentLayout->addLayout(body, 1);
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(px(kMargin), px(kMargin), px(kMargin), px(kMargin));
    root->addWidget(scrollingBody(content), 1);
    root->addLayout(buttons);
}

std::optional<PrintDocument> CheckWindow::printDocument() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    return PrintDocument{entry.caption,
                         entry.description,
                         m_history.latestDrawNumber(),
                         {{m_rangeText->text(), m_summary->grid()}, {{}, m_results->grid()}},
                         {},
                         {}};
}

std::optional<WindowExport> CheckWindow::exportContent() const {
    const CatalogEntry &entry = *AnalysisCatalog::find(objectName());
    return WindowExport{entry.formName, entry.caption, entry.description, {m_summary->grid(), m_results->grid()}};
}

void CheckWindow::load() {
    const DrawRange all = DrawRange::all(m_history);
    const int latest = std::max(DrawRules::kMinDrawNumber, m_history.latestDrawNumber());
    m_draw->setValue(latest);
    m_from->setValue(std::max(DrawRules::kMinDrawNumber, all.from));
    m_to->setValue(latest);
    m_oneDraw->setChecked(true);
    clearResults(QStringLiteral("チケットを入力して「照合」を押してください。"));
}

std::optional<DrawRange> CheckWindow::selectedRange() {
    if (m_all->isChecked())
        return DrawRange::all(m_history);
    if (m_oneDraw->isChecked())
        return DrawRange{m_draw->value(), m_draw->value()};
    if (m_from->value() > m_to->value()) {
        clearResults(QStringLiteral("範囲に誤りがあるため照合していません。"));
        refuse(QStringLiteral("範囲の始めの回（第%1回）が終わりの回（第%2回）より後になっています。")
                   .arg(m_from->value())
                   .arg(m_to->value()));
        return std::nullopt;
    }
    return DrawRange{m_from->value(), m_to->value()};
}

bool CheckWindow::check() {
    const TicketList::Parsed parsed = TicketList::parse(m_tickets->toPlainText());
    if (!parsed.ok()) {
        clearResults(QStringLiteral("チケットに誤りがあるため照合していません。"));
        // The cursor goes to the first bad line, ready to be fixed.
        const QTextBlock block = m_tickets->document()->findBlockByNumber(parsed.errors.front().line - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            cursor.select(QTextCursor::LineUnderCursor);
            m_tickets->setTextCursor(cursor);
        }
        QStringList lines;
        for (std::size_t i = 0; i < parsed.errors.size() && i < std::size_t(kErrorsShown); ++i)
            lines << parsed.errors[i].message;
        if (parsed.errors.size() > std::size_t(kErrorsShown))
            lines << QStringLiteral("ほかに%1行の誤りがあります。").arg(parsed.errors.size() - kErrorsShown);
        refuse(QStringLiteral("次の行を直してから照合してください。\n\n") + lines.join(u'\n'));
        m_tickets->setFocus();
        return false;
    }
    if (parsed.tickets.empty()) {
        clearResults(QStringLiteral("チケットを入力して「照合」を押してください。"));
        refuse(QStringLiteral("照合するチケットを入力してください。"));
        m_tickets->setFocus();
        return false;
    }
    const std::optional<DrawRange> range = selectedRange();
    if (!range)
        return false;

    WaitCursor wait;
    m_checked = parsed.tickets;
    m_result = TicketChecker(m_history, *range).check(m_checked);
    showResults();
    return true;
}

void CheckWindow::showResults() {
    if (!m_result)
        return;
    WaitCursor wait;
    const CheckGrids::Rows rows = m_allRows->isChecked() ? CheckGrids::Rows::All : CheckGrids::Rows::Wins;
    QString text = CheckGrids::rangeText(*m_result) + CheckGrids::yenText(*m_result);
    const std::uint64_t count = CheckGrids::resultRowCount(*m_result, rows);
    if (count > std::uint64_t(CheckGrids::kMaxResultRows))
        text += QStringLiteral("表には%1行のうち先頭の%2行を表示しています。")
                    .arg(QLocale(QLocale::Japanese).toString(qulonglong(count)),
                         QLocale(QLocale::Japanese).toString(CheckGrids::kMaxResultRows));
    else if (count == 0 && rows == CheckGrids::Rows::Wins)
        text += QStringLiteral("当選はありませんでした。");
    m_rangeText->setText(text);
    m_summary->setGrid(CheckGrids::summary(*m_result));
    m_results->setGrid(CheckGrids::results(m_checked, *m_result, rows));
    m_summary->fitWholeSheet();
}

void CheckWindow::clearResults(const QString &why) {
    m_result.reset();
    m_checked.clear();
    m_rangeText->setText(why);
    m_summary->setGrid(CheckGrids::summary(CheckResult{}));
    m_results->setGrid(CheckGrids::results({}, CheckResult{}, CheckGrids::Rows::Wins));
    m_summary->fitWholeSheet();
}

void CheckWindow::refuse(const QString &message) {
    Question::tell(this, message);
}

void CheckWindow::appendText(const QString &text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!lines.endsWith(u'\n'))
        lines += u'\n';
    const QString current = m_tickets->toPlainText();
    if (!current.isEmpty() && !current.endsWith(u'\n'))
        lines.prepend(u'\n');
    // Added after what is there, as one edit that one undo takes back.
    QTextCursor cursor(m_tickets->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines);
    m_tickets->setTextCursor(cursor);
}

bool CheckWindow::checkTickets(const QString &tickets) {
    QTextCursor cursor(m_tickets->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(tickets);
    m_tickets->setTextCursor(cursor);
    return check();
}

void CheckWindow::takePrediction() {
    const std::vector<Ticket> tickets = TicketList::fromPrediction(predictSets(m_history, m_prediction.options()));
    if (tickets.empty()) {
        refuse(QStringLiteral("予想の数字がそろっていないため、取り込めるチケットがありません。"));
        return;
    }
    appendText(TicketList::toText(tickets));
}

void CheckWindow::chooseFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("チケットのファイルを開く"), QString(),
                                     QStringLiteral("テキスト・CSV (*.txt *.csv);;すべてのファイル (*)"));
    if (!path.isEmpty())
        appendFile(path);
}

bool CheckWindow::appendFile(const QString &path) {
    QString error;
    const std::optional<QString> text = TicketList::readText(path, &error);
    if (!text) {
        refuse(error);
        return false;
    }
    appendText(*text);
    return true;
}
