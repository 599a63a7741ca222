// Opening the files a user names (scripts, pictures) without ever
// blocking: a FIFO, a device or a folder is refused before anything is
// read from or written to it, and a file being recorded is locked against
// a second recorder.
#pragma once

#include <cstdio>

namespace zemka::support {

// What ends a line in a text file of this system. Scripts are recorded
// through binary streams with this written out, so that every offset the
// recorder keeps counts the bytes really in the file.
#ifdef _WIN32
inline constexpr char LINE_END[] = "\r\n";
#else
inline constexpr char LINE_END[] = "\n";
#endif

enum class FileProblem {
    None,
    Missing,     // no such file
    NotRegular,  // a folder, a FIFO, a device, ...
    Locked,      // another program records into it
    Other,       // no permission, a symbolic link loop, ...
};

// Opens an existing regular file for reading, as bytes (line ends are
// the reader's business).
std::FILE *open_regular_for_reading(const char *path, FileProblem *problem);
// Opens a regular file for writing bytes, creating it when missing: takes an
// exclusive lock that lasts until the stream is closed, and only then
// empties the file, so a refused second recorder never touches it.
std::FILE *open_for_recording(const char *path, FileProblem *problem);
// Whether path names something that exists and is not a regular file.
bool exists_but_not_regular(const char *path);
// Whether both paths name one existing file (through links, or different
// spellings of the same path).
bool same_file(const char *a, const char *b);
// Whether both paths name one file, also while it does not exist yet:
// existing files by their identity, others by their absolute spelling.
bool same_path(const char *a, const char *b);
// Cuts the stream's file to size bytes and moves to its end.
bool truncate_stream(std::FILE *file, long size);

}  // namespace zemka::support
