#include "figures/report_file.hpp"

#include "figures/figure_file.hpp"

namespace el::figures {
namespace {

constexpr const char* kStyle =
    "body{font-family:'DejaVu Sans','Noto Sans CJK JP',sans-serif;max-width:60em;margin:2em auto;padding:0 1em;"
    "color:#111;line-height:1.4}"
    "h1{font-size:1.6em}h2{font-size:1.2em;margin-top:1.6em}"
    "table{border-collapse:collapse;margin:.5em 0 1em}td,th{border-bottom:1px solid #aaa;padding:.25em .6em;"
    "text-align:left;vertical-align:top}th{background:#e8ecf0}"
    "table.facts td:first-child{color:#555}"
    "figure{margin:1em 0}figure svg{max-width:100%;height:auto}figcaption{color:#555;font-size:.9em}";

// Text for HTML content and attribute values; control characters other than tab and line
// feed become blanks.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' ? ' ' : c;
        }
    }
    return out;
}

std::string row(const std::vector<std::string>& cells, const char* tag) {
    std::string out = "<tr>";
    for (const std::string& cell : cells) out += std::string("<") + tag + ">" + escaped(cell) + "</" + tag + ">";
    return out + "</tr>\n";
}

std::string table(const ReportTable& t) {
    std::string out = t.header.empty() ? "<table class=\"facts\">\n" : "<table>\n<thead>" + row(t.header, "th") + "</thead>\n";
    out += "<tbody>\n";
    for (const auto& cells : t.rows) out += row(cells, "td");
    return out + "</tbody>\n</table>\n";
}

}  // namespace

std::string reportHtml(const ReportDocument& document) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      escaped(document.title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    int figures = 0;
    for (const ReportBlock& block : document.blocks) {
        if (const auto* h = std::get_if<ReportHeading>(&block)) {
            const std::string tag = h->level == 1 ? "h1" : "h2";
            out += "<" + tag + ">" + escaped(h->text) + "</" + tag + ">\n";
        } else if (const auto* p = std::get_if<ReportParagraph>(&block)) {
            out += "<p>" + escaped(p->text) + "</p>\n";
        } else if (const auto* t = std::get_if<ReportTable>(&block)) {
            out += table(*t);
        } else if (const auto* f = std::get_if<ReportFigure>(&block)) {
            // Each drawing's ids get their own prefix: they share the page's id space.
            // Appended piece by piece: GCC 12 at -O2 takes "text" + temporary for an overlapping copy (-Wrestrict).
            const std::string prefix = std::string("f").append(std::to_string(++figures)).append("-");
            out.append("<figure>\n").append(inlineSvg(f->scene, prefix)).append("<figcaption>");
            out.append(escaped(f->caption)).append("</figcaption>\n</figure>\n");
        }
    }
    return out + "</body>\n</html>\n";
}

}  // namespace el::figures
