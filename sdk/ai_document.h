// The host's Document suite: the open document's file, its ruler origin and canvas.
#pragma once

#include "sdk/ai_types.h"

// The document's file as the host names it; the File Path suite converts and releases it.
typedef struct _t_AIFilePathOpaque* AIFilePathRef;

// Without an open document every function answers kBadParameterErr.
struct AIDocumentSuite {
    // a new file-path handle naming the document's file; null for a document never saved
    ASErr (*GetDocumentFileSpecification)(AIFilePathRef* file);
    // the file's path as UTF-8 into buffer (room bytes with the NUL); an error when it does not fit
    ASErr (*GetDocumentFileName)(char* buffer, ASInt32 room);
    // the artwork point where the rulers count from (0, 0 unless set)
    ASErr (*GetDocumentRulerOrigin)(AIRealPoint* origin);
    ASErr (*SetDocumentRulerOrigin)(const AIRealPoint* origin);
    // the page size in points, h the width and v the height
    ASErr (*GetDocumentPageSize)(AIRealPoint* size);
    // the canvas in artwork points: left 0, bottom 0, right the width, top the height
    ASErr (*GetDocumentCanvasBounds)(AIRealRect* bounds);
    // modified is true when the document has changes not yet saved
    ASErr (*GetDocumentModified)(ASBoolean* modified);
    ASErr (*SetDocumentModified)(ASBoolean modified);

    // room for operations of the host that no plug-in calls; they answer kUnknownSelectorErr
    ASErr (*Unused[29])();

    // brings the document's windows up to date with the changes made so far
    ASErr (*RedrawDocument)();
};
