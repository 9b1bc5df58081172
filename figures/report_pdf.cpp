#include "figures/report_file.hpp"

#include <cairo-pdf.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "figures/cairo_output.hpp"
#include "figures/cairo_scene.hpp"
#include "figures/cairo_text.hpp"
#include "figures/font_text.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

// A4 portrait in points.
constexpr double kPageWidth = 595.28, kPageHeight = 841.89;
constexpr double kMargin = 50, kFooter = 24;
constexpr double kBody = 10, kCaption = 8.5, kCellPad = 4;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kBottom = kPageHeight - kMargin - kFooter;
constexpr Rgb kText{0, 0, 0}, kMuted{90, 90, 90}, kRule{170, 170, 170}, kHeaderFill{232, 236, 240};

// Pages of a PDF with a running y position; a block that does not fit on what is left of a
// page starts the next one.
class Pages {
public:
    explicit Pages(std::string& out)
        : surface_(cairo_pdf_surface_create_for_stream(appendToString, &out, kPageWidth, kPageHeight)),
          cr_(cairo_create(surface_)) {
        useTextOptions(cr_);
    }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;
    ~Pages() {
        if (cr_ != nullptr) cairo_destroy(cr_);
        if (surface_ != nullptr) cairo_surface_destroy(surface_);
    }

    void setTitle(const std::string& title) { stampPdf(surface_, title); }
    cairo_t* cr() const { return cr_; }
    double y = kMargin;

    void need(double height) {
        if (y + height > kBottom && y > kMargin) newPage();
    }
    void newPage() {
        footer();
        cairo_show_page(cr_);
        ++page_;
        y = kMargin;
    }
    void text(const std::string& line, double x, double baseline, double size, Rgb colour) {
        cairo_move_to(cr_, x, baseline);
        setColour(cr_, colour);
        showText(cr_, line, size);
        cairo_new_path(cr_);
    }
    // Ends the last page; false when Cairo failed.
    bool finish() {
        footer();
        cairo_show_page(cr_);
        cairo_destroy(cr_);
        cr_ = nullptr;
        const bool ok = finishSurface(surface_);
        surface_ = nullptr;
        return ok;
    }

private:
    void footer() {
        const std::string label = "page " + std::to_string(page_);
        text(label, (kPageWidth - textWidth(label, 8)) / 2, kPageHeight - kMargin, 8, kMuted);
    }
    cairo_surface_t* surface_;
    cairo_t* cr_;
    int page_ = 1;
};

void writeLines(Pages& pages, const std::vector<std::string>& lines, double size, Rgb colour) {
    for (const std::string& line : lines) {
        pages.need(size * 1.35);
        pages.text(line, kMargin, pages.y + size * 0.93, size, colour);
        pages.y += size * 1.35;
    }
}

// A heading stays on the page of what follows it: `following` is the room that needs.
void writeHeading(Pages& pages, const ReportHeading& h, double following) {
    const double size = h.level == 1 ? 18 : 13;
    const auto lines = wrapLines(h.text, kContentWidth, size);
    pages.y += h.level == 1 ? 0 : 10;
    pages.need(size * 1.35 * static_cast<double>(lines.size()) + following);
    writeLines(pages, lines, size, kText);
    pages.y += 4;
}

// Column widths: each column's widest text, scaled down to the page when they do not fit.
std::vector<double> columnWidths(const ReportTable& table, double size) {
    const std::size_t columns = table.header.empty() ? 2 : table.header.size();
    if (table.header.empty()) return {kContentWidth * 0.42, kContentWidth * 0.58};
    std::vector<double> widths(columns, 0);
    auto widen = [&](const std::vector<std::string>& row) {
        for (std::size_t i = 0; i < row.size() && i < columns; ++i)
            widths[i] = std::max(widths[i], textWidth(row[i], size) + 2 * kCellPad + 1);
    };
    widen(table.header);
    for (const auto& row : table.rows) widen(row);
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (total > kContentWidth)
        for (double& w : widths) w *= kContentWidth / total;
    return widths;
}

struct WrappedRow {
    std::vector<std::vector<std::string>> cells;
    double height = 0;
};

