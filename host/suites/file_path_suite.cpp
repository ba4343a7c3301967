#include "host/suites/file_path_suite.h"

#include "host/suites/art_suites.h"
#include "platform/code_pages.h"

#include <cstring>
#include <string>

namespace host {
namespace {

ASErr GetPlatformFileSpec(AIFilePathRef file, AIPlatformFileSpec* spec)
{
    std::string path;
    if (spec == nullptr || !HostFilePathText(file, path)) return kBadParameterErr;
    std::memset(spec, 0, sizeof *spec);
    if (path.empty()) return kNoErr;
    // the whole path with its NUL, or nothing: a path cut short would name another file
    int units = MultiByteToWide(kCodePageUtf8, path.c_str(), -1, spec->path, kFileSpecUnits);
    if (units <= 0) {
        std::memset(spec, 0, sizeof *spec);
        return kBadParameterErr;
    }
    return kNoErr;
}

ASErr ReleaseFilePath(AIFilePathRef file) { return ReleaseHostFilePath(file) ? kNoErr : kBadParameterErr; }

const AIFilePathSuite kSuite = {GetPlatformFileSpec, ReleaseFilePath};

}  // namespace

const AIFilePathSuite* HostFilePathSuite() { return &kSuite; }

}  // namespace host
