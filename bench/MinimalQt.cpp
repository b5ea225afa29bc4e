// Shows an empty main window and quits once it has been painted: the start-up floor of any
// Qt Widgets program on this machine.
#include "app/QuitWhenPainted.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    QuitWhenPainted quit([] { return true; });
    window.installEventFilter(&quit);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
