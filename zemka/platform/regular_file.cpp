#include "zemka/platform/regular_file.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <share.h>
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

namespace zemka::platform {

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

#ifdef _WIN32
// Without the standard library's path type, whose conversions would bring
// the whole locale machinery into the DLL.
bool exists(const char *path) {
    struct _stat64 st {};
    return path && *path && _stat64(path, &st) == 0;
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

}  // namespace

bool same_file(const char *a, const char *b) {
    if (!a || !b || !*a || !*b) return false;
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return file_identity(a, &x) && file_identity(b, &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

std::FILE *open_regular_for_reading(const char *path, FileProblem *problem) {
    tell(problem, FileProblem::None);
    if (exists_but_not_regular(path)) {
        tell(problem, FileProblem::NotRegular);
        return nullptr;
    }
    // Binary: a text stream would end the file at a stray Ctrl+Z.
    std::FILE *file = std::fopen(path, "rb");
    if (!file) tell(problem, errno == ENOENT ? FileProblem::Missing : FileProblem::Other);
    return file;
}

std::FILE *open_for_recording(const char *path, FileProblem *problem) {
    tell(problem, FileProblem::None);
    if (exists_but_not_regular(path)) {
        tell(problem, FileProblem::NotRegular);
        return nullptr;
    }
    // The sharing check comes before the file is emptied.
    std::FILE *file = _fsopen(path, "wb", _SH_DENYWR);
    if (!file) {
        const int error = errno;
        tell(problem, exists(path) && error == EACCES ? FileProblem::Locked : FileProblem::Other);
    }
    return file;
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
    if (ok && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        tell(problem, errno == EWOULDBLOCK ? FileProblem::Locked : FileProblem::Other);
        ok = false;
    }
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

}  // namespace zemka::platform
