#include "zemka/support/regular_file.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#endif

namespace zemka::support {

namespace {

void tell(FileProblem *problem, FileProblem value) {
    if (problem) *problem = value;
}

#ifndef _WIN32
FileProblem problem_of_errno(int error) { return error == ENOENT ? FileProblem::Missing : FileProblem::Other; }

// Checks that fd is a regular file and makes it blocking again (it was
// opened non-blocking so that a FIFO could not stall the open).
bool settle_regular(int fd, FileProblem *problem) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        tell(problem, FileProblem::NotRegular);
        return false;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        tell(problem, FileProblem::Other);
        return false;
    }
    return true;
}
#endif

}  // namespace

bool exists_but_not_regular(const char *path) {
    if (!path || !*path) return false;
#ifdef _WIN32
    struct _stat64 st {};
    return _stat64(path, &st) == 0 && (st.st_mode & _S_IFMT) != _S_IFREG;
#else
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
#endif
}

#ifdef _WIN32

namespace {

// The volume and file index that identify an open file.
bool file_identity(const char *path, BY_HANDLE_FILE_INFORMATION *info) {
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

// Opens path and keeps it only when it is a file on a disk: a folder is
// refused before it is opened, and a device (NUL, COM1, ...) or a pipe,
// which could block a read or a write for good, once the system has said
// what it is.
HANDLE open_disk_file(const char *path, DWORD access, DWORD share, DWORD disposition, FileProblem *problem) {
    tell(problem, FileProblem::None);
    if (!path || !*path) {
        tell(problem, FileProblem::Missing);
        return nullptr;
    }
    if (exists_but_not_regular(path)) {
        tell(problem, FileProblem::NotRegular);
        return nullptr;
    }
    HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            tell(problem, FileProblem::Missing);
        else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            tell(problem, FileProblem::Locked);
        else
            tell(problem, FileProblem::Other);
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(h);
        tell(problem, FileProblem::NotRegular);
        return nullptr;
    }
    return h;
}

// The C stream over an open handle, which it then owns.
std::FILE *stream_of(HANDLE h, int flags, const char *mode, FileProblem *problem) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
    if (fd < 0) {
        CloseHandle(h);
        tell(problem, FileProblem::Other);
        return nullptr;
    }
    std::FILE *file = _fdopen(fd, mode);
    if (!file) {
        _close(fd);
        tell(problem, FileProblem::Other);
    }
    return file;
}

}  // namespace

bool same_file(const char *a, const char *b) {
    if (!a || !b || !*a || !*b) return false;
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return file_identity(a, &x) && file_identity(b, &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool same_path(const char *a, const char *b) {
    if (!a || !b || !*a || !*b) return false;
    const DWORD attributes_a = GetFileAttributesA(a), attributes_b = GetFileAttributesA(b);
    if (attributes_a != INVALID_FILE_ATTRIBUTES && attributes_b != INVALID_FILE_ATTRIBUTES) return same_file(a, b);
    if (attributes_a != INVALID_FILE_ATTRIBUTES || attributes_b != INVALID_FILE_ATTRIBUTES) return false;
    // Neither exists: the full paths, compared as the file system does,
    // without regard to case.
    char full_a[MAX_PATH * 4], full_b[MAX_PATH * 4];
    const DWORD na = GetFullPathNameA(a, sizeof full_a, full_a, nullptr);
    const DWORD nb = GetFullPathNameA(b, sizeof full_b, full_b, nullptr);
    if (na == 0 || nb == 0 || na >= sizeof full_a || nb >= sizeof full_b) return false;
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, full_a, static_cast<int>(na), full_b, static_cast<int>(nb)) ==
           CSTR_EQUAL;
}

std::FILE *open_regular_for_reading(const char *path, FileProblem *problem) {
    HANDLE h = open_disk_file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                              problem);
    // Binary: a text stream would end the file at a stray Ctrl+Z.
    return h ? stream_of(h, _O_RDONLY | _O_BINARY, "rb", problem) : nullptr;
}

std::FILE *open_for_recording(const char *path, FileProblem *problem) {
    // Others may only read while the recording goes on: a second recorder
    // is refused by the sharing check, before anything is emptied.
    HANDLE h = open_disk_file(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, problem);
    if (!h) return nullptr;
    if (!SetEndOfFile(h)) {
        CloseHandle(h);
        tell(problem, FileProblem::Other);
        return nullptr;
    }
    return stream_of(h, _O_WRONLY | _O_BINARY, "wb", problem);
}

bool truncate_stream(std::FILE *file, long size) {
    if (!file || size < 0 || std::fflush(file) != 0) return false;
    if (_chsize_s(_fileno(file), size) != 0) return false;
    return std::fseek(file, size, SEEK_SET) == 0;
}

#else

bool same_file(const char *a, const char *b) {
    if (!a || !b || !*a || !*b) return false;
    struct stat x {};
    struct stat y {};
    return stat(a, &x) == 0 && stat(b, &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

bool same_path(const char *a, const char *b) {
    if (!a || !b || !*a || !*b) return false;
    std::error_code ea, eb;
    const bool a_exists = std::filesystem::exists(a, ea), b_exists = std::filesystem::exists(b, eb);
    if (a_exists && b_exists) return same_file(a, b);
    if (a_exists || b_exists || ea || eb) return false;
    // Neither exists yet: the same folder (through its links) and name.
    const std::filesystem::path x = std::filesystem::weakly_canonical(a, ea);
    const std::filesystem::path y = std::filesystem::weakly_canonical(b, eb);
    return !ea && !eb && x == y;
}

std::FILE *open_regular_for_reading(const char *path, FileProblem *problem) {
    tell(problem, FileProblem::None);
    if (!path || !*path) {
        tell(problem, FileProblem::Missing);
        return nullptr;
    }
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        tell(problem, problem_of_errno(errno));
        return nullptr;
    }
    if (!settle_regular(fd, problem)) {
        close(fd);
        return nullptr;
    }
    std::FILE *file = fdopen(fd, "r");
    if (!file) {
        close(fd);
        tell(problem, FileProblem::Other);
    }
    return file;
}

std::FILE *open_for_recording(const char *path, FileProblem *problem) {
    tell(problem, FileProblem::None);
    if (!path || !*path) {
        tell(problem, FileProblem::Other);
        return nullptr;
    }
    // A FIFO without a reader would fail the open with ENXIO: say what it is.
    if (exists_but_not_regular(path)) {
        tell(problem, FileProblem::NotRegular);
        return nullptr;
    }
    const int fd = open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        tell(problem, FileProblem::Other);
        return nullptr;
    }
    bool ok = settle_regular(fd, problem);
#if !defined(__wasm__)  // a page's folder has one program in it
    if (ok && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        tell(problem, errno == EWOULDBLOCK ? FileProblem::Locked : FileProblem::Other);
        ok = false;
    }
#endif
    if (ok && ftruncate(fd, 0) != 0) {
        tell(problem, FileProblem::Other);
        ok = false;
    }
    std::FILE *file = ok ? fdopen(fd, "w") : nullptr;
    if (!file) {
        if (ok) tell(problem, FileProblem::Other);
        close(fd);  // releases the lock too
    }
    return file;
}

bool truncate_stream(std::FILE *file, long size) {
    if (!file || size < 0) return false;
    std::fflush(file);  // what is still buffered is dropped by the cut
    std::clearerr(file);
    if (ftruncate(fileno(file), size) != 0) return false;
    return std::fseek(file, size, SEEK_SET) == 0;
}

#endif

}  // namespace zemka::support
