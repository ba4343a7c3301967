// The host's text-engine suites, one function table per object kind of the engine. Every
// function answers 0 or an error status; a reference the engine never handed out (or one
// already released) answers kBadParameterErr, as does a null output.
//
// Every reference handed out carries one count that its receiver releases; AddRef adds one.
// Positions and lengths of text count UTF-16 units. Eight-bit text comes out in code page
// 932; a character the code page lacks becomes '?'.
//
// Coordinates: a frame's glyph-run origins are in the frame's own space with y growing
// downward; the frame's matrix maps them into the host's internal space (also y downward),
// which the Hard Soft suite turns into artwork points.
#pragma once

#include "sdk/ai_path_style.h"
#include "sdk/ai_types.h"
#include "sdk/ate_refs.h"

// One reference count pair shared by the shape of every table.
#define ATE_REF_COUNTING(Ref)                 \
    ATE::ATEErr (*AddRef)(ATE::Ref ref);     \
    ATE::ATEErr (*Release)(ATE::Ref ref)

struct ATETextFrameSuite {
    ATE_REF_COUNTING(TextFrameRef);
    // the whole text of the frame
    ATE::ATEErr (*GetTextRange)(ATE::TextFrameRef frame, ATE::TextRangeRef* range);
    ATE::ATEErr (*GetTextLinesIterator)(ATE::TextFrameRef frame, ATE::TextLinesIteratorRef* lines);
    // frame space to the host's internal space
    ATE::ATEErr (*GetMatrix)(ATE::TextFrameRef frame, AIRealMatrix* matrix);
};

struct ATETextRangeSuite {
    ATE_REF_COUNTING(TextRangeRef);
    ATE::ATEErr (*GetStart)(ATE::TextRangeRef range, ASInt32* start);
    ATE::ATEErr (*GetEnd)(ATE::TextRangeRef range, ASInt32* end);
    ATE::ATEErr (*GetSize)(ATE::TextRangeRef range, ASInt32* size);
    // clamped to the story; end before start is kBadParameterErr
    ATE::ATEErr (*SetRange)(ATE::TextRangeRef range, ASInt32 start, ASInt32 end);
    // the range becomes empty at its end
    ATE::ATEErr (*CollapseToEnd)(ATE::TextRangeRef range);
    // the text as eight-bit characters into buffer (room bytes with the NUL; a double-byte
    // character that does not fit is left out); length receives the bytes written
    ATE::ATEErr (*GetContents)(ATE::TextRangeRef range, char* buffer, ASInt32 room, ASInt32* length);
    // UTF-16 text inserted at the range's end (length -1: up to its NUL unit), with the
    // features of the character before it unless local features were set on the range;
    // the range then ends after the inserted text
    ATE::ATEErr (*InsertAfter)(ATE::TextRangeRef range, const char16_t* text, ASInt32 length);
    // the features every character of the range shares (the ones that differ are unassigned)
    ATE::ATEErr (*GetCharFeatures)(ATE::TextRangeRef range, ATE::CharFeaturesRef* features);
    ATE::ATEErr (*GetParaFeatures)(ATE::TextRangeRef range, ATE::ParaFeaturesRef* features);
    // the assigned features go onto every character of the range and onto text inserted
    // through this range later
    ATE::ATEErr (*SetLocalCharFeatures)(ATE::TextRangeRef range, ATE::CharFeaturesRef features);
    ATE::ATEErr (*SetLocalParaFeatures)(ATE::TextRangeRef range, ATE::ParaFeaturesRef features);
};

struct ATETextLinesIteratorSuite {
    ATE_REF_COUNTING(TextLinesIteratorRef);
    ATE::ATEErr (*IsNotDone)(ATE::TextLinesIteratorRef lines, ASBoolean* notDone);
    ATE::ATEErr (*Next)(ATE::TextLinesIteratorRef lines);
    ATE::ATEErr (*Item)(ATE::TextLinesIteratorRef lines, ATE::TextLineRef* line);
};

struct ATETextLineSuite {
    ATE_REF_COUNTING(TextLineRef);
    ATE::ATEErr (*GetGlyphRunsIterator)(ATE::TextLineRef line, ATE::GlyphRunsIteratorRef* runs);
};

struct ATEGlyphRunsIteratorSuite {
    ATE_REF_COUNTING(GlyphRunsIteratorRef);
    ATE::ATEErr (*IsNotDone)(ATE::GlyphRunsIteratorRef runs, ASBoolean* notDone);
    ATE::ATEErr (*Next)(ATE::GlyphRunsIteratorRef runs);
    ATE::ATEErr (*Item)(ATE::GlyphRunsIteratorRef runs, ATE::GlyphRunRef* run);
};

struct ATEGlyphRunSuite {
    ATE_REF_COUNTING(GlyphRunRef);
    ATE::ATEErr (*GetCharFeatures)(ATE::GlyphRunRef run, ATE::CharFeaturesRef* features);
    // one point per character, frame space (y downward), on the baseline
    ATE::ATEErr (*GetOrigins)(ATE::GlyphRunRef run, ATE::ArrayRealPointRef* origins);
    ATE::ATEErr (*GetCharacterCount)(ATE::GlyphRunRef run, ASInt32* count);
    // as the range's GetContents
    ATE::ATEErr (*GetContents)(ATE::GlyphRunRef run, char* buffer, ASInt32 room, ASInt32* length);
};

