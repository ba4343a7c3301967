// The host's Document View suite table and the state of the document's one view.
#pragma once

#include "sdk/ai_document_view.h"

const AIDocumentViewSuite* HostDocumentViewSuite();

// The view the suite reports: zoom 1, origin (0, 0), 800 x 600 pixels, one view, until set.
void ResetHostView();
void SetHostViewZoom(double zoom);
double HostViewZoom();
// the artwork point shown at the view's top-left pixel
void SetHostViewOrigin(AIRealPoint origin);
void SetHostViewSize(int32_t width, int32_t height);
void HostViewSize(int32_t* width, int32_t* height);
// 0 while no document is open: the view queries then fail
void SetHostViewCount(int32_t count);
