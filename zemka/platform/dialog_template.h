// Reading an in-memory dialog template (a DLGTEMPLATE followed by its
// DLGITEMTEMPLATE records, little-endian, dialog units): every back end
// that builds the dialog itself, or checks a template before handing it to
// the system, reads it here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zemka::platform {

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

}  // namespace zemka::platform
