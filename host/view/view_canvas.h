// The document window of the host's one view, its panes, and the canvas the view draws on:
// a QImage of the view's size that plug-ins may draw on straight through a drawing context.
#pragma once

#include "sdk/ai_document_view.h"

#include <QImage>

#include <string>

namespace host {

// The canvas, white and of the view's size when first asked for or when the view's size
// changed; drawing stays on it until it is reset.
QImage& ViewCanvas();
void ResetViewCanvas();
// The canvas as a PNG file; false with the reason.
bool SaveViewCanvasPng(const std::string& path, std::string& error);

// The document window's title, "NAME @ ZOOM% (RGB/Preview)", NAME "Untitled-1" for a
// document never saved; empty without a document.
std::string DocumentWindowTitle();

// The host's main window (the Context suite's): its first child is the workspace, whose
// first child is the document window while there is a document.
AIWindowHandle MainWindow();

// The window service and drawing contexts of the Document View suite.
ASErr GetTopWindow(AIWindowHandle* window);
ASErr GetNextWindow(AIWindowHandle window, AIWindowHandle* next);
ASErr GetFirstChildWindow(AIWindowHandle window, AIWindowHandle* child);
ASErr GetWindowTitle(AIWindowHandle window, char* buffer, int32_t room);
ASErr GetDocumentViewCanvas(AIDocumentViewHandle view, AIWindowHandle* canvas);
ASErr GetWindowContext(AIWindowHandle window, AIDrawingContext* context);
ASErr SetContextPen(AIDrawingContext context, int32_t width, uint32_t rgb);
ASErr SetContextRasterOp(AIDrawingContext context, int32_t op, int32_t* previous);
ASErr MoveContextTo(AIDrawingContext context, int32_t x, int32_t y);
ASErr LineContextTo(AIDrawingContext context, int32_t x, int32_t y);
ASErr ReleaseWindowContext(AIDrawingContext context);
// Drawing contexts not yet released (a plug-in that forgets one leaks it).
int CountWindowContexts();

}  // namespace host
