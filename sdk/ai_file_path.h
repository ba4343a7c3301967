// The host's File Path suite: what a file-path handle of the host names, as the operating
// system's file specification, and the release of the handle.
#pragma once

#include "sdk/ai_document.h"
#include "sdk/ai_types.h"

constexpr int kFileSpecUnits = 300;

// The operating system's file specification: the file's path in UTF-16 code units, "/"
// between folders, NUL-terminated (all zero for a handle that names no file); 600 bytes.
struct AIPlatformFileSpec {
    char16_t path[kFileSpecUnits];
};
static_assert(sizeof(AIPlatformFileSpec) == 600);

struct AIFilePathSuite {
    // The path the handle names into spec; kBadParameterErr for a handle the host did not
    // make or already released, and for a path longer than the record holds (a path cut
    // short would name another file).
    ASErr (*GetPlatformFileSpec)(AIFilePathRef file, AIPlatformFileSpec* spec);
    // Gives the handle back to the host; it names nothing afterwards.
    ASErr (*ReleaseFilePath)(AIFilePathRef file);
};
