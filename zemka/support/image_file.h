// Writing a context's pixels to an image file, whole or not at all: the
// picture goes to a temporary file in the same folder, every write and the
// close are checked, and only then is it renamed into place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "zemka/raster/gdi.h"

namespace zemka::support {

// Writes the top-left width x height pixels of the context as a PNG file.
// On failure returns false, says why in *error (when given) and leaves
// neither a partial file nor the temporary one.
bool save_png(const gdi::Dc *dc, int width, int height, const char *path, std::string *error);
// Whether a file could be written at path, found out without creating it:
// path must not name a folder, FIFO or device, and its folder must take a
// new file. Says why not in *error.
bool can_write_file(const char *path, std::string *error);

// What a picture file holds, told by its first bytes.
enum class ImageKind { Png, Gif };
// Null when a picture of this kind may take the place of what path names:
// nothing, an empty file (it holds nothing to lose) or a picture of the
// same kind. Otherwise what path names, for a line such as "ZEMKA_SNAPSHOT
// names a file that is not a PNG picture (FILE)".
const char *unfit_to_replace(const char *path, ImageKind kind);

// The temporary files beside path that writers which have died left
// behind (their names carry the writer's process id) are removed; those of
// a writer still running stay. Only the temporaries of the file names
// that is_target accepts (path's own name, say) are touched.
void sweep_dead_temporaries(const char *path, bool (*is_target)(const std::string &name, const std::string &own_name));
// The is_target of sweep_dead_temporaries for path's own name only.
bool same_name(const std::string &name, const std::string &own_name);

// A file written in pieces, whole or not at all: the pieces go to a new
// temporary file beside path, and commit puts it in place. A writer let go
// of before its commit removes the temporary file.
class WholeFileWriter {
public:
    WholeFileWriter() = default;
    WholeFileWriter(const WholeFileWriter &) = delete;
    WholeFileWriter &operator=(const WholeFileWriter &) = delete;
    ~WholeFileWriter() { abandon(); }

    bool open(const char *path, std::string *error);
    // False once any write has failed; later writes do nothing.
    bool write(const std::uint8_t *data, std::size_t size);
    bool commit(std::string *error);
    void abandon();
    bool is_open() const { return file_ != nullptr; }
    std::size_t size() const { return size_; }

private:
    std::FILE *file_ = nullptr;
    std::string path_, temporary_;
    std::size_t size_ = 0;
    int write_errno_ = 0;
    bool failed_ = false;
};

}  // namespace zemka::support
