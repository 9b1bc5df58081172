// Step 1 and the species lists: the file chooser, the Read step on files built in a
// temporary folder, the encoding choice reaching the Read, the list moves and the target.

#include <QComboBox>
#include <QDir>

#include <unistd.h>

#include "base/file_lock.hpp"
#include "tests/support/foreign_lock.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/file_chooser.hpp"

using el::Setting;
using el::test::crlf;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;

namespace {

QString qpath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

void click(QListWidget* list, int row, bool twice = false) {
    // As the mouse does it: a click, then for a double-click the second press.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ReadAndListsTest : public QObject {
    Q_OBJECT
private slots:
    void chooserMovesThroughFoldersAndPicksReadableFiles() {
        TempDir dir;
        std::filesystem::create_directories(dir / "Another");
        std::filesystem::create_directories(dir / "sub");
        for (const char* name : {"b.csv", "a.csv", "notes.doc", "Layer.GPKG", "records.xlsx", "world.topojson",
                                 "outline.shp", "outline.dbf", "first.tsv", "sheet.ods", "log.txt"})
            writeFile(dir / "sub" / name, "");
        WindowUnderTest w(qpath(dir.path()));
        w.window->show();
        QCOMPARE(w.items("Dir1"), QStringList({QDir::toNativeSeparators(qpath(dir.path())), "..", "Another", "sub"}));
        click(w.get<QListWidget>("Dir1"), 3);
        QCOMPARE(w.window->folder(), qpath(dir.path() / "sub"));
        // Vector files, tables and GIS layers, in any letter case; not a Shapefile's side files.
        QCOMPARE(w.items("File1"), QStringList({"a.csv", "b.csv", "first.tsv", "Layer.GPKG", "log.txt", "outline.shp",
                                                "records.xlsx", "sheet.ods", "world.topojson"}));
        click(w.get<QListWidget>("File1"), 1);
        QCOMPARE(w.window->setting(Setting::DataFileName), std::string("b.csv"));
        QCOMPARE(el::workbench::joinFolderAndName("/", "v.csv"), QDir::toNativeSeparators("/v.csv"));
    }

    void readStepFillsEmptiesRecoversAndTakesTheEncoding() {
        TempDir work;
        TempDir data;
        writeFile(data / "three.csv",
                  crlf({"vector", "three regions", "Gamma,Alpha,Beta,type$,name$,nodes,x1,y1,x2,y2,x3,y3",
                        "1990,1995,2000,polygon,R1,3,0,0,1,0,0,1", "1991,1996,2001,polygon,R2,3,1,0,2,0,1,1",
                        "1992,Arrived,2002,polygon,R3,3,2,0,3,0,2,1"}));
        writeFile(data / "two.csv", crlf({"vector", "two", "Delta,Epsilon,type$,name$,nodes,x1,y1",
                                          "1990,1995,point,R1,1,0,0"}));
        writeFile(data / "broken.csv", crlf({"vector", "c", "A,type$,name$,nodes,x1,y1", "1990,polygon,R1,3,0"}));
        WindowUnderTest w(qpath(data.path()), work.path());
        const auto read = [&](const char* name) {
            w.window->setSetting(Setting::DataFileName, name);
            w.click("Command1");
        };
        read("three.csv");
        QCOMPARE(w.items("List1"), QStringList({"Gamma", "Alpha", "Beta"}));
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Reading file"));
        QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
        QCOMPARE(w.get<QLabel>("Label18")->text(), QString("100 % complete"));
        using Names = std::vector<std::string>;
        QCOMPARE(el::test::filesIn(work.path()), Names{});  // the Read works in memory
        QCOMPARE(w.window->data()->objn(), 3);
        QVERIFY(w.messages.isEmpty());

        // A second Read empties the species list; the target text stays.
        w.select("List1", 1);
        w.click("Command2");
        w.click("Command7");
        read("two.csv");
        QCOMPARE(w.items("List1"), QStringList({"Delta", "Epsilon"}));
        QVERIFY(w.items("List2").isEmpty());
        QCOMPARE(w.window->setting(Setting::TargetSpecies), std::string("Alpha"));

        // A failed Read gives the button back and loads no data set; the failed scan leaves
        // its side log and nothing else.
        read("broken.csv");
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Read"));
        QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
        QCOMPARE(el::test::filesIn(work.path()), (Names{"VectorFileSize.log"}));
        QVERIFY(w.items("List1").isEmpty() && w.window->data() == nullptr);

        // "G  O" then refuses to run with species, and with none only clears the log.
        w.get<QListWidget>("List2")->addItem("Gamma");
        w.window->appendLog("kept");
        w.click("Command4");
        QCOMPARE(w.messages.size(), 2);
        QVERIFY(w.messages.last().contains("Read"));
        QCOMPARE(w.window->logLines(), QStringList({"kept"}));
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("G  O"));
        w.get<QListWidget>("List2")->clear();
        w.click("Command4");
        QVERIFY(w.window->logLines().isEmpty());
        QCOMPARE(w.messages.size(), 2);

        // The encoding list starts on "auto"; its choice is the encoding the Read uses.
        writeFile(data / "sjis.csv", "vector,c\r\n\x8A\x4F\x97\x88\x8E\xED,type$,name$,n,x,y\r\n1990,point,A,1,0,0\r\n");
        writeFile(data / "utf8.csv", "vector,c\r\n\xE5\xA4\x96\xE6\x9D\xA5\xE7\xA8\xAE,type$,name$,n,x,y\r\n"
                                     "1990,point,A,1,0,0\r\n");
        const QString name = QString::fromUtf8("\xE5\xA4\x96\xE6\x9D\xA5\xE7\xA8\xAE");  // both files' species
        auto* encoding = w.get<QComboBox>("Combo1");
        QCOMPARE(encoding->currentText(), QString("auto"));
        QCOMPARE(encoding->count(), 3);
        read("sjis.csv");
        QCOMPARE(w.items("List1"), QStringList({name}));
        QCOMPARE(w.get<QLabel>("Label7")->text(), QString("read sjis.csv as CP932 (not UTF-8)"));
        read("utf8.csv");
        QCOMPARE(w.get<QLabel>("Label7")->text(), QString());
        encoding->setCurrentText("UTF-8");
        read("sjis.csv");
        QVERIFY(w.items("List1").isEmpty());
        QVERIFY(w.messages.size() == 3 && w.messages.last().contains("not UTF-8"));
        encoding->setCurrentText("CP932");
        read("utf8.csv");
        QVERIFY(w.items("List1").size() == 1 && w.items("List1")[0] != name);

        // While another process holds the file's lock, the Read is refused with the batch
        // runner's text and loads nothing; afterwards it reads again.
        encoding->setCurrentText("auto");
        {
            const el::test::ForeignLock other(data / "three.csv");
            QVERIFY(other.held());
            read("three.csv");
        }
        QCOMPARE(w.messages.last(), QString::fromStdString(el::FileLock::busyText(data / "three.csv")));
        QVERIFY(w.items("List1").isEmpty() && w.window->data() == nullptr);
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Read"));
        read("three.csv");
        QCOMPARE(w.window->data()->objn(), 3);
    }

