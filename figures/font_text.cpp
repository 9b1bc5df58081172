#include "figures/font_text.hpp"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "figures/cairo_text.hpp"

namespace el::figures {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The next character of `text` from `at`, which moves past it; a byte that starts no
// complete, shortest-form sequence gives U+FFFD and moves one byte.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 1) return text[at++];
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return kReplacement;
    }
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        c = c << 6 | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += static_cast<std::size_t>(length);
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct Font {
    FT_Face outlines = nullptr;
    cairo_font_face_t* face = nullptr;
    std::string file;
    int index = 0;  // of the face in a font collection
};

// The fonts found so far, first the two asked for by name, then those fontconfig offered
// for characters neither has. Fontconfig only finds the files: it stores its own pointers
// as offsets, which a leak checker cannot follow, so no pattern of it is kept; FreeType
// loads the faces and tells which characters they have. The fonts live as long as the
// process, as Cairo's caches of them do.
class FontList {
public:
    static FontList& instance() {
        static FontList* list = new FontList;
        return *list;
    }

    // The first font that has `c`, nothing when none has it.
    const Font* covering(char32_t c) {
        const std::lock_guard lock(mutex_);
        for (const Font& font : fonts_)
            if (covers(font, c)) return &font;
        if (c >= 0x20 && !missing_.contains(c)) {
            if (const Font* found = search(c)) return found;
            missing_.insert(c);
        }
        return nullptr;
    }

    // The font that draws `c`: the first of the list draws its missing-glyph box.
    const Font* fontFor(char32_t c) {
        if (const Font* font = covering(c)) return font;
        const std::lock_guard lock(mutex_);
        return fonts_.empty() ? nullptr : &fonts_.front();
    }

private:
    FontList() {
        if (FT_Init_FreeType(&library_) != 0) return;
        for (const char* family : {"DejaVu Sans", "Noto Sans CJK JP"}) {
            FcPattern* wanted = FcPatternCreate();
            FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
            add(wanted);
        }
    }

    static bool covers(const Font& font, char32_t c) { return FT_Get_Char_Index(font.outlines, c) != 0; }

    const Font* search(char32_t c) {
        FcPattern* wanted = FcPatternCreate();
        FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        FcCharSet* charset = FcCharSetCreate();
        FcCharSetAddChar(charset, c);
        FcPatternAddCharSet(wanted, FC_CHARSET, charset);
        FcCharSetDestroy(charset);
        const Font* font = add(wanted);
        return font != nullptr && covers(*font, c) ? font : nullptr;
    }

    // Matches `wanted` (which it takes) and loads the font unless it is already there.
    const Font* add(FcPattern* wanted) {
        if (library_ == nullptr) return nullptr;
        FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
        FcDefaultSubstitute(wanted);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, wanted, &result);
        FcPatternDestroy(wanted);
        if (match == nullptr) return nullptr;
        FcChar8* path = nullptr;
        int index = 0;
        const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
        const std::string file = found ? reinterpret_cast<const char*>(path) : "";
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternDestroy(match);
        if (!found) return nullptr;
        for (const Font& font : fonts_)
            if (font.file == file && font.index == index) return &font;
        FT_Face outlines = nullptr;
        if (FT_New_Face(library_, file.c_str(), index, &outlines) != 0) return nullptr;
        // The same outlines for every output: no hinting.
        fonts_.push_back({outlines, cairo_ft_font_face_create_for_ft_face(outlines, FT_LOAD_NO_HINTING), file, index});
        return &fonts_.back();
    }

    std::mutex mutex_;
    FT_Library library_ = nullptr;
    std::deque<Font> fonts_;  // stable addresses
    std::set<char32_t> missing_;
};

cairo_font_options_t* textOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        return o;
    }();
    return options;
}

// A stretch of text drawn with one font; `utf8` is valid UTF-8.
struct FontRun {
    std::string utf8;
    cairo_font_face_t* face = nullptr;  // owned by the process-wide font list
};

std::vector<FontRun> fontRuns(std::string_view text) {
    std::vector<FontRun> runs;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = nextCharacter(text, at);
        if (c < 0x20 || c == 0x7F) c = ' ';  // control characters draw as a blank
        const Font* font = FontList::instance().fontFor(c);
        cairo_font_face_t* face = font ? font->face : nullptr;
        if (runs.empty() || runs.back().face != face) runs.push_back({{}, face});
        appendUtf8(runs.back().utf8, c);
    }
    return runs;
}

}  // namespace

void useTextOptions(cairo_t* cr) { cairo_set_font_options(cr, textOptions()); }

void showText(cairo_t* cr, std::string_view text, double size) {
    cairo_set_font_size(cr, size);
    for (const FontRun& run : fontRuns(text)) {
        if (run.face == nullptr) continue;
        cairo_set_font_face(cr, run.face);
        cairo_show_text(cr, run.utf8.c_str());
    }
}

void textPath(cairo_t* cr, std::string_view text, double size) {
    cairo_set_font_size(cr, size);
    for (const FontRun& run : fontRuns(text)) {
        if (run.face == nullptr) continue;
        cairo_set_font_face(cr, run.face);
        cairo_text_path(cr, run.utf8.c_str());
    }
}

double textWidth(std::string_view text, double size) {
    cairo_matrix_t fontMatrix, identity;
    cairo_matrix_init_scale(&fontMatrix, size, size);
    cairo_matrix_init_identity(&identity);
    double width = 0;
    for (const FontRun& run : fontRuns(text)) {
        if (run.face == nullptr) continue;
        cairo_scaled_font_t* font = cairo_scaled_font_create(run.face, &fontMatrix, &identity, textOptions());
        cairo_text_extents_t extents;
        cairo_scaled_font_text_extents(font, run.utf8.c_str(), &extents);
        cairo_scaled_font_destroy(font);
        width += extents.x_advance;
    }
    return width;
}

std::string fontFileFor(char32_t c) {
    const Font* font = FontList::instance().covering(c);
    return font ? font->file : std::string();
}

}  // namespace el::figures
