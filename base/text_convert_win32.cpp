#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cctype>
#include <optional>
#include <utility>

#include "base/text_convert.hpp"
#include "base/utf8.hpp"

namespace el {
namespace {

// An encoding name as iconv spells it, upper-case and without '-' and '_'.
std::string plainName(const std::string& name) {
    std::string plain;
    for (const char c : name)
        if (c != '-' && c != '_') plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return plain;
}

// The digits after `prefix`, when that is all there is.
std::optional<UINT> numberAfter(const std::string& plain, const std::string& prefix) {
    if (!plain.starts_with(prefix) || plain.size() == prefix.size() || plain.size() > prefix.size() + 5)
        return std::nullopt;
    UINT number = 0;
    for (std::size_t k = prefix.size(); k < plain.size(); ++k) {
        if (plain[k] < '0' || plain[k] > '9') return std::nullopt;
        number = number * 10 + static_cast<UINT>(plain[k] - '0');
    }
    return number;
}

// The Windows code page of an iconv encoding name; nothing for those it has none of or that
// its conversions cannot check (UTF-16, UTF-7, the stateful ISO-2022 forms).
std::optional<UINT> codePageOf(const std::string& name) {
    static const std::pair<const char*, UINT> kNamed[] = {
        {"UTF8", CP_UTF8},  {"SHIFTJIS", 932}, {"SJIS", 932},        {"MSKANJI", 932}, {"WINDOWS31J", 932},
        {"EUCJP", 20932},   {"GBK", 936},      {"GB2312", 936},      {"EUCCN", 936},   {"BIG5", 950},
        {"EUCKR", 949},     {"UHC", 949},      {"KOI8R", 20866},     {"KOI8U", 21866}, {"ASCII", 20127},
        {"USASCII", 20127}, {"LATIN1", 28591}, {"MACINTOSH", 10000}, {"TIS620", 874},
    };
    const std::string plain = plainName(name);
    for (const auto& [known, page] : kNamed)
        if (plain == known) return page;
    std::optional<UINT> page = numberAfter(plain, "CP");
    if (!page) page = numberAfter(plain, "WINDOWS");
    if (!page) page = numberAfter(plain, "IBM");
    if (!page) {
        if (const auto part = numberAfter(plain, "ISO8859"); part && *part >= 1 && *part <= 16) page = 28590 + *part;
    }
    if (!page || *page == 1200 || *page == 1201 || *page == 65000 || (*page >= 50220 && *page <= 50229))
        return std::nullopt;
    if (!::IsValidCodePage(*page)) return std::nullopt;
    return page;
}

// `bytes` in code page `page` as UTF-16; nothing when they are not text in it.
std::optional<std::wstring> wideOf(UINT page, std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    const int inLength = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), inLength, wide.data(), length);
    return wide;
}

// UTF-16 text in code page `page`; nothing when a character has no form there (no
// best-fit stand-ins).
std::optional<std::string> narrowOf(UINT page, const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const bool checked = page != CP_UTF8 && page != 54936;  // these hold every character
    const DWORD flags = checked ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* used = checked ? &usedDefault : nullptr;
    const int inLength = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(page, flags, wide.data(), inLength, nullptr, 0, nullptr, used);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(page, flags, wide.data(), inLength, narrow.data(), length, nullptr, used);
    if (usedDefault) return std::nullopt;
    return narrow;
}

std::optional<std::string> convertWhole(UINT from, UINT to, std::string_view in) {
    const auto wide = wideOf(from, in);
    if (!wide) return std::nullopt;
    return narrowOf(to, *wide);
}

// The offset of the first character of `in` that does not convert: the text is walked one
// character at a time (the longest a code page's character can be, tried from the
// shortest; a UTF-8 character by its lead byte).
std::size_t firstFailure(UINT from, UINT to, std::string_view in) {
    CPINFO info{};
    const std::size_t longest = from == CP_UTF8 || !::GetCPInfo(from, &info) ? 4 : std::max<UINT>(info.MaxCharSize, 1);
    std::size_t at = 0;
    while (at < in.size()) {
        std::size_t length = 0;
        if (from == CP_UTF8) {
            length = utf8SequenceLength(in.substr(at));
            if (length == 0 || !convertWhole(from, to, in.substr(at, length))) return at;
        } else {
            for (std::size_t n = 1; n <= longest && at + n <= in.size() && length == 0; ++n)
                if (convertWhole(from, to, in.substr(at, n))) length = n;
            if (length == 0) return at;
        }
        at += length;
    }
    return in.size();
}

}  // namespace

struct TextConverter::State {
    std::optional<UINT> from;
    std::optional<UINT> to;
};

TextConverter::TextConverter(const std::string& encoding, Direction direction) : state_(std::make_unique<State>()) {
    const std::optional<UINT> page = codePageOf(encoding);
    if (!page) return;
    state_->from = direction == Direction::ToUtf8 ? *page : CP_UTF8;
    state_->to = direction == Direction::ToUtf8 ? CP_UTF8 : *page;
}

TextConverter::~TextConverter() = default;

bool TextConverter::usable() const { return state_->from.has_value(); }

// The code pages are stateless: `finish` has nothing to write.
bool TextConverter::convert(std::string_view in, bool /*finish*/, std::string& out, std::size_t& failedAt) {
    if (!usable()) {
        failedAt = 0;
        return false;
    }
    const auto converted = convertWhole(*state_->from, *state_->to, in);
    if (!converted) {
        failedAt = firstFailure(*state_->from, *state_->to, in);
        return false;
    }
    out += *converted;
    return true;
}

bool textEncodingAvailable(const std::string& encoding) { return codePageOf(encoding).has_value(); }

}  // namespace el
#endif
