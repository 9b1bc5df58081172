// The encoding list of Step 1: "auto" at start-up, and the choice is the encoding the
// Read step uses (a CP932 file is refused as UTF-8, a UTF-8 file misread as CP932).

#include <QComboBox>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"

using el::Setting;
using el::test::ScopedCwd;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;

class EncodingChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnAutoAndTheChoiceReachesTheRead() {
        TempDir work;
        TempDir data;
        ScopedCwd cwd(work.path());
        // The species name in CP932 bytes, and the same name in UTF-8.
        writeFile(data / "sjis.csv", "vector,c\r\n\x8A\x4F\x97\x88\x8E\xED,type$,name$,n,x,y\r\n1990,point,A,1,0,0\r\n");
        writeFile(data / "utf8.csv", "vector,c\r\n\xE5\xA4\x96\xE6\x9D\xA5\xE7\xA8\xAE,type$,name$,n,x,y\r\n"
                                     "1990,point,A,1,0,0\r\n");
        const QString name = QString::fromUtf8("\xE5\xA4\x96\xE6\x9D\xA5\xE7\xA8\xAE");
        WindowUnderTest w(QString::fromStdString(data.path().string()));
        auto* encoding = w.get<QComboBox>("Combo1");
        QCOMPARE(encoding->currentText(), QString("auto"));
        QCOMPARE(encoding->count(), 3);
        const auto read = [&](const char* file, const char* choice) {
            encoding->setCurrentText(QString::fromLatin1(choice));
            QCOMPARE(w.window->readEncoding(), std::string(choice));
            w.messages.clear();
            w.window->setSetting(Setting::DataFileName, file);
            w.click("Command1");
        };

        read("sjis.csv", "auto");
        QCOMPARE(w.items("List1"), QStringList({name}));
        read("sjis.csv", "UTF-8");
        QVERIFY(w.items("List1").isEmpty());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains("not UTF-8"));
        read("sjis.csv", "CP932");
        QCOMPARE(w.items("List1"), QStringList({name}));
        read("utf8.csv", "UTF-8");
        QCOMPARE(w.items("List1"), QStringList({name}));
        read("utf8.csv", "CP932");
        QVERIFY(w.items("List1") != QStringList({name}));
        QVERIFY(!std::filesystem::exists(work / "temp1.tmp"));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(EncodingChoiceTest)
#include "encoding_choice_test.moc"
