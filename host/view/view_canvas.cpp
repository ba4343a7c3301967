#include "host/view/view_canvas.h"

#include "host/view/document_view_suite.h"
#include "host/session/host_session.h"

#include <QPainter>
#include <QPoint>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <set>
#include <vector>

struct _t_AIWindowOpaque {
    const char* title;                  // null: the document window, titled by its document
    _t_AIWindowOpaque* firstChild;
    _t_AIWindowOpaque* next;
};

struct _t_AIDrawingContextOpaque {
    AIWindowHandle window;
    int32_t penWidth;
    uint32_t penRgb;
    int32_t rasterOp;
    int32_t x;
    int32_t y;
};

namespace host {
namespace {

// The window layout: two panels, then the document window with its rulers and canvas, at
// the top level. The main window holds the workspace, whose one child is the same document
// window, as an application frame holds its document windows.
_t_AIWindowOpaque canvasWindow = {"Canvas", nullptr, nullptr};
_t_AIWindowOpaque verticalRuler = {"Vertical Ruler", nullptr, &canvasWindow};
_t_AIWindowOpaque horizontalRuler = {"Horizontal Ruler", nullptr, &verticalRuler};
_t_AIWindowOpaque documentWindow = {nullptr, &horizontalRuler, nullptr};
_t_AIWindowOpaque layersPanel = {"Layers", nullptr, &documentWindow};
_t_AIWindowOpaque toolsPanel = {"Tools", nullptr, &layersPanel};
_t_AIWindowOpaque workspace = {"Workspace", &documentWindow, nullptr};
_t_AIWindowOpaque mainWindow = {"travex-host", &workspace, nullptr};

const _t_AIWindowOpaque* const kWindows[] = {&toolsPanel,    &layersPanel,  &documentWindow, &horizontalRuler,
                                             &verticalRuler, &canvasWindow, &workspace,      &mainWindow};

QImage canvas;
std::set<AIDrawingContext> contexts;

bool HasDocument() { return HostDocument() != nullptr; }

// A window of the layout that is shown now: the document window and its panes only with a
// document.
bool IsShownWindow(AIWindowHandle window)
{
    for (const _t_AIWindowOpaque* known : kWindows)
        if (known == window)
            return HasDocument() || window == &toolsPanel || window == &layersPanel || window == &workspace ||
                   window == &mainWindow;
    return false;
}

AIWindowHandle Shown(AIWindowHandle window) { return window != nullptr && IsShownWindow(window) ? window : nullptr; }

bool IsContext(AIDrawingContext context) { return context != nullptr && contexts.count(context) != 0; }

// The pixels of a line as the system's line drawing sets them: every pixel from the start
// to the end, the end excluded, so that the lines of a closed figure meet without overlap.
std::vector<QPoint> LinePixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    std::vector<QPoint> pixels;
    int64_t dx = std::llabs(int64_t(x1) - x0);
    int64_t dy = -std::llabs(int64_t(y1) - y0);
    int sx = x0 < x1 ? 1 : -1;
    int sy = y0 < y1 ? 1 : -1;
    int64_t error = dx + dy;
    int64_t x = x0;
    int64_t y = y0;
    const QImage& image = ViewCanvas();
    while (x != x1 || y != y1) {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            pixels.emplace_back(int(x), int(y));
        int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return pixels;
}

}  // namespace

QImage& ViewCanvas()
{
    int32_t width = 0;
    int32_t height = 0;
    HostViewSize(&width, &height);
    if (canvas.isNull() || canvas.width() != width || canvas.height() != height) {
        canvas = QImage(width > 0 ? width : 1, height > 0 ? height : 1, QImage::Format_RGB32);
        canvas.fill(Qt::white);
    }
    return canvas;
}

void ResetViewCanvas()
{
    canvas = QImage();
    ViewCanvas();
}

bool SaveViewCanvasPng(const std::string& path, std::string& error)
{
    if (!ViewCanvas().save(QString::fromStdString(path), "PNG")) {
        error = path + ": the canvas cannot be written";
        return false;
    }
    return true;
}

std::string DocumentWindowTitle()
{
    Document* document = HostDocument();
    if (document == nullptr)
        return "";
    // a document never saved is named as the host names a new one
    std::string name = document->fileName.empty() ? std::string("Untitled-1") : document->fileName;
    size_t slash = name.rfind('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    char zoom[32];
    std::snprintf(zoom, sizeof zoom, "%.0f%%", HostViewZoom() * 100.0);
    return name + " @ " + zoom + " (RGB/Preview)";
}

AIWindowHandle MainWindow() { return &mainWindow; }

ASErr GetTopWindow(AIWindowHandle* window)
{
    if (window == nullptr)
        return kBadParameterErr;
    *window = &toolsPanel;
    return kNoErr;
}

ASErr GetNextWindow(AIWindowHandle window, AIWindowHandle* next)
{
    if (next == nullptr || !IsShownWindow(window))
        return kBadParameterErr;
    *next = Shown(window->next);
    return kNoErr;
}

ASErr GetFirstChildWindow(AIWindowHandle window, AIWindowHandle* child)
{
    if (child == nullptr || !IsShownWindow(window))
        return kBadParameterErr;
    *child = Shown(window->firstChild);
    return kNoErr;
}

ASErr GetWindowTitle(AIWindowHandle window, char* buffer, int32_t room)
{
    if (buffer == nullptr || room <= 0 || !IsShownWindow(window))
        return kBadParameterErr;
    std::string title = window->title != nullptr ? window->title : DocumentWindowTitle();
    size_t length = title.size();
    if (length > size_t(room - 1)) {
        length = size_t(room - 1);
        // never end inside a UTF-8 sequence
        while (length > 0 && (static_cast<unsigned char>(title[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(buffer, title.data(), length);
    buffer[length] = 0;
    return kNoErr;
}

ASErr GetDocumentViewCanvas(AIDocumentViewHandle view, AIWindowHandle* canvasOut)
{
    if (canvasOut == nullptr)
        return kBadParameterErr;
    *canvasOut = nullptr;
    AIReal zoom = 0;
    // the suite's own check of the view handle
    if (HostDocumentViewSuite()->GetDocumentViewZoom(view, &zoom) != kNoErr || !HasDocument())
        return kBadParameterErr;
    *canvasOut = &canvasWindow;
    return kNoErr;
}

ASErr GetWindowContext(AIWindowHandle window, AIDrawingContext* context)
{
    if (context == nullptr || !IsShownWindow(window))
        return kBadParameterErr;
    *context = new _t_AIDrawingContextOpaque{window, 1, 0x000000, kRasterOpCopyPen, 0, 0};
    contexts.insert(*context);
    return kNoErr;
}

ASErr SetContextPen(AIDrawingContext context, int32_t width, uint32_t rgb)
{
    if (!IsContext(context) || width < 0 || rgb > 0xFFFFFF)
        return kBadParameterErr;
    context->penWidth = width;
    context->penRgb = rgb;
    return kNoErr;
}

ASErr SetContextRasterOp(AIDrawingContext context, int32_t op, int32_t* previous)
{
    if (!IsContext(context) || (op != kRasterOpNot && op != kRasterOpCopyPen))
        return kBadParameterErr;
    if (previous != nullptr)
        *previous = context->rasterOp;
    context->rasterOp = op;
    return kNoErr;
}

ASErr MoveContextTo(AIDrawingContext context, int32_t x, int32_t y)
{
    if (!IsContext(context))
        return kBadParameterErr;
    context->x = x;
    context->y = y;
    return kNoErr;
}

ASErr LineContextTo(AIDrawingContext context, int32_t x, int32_t y)
{
    if (!IsContext(context))
        return kBadParameterErr;
    // only the canvas has pixels of its own; lines on the other windows leave nothing
    if (context->window == &canvasWindow) {
        std::vector<QPoint> pixels = LinePixels(context->x, context->y, x, y);
        if (!pixels.empty()) {
            QPainter painter(&ViewCanvas());
            painter.setRenderHint(QPainter::Antialiasing, false);
            if (context->rasterOp == kRasterOpNot)
                painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            QPen pen(QColor::fromRgb(QRgb(0xFF000000u | context->penRgb)));
            pen.setWidth(0);   // one pixel a point, whatever the width asked for
            painter.setPen(pen);
            painter.drawPoints(pixels.data(), int(pixels.size()));
        }
    }
    context->x = x;
    context->y = y;
    return kNoErr;
}

ASErr ReleaseWindowContext(AIDrawingContext context)
{
    if (!IsContext(context))
        return kBadParameterErr;
    contexts.erase(context);
    delete context;
    return kNoErr;
}

int CountWindowContexts() { return int(contexts.size()); }

}  // namespace host
