#include "zemka/support/utf8.h"

#include <algorithm>

namespace zemka::support {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when there is none.
std::size_t sequence_length(const unsigned char *s, std::size_t i, std::size_t n, char32_t *out) {
    const unsigned char c = s[i];
    std::size_t len;
    char32_t cp;
    if (c < 0x80) {
        *out = c;
        return 1;
    }
    if ((c & 0xe0) == 0xc0) {
        len = 2;
        cp = c & 0x1f;
    } else if ((c & 0xf0) == 0xe0) {
        len = 3;
        cp = c & 0x0f;
    } else if ((c & 0xf8) == 0xf0) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > n) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((s[i + k] & 0xc0) != 0x80) return 0;
        cp = (cp << 6) | (s[i + k] & 0x3f);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10ffff ||
        (cp >= 0xd800 && cp <= 0xdfff))
        return 0;
    *out = cp;
    return len;
}

}  // namespace

bool valid_utf8(const char *text, std::size_t count) {
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    char32_t cp;
    for (std::size_t i = 0; i < count;) {
        const std::size_t len = sequence_length(s, i, count, &cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::u32string decode_text(const char *text, std::size_t count, std::size_t max_chars) {
    std::u32string out;
    if (!text) return out;
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    out.reserve(std::min(count, max_chars));
    char32_t cp = 0;
    for (std::size_t i = 0; i < count && out.size() < max_chars;) {
        const std::size_t len = sequence_length(s, i, count, &cp);
        out.push_back(len ? cp : s[i]);
        i += len ? len : 1;
    }
    return out;
}

std::size_t utf8_prefix_length(const char *text, std::size_t count, std::size_t max_bytes) {
    if (count <= max_bytes) return count;
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    // The cut falls inside a sequence only when the byte after it continues
    // one; the sequence's lead byte is at most three bytes back.
    std::size_t start = max_bytes;
    while (start > 0 && max_bytes - start < 3 && (s[start] & 0xc0) == 0x80) --start;
    char32_t cp;
    const std::size_t len = sequence_length(s, start, count, &cp);
    // A valid sequence across the cut is left out whole; invalid bytes are
    // characters of their own and the cut may fall between them.
    return start < max_bytes && start + len > max_bytes ? start : max_bytes;
}

std::string encode_utf8(const std::u32string &text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xe0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

}  // namespace zemka::support
