// The host's Document suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"
#include "host/session/host_session.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

// A file-path handle: the path it names.
struct _t_AIFilePathOpaque {
    std::string path;
};

namespace host {
namespace {

struct DocumentState {
    AIRealPoint rulerOrigin{0, 0};
    int redraws = 0;
};

DocumentState state;
std::vector<std::unique_ptr<_t_AIFilePathOpaque>> filePaths;

ASErr GetDocumentFileSpecification(AIFilePathRef* file)
{
    if (file) *file = nullptr;
    Document* doc = HostDocument();
    if (!doc || !file) return kBadParameterErr;
    // a document never saved has no file
    if (doc->fileName.empty()) return kNoErr;
    filePaths.push_back(std::make_unique<_t_AIFilePathOpaque>(_t_AIFilePathOpaque{doc->fileName}));
    *file = filePaths.back().get();
    return kNoErr;
}

ASErr GetDocumentFileName(char* buffer, ASInt32 room)
{
    Document* doc = HostDocument();
    if (!doc || !buffer || room < 1) return kBadParameterErr;
    // a path cut short would name another file
    if (doc->fileName.size() >= static_cast<size_t>(room)) return kBadParameterErr;
    doc->fileName.copy(buffer, doc->fileName.size());
    buffer[doc->fileName.size()] = '\0';
    return kNoErr;
}

ASErr GetDocumentRulerOrigin(AIRealPoint* origin)
{
    if (!HostDocument() || !origin) return kBadParameterErr;
    *origin = state.rulerOrigin;
    return kNoErr;
}

ASErr SetDocumentRulerOrigin(const AIRealPoint* origin)
{
    if (!HostDocument() || !origin || !std::isfinite(origin->h) || !std::isfinite(origin->v))
        return kBadParameterErr;
    state.rulerOrigin = *origin;
    return kNoErr;
}

ASErr GetDocumentPageSize(AIRealPoint* size)
{
    Document* doc = HostDocument();
    if (!doc || !size) return kBadParameterErr;
    *size = AIRealPoint{doc->width, doc->height};
    return kNoErr;
}

ASErr GetDocumentCanvasBounds(AIRealRect* bounds)
{
    Document* doc = HostDocument();
    if (!doc || !bounds) return kBadParameterErr;
    *bounds = AIRealRect{0, doc->height, doc->width, 0};
    return kNoErr;
}

ASErr GetDocumentModified(ASBoolean* modified)
{
    Document* doc = HostDocument();
    if (!doc || !modified) return kBadParameterErr;
    *modified = doc->fChanged;
    return kNoErr;
}

ASErr SetDocumentModified(ASBoolean modified)
{
    Document* doc = HostDocument();
    if (!doc) return kBadParameterErr;
    doc->fChanged = modified != 0;
    return kNoErr;
}

ASErr RedrawDocument()
{
    if (!HostDocument()) return kBadParameterErr;
    ++state.redraws;
    return kNoErr;
}

AIDocumentSuite MakeSuite()
{
    AIDocumentSuite suite{};
    suite.GetDocumentFileSpecification = GetDocumentFileSpecification;
    suite.GetDocumentFileName = GetDocumentFileName;
    suite.GetDocumentRulerOrigin = GetDocumentRulerOrigin;
    suite.SetDocumentRulerOrigin = SetDocumentRulerOrigin;
    suite.GetDocumentPageSize = GetDocumentPageSize;
    suite.GetDocumentCanvasBounds = GetDocumentCanvasBounds;
    suite.GetDocumentModified = GetDocumentModified;
    suite.SetDocumentModified = SetDocumentModified;
    for (auto& unused : suite.Unused) unused = UnusedSelector;
    suite.RedrawDocument = RedrawDocument;
    return suite;
}

const AIDocumentSuite kSuite = MakeSuite();

}  // namespace

const AIDocumentSuite* HostDocumentSuite() { return &kSuite; }

void SetHostRulerOrigin(AIRealPoint origin) { state.rulerOrigin = origin; }

void ResetHostDocumentState() { state = DocumentState{}; }

int HostRedrawCount() { return state.redraws; }

bool HostFilePathText(AIFilePathRef file, std::string& path)
{
    for (const auto& held : filePaths)
        if (held.get() == file) {
            path = held->path;
            return true;
        }
    return false;
}

bool ReleaseHostFilePath(AIFilePathRef file)
{
    auto found = std::find_if(filePaths.begin(), filePaths.end(), [file](const auto& held) { return held.get() == file; });
    if (found == filePaths.end()) return false;
    filePaths.erase(found);
    return true;
}

int HostFilePathsHeld() { return static_cast<int>(filePaths.size()); }

}  // namespace host
