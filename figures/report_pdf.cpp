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
          cr_(cairo_create(surface_)) {}
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

// A heading at the top of a page drops the space above it.
void writeHeading(Pages& pages, const ReportHeading& h) {
    const double size = h.level == 1 ? 18 : 13;
    const auto lines = wrapLines(h.text, kContentWidth, size);
    if (pages.y > kMargin) pages.y += h.level == 1 ? 0 : 10;
    writeLines(pages, lines, size, kText);
    pages.y += 4;
}

// The width of the widest word of `text`: a column narrower than that breaks words apart.
double widestWord(const std::string& text, double size) {
    double widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        widest = std::max(widest, textWidth(text.substr(start, end - start), size));
        start = end + 1;
    }
    return widest;
}

// Column widths: each column's widest text; when they do not fit the page, every column
// keeps its widest word and the room beyond that is shared out in proportion.
std::vector<double> columnWidths(const ReportTable& table, double size) {
    const std::size_t columns = table.header.empty() ? 2 : table.header.size();
    if (table.header.empty()) return {kContentWidth * 0.42, kContentWidth * 0.58};
    std::vector<double> widths(columns, 0), least(columns, 0);
    auto widen = [&](const std::vector<std::string>& row) {
        for (std::size_t i = 0; i < row.size() && i < columns; ++i) {
            widths[i] = std::max(widths[i], textWidth(row[i], size) + 2 * kCellPad + 1);
            least[i] = std::max(least[i], widestWord(row[i], size) + 2 * kCellPad + 1);
        }
    };
    widen(table.header);
    for (const auto& row : table.rows) widen(row);
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (total <= kContentWidth) return widths;
    const double floor = std::accumulate(least.begin(), least.end(), 0.0);
    const double share = floor < kContentWidth ? (kContentWidth - floor) / (total - floor) : 0;
    for (std::size_t i = 0; i < columns; ++i) widths[i] = least[i] + (widths[i] - least[i]) * share;
    if (floor > kContentWidth)
        for (double& w : widths) w *= kContentWidth / floor;
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

// The rows a table keeps together at its start, and on the page it ends on.
constexpr std::size_t kRowsKept = 4;

// The rows before which a table turns to a new page, starting at `y`: where a row no longer
// fits, and earlier where the last page would hold fewer than kRowsKept rows.
std::vector<std::size_t> pageBreaks(const std::vector<double>& heights, double headerHeight, double y) {
    std::vector<std::size_t> breaks;
    const bool atTop = y <= kMargin;
    y += headerHeight;
    for (std::size_t r = 0; r < heights.size(); ++r) {
        if (y + heights[r] > kBottom && (r > 0 || !atTop)) {
            breaks.push_back(r);
            y = kMargin + headerHeight;
        }
        y += heights[r];
    }
    const std::size_t lastStart = breaks.empty() ? 0 : breaks.back();
    const std::size_t previousStart = breaks.size() < 2 ? 0 : breaks[breaks.size() - 2];
    if (!breaks.empty() && heights.size() - lastStart < kRowsKept && lastStart - previousStart > 2 * kRowsKept)
        breaks.back() = heights.size() - kRowsKept;
    return breaks;
}

// Rows that do not fit go on to the next page, under the header again.
void writeTable(Pages& pages, const ReportTable& table) {
    const std::vector<double> widths = columnWidths(table, kBody);
    const bool facts = table.header.empty();
    const WrappedRow header = wrapRow(table.header, widths);
    std::vector<WrappedRow> rows;
    std::vector<double> heights;
    for (const auto& cells : table.rows) {
        rows.push_back(wrapRow(cells, widths));
        heights.push_back(rows.back().height);
    }
    const std::vector<std::size_t> breaks = pageBreaks(heights, facts ? 0 : header.height, pages.y);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool turned = std::find(breaks.begin(), breaks.end(), r) != breaks.end();
        if (turned) pages.newPage();
        if (!facts && (r == 0 || turned)) drawRow(pages, header, widths, true, false);
        drawRow(pages, rows[r], widths, false, facts);
    }
    pages.y += 8;
}

struct FigureFit {
    std::vector<std::string> caption;
    double scale = 1;
    double captionHeight = 0;
    double height(double atScale) const { return sceneHeight * atScale + captionHeight + 14; }
    double sceneHeight = 0;
};

