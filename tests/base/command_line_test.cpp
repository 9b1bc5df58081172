#include "base/command_line.hpp"

#include <gtest/gtest.h>

namespace el::cmdline {
namespace {

// A small program: -t/--target NAME, --size N (at most once), --quiet, --help that ends the
// line, and FILE operands; its errors say which rule they come from.
struct Line {
    std::string target, size;
    bool quiet = false, help = false;
    std::vector<std::string> files;
    std::string error;
};

Line read(const std::vector<std::string>& args, bool doubleDash = true, bool emptyIsMissing = false) {
    Line line;
    Option size = valued("--size", "", "N", "the size", [&line](const std::string& v) {
        if (v == "bad") return std::string("--size takes a number");
        line.size = v;
        return std::string();
    });
    size.once = true;
    Option help = flag("--help", "-h", "", [&line] { line.help = true; });
    help.endsLine = true;
    const std::vector<Option> options{valued("--target", "-t", "NAME", "the target",
                                             [&line](const std::string& v) {
                                                 line.target = v;
                                                 return std::string();
                                             }),
                                      size, flag("--quiet", "", "no progress", [&line] { line.quiet = true; }), help};
    Grammar grammar;
    grammar.isOperand = [](const std::string& arg) { return !arg.starts_with("-") || arg == "-"; };
    grammar.operand = [&line](const std::string& arg) {
        line.files.push_back(arg);
        return std::string();
    };
    grammar.doubleDashEndsOptions = doubleDash;
    grammar.emptyValueIsMissing = emptyIsMissing;
    grammar.unknown = [](const std::string& written, const std::string& name) {
        return "unknown " + written + " (" + name + ")";
    };
    grammar.missingValue = [](const std::string& written, const Option& o) {
        return "missing " + written + " " + o.expects;
    };
    grammar.repeated = [](const std::string& written) { return "twice " + written; };
    line.error = readArguments(args, options, grammar);
    return line;
}

TEST(CommandLine, ValueFormsSwitchesAndOperands) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--target", "Xus", "a.csv"}, {"--target=Xus", "a.csv"}, {"a.csv", "-t", "Xus"}}) {
        const Line line = read(args);
        EXPECT_EQ(line.error, "");
        EXPECT_EQ(line.target, "Xus");
        EXPECT_EQ(line.files, (std::vector<std::string>{"a.csv"}));
    }
    // A value is the next argument whatever it looks like; '=' splits at the first one only.
    EXPECT_EQ(read({"--target", "--quiet"}).target, "--quiet");
    EXPECT_FALSE(read({"--target", "--quiet"}).quiet);
    EXPECT_EQ(read({"--target=a=b"}).target, "a=b");
    EXPECT_EQ(read({"--target="}).target, "");
    EXPECT_EQ(read({"--target", ""}).error, "");
    const Line line = read({"--quiet", "-", "", "b"});
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(line.files, (std::vector<std::string>{"-", "", "b"}));
    // Later values of an option that may repeat win.
    EXPECT_EQ(read({"-t", "A", "--target=B"}).target, "B");
}

TEST(CommandLine, ErrorsNameTheOptionAsWritten) {
    EXPECT_EQ(read({"a", "--colour", "red"}).error, "unknown --colour (--colour)");
    EXPECT_EQ(read({"--colour=red"}).error, "unknown --colour=red (--colour)");
    EXPECT_EQ(read({"-x"}).error, "unknown -x (-x)");
    EXPECT_EQ(read({"-t=Xus"}).error, "unknown -t=Xus (-t=Xus)");         // short names take no '='
    EXPECT_EQ(read({"--quiet=1"}).error, "unknown --quiet=1 (--quiet)");  // a switch takes no value
    EXPECT_EQ(read({"a.csv", "-t"}).error, "missing -t NAME");
    EXPECT_EQ(read({"--target"}).error, "missing --target NAME");
    EXPECT_EQ(read({"--size", "bad"}).error, "--size takes a number");
    // The first error wins; nothing after it is read.
    const Line first = read({"--colour", "-t", "A", "--target"});
    EXPECT_EQ(first.error, "unknown --colour (--colour)");
    EXPECT_EQ(first.target, "");
}

TEST(CommandLine, OptionsGivenOnceAndEmptyValues) {
    EXPECT_EQ(read({"--size", "1", "--size", "2"}).error, "twice --size");
    EXPECT_EQ(read({"--size=1", "--size", "2"}).error, "twice --size");
    // A missing value is told before the repeat.
    EXPECT_EQ(read({"--size", "1", "--size"}).error, "missing --size N");
    EXPECT_EQ(read({"--target", ""}, true, true).error, "missing --target NAME");
    EXPECT_EQ(read({"--target="}, true, true).error, "missing --target NAME");
    EXPECT_EQ(read({"--quiet", "--quiet"}).error, "");
}

TEST(CommandLine, HelpAndDoubleDash) {
    const Line help = read({"a", "--help", "--colour"});
    EXPECT_EQ(help.error, "");
    EXPECT_TRUE(help.help);
    EXPECT_EQ(read({"--colour", "-h"}).error, "unknown --colour (--colour)");
    const Line rest = read({"--", "-t", "--quiet"});
    EXPECT_EQ(rest.error, "");
    EXPECT_EQ(rest.files, (std::vector<std::string>{"-t", "--quiet"}));
    EXPECT_FALSE(rest.quiet);
    EXPECT_EQ(read({"--"}, false).error, "unknown -- (--)");
}

TEST(CommandLine, OptionListAndSharedNames) {
    std::vector<Option> options{valued("--target", "-t", "NAME", "the target", {}),
                                flag("--quiet", "", "no progress", {}), flag("--help", "-h", "", {}),
                                valued("--a-very-long-option", "", "VALUE", "long", {})};
    EXPECT_EQ(optionList(options, 16),
              "  --target NAME  the target\n"
              "  --quiet       no progress\n"
              "  --a-very-long-option VALUE  long\n");
    EXPECT_EQ(sharedName(options), "");
    options.push_back(flag("--tiny", "-t", "", {}));
    EXPECT_EQ(sharedName(options), "-t");
}

}  // namespace
}  // namespace el::cmdline
