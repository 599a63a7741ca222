// What the library tells a back end about its script file: the one file
// "Playback Script" reads. A back end that brings the user's files in from
// outside (the page's picked script) puts a script to play there. The
// library's script module provides it.
#pragma once

namespace zemka::platform {

const char *script_file_path();

}  // namespace zemka::platform
