// "G  O" on the bundled sample gives, line for line, the log of the batch runner on the
// same file and settings, and leaves the window idle afterwards.

#include <QProcess>
#include <QProcessEnvironment>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"

using el::Setting;
using el::test::readFile;
using el::test::ScopedCwd;
using el::test::TempDir;
using el::test::WindowUnderTest;

namespace {

constexpr const char* kEpoch = "1796428800";  // 12-05-2026

QStringList crlfLines(const std::string& bytes) {
    QStringList lines = QString::fromStdString(bytes).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class RunCompareTest : public QObject {
    Q_OBJECT
private slots:
    void windowLogEqualsBatchLog() {
        TempDir work;
        ScopedCwd cwd(work.path());
        qputenv("SOURCE_DATE_EPOCH", kEpoch);
        const QString dataDir = QStringLiteral(EARLYLATE_SOURCE_DIR "/data");

        QProcess batch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SOURCE_DATE_EPOCH", kEpoch);
        batch.setProcessEnvironment(env);
        batch.setWorkingDirectory(QString::fromStdString(work.path().string()));
        const QString batchLog = QString::fromStdString((work / "batch.log").string());
        batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"),
                    {"--no-reliability", "-t", "Invader", "-o", batchLog, dataDir + "/sample.csv"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        const QStringList expected = crlfLines(readFile(work / "batch.log"));
        QVERIFY(expected.size() > 20);

        WindowUnderTest w(dataDir);
        w.window->setSetting(Setting::DataFileName, "sample.csv");
        w.click("Command1");
        QVERIFY(w.window->data() != nullptr);
        for (int row = 0; row < w.get<QListWidget>("List1")->count(); ++row) {
            w.select("List1", row);
            w.click("Command2");
        }
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->appendLog("from an earlier run");
        w.click("Command4");

        QCOMPARE(w.window->logLines(), expected);
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("G  O"));
        QCOMPARE(w.get<QLabel>("Label11")->text(), QString("100% complete"));
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled() && !w.window->busy());
        qunsetenv("SOURCE_DATE_EPOCH");
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(RunCompareTest)
#include "run_compare_test.moc"
