// The host's text engine over the document's text frames: reference-counted engine objects,
// stories as UTF-16 cells with their features, and the layout of a frame into lines and
// glyph runs through text_layout.h. The suites of ate_suites.h, ai_text_frame.h, ai_font.h,
// ai_hard_soft.h and ai_ate_paint.h are its tables.
#pragma once

#include "host/suites/host_strings.h"

#include "sdk/ai_ate_paint.h"
#include "sdk/ai_font.h"
#include "sdk/ai_hard_soft.h"
#include "sdk/ai_text_frame.h"
#include "sdk/ate_suites.h"
#include "host/document/document.h"
#include "host/text/text_layout.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

inline bool operator==(const AIStyleColor& a, const AIStyleColor& b)
{
    return a.kind == b.kind && a.gray == b.gray && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

namespace host {

enum class EngineKind {
    Frame, Range, LinesIterator, Line, RunsIterator, Run, CharFeatures, ParaFeatures, Font,
    ArrayRealPoint, ArrayReal, Paint, Kinsoku, MojiKumi,
};

// Every engine object; a reference is its address.
struct EngineObject {
    explicit EngineObject(EngineKind k) : kind(k) {}
    virtual ~EngineObject() = default;
    EngineKind kind;
    int refs = 1;
};

// Takes over a new object and answers its reference.
EngineObject* RegisterEngineObject(EngineObject* object);
template <typename Ref> Ref NewRef(EngineObject* object) { return reinterpret_cast<Ref>(RegisterEngineObject(object)); }
// The live object of that kind a reference names, else null.
EngineObject* FindEngineObject(const void* ref, EngineKind kind);
template <typename T> T* Find(const void* ref, EngineKind kind) { return static_cast<T*>(FindEngineObject(ref, kind)); }
ATE::ATEErr AddEngineRef(const void* ref, EngineKind kind);
ATE::ATEErr ReleaseEngineRef(const void* ref, EngineKind kind);
// Objects alive now, for tests of the reference counts.
int LiveEngineObjects();

struct FontValue {
    std::string family;
    std::string style;
    bool operator==(const FontValue&) const = default;
};

// Character features with each value assigned or not.
struct CharValues {
    std::optional<FontValue> font;
    std::optional<double> fontSize, horizontalScale, verticalScale, baselineShift, lineWidth;
    std::optional<int32_t> tracking;
    std::optional<bool> fill, stroke;
    std::optional<AIStyleColor> fillColor, strokeColor;
    std::optional<std::vector<double>> dashArray;
};

struct ParaValues {
    std::optional<int32_t> justification;
    std::optional<double> leading;
    std::optional<std::string> kinsoku, mojikumi;
};

CharValues AllChars(const CharFeatures& chars);
ParaValues AllParas(const ParaFeatures& paras);
// Keeps only the values that equal those of other.
void IntersectChars(CharValues& values, const CharValues& other);
void IntersectParas(ParaValues& values, const ParaValues& other);
void ApplyChars(const CharValues& values, CharFeatures& chars);
void ApplyParas(const ParaValues& values, ParaFeatures& paras);
bool SameChars(const CharFeatures& a, const CharFeatures& b);
bool SameParas(const ParaFeatures& a, const ParaFeatures& b);

struct FrameObject : EngineObject {
    FrameObject() : EngineObject(EngineKind::Frame) {}
    Art* art = nullptr;
};

struct RangeObject : EngineObject {
    RangeObject() : EngineObject(EngineKind::Range) {}
    Art* art = nullptr;
    int32_t start = 0;
    int32_t end = 0;
    CharValues pendingChars;   // local features for text inserted through this range
    ParaValues pendingParas;
};

struct CharFeaturesObject : EngineObject {
    CharFeaturesObject() : EngineObject(EngineKind::CharFeatures) {}
    CharValues values;
};

struct ParaFeaturesObject : EngineObject {
    ParaFeaturesObject() : EngineObject(EngineKind::ParaFeatures) {}
    ParaValues values;
};

struct FontObject : EngineObject {
    FontObject() : EngineObject(EngineKind::Font) {}
    FontValue font;
};

struct PaintObject : EngineObject {
    PaintObject() : EngineObject(EngineKind::Paint) {}
    AIStyleColor color{};
};

struct ArrayRealObject : EngineObject {
    ArrayRealObject() : EngineObject(EngineKind::ArrayReal) {}
    std::vector<double> values;
};

struct ArrayRealPointObject : EngineObject {
    ArrayRealPointObject() : EngineObject(EngineKind::ArrayRealPoint) {}
    std::vector<AIRealPoint> points;
};

struct NamedSetObject : EngineObject {
    explicit NamedSetObject(EngineKind k) : EngineObject(k) {}
    std::string name;   // UTF-8
};

// One UTF-16 unit of a story with the features of its character.
struct StoryCell {
    char16_t unit = 0;
    CharFeatures chars;
    ParaFeatures paras;
};

std::vector<StoryCell> ExplodeStory(const Art* art);
// Runs of equal features replace the art's runs; the art is marked changed.
void ImplodeStory(Art* art, const std::vector<StoryCell>& cells);
// The features new text at position takes when nothing else is set.
void FeaturesAt(const Art* art, const std::vector<StoryCell>& cells, int32_t position, CharFeatures& chars,
                ParaFeatures& paras);

// A frame laid out: its lines and runs, the cells they came from, the frame's matrix.
struct LaidOutFrame {
    Art* art = nullptr;
    TextLayout layout;
    std::vector<StoryCell> cells;
    AIRealMatrix matrix{1, 0, 0, 1, 0, 0};  // frame space (y down) to the internal space (y down)
};
ASErr LayOutFrame(Art* art, std::shared_ptr<LaidOutFrame>& out);
// Frame space to internal space for the art.
AIRealMatrix FrameMatrix(const Art* art);

struct LinesIteratorObject : EngineObject {
    LinesIteratorObject() : EngineObject(EngineKind::LinesIterator) {}
    std::shared_ptr<LaidOutFrame> frame;
    size_t index = 0;
};

struct LineObject : EngineObject {
    LineObject() : EngineObject(EngineKind::Line) {}
    std::shared_ptr<LaidOutFrame> frame;
    size_t line = 0;
};

struct RunsIteratorObject : EngineObject {
    RunsIteratorObject() : EngineObject(EngineKind::RunsIterator) {}
    std::shared_ptr<LaidOutFrame> frame;
    size_t line = 0;
    size_t index = 0;
};

struct RunObject : EngineObject {
    RunObject() : EngineObject(EngineKind::Run) {}
    std::shared_ptr<LaidOutFrame> frame;
    size_t line = 0;
    size_t run = 0;
};

// Copies eight-bit text into buffer (room bytes with the NUL) without splitting a
// double-byte character; answers the bytes copied.
int32_t CopyEightBit(const std::string& text, char* buffer, int32_t room);

// The document's kinsoku and mojikumi sets.
extern const char* const kKinsokuSetNames[2];
extern const char* const kMojiKumiSetNames[2];

// The engine's tables.
const ATETextFrameSuite* HostATETextFrameSuite();
const ATETextRangeSuite* HostATETextRangeSuite();
const ATETextLinesIteratorSuite* HostATETextLinesIteratorSuite();
const ATETextLineSuite* HostATETextLineSuite();
const ATEGlyphRunsIteratorSuite* HostATEGlyphRunsIteratorSuite();
const ATEGlyphRunSuite* HostATEGlyphRunSuite();
const ATECharFeaturesSuite* HostATECharFeaturesSuite();
const ATEParaFeaturesSuite* HostATEParaFeaturesSuite();
const ATEFontSuite* HostATEFontSuite();
const ATEArrayRealPointSuite* HostATEArrayRealPointSuite();
const ATEArrayRealSuite* HostATEArrayRealSuite();
const ATEApplicationPaintSuite* HostATEApplicationPaintSuite();
const ATEKinsokuSuite* HostATEKinsokuSuite();
const ATEMojiKumiSuite* HostATEMojiKumiSuite();
const ATEDocumentTextResourcesSuite* HostATEDocumentTextResourcesSuite();
const AITextFrameSuite* HostTextFrameSuite();
const AIFontSuite* HostFontSuite();
const AIHardSoftSuite* HostHardSoftSuite();
const AIATEPaintSuite* HostATEPaintSuite();

// New references of a frame and of its whole text.
ATE::TextFrameRef NewFrameRef(Art* art);
ATE::TextRangeRef NewRangeRef(Art* art);

// Lets the art bounds of text frames come from their layout.
void InstallTextEngine();

}  // namespace host
