// The host's Document View suite: the views of the current document, their zoom and the
// mapping between artwork points and view pixels.
#pragma once

#include "ai_types.h"

// A view pixel: h to the right, v downward from the view's top-left corner.
struct AIPoint {
    int32_t h;
    int32_t v;
};

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
};
