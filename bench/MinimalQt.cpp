// Shows an empty main window and quits once it has been painted: the start-up floor of any
// Qt Widgets program on this machine.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, [&] {
        window.repaint();
        app.quit();
    });
    return app.exec();
}
