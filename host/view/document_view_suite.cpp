#include "host/view/document_view_suite.h"

#include "host/view/view_canvas.h"

#include <cmath>

// The one view the host shows of its document.
struct _t_AIDocumentViewOpaque {
    int32_t index;
};

namespace {

struct ViewState {
    double zoom;
    AIRealPoint origin;
    int32_t width;
    int32_t height;
    int32_t count;
};

constexpr ViewState kDefaultView = {1.0, {0.0, 0.0}, 800, 600, 1};
ViewState view = kDefaultView;
_t_AIDocumentViewOpaque firstView = {0};

bool IsKnownView(AIDocumentViewHandle handle)
{
    return view.count > 0 && (handle == nullptr || handle == &firstView);
}

ASErr CountViews(int32_t* count)
{
    if (!count)
        return kBadParameterErr;
    *count = view.count > 0 ? 1 : 0;
    return kNoErr;
}

ASErr GetNthView(int32_t n, AIDocumentViewHandle* handle)
{
    if (!handle)
        return kBadParameterErr;
    if (n != 0 || view.count <= 0)
        return kBadParameterErr;
    *handle = &firstView;
    return kNoErr;
}

ASErr GetZoom(AIDocumentViewHandle handle, AIReal* zoom)
{
    if (!zoom || !IsKnownView(handle))
        return kBadParameterErr;
    *zoom = view.zoom;
    return kNoErr;
}

ASErr SetZoom(AIDocumentViewHandle handle, AIReal zoom)
{
    if (!IsKnownView(handle) || !(zoom > 0) || !std::isfinite(zoom))
        return kBadParameterErr;
    view.zoom = zoom;
    return kNoErr;
}

ASErr GetOrigin(AIDocumentViewHandle handle, AIRealPoint* origin)
{
    if (!origin || !IsKnownView(handle))
        return kBadParameterErr;
    *origin = view.origin;
    return kNoErr;
}

ASErr GetBounds(AIDocumentViewHandle handle, AIRealRect* bounds)
{
    if (!bounds || !IsKnownView(handle) || !(view.zoom > 0))
        return kBadParameterErr;
    bounds->left = view.origin.h;
    bounds->top = view.origin.v;
    bounds->right = view.origin.h + view.width / view.zoom;
    bounds->bottom = view.origin.v - view.height / view.zoom;
    return kNoErr;
}

// Pixels grow downward while artwork v grows upward.
ASErr ArtworkToView(AIDocumentViewHandle handle, const AIRealPoint* artwork, AIPoint* pixel)
{
    if (!artwork || !pixel || !IsKnownView(handle))
        return kBadParameterErr;
    const double h = std::floor((artwork->h - view.origin.h) * view.zoom + 0.5);
    const double v = std::floor((view.origin.v - artwork->v) * view.zoom + 0.5);
    if (!(std::fabs(h) < 2147483647.0) || !(std::fabs(v) < 2147483647.0))
        return kBadParameterErr;
    pixel->h = static_cast<int32_t>(h);
    pixel->v = static_cast<int32_t>(v);
    return kNoErr;
}

ASErr ViewToArtwork(AIDocumentViewHandle handle, const AIPoint* pixel, AIRealPoint* artwork)
{
    if (!artwork || !pixel || !IsKnownView(handle) || !(view.zoom > 0))
        return kBadParameterErr;
    artwork->h = view.origin.h + pixel->h / view.zoom;
    artwork->v = view.origin.v - pixel->v / view.zoom;
    return kNoErr;
}

const AIDocumentViewSuite kSuite = {
    CountViews,
    GetNthView,
    GetZoom,
    SetZoom,
    GetOrigin,
    GetBounds,
    ArtworkToView,
    ViewToArtwork,
    host::GetTopWindow,
    host::GetNextWindow,
    host::GetFirstChildWindow,
    host::GetWindowTitle,
    host::GetDocumentViewCanvas,
    host::GetWindowContext,
    host::SetContextPen,
    host::SetContextRasterOp,
    host::MoveContextTo,
    host::LineContextTo,
    host::ReleaseWindowContext,
};

} // namespace

const AIDocumentViewSuite* HostDocumentViewSuite() { return &kSuite; }

void ResetHostView() { view = kDefaultView; }
void SetHostViewZoom(double zoom) { view.zoom = zoom; }
double HostViewZoom() { return view.zoom; }
void SetHostViewOrigin(AIRealPoint origin) { view.origin = origin; }
void SetHostViewSize(int32_t width, int32_t height)
{
    view.width = width;
    view.height = height;
}
void SetHostViewCount(int32_t count) { view.count = count; }
void HostViewSize(int32_t* width, int32_t* height)
{
    *width = view.width;
    *height = view.height;
}
