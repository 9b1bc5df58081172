// Step 1 and the species lists: the file chooser, the Read step on files built in a
// temporary folder, the list moves and the target species.

#include <QDir>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/file_chooser.hpp"

using el::Setting;
using el::test::crlf;
using el::test::ScopedCwd;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;

namespace {

// Three species, then the structural names and the coordinates.
std::string threeSpecies() {
    return crlf({"vector", "three regions", "Gamma,Alpha,Beta,type$,name$,nodes,x1,y1,x2,y2,x3,y3",
                 "1990,1995,2000,polygon,R1,3,0,0,1,0,0,1", "1991,1996,2001,polygon,R2,3,1,0,2,0,1,1",
                 "1992,Arrived,2002,polygon,R3,3,2,0,3,0,2,1"});
}

std::string twoSpecies() {
    return crlf({"vector", "two", "Delta,Epsilon,type$,name$,nodes,x1,y1,x2,y2,x3,y3",
                 "1990,1995,polygon,R1,3,0,0,1,0,0,1", "1991,1996,polygon,R2,3,1,0,2,0,1,1"});
}

QString qpath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

void doubleClick(QListWidget* list, int row) {
    // As the mouse does it: a click, then the second press that makes it a double-click.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ReadAndListsTest : public QObject {
    Q_OBJECT
private slots:
    void chooserListsFoldersAndCsvFiles() {
        TempDir dir;
        std::filesystem::create_directories(dir / "sub");
        std::filesystem::create_directories(dir / "Another");
        writeFile(dir / "sub" / "b.csv", "");
        writeFile(dir / "sub" / "a.csv", "");
        writeFile(dir / "sub" / "notes.txt", "");

        const auto entries = el::workbench::folderEntries(qpath(dir.path()));
        QCOMPARE(entries.size(), 4);
        QVERIFY(entries[0].target.isEmpty());  // the folder itself
        QCOMPARE(entries[1].text, QString(".."));
        QCOMPARE(entries[2].text, QString("Another"));
        QCOMPARE(entries[3].text, QString("sub"));
        QCOMPARE(el::workbench::joinFolderAndName("/data", "v.csv"), QString("/data") + QDir::separator() + "v.csv");
        QCOMPARE(el::workbench::joinFolderAndName("/", "v.csv"), QDir::toNativeSeparators("/v.csv"));

        WindowUnderTest w(qpath(dir.path()));
        w.window->show();
        auto* folders = w.get<QListWidget>("Dir1");
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(folders->item(3)).center());
        QCOMPARE(w.window->folder(), qpath(dir.path() / "sub"));
        QCOMPARE(w.items("File1"), QStringList({"a.csv", "b.csv"}));

        auto* files = w.get<QListWidget>("File1");
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(1)).center());
        QCOMPARE(w.window->setting(Setting::DataFileName), std::string("b.csv"));
    }

    void readFillsTheVariablesInFileOrder() {
        TempDir work;
        TempDir data;
        ScopedCwd cwd(work.path());
        writeFile(data / "three.csv", threeSpecies());
        WindowUnderTest w(qpath(data.path()));
        w.window->setSetting(Setting::DataFileName, "three.csv");
        w.click("Command1");

        QCOMPARE(w.items("List1"), QStringList({"Gamma", "Alpha", "Beta"}));
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Reading file"));
        QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
        QCOMPARE(w.get<QLabel>("Label18")->text(), QString("100 % complete"));
        QVERIFY(!std::filesystem::exists(work / "temp1.tmp"));
        QVERIFY(w.window->data() != nullptr);
        QCOMPARE(w.window->data()->objn(), 3);
        QVERIFY(w.messages.isEmpty());
    }

    void secondReadEmptiesTheSpeciesListButKeepsTheTarget() {
        TempDir work;
        ScopedCwd cwd(work.path());
        writeFile(work / "three.csv", threeSpecies());
        writeFile(work / "two.csv", twoSpecies());
        WindowUnderTest w(qpath(work.path()));
        w.window->setSetting(Setting::DataFileName, "three.csv");
        w.click("Command1");
        w.select("List1", 1);
        w.click("Command2");
        w.click("Command7");
        QCOMPARE(w.items("List2"), QStringList({"Alpha"}));

        w.window->setSetting(Setting::DataFileName, "two.csv");
        w.click("Command1");
        QCOMPARE(w.items("List1"), QStringList({"Delta", "Epsilon"}));
        QVERIFY(w.items("List2").isEmpty());
        QCOMPARE(w.window->setting(Setting::TargetSpecies), std::string("Alpha"));
    }

    void failedReadRestoresTheButtonAndRefusesTheRun() {
        TempDir work;
        ScopedCwd cwd(work.path());
        writeFile(work / "three.csv", threeSpecies());
        writeFile(work / "broken.csv", crlf({"vector", "c", "A,type$,name$,nodes,x1,y1", "1990,polygon,R1,3,0"}));
        WindowUnderTest w(qpath(work.path()));
        w.window->setSetting(Setting::DataFileName, "three.csv");
        w.click("Command1");
        w.select("List1", 0);
        w.click("Command2");

        w.window->setSetting(Setting::DataFileName, "broken.csv");
        w.click("Command1");
        QVERIFY(!w.messages.isEmpty());
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Read"));
        QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
        QVERIFY(!std::filesystem::exists(work / "temp1.tmp"));
        QVERIFY(w.items("List1").isEmpty() && w.items("List2").isEmpty());
        QVERIFY(w.window->data() == nullptr);

        // A species typed back into the list cannot run on the data of the failed Read.
        w.get<QListWidget>("List2")->addItem("Gamma");
        w.window->appendLog("kept");
        const auto before = w.messages.size();
        w.click("Command4");
        QCOMPARE(w.messages.size(), before + 1);
        QVERIFY(w.messages.last().contains("Read"));
        QCOMPARE(w.window->logLines(), QStringList({"kept"}));
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("G  O"));

        // With no species the click only clears the log, as after any click on "G  O".
        w.get<QListWidget>("List2")->clear();
        w.click("Command4");
        QVERIFY(w.window->logLines().isEmpty());
        QCOMPARE(w.messages.size(), before + 1);
    }

    void listMovesAddOnceAndRemove() {
        WindowUnderTest w;
        w.window->show();
        auto* variables = w.get<QListWidget>("List1");
        variables->addItems({"SpA", "SpB", "SpC"});

        w.click("Command2");  // nothing selected
        QVERIFY(w.items("List2").isEmpty());
        w.select("List1", 1);
        w.click("Command2");
        w.click("Command2");
        doubleClick(variables, 1);
        QCOMPARE(w.items("List2"), QStringList({"SpB"}));
        doubleClick(variables, 2);
        w.select("List1", 0);
        w.click("Command2");
        QCOMPARE(w.items("List2"), QStringList({"SpB", "SpC", "SpA"}));

        w.select("List2", 1);
        w.click("Command3");
        QCOMPARE(w.items("List2"), QStringList({"SpB", "SpA"}));
        doubleClick(w.get<QListWidget>("List2"), 0);
        QCOMPARE(w.items("List2"), QStringList({"SpA"}));
        QCOMPARE(w.items("List1"), QStringList({"SpA", "SpB", "SpC"}));

        w.get<QListWidget>("List2")->clearSelection();
        w.click("Command3");  // nothing selected
        QCOMPARE(w.items("List2"), QStringList({"SpA"}));
    }

    void targetSelectionSwitchesAutomaticWeightOff() {
        WindowUnderTest w;
        w.get<QListWidget>("List1")->addItems({"SpA", "SpB"});
        w.window->setSetting(Setting::AutoWeight, "1");
        w.click("Command7");  // nothing selected: nothing changes
        QCOMPARE(w.window->setting(Setting::TargetSpecies), std::string());
        QCOMPARE(w.window->setting(Setting::AutoWeight), std::string("1"));

        w.select("List1", 1);
        w.click("Command7");
        QCOMPARE(w.get<QLineEdit>("Text1")->text(), QString("SpB"));
        QCOMPARE(w.window->setting(Setting::AutoWeight), std::string("0"));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(ReadAndListsTest)
#include "read_and_lists_test.moc"
