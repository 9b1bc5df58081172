// Reads a vector file through the installed core, forecasts the species Invader without
// fluctuation trials (similarity matrix and detailed early-late matrix in the log) and
// compares the log line by line with a kept log of the same run. Exit status 0 when they
// are the same, 1 when not (the first differing line is named), 2 on a usage error.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "engine/run/engine.hpp"
#include "gis/read_source.hpp"

namespace {

// The lines of a file whose lines end CR LF, without their ends.
std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The kept log's date of calculation, so that the new log can match it.
std::string calculationDateOf(const std::vector<std::string>& lines) {
    const std::string prefix = "Date of calculation: ";
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    return "";
}

std::vector<std::string> forecast(const std::string& path, const std::string& date) {
    el::SettingValues settings;
    settings.set(el::Setting::DataFileName, std::filesystem::path(path).filename().string());  // as the batch runner names it
    settings.set(el::Setting::TargetSpecies, "Invader");
    settings.set(el::Setting::DoReliability, std::string(el::kOff));
    settings.set(el::Setting::SimOutput, "similarity");
    settings.set(el::Setting::ElMatrixOutput, "detailed");
    el::MessageList messages;
    el::Feedback quiet;
    const el::SourceReadOutcome read = el::readSourceFile(path, "null", {settings, messages, quiet}, {});
    for (const std::string& text : messages.take()) std::cerr << "consumer: " << text << '\n';
    if (read.read.erf != 0) return {};

    el::engine::RunRequest request;
    request.data = &read.read.data;
    const auto& names = read.read.data.valname;  // every variable of the file, as the batch runner takes them
    request.species.assign(names.begin(), names.begin() + read.read.data.valn());
    request.sourceFile = path;
    request.calculationDate = date;
    el::LogList log;
    el::engine::Engine engine;
    const el::engine::RunResult result = engine.run(request, {settings, log, messages, quiet});
    for (const std::string& text : messages.take()) std::cerr << "consumer: " << text << '\n';
    if (result.status != el::engine::RunStatus::Completed) return {};
    return log.lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: consumer SAMPLE.csv KEPT.log\n";
        return 2;
    }
    const std::vector<std::string> kept = linesOf(argv[2]);
    const std::vector<std::string> made = forecast(argv[1], calculationDateOf(kept));
    if (made.empty()) {
        std::cerr << "consumer: the forecast did not complete\n";
        return 1;
    }
    for (std::size_t i = 0; i < std::max(made.size(), kept.size()); ++i) {
        const std::string a = i < made.size() ? made[i] : "(no line)";
        const std::string b = i < kept.size() ? kept[i] : "(no line)";
        if (a != b) {
            std::cerr << "consumer: line " << i + 1 << " differs:\n  made: " << a << "\n  kept: " << b << '\n';
            return 1;
        }
    }
    std::cout << "consumer: " << made.size() << " log lines, the same as the kept log\n";
    return 0;
}
