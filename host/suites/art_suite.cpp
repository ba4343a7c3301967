// The host's Art suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"
#include "host/session/host_session.h"

#include <cmath>

namespace host {
namespace {

bool Creatable(ASInt16 type)
{
    return type == kArtTypeGroup || type == kArtTypePath || type == kArtTypeCompoundPath;
}

// A null reference is allowed; one that is given must be live.
bool Reference(AIArtHandle handle, Art*& reference)
{
    reference = nullptr;
    if (!handle) return true;
    reference = LiveArt(handle);
    return reference != nullptr;
}

ASErr NewArtFn(ASInt16 type, ASInt16 placement, AIArtHandle reference, AIArtHandle* newArt)
{
    if (newArt) *newArt = nullptr;
    Document* doc = HostDocument();
    Placement where;
    Art* ref;
    if (!doc || !newArt || !Creatable(type) || !ToPlacement(placement, where) || !Reference(reference, ref))
        return kBadParameterErr;
    Art* art = nullptr;
    ASErr err = NewArt(*doc, static_cast<ArtType>(type), where, ref, &art);
    if (err == kNoErr) *newArt = ToHandle(art);
    return err;
}

ASErr DisposeArtFn(AIArtHandle handle)
{
    Art* art = LiveArt(handle);
    return art ? DisposeArt(art) : kBadParameterErr;
}

ASErr ReorderArtFn(AIArtHandle handle, ASInt16 placement, AIArtHandle reference)
{
    Art* art = LiveArt(handle);
    Placement where;
    Art* ref;
    if (!art || !ToPlacement(placement, where) || !Reference(reference, ref)) return kBadParameterErr;
    return ReorderArt(art, where, ref);
}

ASErr DuplicateArtFn(AIArtHandle handle, ASInt16 placement, AIArtHandle reference, AIArtHandle* newArt)
{
    if (newArt) *newArt = nullptr;
    Art* art = LiveArt(handle);
    Placement where;
    Art* ref;
    if (!art || !newArt || !ToPlacement(placement, where) || !Reference(reference, ref)) return kBadParameterErr;
    Art* copy = nullptr;
    ASErr err = DuplicateArt(art, where, ref, &copy);
    if (err == kNoErr) *newArt = ToHandle(copy);
    return err;
}

ASErr GetFirstArtOfLayer(AILayerHandle handle, AIArtHandle* art)
{
    if (art) *art = nullptr;
    Layer* layer = LiveLayer(handle);
    if (!layer || !art) return kBadParameterErr;
    *art = ToHandle(layer->group);
    return kNoErr;
}

ASErr GetLayerOfArt(AIArtHandle handle, AILayerHandle* layer)
{
    if (layer) *layer = nullptr;
    Art* art = LiveArt(handle);
    if (!art || !layer) return kBadParameterErr;
    *layer = art->layer && !art->layer->fDisposed ? ToHandle(art->layer) : nullptr;
    return kNoErr;
}

ASErr GetArtType(AIArtHandle handle, ASInt16* type)
{
    Art* art = LiveArt(handle);
    if (!art || !type) return kBadParameterErr;
    *type = static_cast<ASInt16>(art->type);
    return kNoErr;
}

ASInt32 UserAttributes(const Art* art)
{
    return (art->fSelected ? kArtAttrSelected : 0) | (art->fLocked ? kArtAttrLocked : 0) |
           (art->fHidden ? kArtAttrHidden : 0);
}

ASErr GetArtUserAttr(AIArtHandle handle, ASInt32 which, ASInt32* attr)
{
    Art* art = LiveArt(handle);
    if (!art || !attr) return kBadParameterErr;
    *attr = UserAttributes(art) & which;
    return kNoErr;
}

ASErr SetArtUserAttr(AIArtHandle handle, ASInt32 which, ASInt32 attr)
{
    Art* art = LiveArt(handle);
    if (!art) return kBadParameterErr;
    if (which & kArtAttrSelected) SetArtSelected(art, (attr & kArtAttrSelected) != 0);
    if (which & kArtAttrLocked) art->fLocked = (attr & kArtAttrLocked) != 0;
    if ((which & kArtAttrHidden) && art->fHidden != ((attr & kArtAttrHidden) != 0)) {
        art->fHidden = !art->fHidden;
        MarkArtChanged(art);  // hiding is written into the file
    }
    return kNoErr;
}

// The relative queries share their checks.
ASErr Relative(AIArtHandle handle, AIArtHandle* out, Art* (*relative)(const Art*))
{
    if (out) *out = nullptr;
    Art* art = LiveArt(handle);
    if (!art || !out) return kBadParameterErr;
    *out = ToHandle(relative(art));
    return kNoErr;
}

Art* ParentOf(const Art* art) { return art->parent; }

ASErr GetArtParent(AIArtHandle art, AIArtHandle* parent) { return Relative(art, parent, ParentOf); }
ASErr GetArtFirstChild(AIArtHandle art, AIArtHandle* child) { return Relative(art, child, FirstChild); }
ASErr GetArtLastChild(AIArtHandle art, AIArtHandle* child) { return Relative(art, child, LastChild); }
ASErr GetArtSibling(AIArtHandle art, AIArtHandle* sibling) { return Relative(art, sibling, NextSibling); }
ASErr GetArtPriorSibling(AIArtHandle art, AIArtHandle* sibling) { return Relative(art, sibling, PreviousSibling); }

ASErr GetArtBounds(AIArtHandle handle, AIRealRect* bounds)
{
    Art* art = LiveArt(handle);
    if (!art || !bounds) return kBadParameterErr;
    AIRealRect found{};
    if (!ArtBounds(art, found)) return kBadParameterErr;
    *bounds = found;
    return kNoErr;
}

bool Finite(const AIRealMatrix& m)
{
    for (double x : {m.a, m.b, m.c, m.d, m.tx, m.ty})
        if (!std::isfinite(x)) return false;
    return true;
}

ASErr TransformArtFn(AIArtHandle handle, const AIRealMatrix* matrix, ASBoolean scaleStrokes)
{
    Art* art = LiveArt(handle);
    if (!art || !matrix || !Finite(*matrix)) return kBadParameterErr;
    TransformArt(art, *matrix, scaleStrokes != 0);
    return kNoErr;
}

ASErr ValidArt(AIArtHandle handle, ASBoolean* valid)
{
    if (!valid) return kBadParameterErr;
    *valid = LiveArt(handle) != nullptr;
    return kNoErr;
}

const AIArtSuite kSuite = {
    NewArtFn,
    DisposeArtFn,
    ReorderArtFn,
    DuplicateArtFn,
    GetFirstArtOfLayer,
    GetLayerOfArt,
    GetArtType,
    GetArtUserAttr,
    SetArtUserAttr,
    GetArtParent,
    GetArtFirstChild,
    GetArtLastChild,
    GetArtSibling,
    GetArtPriorSibling,
    GetArtBounds,
    TransformArtFn,
    ValidArt,
};

}  // namespace

const AIArtSuite* HostArtSuite() { return &kSuite; }

}  // namespace host
