// The line-input dialog: its template, built in memory for every call.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zemka {

constexpr std::size_t GETS_TEMPLATE_SIZE = 292;
constexpr int GETS_BUTTON_ID = 101;
constexpr int GETS_EDIT_ID = 102;
constexpr int GETS_PROMPT_ID = 103;
constexpr std::size_t GETS_ANSWER_BYTES = 256;

// Writes the dialog template for a prompt: the caption "ZEMKA_gets", the
// text box, the default button "Okay" and the prompt's first 79
// characters padded with blanks.
void build_gets_template(const char *prompt, std::uint8_t (&out)[GETS_TEMPLATE_SIZE]);

}  // namespace zemka
