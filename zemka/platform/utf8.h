// Decoding of the library's texts: UTF-8, or byte by byte as Latin-1 when
// the bytes are not valid UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace zemka::platform {

bool valid_utf8(const char *text, std::size_t count);
std::u32string decode_text(const char *text, std::size_t count);
// The longest prefix of text that has at most max_bytes bytes and does not
// end inside a UTF-8 sequence.
std::size_t utf8_prefix_length(const char *text, std::size_t count, std::size_t max_bytes);
std::string encode_utf8(const std::u32string &text);

}  // namespace zemka::platform
