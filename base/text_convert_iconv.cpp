#ifndef _WIN32
#include <iconv.h>

#include <cerrno>

#include "base/text_convert.hpp"

namespace el {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

struct TextConverter::State {
    iconv_t cd = kNoConverter;
};

TextConverter::TextConverter(const std::string& encoding, Direction direction) : state_(std::make_unique<State>()) {
    state_->cd = direction == Direction::ToUtf8 ? ::iconv_open("UTF-8", encoding.c_str())
                                                : ::iconv_open(encoding.c_str(), "UTF-8");
}

TextConverter::~TextConverter() {
    if (state_->cd != kNoConverter) ::iconv_close(state_->cd);
}

bool TextConverter::usable() const { return state_->cd != kNoConverter; }

bool TextConverter::convert(std::string_view in, bool finish, std::string& out, std::size_t& failedAt) {
    const iconv_t cd = state_->cd;
    if (cd == kNoConverter) {
        failedAt = 0;
        return false;
    }
    std::string buffer(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    while (inLeft > 0 || finish) {
        char* outPtr = buffer.data() + used;
        std::size_t outLeft = buffer.size() - used;
        const bool flushing = inLeft == 0;
        const std::size_t rc = flushing ? ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                        : ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<std::size_t>(outPtr - buffer.data());
        if (rc != static_cast<std::size_t>(-1)) {
            if (flushing) break;
            continue;
        }
        if (error == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (flushing) break;  // every byte is converted; nothing was left to write
        failedAt = in.size() - inLeft;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return false;
    }
    out.append(buffer.data(), used);
    return true;
}

bool textEncodingAvailable(const std::string& encoding) {
    return TextConverter(encoding, TextConverter::Direction::ToUtf8).usable() &&
           TextConverter(encoding, TextConverter::Direction::FromUtf8).usable();
}

}  // namespace el
#endif
