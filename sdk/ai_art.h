// The host's Art suite: the art tree of the document, walked, created, moved and removed.
#pragma once

#include "sdk/ai_types.h"

// Art type codes.
constexpr ASInt16 kArtTypeUnknown = 0;
constexpr ASInt16 kArtTypeGroup = 1;
constexpr ASInt16 kArtTypePath = 2;
constexpr ASInt16 kArtTypeCompoundPath = 3;
constexpr ASInt16 kArtTypePlaced = 7;
constexpr ASInt16 kArtTypeRaster = 9;
constexpr ASInt16 kArtTypePluginArt = 10;
constexpr ASInt16 kArtTypeMesh = 11;
constexpr ASInt16 kArtTypeTextFrame = 12;
constexpr ASInt16 kArtTypeSymbolInstance = 13;
constexpr ASInt16 kArtTypeForeign = 14;

// Placement codes: where new or moved art (or a new layer) goes relative to a reference.
constexpr ASInt16 kPlaceAbove = 1;          // just above the reference, beside it
constexpr ASInt16 kPlaceBelow = 2;          // just below the reference, beside it
constexpr ASInt16 kPlaceInsideOnTop = 3;    // the reference's first child (a group or compound path)
constexpr ASInt16 kPlaceInsideOnBottom = 4; // the reference's last child
constexpr ASInt16 kPlaceAboveAll = 5;       // on top of the top layer
constexpr ASInt16 kPlaceBelowAll = 6;       // at the bottom of the bottom layer

// User attribute bits of an art.
constexpr ASInt32 kArtAttrSelected = 1;
constexpr ASInt32 kArtAttrLocked = 2;
constexpr ASInt32 kArtAttrHidden = 4;

// Every function answers kNoErr or an error status; a handle that names no live art of the
// current document (null, disposed, never made) answers kBadParameterErr. Queries for a
// relative that does not exist answer kNoErr with a null handle.
struct AIArtSuite {
    // new art of the type placed relative to reference; a null reference puts it on top
    // of the current layer (at its bottom for the "below" codes)
    ASErr (*NewArt)(ASInt16 type, ASInt16 placement, AIArtHandle reference, AIArtHandle* newArt);
    // removes the art with all its children; a layer's own group cannot be disposed
    ASErr (*DisposeArt)(AIArtHandle art);
    // moves the art relative to reference
    ASErr (*ReorderArt)(AIArtHandle art, ASInt16 placement, AIArtHandle reference);
    // a deep copy placed relative to reference
    ASErr (*DuplicateArt)(AIArtHandle art, ASInt16 placement, AIArtHandle reference, AIArtHandle* newArt);

    // the layer's top group
    ASErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
    // the layer the art belongs to; null for art outside every layer (symbol definitions)
    ASErr (*GetLayerOfArt)(AIArtHandle art, AILayerHandle* layer);
    ASErr (*GetArtType)(AIArtHandle art, ASInt16* type);

    // attr receives the bits of which that are set on the art
    ASErr (*GetArtUserAttr)(AIArtHandle art, ASInt32 which, ASInt32* attr);
    // sets the bits of which to those in attr
    ASErr (*SetArtUserAttr)(AIArtHandle art, ASInt32 which, ASInt32 attr);

    ASErr (*GetArtParent)(AIArtHandle art, AIArtHandle* parent);
    // the top of the art's children
    ASErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
    ASErr (*GetArtLastChild)(AIArtHandle art, AIArtHandle* child);
    // the next art below this one in the same parent
    ASErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
    // the art just above this one in the same parent
    ASErr (*GetArtPriorSibling)(AIArtHandle art, AIArtHandle* sibling);

    // the exact bounds of what the art draws, artwork points; an error when it draws nothing
    ASErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
    // every point of the art through the matrix; scaleStrokes scales stroke widths too
    ASErr (*TransformArt)(AIArtHandle art, const AIRealMatrix* matrix, ASBoolean scaleStrokes);
    // valid is true when the handle names live art of the current document (never an error)
    ASErr (*ValidArt)(AIArtHandle art, ASBoolean* valid);
};
