// The window right after start-up: title, size, every control where the layout puts it,
// captions and start-up values, and the log panel taking the room of a larger window.

#include <QGroupBox>

#include <map>

#include "tests/workbench/window_fixture.hpp"
#include "workbench/control_layout.hpp"

using el::Setting;
using el::test::WindowUnderTest;
namespace wb = el::workbench;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void titleAndClientSize() {
        WindowUnderTest w;
        QCOMPARE(w.window->windowTitle(),
                 QString("Predicting future from past expansions: a part of spatial information processing system, "
                         "Kalvendrosia "));
        QCOMPARE(w.window->windowTitle().size(), 102);
        QCOMPARE(w.window->size(), QSize(704, 586));
    }

    void everyControlSitsAtItsTwipRectangle() {
        WindowUnderTest w;
        for (const wb::ControlSpec& spec : wb::controlLayout()) {
            const QString name = QString::fromLatin1(spec.name.data(), static_cast<qsizetype>(spec.name.size()));
            auto* widget = w.window->findChild<QWidget*>(name);
            QVERIFY2(widget != nullptr, qPrintable(name));
            const QRect expected(spec.rect.left / 15.0 + 0.5, spec.rect.top / 15.0 + 0.5, spec.rect.width / 15.0 + 0.5,
                                 spec.rect.height / 15.0 + 0.5);
            QCOMPARE(widget->geometry(), expected);
            if (!spec.frame.empty()) QCOMPARE(widget->parentWidget()->objectName().toStdString(), std::string(spec.frame));
        }
        // Spot checks against the drawing: "G  O" and the log panel.
        QCOMPARE(w.get<QPushButton>("Command4")->geometry(), QRect(288, 528, 105, 49));
        QCOMPARE(w.get<QListWidget>("List3")->geometry(), QRect(384, 56, 317, 452));
        QCOMPARE(w.get<QLineEdit>("Text1")->geometry(), QRect(4, 16, 165, 21));
    }

    void inputControlsDoNotOverlap() {
        WindowUnderTest w;
        std::vector<std::pair<std::string_view, QRect>> inputs;
        for (const wb::ControlSpec& spec : wb::controlLayout())
            if (spec.kind != wb::ControlKind::Label && spec.frame.empty())
                inputs.emplace_back(spec.name, w.window->findChild<QWidget*>(QString::fromLatin1(spec.name.data(),
                                                     static_cast<qsizetype>(spec.name.size())))->geometry());
        for (std::size_t i = 0; i < inputs.size(); ++i)
            for (std::size_t j = i + 1; j < inputs.size(); ++j) {
                // The excluding-limit field sits on the lower edge of its own check box by design.
                const auto pair = [&](std::string_view x, std::string_view y) {
                    return (inputs[i].first == x && inputs[j].first == y) || (inputs[i].first == y && inputs[j].first == x);
                };
                if (pair("Check1", "Text5")) continue;
                // Neighbours may share a seam of up to two pixels (30 twips), as the layout draws them.
                const QRect seam = inputs[i].second.intersected(inputs[j].second);
                const QRect a = seam.width() <= 2 || seam.height() <= 2 ? QRect() : inputs[i].second;
                const QRect b = inputs[j].second;
                QVERIFY2(a.isNull() || !a.intersects(b),
                         qPrintable(QString("%1 overlaps %2").arg(inputs[i].first.data()).arg(inputs[j].first.data())));
            }
    }

    void captionsAreExact() {
        WindowUnderTest w;
        const std::map<const char*, const char*> labels{
            {"Label17", "File name to save log"}, {"Label2", "File name"},        {"Label8", "excluding limit "},
            {"Label16", "Similarity"},            {"Label13", "N of samples"},   {"Label19", "iteration"},
            {"Label20", "Training regions / all (1-0)"}, {"Label9", "Step1: Read file"},
            {"Label10", "Step2: Variables and options"},
        };
        for (const auto& [name, caption] : labels) QCOMPARE(w.get<QLabel>(name)->text(), QString(caption));
        const std::map<const char*, const char*> checks{
            {"Check100", "skip vector file format chek"},
            {"Check2", "Automatic weight for the case without target species"},
            {"Check1", "Exclude regions with limited number of vaiable species"},
            {"Check3", "Add prediction to source file"}, {"Check5", "Reliability"}, {"Check4", "examine weight"},
        };
        for (const auto& [name, caption] : checks) QCOMPARE(w.get<QCheckBox>(name)->text(), QString(caption));
        const std::map<const char*, const char*> options{
            {"Option4", "average in row"}, {"Option5", "average in matrix"}, {"Option3", "similarity"},
            {"Option2", "distance"},       {"Option1", "none"},              {"Option6", "detailed"},
            {"Option7", "none"},
        };
        for (const auto& [name, caption] : options) QCOMPARE(w.get<QRadioButton>(name)->text(), QString(caption));
        QCOMPARE(w.get<QGroupBox>("Frame4")->title(), QString("Target species (whole list too)"));
        QCOMPARE(w.get<QGroupBox>("Frame2")->title(), QString("Missing value in early-late matrix"));
        QCOMPARE(w.get<QGroupBox>("Frame1")->title(), QString("Output similarity dissimilarity matrix"));
        QCOMPARE(w.get<QGroupBox>("Frame3")->title(), QString("Output early-late matrix"));
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("G  O"));
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Read"));
        QCOMPARE(w.get<QPushButton>("Command5")->text(), QString("Exit"));
        QVERIFY(w.get<QPushButton>("Command4")->font().bold());
        QVERIFY(w.get<QLabel>("Label9")->font().bold());
    }

    void settingsStartAtTheirStartupValues() {
        WindowUnderTest w;
        const std::map<Setting, std::string> expected{
            {Setting::DataFileName, "vector.csv"}, {Setting::LogFileName, "log.csv"},
            {Setting::SkipFormatCheck, "1"},      {Setting::TargetSpecies, ""},
            {Setting::AutoWeight, "0"},           {Setting::ExcludeLimited, "0"},
            {Setting::ExcludingLimit, "5"},       {Setting::AddPrediction, "0"},
            {Setting::WeightPower, "6.65"},       {Setting::SampleN, "0"},
            {Setting::ExamineWeight, "0"},        {Setting::TrainingRatio, "1"},
            {Setting::IterationN, "100"},         {Setting::DoReliability, "1"},
            {Setting::SimOutput, "none"},         {Setting::MissingMode, "matrix"},
            {Setting::ElMatrixOutput, "none"},
        };
        QCOMPARE(expected.size(), el::kSettingCount);
        for (const auto& [id, value] : expected) QCOMPARE(w.window->setting(id), value);

        // The controls show the same: one button per option group, the right one.
        QVERIFY(w.get<QRadioButton>("Option1")->isChecked());
        QVERIFY(w.get<QRadioButton>("Option5")->isChecked());
        QVERIFY(w.get<QRadioButton>("Option7")->isChecked());
        QVERIFY(!w.get<QRadioButton>("Option2")->isChecked() && !w.get<QRadioButton>("Option3")->isChecked());
        QVERIFY(w.get<QCheckBox>("Check5")->isChecked() && w.get<QCheckBox>("Check100")->isChecked());
        QCOMPARE(w.get<QLineEdit>("Text2")->text(), QString("6.65"));
        QCOMPARE(w.window->missvalue(), std::string("null"));

        for (const char* label : {"Label7", "Label11", "Label18", "Label14"}) QVERIFY(w.get<QLabel>(label)->text().isEmpty());
        for (const char* list : {"List1", "List2", "List3"}) QCOMPARE(w.get<QListWidget>(list)->count(), 0);
        QVERIFY(w.window->data() == nullptr);
    }

    void settingsAreReadAndWrittenLive() {
        WindowUnderTest w;
        w.window->setSetting(Setting::MissingMode, "row");
        QVERIFY(w.get<QRadioButton>("Option4")->isChecked() && !w.get<QRadioButton>("Option5")->isChecked());
        w.get<QRadioButton>("Option3")->click();
        QCOMPARE(w.window->setting(Setting::SimOutput), std::string("similarity"));
        w.get<QCheckBox>("Check4")->click();
        QCOMPARE(w.window->setting(Setting::ExamineWeight), std::string("1"));
        w.window->setSetting(Setting::DoReliability, "0");
        QVERIFY(!w.get<QCheckBox>("Check5")->isChecked());
        w.get<QLineEdit>("Text2")->setText("2.5");
        QCOMPARE(w.window->setting(Setting::WeightPower), std::string("2.5"));

        w.window->setRunBusy(true);
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("Running"));
        QVERIFY(!w.get<QPushButton>("Command4")->isEnabled());
        w.window->setRunBusy(false);
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QString("G  O"));
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled());

        w.window->setCaption(el::Label::RunProgress, " 0 %");
        w.window->setCaption(el::Label::Status, "Weights");
        w.window->setCaption(el::Label::ReadProgress, "100 % complete");
        QCOMPARE(w.get<QLabel>("Label11")->text(), QString(" 0 %"));
        QCOMPARE(w.get<QLabel>("Label7")->text(), QString("Weights"));
        QCOMPARE(w.get<QLabel>("Label18")->text(), QString("100 % complete"));
    }

    void logPanelTakesTheExtraRoom() {
        WindowUnderTest w;
        w.window->show();
        w.window->resize(904, 686);
        QCoreApplication::processEvents();
        QCOMPARE(w.get<QListWidget>("List3")->geometry(), QRect(384, 56, 517, 552));
        QCOMPARE(w.get<QLabel>("Label7")->geometry().top(), 520 + 100);
        QCOMPARE(w.get<QPushButton>("Command4")->geometry(), QRect(288, 528, 105, 49));
        QCOMPARE(w.window->minimumSize(), QSize(704, 586));
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(StartupTest)
#include "startup_test.moc"
