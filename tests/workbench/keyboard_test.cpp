// The window by keyboard: moving through the file list fills "File name"; Enter presses the
// focused button, else "Read" from Step 1 and "G  O" from Step 2, and leaves the result tabs'
// own fields alone; the focus shows as a ring on every control, empty lists and the log too.

#include <QImage>

#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/focus_ring.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"

namespace el::test {

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void fileListByKeyboardFillsTheNameAndEnterReads() {
        TempDir dir;
        copySample(dir.path());
        writeFile(dir / "a.csv", "not read");
        WindowUnderTest w(QString::fromStdString(dir.path().string()));
        w.window->show();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        auto* files = w.get<QListWidget>("File1");
        files->setFocus();
        files->setCurrentRow(0);
        QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(w.get<QLineEdit>("Text7")->text(), QStringLiteral("sample.csv"));
        QTest::keyClick(files, Qt::Key_Up);
        QCOMPARE(w.get<QLineEdit>("Text7")->text(), QStringLiteral("a.csv"));
        QTest::keyClick(files, Qt::Key_Down);
        QTest::keyClick(files, Qt::Key_Return);
        w.window->waitUntilIdle();
        QVERIFY(w.items("List1").contains("Invader"));

        // From the file name field as well.
        w.get<QListWidget>("List1")->clear();
        w.get<QLineEdit>("Text7")->setFocus();
        QTest::keyClick(w.get<QLineEdit>("Text7"), Qt::Key_Enter);
        w.window->waitUntilIdle();
        QVERIFY(w.items("List1").contains("Invader"));
    }

    void enterPressesTheFocusedButtonOrGo() {
        TempDir dir;
        copySample(dir.path());
        WindowUnderTest w(QString::fromStdString(dir.path().string()), dir.path());
        w.window->show();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->openFile(QString::fromStdString((dir / "sample.csv").string()));
        w.window->waitUntilIdle();
        auto* add = w.get<QPushButton>("Command2");
        for (int row = 0; row < w.get<QListWidget>("List1")->count(); ++row) {
            w.select("List1", row);
            add->setFocus();
            QTest::keyClick(add, Qt::Key_Return);
        }
        QCOMPARE(w.items("List2").size(), w.items("List1").size());
        QVERIFY(w.window->logLines().isEmpty());

        // A field of the result tabs keeps Enter to itself: no run.
        auto* years = w.window->results()->hindcastPage()->yearField();
        w.window->results()->tabs()->setCurrentWidget(w.window->results()->hindcastPage());
        years->setFocus();
        QTest::keyClick(years, Qt::Key_Return);
        w.window->waitUntilIdle();
        QVERIFY(w.window->logLines().isEmpty());

        auto* target = w.get<QLineEdit>("Text1");
        target->setFocus();
        target->setText("Invader");
        QTest::keyClick(target, Qt::Key_Return);
        w.window->waitUntilIdle();
        QVERIFY(w.window->logLines().contains("Target species:Invader"));
    }

    // The ring lies around the focused control and shows in the window's pixels, also for an
    // empty list and the log panel.
    void focusShowsOnEmptyListsAndTheLog() {
        WindowUnderTest w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        auto* ring = w.window->findChild<workbench::FocusRing*>();
        QVERIFY(ring != nullptr);
        for (const char* name : {"List2", "List3", "Text2", "Command4"}) {
            QWidget* control = w.get<QWidget>(name);
            control->setFocus();
            QCoreApplication::processEvents();
            const QRect around(control->mapTo(w.window.get(), QPoint(0, 0)), control->size());
            QCOMPARE(ring->ringRect(), around.adjusted(-1, -1, 1, 1).intersected(w.window->rect()));
            const QImage shown = w.window->grab().toImage();
            const QPoint corner = ring->ringRect().topLeft() + QPoint(0, ring->ringRect().height() / 2);
            QCOMPARE(shown.pixelColor(corner), w.window->palette().color(QPalette::Highlight));
        }
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::KeyboardTest)
#include "keyboard_test.moc"