    void listMovesAndTargetSelection() {
        WindowUnderTest w;
        w.window->show();
        auto* variables = w.get<QListWidget>("List1");
        variables->addItems({"SpA", "SpB", "SpC"});
        w.window->setSetting(Setting::AutoWeight, "1");
        w.click("Command2");  // nothing selected: nothing changes
        w.click("Command7");
        QVERIFY(w.items("List2").isEmpty());
        QCOMPARE(w.window->setting(Setting::AutoWeight), std::string("1"));

        w.select("List1", 1);
        w.click("Command2");
        w.click("Command2");
        click(variables, 1, true);
        QCOMPARE(w.items("List2"), QStringList({"SpB"}));
        click(variables, 2, true);
        w.select("List1", 0);
        w.click("Command2");
        QCOMPARE(w.items("List2"), QStringList({"SpB", "SpC", "SpA"}));

        w.select("List2", 1);
        w.click("Command3");
        QCOMPARE(w.items("List2"), QStringList({"SpB", "SpA"}));
        click(w.get<QListWidget>("List2"), 0, true);
        QCOMPARE(w.items("List2"), QStringList({"SpA"}));
        QCOMPARE(w.items("List1"), QStringList({"SpA", "SpB", "SpC"}));

        w.click("Command7");  // SpA is selected in the variable list
        QCOMPARE(w.get<QLineEdit>("Text1")->text(), QString("SpA"));
        QCOMPARE(w.window->setting(Setting::AutoWeight), std::string("0"));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(ReadAndListsTest)
#include "read_and_lists_test.moc"
