#include "zemka/platform/image_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "zemka/platform/png_encoder.h"
#include "zemka/platform/regular_file.h"

namespace zemka::platform {

namespace {

namespace fs = std::filesystem;

void say(std::string *error, const std::string &why) {
    if (error) *error = why;
}

// A name beside path that no other file has: ".NAME.tmp-<stamp>-<n>".
fs::path temporary_beside(const fs::path &path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string name =
        "." + path.filename().string() + ".tmp-" + std::to_string(stamp) + "-" + std::to_string(counter++);
    return path.parent_path() / name;
}

// Creates a new file that did not exist ("x": never an existing one).
std::FILE *create_new(const fs::path &path) { return std::fopen(path.string().c_str(), "wbx"); }

}  // namespace

bool can_write_file(const char *path, std::string *error) {
    if (!path || !*path) {
        say(error, "no file name");
        return false;
    }
    if (exists_but_not_regular(path)) {
        say(error, "it is not a regular file");
        return false;
    }
    const fs::path probe = temporary_beside(path);
    std::FILE *file = create_new(probe);
    if (!file) {
        say(error, std::strerror(errno));
        return false;
    }
    std::fclose(file);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

bool save_png(const Dc *dc, int width, int height, const char *path, std::string *error) {
    const raster::Pixmap pm = dc_pixmap(dc);
    if (!pm.pixels) {
        say(error, "there is no picture");
        return false;
    }
    if (!path || !*path || exists_but_not_regular(path)) {
        say(error, "it is not a regular file");
        return false;
    }
    width = std::clamp(width, 0, pm.width);
    height = std::clamp(height, 0, pm.height);
    const std::vector<std::uint8_t> png = encode_png(pm.pixels, width, height, pm.stride);
    if (png.empty()) {
        say(error, "the picture is empty");
        return false;
    }

    const fs::path temporary = temporary_beside(path);
    std::FILE *file = create_new(temporary);
    if (!file) {
        say(error, std::strerror(errno));
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size() && std::fflush(file) == 0;
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        say(error, std::strerror(write_errno ? write_errno : errno ? errno : EIO));
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        say(error, ec.message());
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace zemka::platform
