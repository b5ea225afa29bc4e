// The fair floor for a Japanese Qt Widgets program: a main window with the program's menu
// titles and one Japanese label in the program's font, shown once and painted. Whatever
// start-up costs above this is ours.
#include "app/QuitWhenPainted.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAGothic"), font.family()});
    font.setPointSize(9);
    QApplication::setFont(font);

    QMainWindow window;
    for (const char *title : {"終了(&X)", "一発ズバリオ予想(&D)", "データ分析(&S)", "データ管理(&M)", "検証(&K)",
                              "ウィンドウ(&W)", "ヘルプ(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(title));
    window.setCentralWidget(new QLabel(QStringLiteral("ナナズバリオの予想")));
    QuitWhenPainted quit([] { return true; });
    window.installEventFilter(&quit);
    window.showMaximized();
    return app.exec();
}
