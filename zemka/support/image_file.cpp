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
#else
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zemka::support {

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

// The folder part of path (with its separator; empty for the current
// folder) and the file's name.
void split_path(const std::string &path, std::string *folder, std::string *file) {
    const std::size_t cut = path.find_last_of(SEPARATORS);
    *folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    *file = cut == std::string::npos ? path : path.substr(cut + 1);
}

long own_process_id() {
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

constexpr const char *TEMPORARY_MARK = ".tmp-";

// A name beside path that no other file has: ".NAME.tmp-<pid>-<stamp>-<n>".
// The writer's process id tells a later run whether the writer still runs.
std::string temporary_beside(const std::string &path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string folder, file;
    split_path(path, &folder, &file);
    return folder + "." + file + TEMPORARY_MARK + std::to_string(own_process_id()) + "-" + std::to_string(stamp) + "-" +
           std::to_string(counter++);
}

bool all_digits(const std::string &s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The file name a temporary is for and its writer's process id; false for
// any other name (a temporary of an older version has no process id).
bool parse_temporary(const std::string &name, std::string *target, long *pid) {
    const std::size_t mark = name.rfind(TEMPORARY_MARK);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return false;
    const std::string rest = name.substr(mark + std::strlen(TEMPORARY_MARK));
    const std::size_t first = rest.find('-');
    const std::size_t second = first == std::string::npos ? first : rest.find('-', first + 1);
    if (second == std::string::npos) return false;
    const std::string id = rest.substr(0, first);
    if (!all_digits(id) || id.size() > 9 || !all_digits(rest.substr(first + 1, second - first - 1)) ||
        !all_digits(rest.substr(second + 1)))
        return false;
    *pid = std::stol(id);
    *target = name.substr(1, mark - 1);
    return *pid > 0;
}

// Whether the process runs (or may: one that is not ours to signal).
bool process_alive(long pid) {
    if (pid == own_process_id()) return true;
#if defined(__wasm__)
    return true;  // a page's files are all its own run's
#elif defined(_WIN32)
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(h, &code) || code == STILL_ACTIVE;
    CloseHandle(h);
    return running;
#else
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
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

bool same_name(const std::string &name, const std::string &own_name) { return name == own_name; }

void sweep_dead_temporaries(const char *path, bool (*is_target)(const std::string &, const std::string &)) {
    if (!path || !*path || !is_target) return;
    std::string folder, own_name;
    split_path(path, &folder, &own_name);
    const auto dead_temporary = [&](const std::string &name) {
        std::string target;
        long pid = 0;
        return parse_temporary(name, &target, &pid) && is_target(target, own_name) && !process_alive(pid);
    };
#ifdef _WIN32
    WIN32_FIND_DATAA entry{};
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && dead_temporary(entry.cFileName))
            DeleteFileA((folder + entry.cFileName).c_str());
    } while (FindNextFileA(h, &entry));
    FindClose(h);
#else
    DIR *dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!dead_temporary(name)) continue;
        // Only a file of ours: in a shared folder another user's stays.
        const std::string full = folder + name;
        struct stat st {};
        if (lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
#if !defined(__wasm__)  // a page's folder is its own run's alone
        if (st.st_uid != geteuid()) continue;
#endif
        unlink(full.c_str());
    }
    closedir(dir);
#endif
}

const char *unfit_to_replace(const char *path, ImageKind kind) {
    FileProblem problem = FileProblem::None;
    std::FILE *file = open_regular_for_reading(path, &problem);
    if (!file) {
        if (problem == FileProblem::Missing) return nullptr;
        return problem == FileProblem::NotRegular ? "something that is not a regular file"
                                                  : "a file that cannot be read";
    }
    unsigned char head[8] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return "a file that cannot be read";
    if (n == 0) return nullptr;
    if (kind == ImageKind::Png) {
        static const unsigned char PNG[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        return n == sizeof PNG && std::memcmp(head, PNG, sizeof PNG) == 0 ? nullptr : "a file that is not a PNG picture";
    }
    const bool gif = n >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0);
    return gif ? nullptr : "a file that is not a GIF animation";
}

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

bool save_png(const gdi::Dc *dc, int width, int height, const char *path, std::string *error) {
    const raster::Pixmap pm = gdi::dc_pixmap(dc);
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
    const std::vector<std::uint8_t> png = raster::encode_png(pm.pixels, width, height, pm.stride);
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

}  // namespace zemka::support
