// Basic value types shared by the host and its plug-ins.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int32_t ASErr;          // 0 is success; other values are often four characters in one word
typedef int32_t ASInt32;
typedef int16_t ASInt16;
typedef uint8_t ASBoolean;
typedef double AIReal;

constexpr ASErr kNoErr = 0;
constexpr ASErr kOutOfMemoryErr = -108;
// Four-character host statuses.
constexpr ASErr kCanceledErr = 0x53544F50;      // 'STOP'
constexpr ASErr kUnknownSelectorErr = 0x53214664; // 'S!Fd'
constexpr ASErr kBadParameterErr = 0x5041524D;    // 'PARM'
constexpr ASErr kSuiteUnavailableErr = 0x53214E46; // 'S!NF'

struct AIRealPoint {
    AIReal h;
    AIReal v;
};

// Art bounds: top is not below bottom (v grows upward).
struct AIRealRect {
    AIReal left;
    AIReal top;
    AIReal right;
    AIReal bottom;
};

struct AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
};

// Opaque host handles.
typedef struct _t_AIArtOpaque* AIArtHandle;
typedef struct _t_AILayerOpaque* AILayerHandle;
typedef struct _t_AIMenuItemOpaque* AIMenuItemHandle;
typedef struct _t_AIMenuGroupOpaque* AIMenuGroup;
typedef struct _t_AIToolOpaque* AIToolHandle;
typedef struct _t_AIDocumentViewOpaque* AIDocumentViewHandle;
typedef struct _t_SPPluginOpaque* SPPluginRef;
typedef struct _t_SPAccessOpaque* SPAccessRef;
typedef struct _t_AIEventOpaque* AIEventPtr;

// One anchor of a path with its two handles; the cubic between segments S1 and S2 is
// S1.ptAnchor, S1.ptOut, S2.ptIn, S2.ptAnchor.
struct AIPathSegment {
    AIRealPoint ptAnchor;
    AIRealPoint ptIn;
    AIRealPoint ptOut;
    ASBoolean fCorner;
};
