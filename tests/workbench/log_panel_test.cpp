// The log panel's buttons: "Save log" with CR LF lines and its failure message, "Clear",
// and "Exit" while a step is still at work.

#include <QImage>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/screenshot.hpp"

using el::Setting;
using el::test::crlf;
using el::test::readFile;
using el::test::ScopedCwd;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;

class LogPanelTest : public QObject {
    Q_OBJECT
private slots:
    void saveWritesEveryLineWithCrLf() {
        TempDir work;
        TempDir elsewhere;
        ScopedCwd cwd(work.path());
        WindowUnderTest w(QString::fromStdString(elsewhere.path().string()));
        for (const char* line : {"Region, score", " ", "", "日本, 1998"}) w.window->appendLog(line);
        w.click("Command6");
        // A bare name goes to the working directory, not to the chosen folder.
        QCOMPARE(readFile(work / "log.csv"), std::string("Region, score\r\n \r\n\r\n日本, 1998\r\n"));
        QVERIFY(!std::filesystem::exists(elsewhere / "log.csv"));
        QCOMPARE(w.window->logLines().size(), 4);
        QVERIFY(w.messages.isEmpty());

        w.click("Command8");
        QVERIFY(w.window->logLines().isEmpty());
        QCOMPARE(readFile(work / "log.csv"), std::string("Region, score\r\n \r\n\r\n日本, 1998\r\n"));  // untouched by Clear
        w.click("Command6");
        QVERIFY(std::filesystem::exists(work / "log.csv"));
        QCOMPARE(readFile(work / "log.csv"), std::string());
    }

    void saveFailureNamesTheFileAndKeepsTheLines() {
        TempDir work;
        ScopedCwd cwd(work.path());
        WindowUnderTest w;
        w.window->appendLog("one");
        w.window->setSetting(Setting::LogFileName, "no-such-folder/log.csv");
        w.click("Command6");
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains("no-such-folder/log.csv"));
        QVERIFY(w.messages[0].contains("No such file or directory"));
        QCOMPARE(w.window->logLines(), QStringList({"one"}));
    }

    void exitDuringAReadClosesAfterItReturns() {
        TempDir work;
        ScopedCwd cwd(work.path());
        writeFile(work / "broken.csv", crlf({"vector", "c", "A,type$,name$,nodes,x1,y1", "1990,polygon,R1,3,0"}));
        WindowUnderTest w(QString::fromStdString(work.path().string()));
        w.window->show();
        w.window->setSetting(Setting::DataFileName, "broken.csv");
        bool visibleWhileReading = false;
        // The reader's message arrives while the Read step is still on the stack.
        w.window->setMessageSink([&](const QString&) {
            w.click("Command5");
            visibleWhileReading = w.window->isVisible() && w.window->busy();
        });
        w.click("Command1");
        QVERIFY(visibleWhileReading);
        QVERIFY(!w.window->isVisible());
    }

    void screenshotHasTheClientSize() {
        TempDir work;
        ScopedCwd cwd(work.path());
        WindowUnderTest w;
        const QString file = QString::fromStdString((work / "window.png").string());
        QCOMPARE(el::workbench::saveScreenshot(*w.window, file), QString());
        const QImage image(file);
        QCOMPARE(image.size(), QSize(704, 586));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(LogPanelTest)
#include "log_panel_test.moc"
