#include "zemka/support/image_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "zemka/raster/png_encoder.h"
#include "zemka/support/regular_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace zemka::platform {

namespace {

void say(std::string *error, const std::string &why) {
    if (error) *error = why;
}

// Paths are handled as plain strings (on Windows the standard library's
// path type would bring its whole locale machinery into the DLL).
#ifdef _WIN32
// "C:shot.png" is shot.png in drive C's current folder: the colon ends
// the folder part too (elsewhere in a name it would make a data stream).
constexpr const char *SEPARATORS = "/\\:";
#else
constexpr const char *SEPARATORS = "/";
#endif

// A name beside path that no other file has: ".NAME.tmp-<stamp>-<n>".
std::string temporary_beside(const std::string &path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::size_t cut = path.find_last_of(SEPARATORS);
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string file = cut == std::string::npos ? path : path.substr(cut + 1);
    return folder + "." + file + ".tmp-" + std::to_string(stamp) + "-" + std::to_string(counter++);
}

// Creates a new file that did not exist (never an existing one).
std::FILE *create_new(const std::string &path) {
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE *file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Puts the finished file in place of whatever path named; says why not.
bool replace_file(const std::string &from, const char *to, std::string *error) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING)) return true;
    say(error, "it cannot be replaced (system error " + std::to_string(GetLastError()) + ")");
    return false;
#else
    if (std::rename(from.c_str(), to) == 0) return true;
    say(error, std::strerror(errno));
    return false;
#endif
}

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
    const std::string probe = temporary_beside(path);
    std::FILE *file = create_new(probe);
    if (!file) {
        say(error, std::strerror(errno));
        return false;
    }
    std::fclose(file);
    std::remove(probe.c_str());
    return true;
}

bool WholeFileWriter::open(const char *path, std::string *error) {
    abandon();
    if (!path || !*path || exists_but_not_regular(path)) {
        say(error, "it is not a regular file");
        return false;
    }
    path_ = path;
    temporary_ = temporary_beside(path_);
    file_ = create_new(temporary_);
    if (!file_) {
        say(error, std::strerror(errno));
        return false;
    }
    size_ = 0;
    write_errno_ = 0;
    failed_ = false;
    return true;
}

bool WholeFileWriter::write(const std::uint8_t *data, std::size_t size) {
    if (!file_ || failed_) return false;
    if (size == 0) return true;
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        write_errno_ = errno ? errno : EIO;
        return false;
    }
    size_ += size;
    return true;
}

bool WholeFileWriter::commit(std::string *error) {
    if (!file_) {
        say(error, "it was not opened");
        return false;
    }
    errno = 0;
    const bool flushed = !failed_ && std::fflush(file_) == 0;
    if (!failed_ && !flushed) write_errno_ = errno ? errno : EIO;
    const bool closed = std::fclose(file_) == 0;
    if (flushed && !closed) write_errno_ = errno ? errno : EIO;
    file_ = nullptr;
    if (!flushed || !closed) {
        say(error, std::strerror(write_errno_));
        std::remove(temporary_.c_str());
        return false;
    }
    if (!replace_file(temporary_, path_.c_str(), error)) {
        std::remove(temporary_.c_str());
        return false;
    }
    return true;
}

void WholeFileWriter::abandon() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporary_.c_str());
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

    const std::string temporary = temporary_beside(path);
    std::FILE *file = create_new(temporary);
    if (!file) {
        say(error, std::strerror(errno));
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size() && std::fflush(file) == 0;
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        say(error, std::strerror(write_errno ? write_errno : errno ? errno : EIO));
        std::remove(temporary.c_str());
        return false;
    }
    if (!replace_file(temporary, path, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace zemka::platform
