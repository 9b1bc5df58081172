// The window: right after start-up its title, size, every control where the layout puts it,
// captions (each fitting its control) and start-up values; settings; a resize giving room to
// the result tabs; the log panel's "Save log" (CR LF lines, failure message, the file list
// refreshed), "Clear" and sideways scrolling; the target field's hint; "Save report" without
// a run; the map's orientation choice; "Exit" while a step is still at work; the
// screenshot's size.

#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QScrollBar>

#include <map>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/caption_fit.hpp"
#include "workbench/control_layout.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/screenshot.hpp"

using el::Setting;
using el::test::crlf;
using el::test::readFile;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;
namespace wb = el::workbench;

namespace {
QString nameOf(const wb::ControlSpec& entry) {
    return QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
}

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
    return {};
}
}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void layoutAndTitle() {
        WindowUnderTest w;
        QCOMPARE(w.window->windowTitle(),
                 QString("Predicting future from past expansions: a part of spatial information processing system, "
                         "Kalvendrosia "));
        QCOMPARE(w.window->size(), QSize(704, 586));
        std::vector<std::pair<QString, QRect>> inputs;
        for (const wb::ControlSpec& entry : wb::controlLayout()) {
            auto* widget = w.window->findChild<QWidget*>(nameOf(entry));
            QVERIFY2(widget != nullptr, qPrintable(nameOf(entry)));
            // The log list sits in the first of the result tabs, which take its place.
            if (nameOf(entry) == "List3") widget = w.window->findChild<QWidget*>("ResultsTabs");
            const auto px = [](int twips) { return (twips + 7) / 15; };
            QCOMPARE(widget->geometry(), QRect(px(entry.rect.left), px(entry.rect.top), px(entry.rect.width), px(entry.rect.height)));
            if (entry.kind != wb::ControlKind::Label && entry.frame.empty()) inputs.emplace_back(nameOf(entry), widget->geometry());
        }
        QCOMPARE(w.get<QPushButton>("Command4")->geometry(), QRect(288, 528, 105, 49));

        // No two controls overlap, beyond seams of up to two pixels (30 twips) that the layout
        // draws and the excluding-limit field sitting on the lower edge of its check box.
        for (std::size_t i = 0; i < inputs.size(); ++i)
            for (std::size_t j = i + 1; j < inputs.size(); ++j) {
                const QRect seam = inputs[i].second.intersected(inputs[j].second);
                const bool limitField = inputs[i].first == "Check1" && inputs[j].first == "Text5";
                QVERIFY2(seam.width() <= 2 || seam.height() <= 2 || limitField,
                         qPrintable(inputs[i].first + " overlaps " + inputs[j].first));
            }
    }

    void captionsAreExact() {
        WindowUnderTest w;
        const std::map<const char*, const char*> captions{
            {"Label17", "File name to save log"}, {"Label2", "File name"}, {"Label8", "excluding limit "},
            {"Label16", "Similarity"}, {"Label13", "N of samples"}, {"Label19", "iteration"},
            {"Label20", "Training regions / all (1-0)"}, {"Check100", "skip vector file format chek"},
            {"Check2", "Automatic weight for the case without target species"},
            {"Check1", "Exclude regions with limited number of vaiable species"},
            {"Check3", "Add prediction to source file"}, {"Check5", "Reliability"}, {"Check4", "examine weight"},
            {"Option4", "average in row"}, {"Option5", "average in matrix"}, {"Option3", "similarity"},
            {"Option2", "distance"}, {"Option1", "none"}, {"Option6", "detailed"}, {"Option7", "none"},
            {"Command4", "G  O"}, {"Command1", "Read"}, {"Command5", "Exit"}};
        for (const auto& [name, caption] : captions) {
            const QWidget* widget = w.get<QWidget>(name);
            const auto* label = qobject_cast<const QLabel*>(widget);
            const QString text = label ? label->text() : qobject_cast<const QAbstractButton*>(widget)->text();
            QCOMPARE(text, QString(caption));
        }
        QCOMPARE(w.get<QGroupBox>("Frame4")->title(), QString("Target species (whole list too)"));
        QCOMPARE(w.get<QGroupBox>("Frame1")->title(), QString("Output similarity dissimilarity matrix"));
        QVERIFY(w.get<QPushButton>("Command4")->font().bold());
    }

    // The layout was drawn for Calibri 9 pt; its metric twin is used, and at 96 dpi no caption
    // is wider than its control (a few are drawn a little smaller), so none needs a tip.
    void everyCaptionFitsItsControl() {
        WindowUnderTest w;
        w.window->show();
        int shrunk = 0;
        for (const wb::ControlSpec& entry : wb::controlLayout()) {
            const QWidget* widget = w.window->findChild<QWidget*>(nameOf(entry));
            const QString caption = captionOf(widget);
            if (caption.isEmpty()) continue;
            const QString family = QFontInfo(widget->font()).family();
            QVERIFY2(family == "Carlito" || family == "Calibri", qPrintable(nameOf(entry) + " is drawn in " + family));
            const wb::CaptionRoom room = wb::captionRoom(entry, 96);
            QVERIFY2(room.size.width() <= widget->width(), qPrintable(nameOf(entry)));
            QVERIFY2(wb::captionFits(widget->font(), caption, room), qPrintable(nameOf(entry) + ": " + caption));
            QVERIFY2(widget->toolTip().isEmpty(), qPrintable(nameOf(entry)));
            QVERIFY(widget->font().pointSizeF() >= wb::kSmallestCaptionPoints);
            shrunk += widget->font().pointSizeF() < (entry.name == "Command4" ? 12 : 9);
        }
        QVERIFY2(shrunk <= 8, qPrintable(QString::number(shrunk) + " captions drawn smaller"));
        // The options once cut short, checked beside their indicator with plain metrics.
        for (const char* name : {"Option4", "Option5", "Option2"}) {
            const auto* option = w.get<QRadioButton>(name);
            const int textRoom = option->width() - wb::indicatorSize(96) - wb::indicatorGap(96);
            QVERIFY2(QFontMetrics(option->font()).horizontalAdvance(option->text()) <= textRoom, name);
        }
    }

    void fitsKnowWhereACaptionIsCovered() {
        QFont font(QStringLiteral("Carlito"));
        font.setPointSizeF(9);
        const QString text = QStringLiteral("one two three four");
        const int oneLine = QFontMetrics(font).horizontalAdvance(text);
        wb::CaptionRoom room{{oneLine, 40}, true, false, {}};
        QVERIFY(wb::captionFits(font, text, room));
        QVERIFY(!wb::captionFits(font, text, {{oneLine - 1, 15}, false, false, {}}));  // one line: too narrow
        QVERIFY(wb::captionFits(font, text + "   ", room));  // trailing blanks take no room
        // Wrapped onto two lines, the second must clear a control that covers the room's lower part.
        room.size.setWidth(oneLine * 2 / 3);
        QVERIFY(wb::captionFits(font, text, room));
        room.covers.push_back({20, 10});
        QVERIFY(!wb::captionFits(font, text, room));
        room.covers.back().from = 40;
        QVERIFY(wb::captionFits(font, text, room));
        QVERIFY(!wb::captionFits(font, text, {{oneLine * 2 / 3, 12}, true, false, {}}));  // two lines, no height
    }

    void settingsStartAtTheirStartupValuesAndAreLive() {
        WindowUnderTest w;
        const std::map<Setting, std::string> expected{
            {Setting::DataFileName, "vector.csv"}, {Setting::LogFileName, "log.csv"}, {Setting::SkipFormatCheck, "1"},
            {Setting::TargetSpecies, ""}, {Setting::AutoWeight, "0"}, {Setting::ExcludeLimited, "0"},
            {Setting::ExcludingLimit, "5"}, {Setting::AddPrediction, "0"}, {Setting::WeightPower, "6.65"},
            {Setting::SampleN, "0"}, {Setting::ExamineWeight, "0"}, {Setting::TrainingRatio, "1"},
            {Setting::IterationN, "100"}, {Setting::DoReliability, "1"}, {Setting::SimOutput, "none"},
            {Setting::MissingMode, "matrix"}, {Setting::ElMatrixOutput, "none"}, {Setting::Threads, ""}};
        QCOMPARE(expected.size(), el::kSettingCount);
        for (const auto& [id, value] : expected) QCOMPARE(w.window->setting(id), value);
        for (const char* name : {"Option1", "Option5", "Option7", "Check5", "Check100"})
            QVERIFY(w.get<QAbstractButton>(name)->isChecked());
        for (const char* name : {"Option2", "Option3", "Option4", "Option6", "Check1", "Check2", "Check3", "Check4"})
            QVERIFY(!w.get<QAbstractButton>(name)->isChecked());
        QCOMPARE(w.window->results()->tabs()->tabText(w.window->results()->currentIndex()), QStringLiteral("Log"));

        w.window->setSetting(Setting::MissingMode, "row");
        QVERIFY(w.get<QRadioButton>("Option4")->isChecked() && !w.get<QRadioButton>("Option5")->isChecked());
        w.get<QRadioButton>("Option3")->click();
        QCOMPARE(w.window->setting(Setting::SimOutput), std::string("similarity"));
        w.get<QLineEdit>("Text2")->setText("2.5");
        QCOMPARE(w.window->setting(Setting::WeightPower), std::string("2.5"));
    }

    void logPanelTakesTheExtraRoom() {
        WindowUnderTest w;
        w.window->show();
        w.window->resize(904, 686);
        QCoreApplication::processEvents();
        // Grown below its start-up place the panel would cover the right edge of "G  O"
        // (288 + 105 = 393): it starts right of it instead.
        QCOMPARE(w.window->findChild<QWidget*>("ResultsTabs")->geometry(), QRect(396, 56, 505, 552));
        QVERIFY(!w.window->findChild<QWidget*>("ResultsTabs")->geometry().intersects(
            w.get<QPushButton>("Command4")->geometry()));
        QCOMPARE(w.get<QLabel>("Label7")->geometry().top(), 520 + 100);
        QCOMPARE(w.get<QPushButton>("Command4")->geometry(), QRect(288, 528, 105, 49));
        QCOMPARE(w.window->minimumSize(), QSize(704, 586));
    }

    void saveAndClearTheLog() {
        TempDir work;
        TempDir elsewhere;
        WindowUnderTest w(QString::fromStdString(elsewhere.path().string()), work.path());
        for (const char* line : {"Region, score", " ", "", "日本, 1998"}) w.window->appendLog(line);
        QVERIFY(w.items("File1").isEmpty());
        w.click("Command6");
        // A bare name goes to the working folder, not to the chosen folder.
        const std::string saved = "Region, score\r\n \r\n\r\n日本, 1998\r\n";
        QCOMPARE(readFile(work / "log.csv"), saved);
        QVERIFY(!std::filesystem::exists(elsewhere / "log.csv"));
        QCOMPARE(w.window->logLines().size(), 4);
        // The file list shows a log saved into its folder at once.
        w.window->setFolder(QString::fromStdString(work.path().string()));
        w.window->setSetting(Setting::LogFileName, "second.csv");
        w.click("Command6");
        QCOMPARE(w.items("File1"), QStringList({"log.csv", "second.csv"}));
        w.window->setSetting(Setting::LogFileName, "log.csv");
        w.click("Command8");
        QVERIFY(w.window->logLines().isEmpty());
        QCOMPARE(readFile(work / "log.csv"), saved);  // untouched by Clear
        w.click("Command6");
        QVERIFY(std::filesystem::exists(work / "log.csv"));
        QCOMPARE(readFile(work / "log.csv"), std::string());
        QVERIFY(w.messages.isEmpty());

        // A failed save names the file and keeps the lines.
        w.window->appendLog("one");
        w.window->setSetting(Setting::LogFileName, "no-such-folder/log.csv");
        w.click("Command6");
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains("no-such-folder/log.csv") && w.messages[0].contains("No such file or directory"));
        QCOMPARE(w.window->logLines(), QStringList({"one"}));
    }

    void exitDuringAReadClosesAfterItReturns() {
        TempDir work;
        writeFile(work / "broken.csv", crlf({"vector", "c", "A,type$,name$,nodes,x1,y1", "1990,polygon,R1,3,0"}));
        WindowUnderTest w(QString::fromStdString(work.path().string()), work.path());
        w.window->show();
        w.window->setSetting(Setting::DataFileName, "broken.csv");
        bool visibleWhileReading = false;
        // The reader's message arrives while the Read step is still at work.
        w.window->setMessageSink([&](const QString&) {
            w.press("Command5");
            visibleWhileReading = w.window->isVisible() && w.window->busy();
        });
        w.click("Command1");
        QVERIFY(visibleWhileReading);
        QVERIFY(!w.window->isVisible());
    }

    void logPanelScrollsSideways() {
        WindowUnderTest w;
        w.window->show();
        auto* log = w.get<QListWidget>("List3");
        log->parentWidget()->show();
        w.window->appendLog("short");
        const std::string wide(400, 'x');
        w.window->appendLog(wide);
        QCoreApplication::processEvents();
        QCOMPARE(log->textElideMode(), Qt::ElideNone);
        QVERIFY(log->visualItemRect(log->item(1)).width() > log->viewport()->width());
        QVERIFY(log->horizontalScrollBar()->maximum() > 0);
    }

    void targetFieldTellsWhenItNamesNoSpecies() {
        WindowUnderTest w;
        auto* field = w.get<QLineEdit>("Text1");
        const QColor normal = field->palette().color(QPalette::Text);
        w.get<QListWidget>("List2")->addItems({"SpA", "SpB"});
        QVERIFY(field->toolTip().isEmpty());  // empty: a run without target, as meant
        field->setText("SpC");
        QVERIFY(field->toolTip().contains("no target species"));
        QVERIFY(field->palette().color(QPalette::Text) != normal);
        field->setText("SpB");
        QVERIFY(field->toolTip().isEmpty());
        QCOMPARE(field->palette().color(QPalette::Text), normal);
        delete w.get<QListWidget>("List2")->takeItem(1);  // the species goes: the hint comes
        QVERIFY(!field->toolTip().isEmpty());
        w.get<QListWidget>("List2")->addItem("SpB");
        QVERIFY(field->toolTip().isEmpty());
        w.get<QListWidget>("List2")->clear();
        QVERIFY(!field->toolTip().isEmpty());
        QCOMPARE(w.window->setting(Setting::TargetSpecies), std::string("SpB"));  // the text stays as typed
        QVERIFY(w.messages.isEmpty());
    }

    void saveReportNeedsACompletedRun() {
        TempDir work;
        WindowUnderTest w({}, work.path());
        bool written = false;
        w.window->setReportDocumentSaver([&](const std::filesystem::path&, const el::figures::ReportContent&) {
            written = true;
            return std::optional<std::string>();
        });
        QCOMPARE(w.get<QPushButton>("Command9")->text(), QString("Save report"));
        w.window->saveReport("report.html");
        QVERIFY(!written);
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains("No run has completed"));
    }

    void mapOrientationStartsNorthUpAndKeepsItsChoice() {
        WindowUnderTest w;
        wb::ResultsTabs* results = w.window->results();
        QCOMPARE(results->mapOrientation()->currentText(), QString("north up"));
        QVERIFY(!results->mapYDown());
        results->mapOrientation()->setCurrentIndex(1);
        QCOMPARE(results->mapOrientation()->currentText(), QString("y grows downwards"));
        results->clear("gone");
        results->showData(std::make_shared<el::vec::VectorData>(), "read");
        QVERIFY(results->mapYDown());
    }

    void screenshotHasTheClientSize() {
        TempDir work;
        const QString file = QString::fromStdString((work / "window.png").string());
        WindowUnderTest w;
        QCOMPARE(el::workbench::saveScreenshot(*w.window, file), QString());
        QCOMPARE(QImage(file).size(), QSize(704, 586));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(WindowTest)
#include "window_test.moc"
