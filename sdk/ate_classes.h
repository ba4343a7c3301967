// The text engine's handle classes: thin wrappers over the text-engine suites that throw
// ATE::Exception when a suite answers a non-zero status, as the host's class binding does.
// Each object owns one reference of its handle: a copy adds one, the destructor releases it.
// The suites are reached through the plug-in's acquired suite pointers.
#pragma once

#include <utility>

#include "sdk/ai_types.h"
#include "sdk/ate_refs.h"
#include "sdk/ate_suites.h"

extern const ATETextFrameSuite* sATETextFrame;
extern const ATETextRangeSuite* sATETextRange;
extern const ATETextLinesIteratorSuite* sATETextLinesIterator;
extern const ATETextLineSuite* sATETextLine;
extern const ATEGlyphRunsIteratorSuite* sATEGlyphRunsIterator;
extern const ATEGlyphRunSuite* sATEGlyphRun;
extern const ATECharFeaturesSuite* sATECharFeatures;
extern const ATEParaFeaturesSuite* sATEParaFeatures;
extern const ATEFontSuite* sATEFont;
extern const ATEArrayRealPointSuite* sATEArrayRealPoint;
extern const ATEArrayRealSuite* sATEArrayReal;
extern const ATEApplicationPaintSuite* sATEApplicationPaint;
extern const ATEKinsokuSuite* sATEKinsoku;
extern const ATEMojiKumiSuite* sATEMojiKumi;