struct ATEArrayRealPointSuite {
    ATE_REF_COUNTING(ArrayRealPointRef);
    ATE::ATEErr (*GetSize)(ATE::ArrayRealPointRef array, ASInt32* size);
    ATE::ATEErr (*Item)(ATE::ArrayRealPointRef array, ASInt32 index, AIRealPoint* point);
};

struct ATEArrayRealSuite {
    ATE_REF_COUNTING(ArrayRealRef);
    ATE::ATEErr (*Create)(const AIReal* values, ASInt32 count, ATE::ArrayRealRef* array);
    ATE::ATEErr (*GetSize)(ATE::ArrayRealRef array, ASInt32* size);
    ATE::ATEErr (*Item)(ATE::ArrayRealRef array, ASInt32 index, AIReal* value);
};

// Character features: each value is either assigned or not; a getter answers whether it
// is and, when it is, the value.
#define ATE_CHAR_FEATURE(Name, Type)                                                              \
    ATE::ATEErr (*Get##Name)(ATE::CharFeaturesRef features, ASBoolean* assigned, Type* value); \
    ATE::ATEErr (*Set##Name)(ATE::CharFeaturesRef features, Type value);                       \
    ATE::ATEErr (*Clear##Name)(ATE::CharFeaturesRef features)

struct ATECharFeaturesSuite {
    ATE_REF_COUNTING(CharFeaturesRef);
    // new features with nothing assigned
    ATE::ATEErr (*Initialize)(ATE::CharFeaturesRef* features);
    ATE::ATEErr (*Clone)(ATE::CharFeaturesRef features, ATE::CharFeaturesRef* copy);
    ATE_CHAR_FEATURE(Font, ATE::FontRef);
    ATE_CHAR_FEATURE(FontSize, AIReal);            // points
    ATE_CHAR_FEATURE(HorizontalScale, AIReal);     // 1 is 100 %
    ATE_CHAR_FEATURE(VerticalScale, AIReal);
    ATE_CHAR_FEATURE(Tracking, ASInt32);           // thousandths of an em
    ATE_CHAR_FEATURE(BaselineShift, AIReal);       // points
    ATE_CHAR_FEATURE(Fill, ASBoolean);             // filled at all
    ATE_CHAR_FEATURE(Stroke, ASBoolean);
    ATE_CHAR_FEATURE(FillColor, ATE::ApplicationPaintRef);
    ATE_CHAR_FEATURE(StrokeColor, ATE::ApplicationPaintRef);
    ATE_CHAR_FEATURE(LineWidth, AIReal);           // stroke width, points
    ATE_CHAR_FEATURE(LineDashArray, ATE::ArrayRealRef);
};

#define ATE_PARA_FEATURE(Name, Type)                                                              \
    ATE::ATEErr (*Get##Name)(ATE::ParaFeaturesRef features, ASBoolean* assigned, Type* value); \
    ATE::ATEErr (*Set##Name)(ATE::ParaFeaturesRef features, Type value);                       \
    ATE::ATEErr (*Clear##Name)(ATE::ParaFeaturesRef features)

struct ATEParaFeaturesSuite {
    ATE_REF_COUNTING(ParaFeaturesRef);
    ATE::ATEErr (*Initialize)(ATE::ParaFeaturesRef* features);
    ATE::ATEErr (*Clone)(ATE::ParaFeaturesRef features, ATE::ParaFeaturesRef* copy);
    ATE_PARA_FEATURE(Justification, ASInt32);      // 0 left, 1 right, 2 centre
    ATE_PARA_FEATURE(Leading, AIReal);             // points between baselines, 0 automatic
    ATE_PARA_FEATURE(Kinsoku, ATE::KinsokuRef);    // a null set is "none"
    ATE_PARA_FEATURE(MojiKumi, ATE::MojiKumiRef);
};

struct ATEFontSuite {
    ATE_REF_COUNTING(FontRef);
};

struct ATEApplicationPaintSuite {
    ATE_REF_COUNTING(ApplicationPaintRef);
};

// Line-breaking (kinsoku) and character-spacing (mojikumi) sets: named, kept by the document.
struct ATEKinsokuSuite {
    ATE_REF_COUNTING(KinsokuRef);
    // the name as eight-bit text into buffer (room bytes with the NUL, cut to fit)
    ATE::ATEErr (*GetName)(ATE::KinsokuRef set, char* buffer, ASInt32 room);
};

struct ATEMojiKumiSuite {
    ATE_REF_COUNTING(MojiKumiRef);
    ATE::ATEErr (*GetName)(ATE::MojiKumiRef set, char* buffer, ASInt32 room);
};

// The document's text resources: its kinsoku and mojikumi sets.
struct ATEDocumentTextResourcesSuite {
    ATE::ATEErr (*CountKinsokuSets)(ASInt32* count);
    ATE::ATEErr (*GetKinsokuSet)(ASInt32 index, ATE::KinsokuRef* set);
    // a new set of the host's defaults, not yet in the document
    ATE::ATEErr (*NewKinsokuSet)(ATE::KinsokuRef* set);
    ATE::ATEErr (*CountMojiKumiSets)(ASInt32* count);
    ATE::ATEErr (*GetMojiKumiSet)(ASInt32 index, ATE::MojiKumiRef* set);
    ATE::ATEErr (*NewMojiKumiSet)(ATE::MojiKumiRef* set);
};
