#pragma once
// Which encoding the automatic choice reads a file in when its bytes are not UTF-8: the one
// the uchardet detector names, when iconv knows it, with CP932 as the tool's old default.

#include <string>
#include <string_view>
#include <vector>

namespace el::vec {

// The encoding uchardet names for `bytes`, upper-case, or "" when it names none.
std::string detectorEncoding(std::string_view bytes);

// The encodings to try on bytes that are not UTF-8, the likeliest first, judged from the
// lines that hold bytes beyond ASCII (a megabyte of them at most); every one is an iconv
// name, and the list always ends with CP932. Detector names are mapped to the
// encodings files really use: SHIFT_JIS to its Windows form CP932, ISO-8859-1 to
// WINDOWS-1252 (ISO-8859-1 kept after it for the bytes WINDOWS-1252 leaves undefined).
// The detector can take a short CP932 text for a Western one: when the bytes read cleanly
// as CP932 and then hold a Japanese keyword (分布, 未分布, 不明) or look Japanese throughout
// (kana and kanji, none of them touching a Latin letter), CP932 comes first.
std::vector<std::string> encodingCandidates(std::string_view bytes);

}  // namespace el::vec