namespace ATE {

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

// The suite whose AddRef and Release count a reference type.
template <typename Ref> struct RefSuite;
#define ATE_REF_SUITE(Ref, pointer) \
    template <> struct RefSuite<Ref> { static auto Get() { return pointer; } }
ATE_REF_SUITE(TextFrameRef, sATETextFrame);
ATE_REF_SUITE(TextRangeRef, sATETextRange);
ATE_REF_SUITE(TextLinesIteratorRef, sATETextLinesIterator);
ATE_REF_SUITE(TextLineRef, sATETextLine);
ATE_REF_SUITE(GlyphRunsIteratorRef, sATEGlyphRunsIterator);
ATE_REF_SUITE(GlyphRunRef, sATEGlyphRun);
ATE_REF_SUITE(CharFeaturesRef, sATECharFeatures);
ATE_REF_SUITE(ParaFeaturesRef, sATEParaFeatures);
ATE_REF_SUITE(FontRef, sATEFont);
ATE_REF_SUITE(ArrayRealPointRef, sATEArrayRealPoint);
ATE_REF_SUITE(ArrayRealRef, sATEArrayReal);
ATE_REF_SUITE(ApplicationPaintRef, sATEApplicationPaint);
ATE_REF_SUITE(KinsokuRef, sATEKinsoku);
ATE_REF_SUITE(MojiKumiRef, sATEMojiKumi);
#undef ATE_REF_SUITE

// The common shape of every handle class: a reference, null when the object holds none.
template <typename Ref>
class HandleClass {
public:
    HandleClass() = default;
    // takes over the one reference a suite handed out
    explicit HandleClass(Ref ref) : ref_(ref) {}
    HandleClass(const HandleClass& other) : ref_(other.ref_)
    {
        if (ref_) Check(RefSuite<Ref>::Get()->AddRef(ref_));
    }
    HandleClass(HandleClass&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    HandleClass& operator=(HandleClass other) noexcept
    {
        std::swap(ref_, other.ref_);
        return *this;
    }
    ~HandleClass()
    {
        if (ref_ && RefSuite<Ref>::Get()) RefSuite<Ref>::Get()->Release(ref_);
    }
    Ref GetRef() const { return ref_; }
    bool IsNull() const { return ref_ == nullptr; }

protected:
    Ref ref_ = nullptr;
};

class IFont : public HandleClass<FontRef> {
public:
    using HandleClass::HandleClass;
};

class IApplicationPaint : public HandleClass<ApplicationPaintRef> {
public:
    using HandleClass::HandleClass;
};

class IArrayReal : public HandleClass<ArrayRealRef> {
public:
    using HandleClass::HandleClass;
    ASInt32 GetSize() const { ASInt32 n = 0; Check(sATEArrayReal->GetSize(ref_, &n)); return n; }
    AIReal Item(ASInt32 index) const { AIReal v = 0; Check(sATEArrayReal->Item(ref_, index, &v)); return v; }
};

class IArrayRealPoint : public HandleClass<ArrayRealPointRef> {
public:
    using HandleClass::HandleClass;
    ASInt32 GetSize() const { ASInt32 n = 0; Check(sATEArrayRealPoint->GetSize(ref_, &n)); return n; }
    AIRealPoint Item(ASInt32 index) const
    {
        AIRealPoint p{0, 0};
        Check(sATEArrayRealPoint->Item(ref_, index, &p));
        return p;
    }
};

class IKinsoku : public HandleClass<KinsokuRef> {
public:
    using HandleClass::HandleClass;
    void GetName(char* buffer, ASInt32 room) const { Check(sATEKinsoku->GetName(ref_, buffer, room)); }
};

class IMojiKumi : public HandleClass<MojiKumiRef> {
public:
    using HandleClass::HandleClass;
    void GetName(char* buffer, ASInt32 room) const { Check(sATEMojiKumi->GetName(ref_, buffer, room)); }
};

// Getters answer the value and whether it is assigned; an unassigned value reads as the
// type's zero (a null object for the handle types).
#define ATE_FEATURE_PLAIN(Suite, Name, Type)                               \
    Type Get##Name(bool* assigned = nullptr) const                         \
    {                                                                      \
        ASBoolean is = 0;                                                  \
        Type v{};                                                          \
        Check(Suite->Get##Name(ref_, &is, &v));                            \
        if (assigned) *assigned = is != 0;                                 \
        return v;                                                          \
    }                                                                      \
    void Set##Name(Type v) { Check(Suite->Set##Name(ref_, v)); }           \
    void Clear##Name() { Check(Suite->Clear##Name(ref_)); }
#define ATE_FEATURE_OBJECT(Suite, Name, Class, Ref)                        \
    Class Get##Name(bool* assigned = nullptr) const                        \
    {                                                                      \
        ASBoolean is = 0;                                                  \
        Ref v = nullptr;                                                   \
        Check(Suite->Get##Name(ref_, &is, &v));                            \
        if (assigned) *assigned = is != 0;                                 \
        return Class(v);                                                   \
    }                                                                      \
    void Set##Name(const Class& v) { Check(Suite->Set##Name(ref_, v.GetRef())); } \
    void Clear##Name() { Check(Suite->Clear##Name(ref_)); }

class ICharFeatures : public HandleClass<CharFeaturesRef> {
public:
    using HandleClass::HandleClass;
    // new features with nothing assigned
    static ICharFeatures New()
    {
        CharFeaturesRef ref = nullptr;
        Check(sATECharFeatures->Initialize(&ref));
        return ICharFeatures(ref);
    }
    ICharFeatures Clone() const
    {
        CharFeaturesRef ref = nullptr;
        Check(sATECharFeatures->Clone(ref_, &ref));
        return ICharFeatures(ref);
    }
    ATE_FEATURE_OBJECT(sATECharFeatures, Font, IFont, FontRef)
    ATE_FEATURE_PLAIN(sATECharFeatures, FontSize, AIReal)
    ATE_FEATURE_PLAIN(sATECharFeatures, HorizontalScale, AIReal)
    ATE_FEATURE_PLAIN(sATECharFeatures, VerticalScale, AIReal)
    ATE_FEATURE_PLAIN(sATECharFeatures, Tracking, ASInt32)
    ATE_FEATURE_PLAIN(sATECharFeatures, BaselineShift, AIReal)
    ATE_FEATURE_PLAIN(sATECharFeatures, Fill, ASBoolean)
    ATE_FEATURE_PLAIN(sATECharFeatures, Stroke, ASBoolean)
    ATE_FEATURE_OBJECT(sATECharFeatures, FillColor, IApplicationPaint, ApplicationPaintRef)
    ATE_FEATURE_OBJECT(sATECharFeatures, StrokeColor, IApplicationPaint, ApplicationPaintRef)
    ATE_FEATURE_PLAIN(sATECharFeatures, LineWidth, AIReal)
    ATE_FEATURE_OBJECT(sATECharFeatures, LineDashArray, IArrayReal, ArrayRealRef)
};

class IParaFeatures : public HandleClass<ParaFeaturesRef> {
public:
    using HandleClass::HandleClass;
    static IParaFeatures New()
    {
        ParaFeaturesRef ref = nullptr;
        Check(sATEParaFeatures->Initialize(&ref));
        return IParaFeatures(ref);
    }
    IParaFeatures Clone() const
    {
        ParaFeaturesRef ref = nullptr;
        Check(sATEParaFeatures->Clone(ref_, &ref));
        return IParaFeatures(ref);
    }
    ATE_FEATURE_PLAIN(sATEParaFeatures, Justification, ASInt32)
    ATE_FEATURE_PLAIN(sATEParaFeatures, Leading, AIReal)
    ATE_FEATURE_OBJECT(sATEParaFeatures, Kinsoku, IKinsoku, KinsokuRef)
    ATE_FEATURE_OBJECT(sATEParaFeatures, MojiKumi, IMojiKumi, MojiKumiRef)
};

#undef ATE_FEATURE_PLAIN
#undef ATE_FEATURE_OBJECT

class ITextRange : public HandleClass<TextRangeRef> {
public:
    using HandleClass::HandleClass;
    ASInt32 GetStart() const { ASInt32 v = 0; Check(sATETextRange->GetStart(ref_, &v)); return v; }
    ASInt32 GetEnd() const { ASInt32 v = 0; Check(sATETextRange->GetEnd(ref_, &v)); return v; }
    ASInt32 GetSize() const { ASInt32 v = 0; Check(sATETextRange->GetSize(ref_, &v)); return v; }
    void SetRange(ASInt32 start, ASInt32 end) { Check(sATETextRange->SetRange(ref_, start, end)); }
    void CollapseToEnd() { Check(sATETextRange->CollapseToEnd(ref_)); }
    // eight-bit text into buffer (room bytes with the NUL); the bytes written
    ASInt32 GetContents(char* buffer, ASInt32 room) const
    {
        ASInt32 n = 0;
        Check(sATETextRange->GetContents(ref_, buffer, room, &n));
        return n;
    }
    void InsertAfter(const char16_t* text, ASInt32 length = -1)
    {
        Check(sATETextRange->InsertAfter(ref_, text, length));
    }
    ICharFeatures GetCharFeatures() const
    {
        CharFeaturesRef f = nullptr;
        Check(sATETextRange->GetCharFeatures(ref_, &f));
        return ICharFeatures(f);
    }
    IParaFeatures GetParaFeatures() const
    {
        ParaFeaturesRef f = nullptr;
        Check(sATETextRange->GetParaFeatures(ref_, &f));
        return IParaFeatures(f);
    }
    void SetLocalCharFeatures(const ICharFeatures& f) { Check(sATETextRange->SetLocalCharFeatures(ref_, f.GetRef())); }
    void SetLocalParaFeatures(const IParaFeatures& f) { Check(sATETextRange->SetLocalParaFeatures(ref_, f.GetRef())); }
};

class IGlyphRun : public HandleClass<GlyphRunRef> {
public:
    using HandleClass::HandleClass;
    ICharFeatures GetCharFeatures() const
    {
        CharFeaturesRef f = nullptr;
        Check(sATEGlyphRun->GetCharFeatures(ref_, &f));
        return ICharFeatures(f);
    }
    IArrayRealPoint GetOrigins() const
    {
        ArrayRealPointRef a = nullptr;
        Check(sATEGlyphRun->GetOrigins(ref_, &a));
        return IArrayRealPoint(a);
    }
    ASInt32 GetCharacterCount() const { ASInt32 n = 0; Check(sATEGlyphRun->GetCharacterCount(ref_, &n)); return n; }
    ASInt32 GetContents(char* buffer, ASInt32 room) const
    {
        ASInt32 n = 0;
        Check(sATEGlyphRun->GetContents(ref_, buffer, room, &n));
        return n;
    }
};

class IGlyphRunsIterator : public HandleClass<GlyphRunsIteratorRef> {
public:
    using HandleClass::HandleClass;
    bool IsNotDone() const { ASBoolean v = 0; Check(sATEGlyphRunsIterator->IsNotDone(ref_, &v)); return v != 0; }
    void Next() { Check(sATEGlyphRunsIterator->Next(ref_)); }
    IGlyphRun Item() const
    {
        GlyphRunRef r = nullptr;
        Check(sATEGlyphRunsIterator->Item(ref_, &r));
        return IGlyphRun(r);
    }
};

class ITextLine : public HandleClass<TextLineRef> {
public:
    using HandleClass::HandleClass;
    IGlyphRunsIterator GetGlyphRunsIterator() const
    {
        GlyphRunsIteratorRef r = nullptr;
        Check(sATETextLine->GetGlyphRunsIterator(ref_, &r));
        return IGlyphRunsIterator(r);
    }
};

class ITextLinesIterator : public HandleClass<TextLinesIteratorRef> {
public:
    using HandleClass::HandleClass;
    bool IsNotDone() const { ASBoolean v = 0; Check(sATETextLinesIterator->IsNotDone(ref_, &v)); return v != 0; }
    void Next() { Check(sATETextLinesIterator->Next(ref_)); }
    ITextLine Item() const
    {
        TextLineRef r = nullptr;
        Check(sATETextLinesIterator->Item(ref_, &r));
        return ITextLine(r);
    }
};

class ITextFrame : public HandleClass<TextFrameRef> {
public:
    using HandleClass::HandleClass;
    ITextRange GetTextRange() const
    {
        TextRangeRef r = nullptr;
        Check(sATETextFrame->GetTextRange(ref_, &r));
        return ITextRange(r);
    }
    ITextLinesIterator GetTextLinesIterator() const
    {
        TextLinesIteratorRef r = nullptr;
        Check(sATETextFrame->GetTextLinesIterator(ref_, &r));
        return ITextLinesIterator(r);
    }
    AIRealMatrix GetMatrix() const
    {
        AIRealMatrix m{1, 0, 0, 1, 0, 0};
        Check(sATETextFrame->GetMatrix(ref_, &m));
        return m;
    }
};

}  // namespace ATE
