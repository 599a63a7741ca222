#include "zemka/support/dialog_template.h"

namespace zemka::support {

namespace {

constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr std::uint16_t EXTENDED_SIGNATURE = 0xffff;

// A bounds-checked reader: past the end every read gives 0 and ok() turns
// false.
class TemplateReader {
public:
    TemplateReader(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    std::uint16_t word() {
        if (pos_ + 2 > size_) return fail();
        const auto v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t dword() {
        const std::uint32_t lo = word();
        return lo | static_cast<std::uint32_t>(word()) << 16;
    }
    int short_value() { return static_cast<std::int16_t>(word()); }
    // A text field: 16-bit units up to a 0 unit.
    std::u16string text() {
        std::u16string s;
        for (std::uint16_t u = word(); ok_ && u != 0; u = word()) s.push_back(static_cast<char16_t>(u));
        return s;
    }
    // A class, menu or title field: 0, 0xFFFF and an ordinal, or a text.
    std::uint16_t ordinal_or_text(std::u16string *name) {
        const std::uint16_t first = word();
        if (first == 0xffff) return word();
        if (first == 0) return 0;
        pos_ -= 2;
        std::u16string s = text();
        if (name) *name = std::move(s);
        return 0;
    }
    void align4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
    void skip(std::size_t n) {
        if (pos_ + n > size_)
            fail();
        else
            pos_ += n;
    }

private:
    std::uint16_t fail() {
        ok_ = false;
        pos_ = size_;
        return 0;
    }
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

bool read_dialog_template(const std::uint8_t *data, std::size_t size, DialogTemplate *out) {
    if (!data || !out) return false;
    TemplateReader r(data, size);
    DialogTemplate t;
    t.style = r.dword();
    if ((t.style >> 16) == EXTENDED_SIGNATURE) return false;
    r.dword();  // extended style
    const int count = r.word();
    t.x = r.short_value();
    t.y = r.short_value();
    t.cx = r.short_value();
    t.cy = r.short_value();
    r.ordinal_or_text(nullptr);  // menu
    r.ordinal_or_text(nullptr);  // class
    t.caption = r.text();
    if (t.style & DS_SETFONT) {
        r.word();  // point size
        r.text();  // typeface
    }
    for (int i = 0; i < count && r.ok(); ++i) {
        r.align4();
        DialogItemTemplate item;
        item.style = r.dword();
        r.dword();  // extended style
        item.x = r.short_value();
        item.y = r.short_value();
        item.cx = r.short_value();
        item.cy = r.short_value();
        item.id = r.word();
        item.class_atom = r.ordinal_or_text(nullptr);
        r.ordinal_or_text(&item.text);
        r.skip(r.word());  // creation data
        t.items.push_back(std::move(item));
    }
    if (!r.ok()) return false;
    *out = std::move(t);
    return true;
}

}  // namespace zemka::support
