#pragma once
// Texts are UTF-8 everywhere; a limit on what a box holds counts characters, never bytes, so a
// cut never splits one.

#include <cstddef>
#include <string>
#include <string_view>

namespace condpag {

// Number of characters: every byte that does not continue a character starts one.
inline std::size_t utf8_length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

// The first `characters` characters of the text, whole.
inline std::string_view utf8_prefix(std::string_view text, std::size_t characters) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (seen == characters) return text.substr(0, i);
        ++seen;
    }
    return text;
}

// Upper case for the letters of Italian and the other Latin-1 languages (a-z, à-þ); every
// other character is left as it is, whatever the process locale.
inline std::string utf8_upper(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < out.size()) {
            auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) {
                out[i + 1] = static_cast<char>(next - 0x20);
            }
            ++i;
        }
    }
    return out;
}

}  // namespace condpag
