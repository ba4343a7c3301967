// The host's Pathfinder suite: shape operations on the selected art.
#pragma once

#include "sdk/ai_types.h"

// The options of a shape operation and the art it works on, in the host's layout. The
// unite reads only the art set; the other values belong to the host's other operations
// and are passed through as the caller gives them.
struct AIPathfinderData {
    double dPrecision;          // points
    ASInt32 fRemovePoints;
    ASInt32 fKeepUnpainted;
    double dMixRatio;
    ASInt32 fTrapPercent;
    double dTrapThickness;
    double dTrapHeight;
    double dTrapAspect;
    double dTrapTint;
    double dTrapMaxTint;
    ASInt32 fTrapReverse;
    ASInt32 iReserved1;
    AIArtHandle* phArtSet;      // the shapes to operate on
    ASInt32 iArtCount;
    ASInt32 iReserved2;
};

// Where the host reports back: a message number and three pointers, all zero going in.
struct AIPathfinderMessage {
    ASInt32 iMessage;
    void* pData1;
    void* pData2;
    void* pData3;
};

struct AIPathfinderSuite {
    // Replaces the closed paths and compound paths of the art set by their union, inside
    // the parent of each: every result is a path (a compound path when it has holes) that
    // keeps the style and stroke width of a shape it came from. Shapes the union cannot
    // take (open, degenerate, crossing themselves, huge) stay as they were; the host notes
    // each. kBadParameterErr for a null record or an art set that names no live art.
    ASErr (*UniteArt)(AIPathfinderData* data, AIPathfinderMessage* message);
};