WrappedRow wrapRow(const std::vector<std::string>& row, const std::vector<double>& widths) {
    WrappedRow wrapped;
    std::size_t lines = 1;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        wrapped.cells.push_back(wrapLines(i < row.size() ? row[i] : "", widths[i] - 2 * kCellPad, kBody));
        lines = std::max(lines, wrapped.cells.back().size());
    }
    wrapped.height = kBody * 1.3 * static_cast<double>(lines) + 2 * kCellPad;
    return wrapped;
}

void drawRow(Pages& pages, const WrappedRow& row, const std::vector<double>& widths, bool header, bool facts) {
    cairo_t* cr = pages.cr();
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (header) {
        cairo_rectangle(cr, kMargin, pages.y, total, row.height);
        setColour(cr, kHeaderFill);
        cairo_fill(cr);
    }
    double x = kMargin;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        for (std::size_t l = 0; l < row.cells[i].size(); ++l)
            pages.text(row.cells[i][l], x + kCellPad,
                       pages.y + kCellPad + kBody * 1.3 * static_cast<double>(l) + kBody * 0.93, kBody,
                       facts && i == 0 ? kMuted : kText);
        x += widths[i];
    }
    pages.y += row.height;
    cairo_move_to(cr, kMargin, pages.y);
    cairo_line_to(cr, kMargin + total, pages.y);
    setColour(cr, kRule);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

// Rows that do not fit go on to the next page, under the header again.
void writeTable(Pages& pages, const ReportTable& table) {
    const std::vector<double> widths = columnWidths(table, kBody);
    const bool facts = table.header.empty();
    const WrappedRow header = wrapRow(table.header, widths);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const WrappedRow row = wrapRow(table.rows[r], widths);
        const bool pageFull = pages.y + row.height + (r == 0 && !facts ? header.height : 0) > kBottom;
        if (pageFull && pages.y > kMargin) pages.newPage();
        if (!facts && (r == 0 || pageFull)) drawRow(pages, header, widths, true, false);
        drawRow(pages, row, widths, false, facts);
    }
    pages.y += 8;
}

struct FigureFit {
    std::vector<std::string> caption;
    double scale = 1, height = 0;  // the whole block's height
};

// The figure as large as the text width and a page allow.
FigureFit fitFigure(const ReportFigure& figure) {
    FigureFit fit;
    fit.caption = wrapLines(figure.caption, kContentWidth, kCaption);
    const double captionHeight = kCaption * 1.35 * static_cast<double>(fit.caption.size());
    fit.scale = std::min(kContentWidth / figure.scene.width, (kBottom - kMargin - captionHeight - 6) / figure.scene.height);
    fit.height = figure.scene.height * fit.scale + captionHeight + 6;
    return fit;
}

void writeFigure(Pages& pages, const ReportFigure& figure) {
    const FigureFit fit = fitFigure(figure);
    const double scale = fit.scale;
    const auto& caption = fit.caption;
    pages.need(fit.height);
    cairo_t* cr = pages.cr();
    cairo_save(cr);
    cairo_translate(cr, kMargin, pages.y);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, figure.scene.width, figure.scene.height);
    cairo_clip(cr);
    drawScene(cr, figure.scene);
    cairo_restore(cr);
    pages.y += figure.scene.height * scale + 6;
    writeLines(pages, caption, kCaption, kMuted);
    pages.y += 8;
}

}  // namespace

std::string reportPdf(const ReportDocument& document) {
    std::string out;
    Pages pages(out);
    pages.setTitle(document.title);
    for (std::size_t b = 0; b < document.blocks.size(); ++b) {
        const ReportBlock& block = document.blocks[b];
        const auto* next = b + 1 < document.blocks.size() ? std::get_if<ReportFigure>(&document.blocks[b + 1]) : nullptr;
        if (const auto* h = std::get_if<ReportHeading>(&block)) writeHeading(pages, *h, next ? fitFigure(*next).height : 60);
        else if (const auto* p = std::get_if<ReportParagraph>(&block)) {
            writeLines(pages, wrapLines(p->text, kContentWidth, kBody), kBody, kText);
            pages.y += 6;
        } else if (const auto* t = std::get_if<ReportTable>(&block)) writeTable(pages, *t);
        else if (const auto* f = std::get_if<ReportFigure>(&block)) writeFigure(pages, *f);
    }
    if (!pages.finish()) throw std::runtime_error("the report could not be drawn");
    return out;
}

}  // namespace el::figures