// A figure shrinks to this share of its full size rather than leave a page nearly empty.
constexpr double kSmallestFigure = 0.7;

// The figure as large as the text width and a page allow.
FigureFit fitFigure(const ReportFigure& figure) {
    FigureFit fit;
    fit.caption = wrapLines(figure.caption, kContentWidth, kCaption);
    fit.captionHeight = kCaption * 1.35 * static_cast<double>(fit.caption.size());
    fit.sceneHeight = figure.scene.height;
    fit.scale = std::min(kContentWidth / figure.scene.width, (kBottom - kMargin - fit.captionHeight - 14) / figure.scene.height);
    return fit;
}

void writeFigure(Pages& pages, const ReportFigure& figure) {
    const FigureFit fit = fitFigure(figure);
    double scale = fit.scale;
    const double room = kBottom - pages.y;
    if (fit.height(scale) > room) {
        if (fit.height(scale * kSmallestFigure) <= room) scale = (room - fit.captionHeight - 14) / fit.sceneHeight;
        else pages.newPage();
    }
    cairo_t* cr = pages.cr();
    cairo_save(cr);
    cairo_translate(cr, kMargin + (kContentWidth - figure.scene.width * scale) / 2, pages.y);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, figure.scene.width, figure.scene.height);
    cairo_clip(cr);
    drawScene(cr, figure.scene);
    cairo_restore(cr);
    pages.y += figure.scene.height * scale + 6;
    writeLines(pages, fit.caption, kCaption, kMuted);
    pages.y += 8;
}

double headingHeight(const ReportHeading& h) {
    const double size = h.level == 1 ? 18 : 13;
    return (h.level == 1 ? 0 : 10) + size * 1.35 * static_cast<double>(wrapLines(h.text, kContentWidth, size).size()) + 4;
}

double paragraphHeight(const ReportParagraph& p) {
    return kBody * 1.35 * static_cast<double>(wrapLines(p.text, kContentWidth, kBody).size()) + 6;
}

// The rows a table must keep together at its start: a table of facts or a short table
// whole, unless it is longer than a page; a longer one its header and kRowsKept rows.
double tableStartHeight(const ReportTable& table) {
    constexpr std::size_t kShortTable = 8;
    const std::vector<double> widths = columnWidths(table, kBody);
    const double header = table.header.empty() ? 8 : wrapRow(table.header, widths).height + 8;
    double whole = header, start = header;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const double height = wrapRow(table.rows[r], widths).height;
        whole += height;
        if (r < kRowsKept) start += height;
    }
    const bool keepWhole = (table.header.empty() || table.rows.size() <= kShortTable) && whole <= kBottom - kMargin;
    return keepWhole ? whole : start;
}

// How much of the page block `b` needs before it starts there: a heading keeps with what
// follows it, and so does a paragraph that introduces a table or a figure.
double startHeight(const std::vector<ReportBlock>& blocks, std::size_t b) {
    if (b >= blocks.size()) return 0;
    const ReportBlock& block = blocks[b];
    const bool introduces = b + 1 < blocks.size() && !std::holds_alternative<ReportHeading>(blocks[b + 1]) &&
                            !std::holds_alternative<ReportParagraph>(blocks[b + 1]);
    if (const auto* h = std::get_if<ReportHeading>(&block)) return headingHeight(*h) + startHeight(blocks, b + 1);
    if (const auto* p = std::get_if<ReportParagraph>(&block))
        return paragraphHeight(*p) + (introduces ? startHeight(blocks, b + 1) : 0);
    if (const auto* t = std::get_if<ReportTable>(&block)) return tableStartHeight(*t);
    const FigureFit fit = fitFigure(std::get<ReportFigure>(block));
    return fit.height(fit.scale * kSmallestFigure);
}

}  // namespace

std::string reportPdf(const ReportDocument& document) {
    std::string out;
    Pages pages(out);
    pages.setTitle(document.title);
    const std::vector<ReportBlock>& blocks = document.blocks;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        pages.need(std::min(startHeight(blocks, b), kBottom - kMargin));
        const ReportBlock& block = blocks[b];
        if (const auto* h = std::get_if<ReportHeading>(&block)) writeHeading(pages, *h);
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
