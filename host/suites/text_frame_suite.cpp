// The host's Text Frame suite: point text, text in a path and text on a path over the
// document's text art, and the text-engine objects of a frame.
#include "host/suites/text_engine.h"
#include "host/suites/text_outline.h"

#include "host/suites/art_handles.h"
#include "host/session/host_session.h"

namespace host {
namespace {

Art* TextArt(AIArtHandle handle)
{
    Art* art = LiveArt(handle);
    return art && art->type == ArtType::TextFrame ? art : nullptr;
}

ASErr GetATETextRange(AIArtHandle handle, ATE::TextRangeRef* range)
{
    Art* art = TextArt(handle);
    if (!art || !range) return kBadParameterErr;
    *range = NewRangeRef(art);
    return kNoErr;
}

ASErr GetATETextFrame(AIArtHandle handle, ATE::TextFrameRef* frame)
{
    Art* art = TextArt(handle);
    if (!art || !frame) return kBadParameterErr;
    *frame = NewFrameRef(art);
    return kNoErr;
}

ASErr GetType(AIArtHandle handle, ASInt16* kind)
{
    Art* art = TextArt(handle);
    if (!art || !kind) return kBadParameterErr;
    *kind = static_cast<ASInt16>(art->text.kind);
    return kNoErr;
}

ASErr GetOrientation(AIArtHandle handle, ASInt16* orientation)
{
    Art* art = TextArt(handle);
    if (!art || !orientation) return kBadParameterErr;
    *orientation = art->text.orientation;
    return kNoErr;
}

ASErr GetPointTextAnchor(AIArtHandle handle, AIRealPoint* anchor)
{
    Art* art = TextArt(handle);
    if (!art || !anchor || art->text.kind != TextKind::PointText) return kBadParameterErr;
    *anchor = art->text.anchor;
    return kNoErr;
}

ASErr GetPathObject(AIArtHandle handle, AIArtHandle* path)
{
    Art* art = TextArt(handle);
    if (!art || !path || art->text.kind == TextKind::PointText || !art->text.path) return kBadParameterErr;
    *path = ToHandle(art->text.path);
    return kNoErr;
}

ASErr GetOnPathTextTRange(AIArtHandle handle, AIReal* start, AIReal* end)
{
    Art* art = TextArt(handle);
    if (!art || !start || !end || art->text.kind != TextKind::OnPath) return kBadParameterErr;
    *start = art->text.startT;
    *end = art->text.endT;
    return kNoErr;
}

ASErr SetOnPathTextTRange(AIArtHandle handle, AIReal start, AIReal end)
{
    Art* art = TextArt(handle);
    if (!art || art->text.kind != TextKind::OnPath || !(start <= end)) return kBadParameterErr;
    art->text.startT = start;
    art->text.endT = end;
    MarkArtChanged(art);
    return kNoErr;
}

// A new empty text frame placed as the art suite places new art.
ASErr NewTextArt(ASInt16 code, AIArtHandle reference, ASInt16 orientation, Art** out)
{
    Document* doc = HostDocument();
    Placement placement;
    if (!doc || !ToPlacement(code, placement) || (orientation != 0 && orientation != 1)) return kBadParameterErr;
    Art* ref = nullptr;
    if (reference && !(ref = LiveArt(reference))) return kBadParameterErr;
    ASErr err = NewArt(*doc, ArtType::TextFrame, placement, ref, out);
    if (err != kNoErr) return err;
    (*out)->text = TextFrame{};
    (*out)->text.orientation = orientation;
    MarkArtChanged(*out);
    return kNoErr;
}

ASErr NewPointText(ASInt16 placement, AIArtHandle reference, ASInt16 orientation, AIRealPoint anchor,
                   AIArtHandle* newText)
{
    if (!newText) return kBadParameterErr;
    *newText = nullptr;
    Art* art = nullptr;
    ASErr err = NewTextArt(placement, reference, orientation, &art);
    if (err != kNoErr) return err;
    art->text.kind = TextKind::PointText;
    art->text.anchor = anchor;
    *newText = ToHandle(art);
    return kNoErr;
}

// The path leaves the art tree as the text's own path.
ASErr TakePath(AIArtHandle handle, Art** out)
{
    Art* path = LiveArt(handle);
    if (!path || path->type != ArtType::Path || !path->layer) return kBadParameterErr;
    Art* own = NewDetachedArt(*path->doc, ArtType::Path);
    own->segments = path->segments;
    own->fClosed = path->fClosed;
    own->style = path->style;
    own->elementName = "path";
    *out = own;
    return DisposeArt(path);
}

ASErr NewPathText(ASInt16 placement, AIArtHandle reference, ASInt16 orientation, AIArtHandle path, TextKind kind,
                  AIReal start, AIReal end, AIArtHandle* newText)
{
    if (!newText) return kBadParameterErr;
    *newText = nullptr;
    Art* shape = LiveArt(path);
    if (!shape || shape->type != ArtType::Path || !shape->layer || shape->segments.size() < 2 || !(start <= end))
        return kBadParameterErr;
    Art* art = nullptr;
    ASErr err = NewTextArt(placement, reference, orientation, &art);
    if (err != kNoErr) return err;
    Art* own = nullptr;
    err = TakePath(path, &own);
    if (err != kNoErr) {
        DisposeArt(art);
        return err;
    }
    art->text.kind = kind;
    art->text.path = own;
    art->text.startT = start;
    art->text.endT = end;
    *newText = ToHandle(art);
    return kNoErr;
}

ASErr NewInPathText(ASInt16 placement, AIArtHandle reference, ASInt16 orientation, AIArtHandle path,
                    AIArtHandle* newText)
{
    return NewPathText(placement, reference, orientation, path, TextKind::InPath, 0, 0, newText);
}

ASErr NewOnPathText(ASInt16 placement, AIArtHandle reference, ASInt16 orientation, AIArtHandle path, AIReal start,
                    AIReal end, AIArtHandle* newText)
{
    return NewPathText(placement, reference, orientation, path, TextKind::OnPath, start, end, newText);
}

const AITextFrameSuite kSuite = {
    GetATETextRange, GetATETextFrame, GetType, GetOrientation, GetPointTextAnchor, GetPathObject,
    GetOnPathTextTRange, SetOnPathTextTRange, NewPointText, NewInPathText, NewOnPathText,
    CreateTextOutline,
};

}  // namespace

const AITextFrameSuite* HostTextFrameSuite()
{
    InstallTextEngine();
    return &kSuite;
}

}  // namespace host
