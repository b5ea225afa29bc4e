#include "gui/shell/AboutWindow.h"

#include "gui/grid/ResultGridView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {
// Seven balls in the mark colours: the program's picture, drawn rather than shipped.
class AboutPicture : public QWidget {
public:
    explicit AboutPicture(QWidget *parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(120, 120);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(toQColor(Palette::PaleCyan));
        p.drawRoundedRect(rect().adjusted(2, 2, -2, -2), 12, 12);
        const Rgb colours[] = {Palette::MainMark, Palette::MainMark,   Palette::MainMark,  Palette::MainMark,
                               Palette::MainMark, Palette::Bonus1Mark, Palette::Bonus2Mark};
        const QPoint centres[] = {{30, 34}, {60, 26}, {90, 34}, {24, 66}, {96, 66}, {42, 94}, {78, 94}};
        for (int i = 0; i < 7; ++i) {
            p.setBrush(toQColor(colours[i]));
            p.drawEllipse(centres[i], 12, 12);
        }
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(34);
        p.setFont(font);
        p.setPen(toQColor(Palette::Red));
        p.drawText(QRect(40, 44, 40, 40), Qt::AlignCenter, QStringLiteral("7"));
    }
};
} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("バージョン情報"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *title = new QLabel(QStringLiteral("ナナズバリオ"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto *slogan = new QLabel(QStringLiteral("過去の当選番号から、次の7つをズバリ予想！"), this);
    slogan->setObjectName(QStringLiteral("Label2"));
    auto *version = new QLabel(QStringLiteral("バージョン %1").arg(QStringLiteral(NANAZUBARIO_VERSION)), this);
    version->setObjectName(QStringLiteral("Label3"));
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new AboutPicture(this), 0, 0, 3, 1);
    layout->addWidget(title, 0, 1);
    layout->addWidget(slogan, 1, 1);
    layout->addWidget(version, 2, 1);
    layout->addWidget(close, 3, 1, Qt::AlignRight);
    layout->setHorizontalSpacing(16);
    setFixedSize(sizeHint());
}

QPoint AboutWindow::placement(const QRect &mainFrame) {
    return {(mainFrame.width() - mainFrame.x()) / 3, (mainFrame.height() - mainFrame.y()) / 3};
}

void AboutWindow::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closed();
}
