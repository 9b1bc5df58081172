// The window's command line: its options read by the shared parser with the window's rules (no
// file names, each option at most once, an empty value is a missing one) and the rules between them.

#include <QTest>

#include "workbench/command_line.hpp"

namespace el::test {

class CommandLineTest : public QObject {
    Q_OBJECT

    static std::string errorOf(const std::vector<std::string>& args) {
        const auto parsed = workbench::parseAppArguments(args);
        return parsed.options ? "accepted" : parsed.error;
    }

private slots:
    void valuesInBothFormsAndSwitches() {
        const auto parsed = workbench::parseAppArguments({"--screenshot=s.png", "--open", "v.csv", "--run",
                                                          "--target=Xus", "--examine-weight", "--size", "800x600"});
        QVERIFY(parsed.options);
        const workbench::AppArguments& got = *parsed.options;
        QCOMPARE(got.screenshot.value_or(""), std::string("s.png"));
        QCOMPARE(got.open.value_or(""), std::string("v.csv"));
        QCOMPARE(got.target.value_or(""), std::string("Xus"));
        QCOMPARE(got.size.value_or(""), std::string("800x600"));
        QVERIFY(got.run && got.examineWeight && !got.help && !got.folder);
        QVERIFY(workbench::parseAppArguments({"-h"}).options->help);
    }

    void usageErrorsNameTheArgument() {
        QCOMPARE(errorOf({"v.csv"}), std::string("unknown argument: v.csv"));
        QCOMPARE(errorOf({"--"}), std::string("unknown argument: --"));
        QCOMPARE(errorOf({"--run=1"}), std::string("unknown argument: --run=1"));
        QCOMPARE(errorOf({"--folder"}), std::string("--folder needs a value"));
        QCOMPARE(errorOf({"--folder", ""}), std::string("--folder needs a value"));
        QCOMPARE(errorOf({"--folder="}), std::string("--folder needs a value"));
        QCOMPARE(errorOf({"--folder", "a", "--folder=b"}), std::string("--folder given twice"));
        QCOMPARE(errorOf({"--folder", "a", "--folder"}), std::string("--folder needs a value"));
        QCOMPARE(errorOf({"--open", "v.csv"}), std::string("--open is only used with --screenshot"));
        QCOMPARE(errorOf({"--screenshot", "s.png", "--run"}), std::string("--run needs --open"));
        QCOMPARE(errorOf({"--screenshot", "s.png", "--hindcast", "2000"}),
                 std::string("--target, --examine-weight and --hindcast are only used with --run"));
    }

    void usageListsEveryOptionButHelp() {
        const std::string usage = workbench::appUsage();
        for (const char* line : {"\n  --folder DIR          start", "\n  --size WxH            with --screenshot",
                                 "\n  --examine-weight      with --run"})
            QVERIFY2(usage.find(line) != std::string::npos, line);
        QVERIFY(usage.find("--help") == std::string::npos);
    }
};

}  // namespace el::test

QTEST_APPLESS_MAIN(el::test::CommandLineTest)
#include "command_line_test.moc"
