#include "gui/grid/ResultGridView.h"
#include "gui/shell/MainFrm.h"
#include "support/ExportCompare.h"
#include "support/Histories.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Whether rect (in widget's coordinates) shows whole: inside the widget and every parent up to
// the main window's multiple-document area, and inside that area's visible part.
QString notShownWhole(const QWidget *widget, QRect rect, const QMdiArea *mdi) {
    const QWidget *area = mdi->viewport();
    for (const QWidget *w = widget; w != area; w = w->parentWidget()) {
        if (!w->isVisible() || !w->rect().contains(rect))
            return QStringLiteral("cut by %1 %2")
                .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
        rect.translate(w->pos());
    }
    return area->rect().contains(rect) ? QString() : QStringLiteral("outside the area");
}

// Brings rect of widget into view in every scroll area around it, innermost first.
void bringIntoView(QWidget *widget, const QRect &rect) {
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto *scroll = qobject_cast<QScrollArea *>(w); scroll && scroll->widget()) {
            const QRect there(widget->mapTo(scroll->widget(), rect.topLeft()), rect.size());
            scroll->ensureVisible(there.center().x(), there.center().y(), rect.width() / 2 + 1, rect.height() / 2 + 1);
        }
}

// Every 印刷 and 閉じる of the window shows whole, and it has 閉じる.
QString buttonFault(QWidget *window, const QMdiArea *mdi) {
    int closes = 0;
    for (const QPushButton *b : window->findChildren<QPushButton *>()) {
        if (b->text() != QStringLiteral("印刷") && b->text() != QStringLiteral("閉じる"))
            continue;
        closes += b->text() == QStringLiteral("閉じる");
        if (const QString fault = notShownWhole(b, b->rect(), mdi); !fault.isEmpty())
            return b->text() + QLatin1Char(' ') + fault;
    }
    return closes == 1 ? QString() : QStringLiteral("%1 閉じる").arg(closes);
}

// Every grid shown can be scrolled until its last cell, with its closing lines, shows whole.
QString gridFault(QWidget *window, const QMdiArea *mdi) {
    for (ResultGridView *view : window->findChildren<ResultGridView *>()) {
        if (!view->isVisible())
            continue;
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        const QRect last = view->cellRect(view->grid().columns(), view->grid().rows()).adjusted(0, 0, 1, 1);
        if (last.isEmpty())
            return view->objectName() + QStringLiteral(": the last cell does not come into view");
        bringIntoView(view->viewport(), last);
        if (const QString fault = notShownWhole(view->viewport(), last, mdi); !fault.isEmpty())
            return view->objectName() + QStringLiteral(": the last cell ") + fault;
    }
    for (QTableView *table : window->findChildren<QTableView *>()) {
        const QModelIndex last =
            table->model()->index(table->model()->rowCount() - 1, table->model()->columnCount() - 1);
        table->scrollTo(last);
        const QRect cell = table->visualRect(last);
        bringIntoView(table->viewport(), cell);
        if (const QString fault = notShownWhole(table->viewport(), cell, mdi); !fault.isEmpty())
            return table->objectName() + QStringLiteral(": the last cell ") + fault;
    }
    return {};
}
} // namespace

// Tiled, cascaded or maximised, four open windows each show their buttons and let every grid
// be scrolled to its last cell. With NANAZUBARIO_SCREENSHOTS set to a folder, the main window
// is saved there after each arrangement.
class TestWindowArrangement : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("real.mdb"));
        QVERIFY(writeDatabase(m_database, realHistory()));
        QDir::setCurrent(m_dir.path()); // the settings file
    }

    void arrangedWindows_data() {
        QTest::addColumn<QStringList>("windows");
        QTest::addColumn<QString>("arrangement");
        const QStringList first = {QStringLiteral("一発ズバリオ予想"), QStringLiteral("出現頻度分析"),
                                   QStringLiteral("出現間隔分析"), QStringLiteral("当選照合")};
        // The data entry window does not open beside the prediction window.
        const QStringList second = {QStringLiteral("当選データ入力"), QStringLiteral("予想の検証"),
                                    QStringLiteral("バラツキ分析"), QStringLiteral("引っ張り分析")};
        // The windows added since, each laid out in its own way.
        const QStringList third = {QStringLiteral("ペア出現分析"), QStringLiteral("理論との比較"),
                                   QStringLiteral("組合せ購入"), QStringLiteral("当せん金一覧")};
        const char *arrangements[] = {"mnuWindowHorizontal", "mnuWindowVertical", "mnuWindowCascade", "maximise"};
        for (const auto &[set, windows] : {std::pair("prediction", first), std::pair("entry", second), std::pair("added", third)})
            for (const char *arrangement : arrangements)
                QTest::addRow("%s %s", set, arrangement) << windows << QString::fromLatin1(arrangement);
    }
    void arrangedWindows() {
        QFETCH(QStringList, windows);
        QFETCH(QString, arrangement);
        MainFrm frame;
        frame.setPredictionOnActivation(false);
        QVERIFY(frame.startUp(m_database));
        // A laptop's screen, less the desktop's panel.
        frame.resize(1366, 720);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QList<QMdiSubWindow *> subs;
        for (const QString &name : windows) {
            subs << frame.openWindow(name);
            QVERIFY2(subs.back(), qPrintable(name));
        }
        if (arrangement != QStringLiteral("maximise"))
            frame.findChild<QAction *>(arrangement)->trigger();
        for (QMdiSubWindow *sub : subs) {
            if (arrangement == QStringLiteral("maximise")) {
                frame.mdiArea()->setActiveSubWindow(sub);
                sub->showMaximized();
            }
            QCoreApplication::processEvents();
            const QString name = sub->widget()->objectName();
            if (const QString dir = qEnvironmentVariable("NANAZUBARIO_SCREENSHOTS"); !dir.isEmpty())
                frame.grab().save(
                    QStringLiteral("%1/%2-%3.png").arg(dir, QString::fromUtf8(QTest::currentDataTag()), name));
            const QString buttons = buttonFault(sub->widget(), frame.mdiArea());
            QVERIFY2(buttons.isEmpty(), qPrintable(name + QStringLiteral(": ") + buttons));
            const QString grids = gridFault(sub->widget(), frame.mdiArea());
            QVERIFY2(grids.isEmpty(), qPrintable(name + QStringLiteral(": ") + grids));
        }
    }
};

QTEST_MAIN(TestWindowArrangement)
#include "TestWindowArrangement.moc"
