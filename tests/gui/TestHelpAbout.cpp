#include "core/history/DrawStore.h"
#include "gui/shell/AboutWindow.h"
#include "core/help/HelpIndex.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kPrediction = QStringLiteral("一発ズバリオ予想");

QList<AboutWindow *> aboutWindows() {
    QList<AboutWindow *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *about = qobject_cast<AboutWindow *>(w); about && about->isVisible())
            found << about;
    return found;
}
} // namespace

class TestHelpAbout : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_previousDir;

    std::unique_ptr<MainFrm> startFrame() {
        auto frame = std::make_unique<MainFrm>();
        if (!frame->startUp(m_database))
            return nullptr;
        frame->setGeometry(40, 60, 1200, 900);
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get()))
            return nullptr;
        return frame;
    }

    void trigger(MainFrm &frame, const char *action) {
        frame.findChild<QAction *>(QString::fromLatin1(action))->trigger();
    }

private slots:
    void initTestCase() {
        m_database = m_dir.filePath(QStringLiteral("draws.mdb"));
        StoreError error;
        auto store =
            DrawStore::open(ConnectionString::forDatabase(m_database), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        QVERIFY(store->store({makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 9})}, error));
        // The help file is looked up in the current directory first.
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void aboutPlacement_data() {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("at the origin") << QRect(0, 0, 900, 600) << QPoint(300, 200);
        QTest::newRow("moved") << QRect(30, 60, 900, 660) << QPoint(290, 200);
        // The rule subtracts the position from the size, so far to the right it goes negative.
        QTest::newRow("far right") << QRect(1200, 0, 600, 600) << QPoint(-200, 200);
    }
    void aboutPlacement() {
        QFETCH(QRect, mainFrame);
        QFETCH(QPoint, expected);
        QCOMPARE(AboutWindow::placement(mainFrame), expected);
    }

    void aboutIsSingleAndBringsPredictionBack() {
        auto frame = startFrame();
        QVERIFY(frame);
        QTRY_VERIFY(frame->subWindow(kPrediction));
        frame->subWindow(kPrediction)->close();
        QTRY_VERIFY(!frame->subWindow(kPrediction));

        trigger(*frame, "mnuAbout");
        trigger(*frame, "mnuAbout");
        QTRY_COMPARE(aboutWindows().size(), 1);
        AboutWindow *about = aboutWindows().first();
        QVERIFY(!frame->mdiArea()->subWindowList().contains(qobject_cast<QMdiSubWindow *>(about->parentWidget())));
        QCOMPARE(about->pos(), AboutWindow::placement(frame->frameGeometry()));

        about->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QTRY_VERIFY(aboutWindows().isEmpty());
        QTRY_VERIFY(frame->subWindow(kPrediction));
    }

    void aboutLeavesEndAllowedAlone() {
        auto frame = startFrame();
        QVERIFY(frame);
        QTRY_VERIFY(frame->subWindow(kPrediction));
        frame->subWindow(kPrediction)->close();
        QTRY_VERIFY(frame->EndAllowed());
        trigger(*frame, "mnuAbout");
        QTRY_COMPARE(aboutWindows().size(), 1);
        QVERIFY(frame->EndAllowed());
        aboutWindows().first()->close();
    }

    void helpOpensAtTheAboutTopic() {
        QFile::remove(QString::fromUtf8(HelpIndex::kFileName));
        QVERIFY(QFile::copy(QStringLiteral(TEST_SOURCE_DIR "/help/") + QString::fromUtf8(HelpIndex::kFileName),
                            QString::fromUtf8(HelpIndex::kFileName)));
        auto frame = startFrame();
        QVERIFY(frame);
        MessageBoxWatcher boxes;
        trigger(*frame, "mnuHelpFile");
        auto *help = frame->findChild<HelpWindow *>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->currentTopicId(), QStringLiteral("about"));
        QVERIFY(boxes.seen.isEmpty());
        auto *index = help->findChild<QListWidget *>("keywordIndex");
        QCOMPARE(index->currentItem()->text(), QString::fromUtf8(HelpIndex::kAboutKeyword));
        // A link to another topic is followed inside the viewer, and the index goes with it.
        QVERIFY(help->showTopic(QStringLiteral("prediction")));
        QCOMPARE(help->currentTopicId(), QStringLiteral("prediction"));
        QCOMPARE(index->currentItem()->text(), QStringLiteral("一発ズバリオ予想"));
        // Typing narrows the index at once, by the keyword or its reading.
        auto *search = help->findChild<QLineEdit *>("keywordSearch");
        for (QChar c : QStringLiteral("ぶんかつ"))
            QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QStringList shown;
        for (int i = 0; i < index->count(); ++i)
            if (!index->item(i)->isHidden())
                shown << index->item(i)->text();
        QCOMPARE(shown, QStringList({"9分割データ分析", "7分割データ分析", "分割傾向", "分割データ分析",
                                     "4分割傾向分析", "6分割データ分析"}));
        QFile::remove(QString::fromUtf8(HelpIndex::kFileName));
    }

    void missingHelpFileIsNamed() {
        // Neither here nor beside the test executable.
        QFile::remove(QString::fromUtf8(HelpIndex::kFileName));
        QVERIFY(!QFile::exists(
            QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(HelpIndex::kFileName))));
        auto frame = startFrame();
        QVERIFY(frame);
        MessageBoxWatcher boxes;
        trigger(*frame, "mnuHelpFile");
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.first().title, QStringLiteral("メッセ－ジ"));
        QVERIFY(boxes.seen.first().text.contains(QString::fromUtf8(HelpIndex::kFileName)));
        QCOMPARE(boxes.seen.first().icon, QMessageBox::Critical);
        // Nothing else broke: the menus still work.
        trigger(*frame, "mnuSyutugenHindo");
        QTRY_VERIFY(frame->subWindow(QStringLiteral("出現頻度分析")));
    }
};

QTEST_MAIN(TestHelpAbout)
#include "TestHelpAbout.moc"
