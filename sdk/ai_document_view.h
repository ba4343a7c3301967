// The host's Document View suite: the views of the current document, their zoom and the
// mapping between artwork points and view pixels.
#pragma once

#include "sdk/ai_types.h"

// A view pixel: h to the right, v downward from the view's top-left corner.
struct AIPoint {
    int32_t h;
    int32_t v;
};

// A window of the host (the document window, its panes, the canvas a view draws on) and a
// drawing context for drawing straight onto one, outside the host's paint cycle.
typedef struct _t_AIWindowOpaque* AIWindowHandle;
typedef struct _t_AIDrawingContextOpaque* AIDrawingContext;

// Raster operations of a drawing context.
constexpr int32_t kRasterOpNot = 6;        // inverts the destination; drawing twice restores it
constexpr int32_t kRasterOpCopyPen = 13;   // the pen's colour

// A null view handle stands for the document's first view.
struct AIDocumentViewSuite {
    // the number of views of the current document (0 without a document)
    ASErr (*CountDocumentViews)(int32_t* count);
    // view n, counted from 0; an error when there is no such view
    ASErr (*GetNthDocumentView)(int32_t n, AIDocumentViewHandle* view);
    // the zoom factor: 1 is 100 %, 4 is 400 %
    ASErr (*GetDocumentViewZoom)(AIDocumentViewHandle view, AIReal* zoom);
    ASErr (*SetDocumentViewZoom)(AIDocumentViewHandle view, AIReal zoom);
    // the artwork point shown at the view's top-left corner
    ASErr (*GetDocumentViewOrigin)(AIDocumentViewHandle view, AIRealPoint* origin);
    // the artwork rectangle the view shows
    ASErr (*GetDocumentViewBounds)(AIDocumentViewHandle view, AIRealRect* bounds);
    // artwork point to the nearest view pixel
    ASErr (*ArtworkPointToViewPoint)(AIDocumentViewHandle view, const AIRealPoint* artwork, AIPoint* pixel);
    // view pixel to artwork point
    ASErr (*ViewPointToArtworkPoint)(AIDocumentViewHandle view, const AIPoint* pixel, AIRealPoint* artwork);

    // The host's windows: top-level windows in window order, each with its children.
    // The first top-level window; null when there is none.
    ASErr (*GetTopWindow)(AIWindowHandle* window);
    // the next sibling; null after the last
    ASErr (*GetNextWindow)(AIWindowHandle window, AIWindowHandle* next);
    // the first child; null when it has none
    ASErr (*GetFirstChildWindow)(AIWindowHandle window, AIWindowHandle* child);
    // the title into buffer (room bytes with the NUL), UTF-8, cut at a character
    ASErr (*GetWindowTitle)(AIWindowHandle window, char* buffer, int32_t room);
    // the window the view draws its artwork on
    ASErr (*GetDocumentViewCanvas)(AIDocumentViewHandle view, AIWindowHandle* canvas);

    // Drawing on a window in its pixels: a pen of a width and an RGB colour (0xRRGGBB), a
    // raster operation, lines from a current point. A new context has a black pen of width 1,
    // kRasterOpCopyPen and the current point (0, 0).
    ASErr (*GetWindowContext)(AIWindowHandle window, AIDrawingContext* context);
    ASErr (*SetContextPen)(AIDrawingContext context, int32_t width, uint32_t rgb);
    // previous may be null
    ASErr (*SetContextRasterOp)(AIDrawingContext context, int32_t op, int32_t* previous);
    ASErr (*MoveContextTo)(AIDrawingContext context, int32_t x, int32_t y);
    // a line from the current point to (x, y) without its last pixel; (x, y) becomes current
    ASErr (*LineContextTo)(AIDrawingContext context, int32_t x, int32_t y);
    ASErr (*ReleaseWindowContext)(AIDrawingContext context);
};
