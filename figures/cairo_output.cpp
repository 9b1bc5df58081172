#include "figures/cairo_output.hpp"

#include <cairo-pdf.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>

#include "base/calc_date.hpp"

namespace el::figures {

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

bool finishSurface(cairo_surface_t* surface) {
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

void stampPdf(cairo_surface_t* pdf, const std::string& title) {
    cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, "earlylate");
    if (!title.empty()) cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, title.c_str());
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    const auto seconds = epoch ? parseEpochSeconds(epoch) : std::nullopt;
    if (!seconds) return;
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds{*seconds}};
    const sys_days day = floor<days>(time);
    const year_month_day ymd{day};
    const hh_mm_ss clock{time - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATE_DATE, text);
}

std::string renumberSvgIds(const std::string& svg, const std::string& prefix) {
    // Ids are defined as id="X" and used as href="#X", xlink:href="#X" and url(#X).
    std::map<std::string, std::string, std::less<>> names;
    for (std::size_t at = svg.find(" id=\""); at != std::string::npos; at = svg.find(" id=\"", at + 1)) {
        const std::size_t start = at + 5, end = svg.find('"', start);
        if (end == std::string::npos) break;
        names.try_emplace(svg.substr(start, end - start), prefix + std::to_string(names.size() + 1));
    }
    std::string out;
    out.reserve(svg.size() + svg.size() / 8);
    std::size_t done = 0;
    for (std::size_t at = 0; at < svg.size();) {
        std::size_t nameStart = std::string::npos;
        char closer = '"';
        if (svg.compare(at, 5, " id=\"") == 0) nameStart = at + 5;
        else if (svg.compare(at, 7, "href=\"#") == 0) nameStart = at + 7;
        else if (svg.compare(at, 5, "url(#") == 0) nameStart = at + 5, closer = ')';
        if (nameStart == std::string::npos) {
            ++at;
            continue;
        }
        const std::size_t nameEnd = svg.find(closer, nameStart);
        if (nameEnd == std::string::npos) break;
        const auto name = names.find(std::string_view(svg).substr(nameStart, nameEnd - nameStart));
        if (name != names.end()) {
            out.append(svg, done, nameStart - done);
            out += name->second;
            done = nameEnd;
        }
        at = nameEnd;
    }
    out.append(svg, done, std::string::npos);
    return out;
}

}  // namespace el::figures
