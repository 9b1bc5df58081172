#pragma once
// Conversion of text between UTF-8 and another encoding, named as iconv names it (CP932,
// WINDOWS-1252, ISO-8859-1, EUC-JP ...). On POSIX systems it is iconv
// (text_convert_iconv.cpp); on Windows, where iconv is not part of the system, the Win32
// code-page conversions (text_convert_win32.cpp), which know the single- and double-byte
// code pages by their iconv names and numbers (CP932, SHIFT_JIS, WINDOWS-1252, CP1252,
// ISO-8859-1 to -15, EUC-JP, GBK, BIG5, EUC-KR, KOI8-R ...) but not UTF-16 or stateful
// encodings.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace el {

class TextConverter {
public:
    enum class Direction { ToUtf8, FromUtf8 };

    // A converter between UTF-8 and `encoding`; usable() is false when the system cannot
    // convert that way.
    TextConverter(const std::string& encoding, Direction direction);
    ~TextConverter();
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;

    bool usable() const;

    // Converts all of `in` and appends the result to `out`. With `finish`, the converter is
    // then brought back to its initial state, writing what that takes; without, it keeps
    // its state for the next call (an encoder that writes a byte order mark writes it once).
    // On failure `out` is unchanged, `failedAt` is the offset of the first byte that could
    // not be converted, and the converter is back in its initial state.
    bool convert(std::string_view in, bool finish, std::string& out, std::size_t& failedAt);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// True when the system converts between UTF-8 and `encoding` both ways.
bool textEncodingAvailable(const std::string& encoding);

}  // namespace el
