// The text engine's handle classes: thin wrappers over the text-engine suites that throw
// ATE::Exception when a suite answers a non-zero status, as the host's class binding does.
// Each class owns one reference of its handle; operations are added as the plug-in needs them.
#pragma once

#include "ai_types.h"

namespace ATE {

typedef int32_t ATEErr;

typedef struct _t_TextFrameRef* TextFrameRef;
typedef struct _t_TextRangeRef* TextRangeRef;
typedef struct _t_TextLinesIteratorRef* TextLinesIteratorRef;
typedef struct _t_TextLineRef* TextLineRef;
typedef struct _t_GlyphRunsIteratorRef* GlyphRunsIteratorRef;
typedef struct _t_GlyphRunRef* GlyphRunRef;
typedef struct _t_CharFeaturesRef* CharFeaturesRef;
typedef struct _t_ParaFeaturesRef* ParaFeaturesRef;
typedef struct _t_FontRef* FontRef;
typedef struct _t_ArrayRealPointRef* ArrayRealPointRef;
typedef struct _t_ApplicationPaintRef* ApplicationPaintRef;
typedef struct _t_KinsokuRef* KinsokuRef;
typedef struct _t_MojiKumiRef* MojiKumiRef;

// A failed text-engine call.
struct Exception {
    ATEErr error;
};

// Raises the status of a failed call.
inline void Check(ATEErr error)
{
    if (error != 0)
        throw Exception{error};
}

// The common shape of every handle class: a reference, null when the object holds none.
template <typename Ref>
class HandleClass {
public:
    HandleClass() = default;
    explicit HandleClass(Ref ref) : ref_(ref) {}
    Ref GetRef() const { return ref_; }
    bool IsNull() const { return ref_ == nullptr; }

protected:
    Ref ref_ = nullptr;
};

class ITextFrame : public HandleClass<TextFrameRef> {
public:
    using HandleClass::HandleClass;
};
class ITextRange : public HandleClass<TextRangeRef> {
public:
    using HandleClass::HandleClass;
};
class ITextLinesIterator : public HandleClass<TextLinesIteratorRef> {
public:
    using HandleClass::HandleClass;
};
class ITextLine : public HandleClass<TextLineRef> {
public:
    using HandleClass::HandleClass;
};
class IGlyphRunsIterator : public HandleClass<GlyphRunsIteratorRef> {
public:
    using HandleClass::HandleClass;
};
class IGlyphRun : public HandleClass<GlyphRunRef> {
public:
    using HandleClass::HandleClass;
};
class ICharFeatures : public HandleClass<CharFeaturesRef> {
public:
    using HandleClass::HandleClass;
};
class IParaFeatures : public HandleClass<ParaFeaturesRef> {
public:
    using HandleClass::HandleClass;
};
class IFont : public HandleClass<FontRef> {
public:
    using HandleClass::HandleClass;
};
class IArrayRealPoint : public HandleClass<ArrayRealPointRef> {
public:
    using HandleClass::HandleClass;
};
class IApplicationPaint : public HandleClass<ApplicationPaintRef> {
public:
    using HandleClass::HandleClass;
};
class IKinsoku : public HandleClass<KinsokuRef> {
public:
    using HandleClass::HandleClass;
};
class IMojiKumi : public HandleClass<MojiKumiRef> {
public:
    using HandleClass::HandleClass;
};

}  // namespace ATE
