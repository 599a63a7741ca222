// UTF-8 (with the Latin-1 fallback) to UTF-16 and back.
#include "zemka/support/utf8.h"
#include "zemka/platform/win32/win32_api.h"

namespace zemka::platform::win32 {

std::wstring widen(const char *text, std::size_t count, std::size_t max_units) {
    std::wstring out;
    if (!text) return out;
    const std::u32string chars = support::decode_text(text, count, max_units);
    out.reserve(chars.size());
    for (char32_t c : chars) {
        if (out.size() >= max_units) break;
        if (c < 0x10000) {
            out.push_back(static_cast<wchar_t>(c));
        } else {
            if (max_units - out.size() < 2) break;  // never half a pair
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<wchar_t>(0xd800 + (v >> 10)));
            out.push_back(static_cast<wchar_t>(0xdc00 + (v & 0x3ff)));
        }
    }
    return out;
}

std::string narrow(const wchar_t *text, std::size_t count) {
    std::u32string chars;
    if (!text) return {};
    chars.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t u = static_cast<char16_t>(text[i]);
        if (u >= 0xd800 && u <= 0xdbff && i + 1 < count) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xdc00 && low <= 0xdfff) {
                chars.push_back(0x10000 + ((u - 0xd800) << 10) + (low - 0xdc00));
                ++i;
                continue;
            }
        }
        chars.push_back(u >= 0xd800 && u <= 0xdfff ? U'\xfffd' : u);
    }
    return support::encode_utf8(chars);
}

}  // namespace zemka::platform::win32
