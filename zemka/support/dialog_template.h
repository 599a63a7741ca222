// Reading an in-memory dialog template (a DLGTEMPLATE followed by its
// DLGITEMTEMPLATE records, little-endian, dialog units): every back end
// that builds the dialog itself, or checks a template before handing it to
// the system, reads it here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zemka::support {

// The style bits and predefined class atoms the back ends act on (the
// system's WS_, ES_ and BS_ values, named apart from the system headers'
// macros).
namespace dialog_bits {
constexpr std::uint32_t CAPTION = 0x00C00000;             // WS_CAPTION
constexpr std::uint32_t VERTICAL_SCROLL = 0x00200000;     // WS_VSCROLL
constexpr std::uint32_t HORIZONTAL_SCROLL = 0x00100000;   // WS_HSCROLL
constexpr std::uint32_t MULTI_LINE = 0x0004;              // ES_MULTILINE
constexpr std::uint32_t AUTO_HORIZONTAL_SCROLL = 0x0080;  // ES_AUTOHSCROLL
constexpr std::uint32_t DEFAULT_PUSH_BUTTON = 0x0001;     // BS_DEFPUSHBUTTON
constexpr std::uint16_t BUTTON_CLASS = 0x0080;
constexpr std::uint16_t EDIT_CLASS = 0x0081;
}  // namespace dialog_bits

struct DialogItemTemplate {
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::uint16_t class_atom = 0;  // 0 when the class is given by name
    std::u16string text;           // empty when given as a resource ordinal
};

struct DialogTemplate {
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    std::vector<DialogItemTemplate> items;
};

// Reads the plain (not extended) form. False when the template is
// extended, or any field lies outside size.
bool read_dialog_template(const std::uint8_t *data, std::size_t size, DialogTemplate *out);

}  // namespace zemka::support
