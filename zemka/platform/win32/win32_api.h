// The Win32 headers as the back end includes them: after the contract's
// headers (whose names like WM_PAINT or OPAQUE the system headers define as
// macros of the same values), without min/max macros and the rarely used
// parts.
#pragma once

#include "zemka/platform/dialog.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/text_engine.h"
#include "zemka/platform/windowing.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <string>

namespace zemka::platform::win32 {

// The library's texts for the system: decoded as decode_text does (UTF-8,
// or byte by byte as Latin-1) and written as UTF-16; at most max_units
// UTF-16 units, of which only the needed part of text is decoded.
std::wstring widen(const char *text, std::size_t count, std::size_t max_units = SIZE_MAX);
inline std::wstring widen(const char *text) {
    return text ? widen(text, std::char_traits<char>::length(text)) : std::wstring();
}
// The system's UTF-16 texts as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string narrow(const wchar_t *text, std::size_t count);

// The native window behind a library window, and back (null for a window
// that is not the library's or no longer exists).
HWND hwnd_of(const Window *window);
Window *window_of(HWND hwnd);

}  // namespace zemka::platform::win32
