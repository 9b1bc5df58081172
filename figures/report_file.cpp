#include "figures/report_file.hpp"

#include <exception>

#include "base/file_replace.hpp"
#include "base/text.hpp"

namespace el::figures {

std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file) {
    const std::string ext = asciiLower(file.extension().string());
    if (ext == ".pdf") return ReportFormat::Pdf;
    if (ext == ".html" || ext == ".htm") return ReportFormat::Html;
    return std::nullopt;
}

std::string reportBytes(const ReportContent& content, ReportFormat format) {
    const ReportDocument document = buildReport(content);
    return format == ReportFormat::Pdf ? reportPdf(document) : reportHtml(document);
}

std::optional<std::string> writeReport(const ReportContent& content, const std::filesystem::path& file) {
    const auto format = reportFormatOf(file);
    if (!format) return "The report file \"" + file.string() + "\" is neither .pdf nor .html";
    std::string bytes;
    try {
        bytes = reportBytes(content, *format);
    } catch (const std::exception& error) {
        return "The report file \"" + file.string() + "\" cannot be made: " + error.what();
    }
    if (auto reason = replaceFile(file, bytes))
        return "The report file \"" + file.string() + "\" cannot be written: " + *reason;
    return std::nullopt;
}

}  // namespace el::figures
