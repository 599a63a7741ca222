// Decoding of the library's texts: each valid UTF-8 sequence is one
// character; each byte that starts no valid sequence is taken alone as
// Latin-1, so a stray byte garbles nothing around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zemka::support {

bool valid_utf8(const char *text, std::size_t count);
// The characters of text, at most max_chars of them.
std::u32string decode_text(const char *text, std::size_t count, std::size_t max_chars = SIZE_MAX);
// The longest prefix of text that has at most max_bytes bytes and does not
// end inside a UTF-8 sequence.
std::size_t utf8_prefix_length(const char *text, std::size_t count, std::size_t max_bytes);
std::string encode_utf8(const std::u32string &text);

}  // namespace zemka::support
