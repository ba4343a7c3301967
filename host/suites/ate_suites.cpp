// The text engine's suites: frames, ranges, lines, glyph runs, features, fonts, arrays,
// paints and the document's kinsoku and mojikumi sets.
#include "host/suites/text_engine.h"

#include "host/suites/art_handles.h"
#include "host/session/host_session.h"
#include "host/suites/host_strings.h"

#include <algorithm>

namespace host {
namespace {

using ATE::ATEErr;

#define REF_COUNTING(Ref, Kind)                                                         \
    [](ATE::Ref r) -> ATEErr { return AddEngineRef(r, EngineKind::Kind); },             \
    [](ATE::Ref r) -> ATEErr { return ReleaseEngineRef(r, EngineKind::Kind); }

// A frame whose art is no longer live answers like an unknown reference.
Art* FrameArt(Art* art) { return art && LiveArt(ToHandle(art)) && art->type == ArtType::TextFrame ? art : nullptr; }

// ---- frames

ATEErr FrameGetTextRange(ATE::TextFrameRef ref, ATE::TextRangeRef* out)
{
    auto* frame = Find<FrameObject>(ref, EngineKind::Frame);
    if (!frame || !out || !FrameArt(frame->art)) return kBadParameterErr;
    auto* range = new RangeObject;
    range->art = frame->art;
    range->end = static_cast<int32_t>(ExplodeStory(frame->art).size());
    *out = NewRef<ATE::TextRangeRef>(range);
    return kNoErr;
}

ATEErr FrameGetLines(ATE::TextFrameRef ref, ATE::TextLinesIteratorRef* out)
{
    auto* frame = Find<FrameObject>(ref, EngineKind::Frame);
    if (!frame || !out || !FrameArt(frame->art)) return kBadParameterErr;
    auto* lines = new LinesIteratorObject;
    ASErr err = LayOutFrame(frame->art, lines->frame);
    if (err != kNoErr) {
        delete lines;
        return err;
    }
    *out = NewRef<ATE::TextLinesIteratorRef>(lines);
    return kNoErr;
}

ATEErr FrameGetMatrix(ATE::TextFrameRef ref, AIRealMatrix* out)
{
    auto* frame = Find<FrameObject>(ref, EngineKind::Frame);
    if (!frame || !out || !FrameArt(frame->art)) return kBadParameterErr;
    *out = FrameMatrix(frame->art);
    return kNoErr;
}

const ATETextFrameSuite kFrameSuite = {REF_COUNTING(TextFrameRef, Frame), FrameGetTextRange, FrameGetLines,
                                       FrameGetMatrix};

// ---- ranges

RangeObject* LiveRange(ATE::TextRangeRef ref)
{
    auto* range = Find<RangeObject>(ref, EngineKind::Range);
    return range && FrameArt(range->art) ? range : nullptr;
}

// Clamps the range to the story as it is now.
void Clamp(RangeObject* range, size_t size)
{
    range->end = std::clamp<int32_t>(range->end, 0, static_cast<int32_t>(size));
    range->start = std::clamp<int32_t>(range->start, 0, range->end);
}

ATEErr RangeGetStart(ATE::TextRangeRef ref, ASInt32* out)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !out) return kBadParameterErr;
    Clamp(r, ExplodeStory(r->art).size());
    *out = r->start;
    return kNoErr;
}

ATEErr RangeGetEnd(ATE::TextRangeRef ref, ASInt32* out)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !out) return kBadParameterErr;
    Clamp(r, ExplodeStory(r->art).size());
    *out = r->end;
    return kNoErr;
}

ATEErr RangeGetSize(ATE::TextRangeRef ref, ASInt32* out)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !out) return kBadParameterErr;
    Clamp(r, ExplodeStory(r->art).size());
    *out = r->end - r->start;
    return kNoErr;
}

ATEErr RangeSetRange(ATE::TextRangeRef ref, ASInt32 start, ASInt32 end)
{
    RangeObject* r = LiveRange(ref);
    if (!r || end < start) return kBadParameterErr;
    r->start = start;
    r->end = end;
    Clamp(r, ExplodeStory(r->art).size());
    return kNoErr;
}

ATEErr RangeCollapseToEnd(ATE::TextRangeRef ref)
{
    RangeObject* r = LiveRange(ref);
    if (!r) return kBadParameterErr;
    Clamp(r, ExplodeStory(r->art).size());
    r->start = r->end;
    return kNoErr;
}

ATEErr RangeGetContents(ATE::TextRangeRef ref, char* buffer, ASInt32 room, ASInt32* length)
{
    if (length) *length = 0;
    RangeObject* r = LiveRange(ref);
    if (!r || !buffer || room < 1) return kBadParameterErr;
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    std::u16string units;
    for (int32_t i = r->start; i < r->end; ++i) units += cells[i].unit;
    int32_t n = CopyEightBit(ToEightBit(units), buffer, room);
    if (length) *length = n;
    return kNoErr;
}

ATEErr RangeInsertAfter(ATE::TextRangeRef ref, const char16_t* text, ASInt32 length)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !text) return kBadParameterErr;
    std::u16string units = length < 0 ? std::u16string(text) : std::u16string(text, static_cast<size_t>(length));
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    StoryCell model;
    FeaturesAt(r->art, cells, r->end, model.chars, model.paras);
    ApplyChars(r->pendingChars, model.chars);
    ApplyParas(r->pendingParas, model.paras);
    std::vector<StoryCell> inserted;
    for (char16_t unit : units) {
        model.unit = unit;
        inserted.push_back(model);
    }
    cells.insert(cells.begin() + r->end, inserted.begin(), inserted.end());
    ImplodeStory(r->art, cells);
    r->end += static_cast<int32_t>(units.size());
    return kNoErr;
}

ATEErr RangeGetCharFeatures(ATE::TextRangeRef ref, ATE::CharFeaturesRef* out)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !out) return kBadParameterErr;
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    auto* features = new CharFeaturesObject;
    if (r->start == r->end) {
        StoryCell model;
        FeaturesAt(r->art, cells, r->end, model.chars, model.paras);
        ApplyChars(r->pendingChars, model.chars);
        features->values = AllChars(model.chars);
    } else {
        features->values = AllChars(cells[r->start].chars);
        for (int32_t i = r->start + 1; i < r->end; ++i) IntersectChars(features->values, AllChars(cells[i].chars));
    }
    *out = NewRef<ATE::CharFeaturesRef>(features);
    return kNoErr;
}

ATEErr RangeGetParaFeatures(ATE::TextRangeRef ref, ATE::ParaFeaturesRef* out)
{
    RangeObject* r = LiveRange(ref);
    if (!r || !out) return kBadParameterErr;
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    auto* features = new ParaFeaturesObject;
    if (r->start == r->end) {
        StoryCell model;
        FeaturesAt(r->art, cells, r->end, model.chars, model.paras);
        ApplyParas(r->pendingParas, model.paras);
        features->values = AllParas(model.paras);
    } else {
        features->values = AllParas(cells[r->start].paras);
        for (int32_t i = r->start + 1; i < r->end; ++i) IntersectParas(features->values, AllParas(cells[i].paras));
    }
    *out = NewRef<ATE::ParaFeaturesRef>(features);
    return kNoErr;
}

// Merges b's assigned values over a's.
void MergeChars(CharValues& a, const CharValues& b)
{
    if (b.font) a.font = b.font;
    if (b.fontSize) a.fontSize = b.fontSize;
    if (b.horizontalScale) a.horizontalScale = b.horizontalScale;
    if (b.verticalScale) a.verticalScale = b.verticalScale;
    if (b.baselineShift) a.baselineShift = b.baselineShift;
    if (b.lineWidth) a.lineWidth = b.lineWidth;
    if (b.tracking) a.tracking = b.tracking;
    if (b.fill) a.fill = b.fill;
    if (b.stroke) a.stroke = b.stroke;
    if (b.fillColor) a.fillColor = b.fillColor;
    if (b.strokeColor) a.strokeColor = b.strokeColor;
    if (b.dashArray) a.dashArray = b.dashArray;
}

void MergeParas(ParaValues& a, const ParaValues& b)
{
    if (b.justification) a.justification = b.justification;
    if (b.leading) a.leading = b.leading;
    if (b.kinsoku) a.kinsoku = b.kinsoku;
    if (b.mojikumi) a.mojikumi = b.mojikumi;
}

ATEErr RangeSetLocalChars(ATE::TextRangeRef ref, ATE::CharFeaturesRef fref)
{
    RangeObject* r = LiveRange(ref);
    auto* features = Find<CharFeaturesObject>(fref, EngineKind::CharFeatures);
    if (!r || !features) return kBadParameterErr;
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    MergeChars(r->pendingChars, features->values);
    if (r->start < r->end) {
        for (int32_t i = r->start; i < r->end; ++i) ApplyChars(features->values, cells[i].chars);
        ImplodeStory(r->art, cells);
    }
    return kNoErr;
}

ATEErr RangeSetLocalParas(ATE::TextRangeRef ref, ATE::ParaFeaturesRef fref)
{
    RangeObject* r = LiveRange(ref);
    auto* features = Find<ParaFeaturesObject>(fref, EngineKind::ParaFeatures);
    if (!r || !features) return kBadParameterErr;
    std::vector<StoryCell> cells = ExplodeStory(r->art);
    Clamp(r, cells.size());
    MergeParas(r->pendingParas, features->values);
    if (r->start < r->end) {
        for (int32_t i = r->start; i < r->end; ++i) ApplyParas(features->values, cells[i].paras);
        ImplodeStory(r->art, cells);
    }
    return kNoErr;
}

const ATETextRangeSuite kRangeSuite = {
    REF_COUNTING(TextRangeRef, Range), RangeGetStart, RangeGetEnd, RangeGetSize, RangeSetRange,
    RangeCollapseToEnd, RangeGetContents, RangeInsertAfter, RangeGetCharFeatures, RangeGetParaFeatures,
    RangeSetLocalChars, RangeSetLocalParas,
};

// ---- lines and glyph runs

ATEErr LinesIsNotDone(ATE::TextLinesIteratorRef ref, ASBoolean* out)
{
    auto* it = Find<LinesIteratorObject>(ref, EngineKind::LinesIterator);
    if (!it || !out) return kBadParameterErr;
    *out = it->index < it->frame->layout.lines.size();
    return kNoErr;
}

ATEErr LinesNext(ATE::TextLinesIteratorRef ref)
{
    auto* it = Find<LinesIteratorObject>(ref, EngineKind::LinesIterator);
    if (!it) return kBadParameterErr;
    if (it->index < it->frame->layout.lines.size()) ++it->index;
    return kNoErr;
}

ATEErr LinesItem(ATE::TextLinesIteratorRef ref, ATE::TextLineRef* out)
{
    auto* it = Find<LinesIteratorObject>(ref, EngineKind::LinesIterator);
    if (!it || !out || it->index >= it->frame->layout.lines.size()) return kBadParameterErr;
    auto* line = new LineObject;
    line->frame = it->frame;
    line->line = it->index;
    *out = NewRef<ATE::TextLineRef>(line);
    return kNoErr;
}

const ATETextLinesIteratorSuite kLinesSuite = {REF_COUNTING(TextLinesIteratorRef, LinesIterator), LinesIsNotDone,
                                               LinesNext, LinesItem};

ATEErr LineGetRuns(ATE::TextLineRef ref, ATE::GlyphRunsIteratorRef* out)
{
    auto* line = Find<LineObject>(ref, EngineKind::Line);
    if (!line || !out) return kBadParameterErr;
    auto* it = new RunsIteratorObject;
    it->frame = line->frame;
    it->line = line->line;
    *out = NewRef<ATE::GlyphRunsIteratorRef>(it);
    return kNoErr;
}

const ATETextLineSuite kLineSuite = {REF_COUNTING(TextLineRef, Line), LineGetRuns};

size_t RunCount(const RunsIteratorObject* it) { return it->frame->layout.lines[it->line].runs.size(); }

ATEErr RunsIsNotDone(ATE::GlyphRunsIteratorRef ref, ASBoolean* out)
{
    auto* it = Find<RunsIteratorObject>(ref, EngineKind::RunsIterator);
    if (!it || !out) return kBadParameterErr;
    *out = it->index < RunCount(it);
    return kNoErr;
}

ATEErr RunsNext(ATE::GlyphRunsIteratorRef ref)
{
    auto* it = Find<RunsIteratorObject>(ref, EngineKind::RunsIterator);
    if (!it) return kBadParameterErr;
    if (it->index < RunCount(it)) ++it->index;
    return kNoErr;
}

ATEErr RunsItem(ATE::GlyphRunsIteratorRef ref, ATE::GlyphRunRef* out)
{
    auto* it = Find<RunsIteratorObject>(ref, EngineKind::RunsIterator);
    if (!it || !out || it->index >= RunCount(it)) return kBadParameterErr;
    auto* run = new RunObject;
    run->frame = it->frame;
    run->line = it->line;
    run->run = it->index;
    *out = NewRef<ATE::GlyphRunRef>(run);
    return kNoErr;
}

const ATEGlyphRunsIteratorSuite kRunsSuite = {REF_COUNTING(GlyphRunsIteratorRef, RunsIterator), RunsIsNotDone,
                                              RunsNext, RunsItem};

const GlyphRun* LayoutRun(ATE::GlyphRunRef ref, RunObject** object = nullptr)
{
    auto* run = Find<RunObject>(ref, EngineKind::Run);
    if (!run) return nullptr;
    if (object) *object = run;
    return &run->frame->layout.lines[run->line].runs[run->run];
}

ATEErr RunGetCharFeatures(ATE::GlyphRunRef ref, ATE::CharFeaturesRef* out)
{
    RunObject* object = nullptr;
    const GlyphRun* run = LayoutRun(ref, &object);
    if (!run || !out) return kBadParameterErr;
    const std::vector<StoryCell>& cells = object->frame->cells;
    auto* features = new CharFeaturesObject;
    size_t at = static_cast<size_t>(std::max(run->iFirstUnit16, 0));
    features->values = AllChars(at < cells.size() ? cells[at].chars : CharFeatures{});
    *out = NewRef<ATE::CharFeaturesRef>(features);
    return kNoErr;
}

ATEErr RunGetOrigins(ATE::GlyphRunRef ref, ATE::ArrayRealPointRef* out)
{
    const GlyphRun* run = LayoutRun(ref);
    if (!run || !out) return kBadParameterErr;
    auto* array = new ArrayRealPointObject;
    array->points = run->origins;
    *out = NewRef<ATE::ArrayRealPointRef>(array);
    return kNoErr;
}

ATEErr RunGetCharacterCount(ATE::GlyphRunRef ref, ASInt32* out)
{
    const GlyphRun* run = LayoutRun(ref);
    if (!run || !out) return kBadParameterErr;
    *out = static_cast<ASInt32>(run->text.size());
    return kNoErr;
}

ATEErr RunGetContents(ATE::GlyphRunRef ref, char* buffer, ASInt32 room, ASInt32* length)
{
    if (length) *length = 0;
    const GlyphRun* run = LayoutRun(ref);
    if (!run || !buffer || room < 1) return kBadParameterErr;
    int32_t n = CopyEightBit(ToEightBit(EncodeUtf16(run->text)), buffer, room);
    if (length) *length = n;
    return kNoErr;
}

const ATEGlyphRunSuite kRunSuite = {REF_COUNTING(GlyphRunRef, Run), RunGetCharFeatures, RunGetOrigins,
                                    RunGetCharacterCount, RunGetContents};

// ---- arrays

ATEErr PointsSize(ATE::ArrayRealPointRef ref, ASInt32* out)
{
    auto* a = Find<ArrayRealPointObject>(ref, EngineKind::ArrayRealPoint);
    if (!a || !out) return kBadParameterErr;
    *out = static_cast<ASInt32>(a->points.size());
    return kNoErr;
}

ATEErr PointsItem(ATE::ArrayRealPointRef ref, ASInt32 index, AIRealPoint* out)
{
    auto* a = Find<ArrayRealPointObject>(ref, EngineKind::ArrayRealPoint);
    if (!a || !out || index < 0 || static_cast<size_t>(index) >= a->points.size()) return kBadParameterErr;
    *out = a->points[index];
    return kNoErr;
}

const ATEArrayRealPointSuite kPointsSuite = {REF_COUNTING(ArrayRealPointRef, ArrayRealPoint), PointsSize, PointsItem};

ATEErr RealsCreate(const AIReal* values, ASInt32 count, ATE::ArrayRealRef* out)
{
    if (!out || count < 0 || (count > 0 && !values)) return kBadParameterErr;
    auto* a = new ArrayRealObject;
    a->values.assign(values, values + count);
    *out = NewRef<ATE::ArrayRealRef>(a);
    return kNoErr;
}

ATEErr RealsSize(ATE::ArrayRealRef ref, ASInt32* out)
{
    auto* a = Find<ArrayRealObject>(ref, EngineKind::ArrayReal);
    if (!a || !out) return kBadParameterErr;
    *out = static_cast<ASInt32>(a->values.size());
    return kNoErr;
}

ATEErr RealsItem(ATE::ArrayRealRef ref, ASInt32 index, AIReal* out)
{
    auto* a = Find<ArrayRealObject>(ref, EngineKind::ArrayReal);
    if (!a || !out || index < 0 || static_cast<size_t>(index) >= a->values.size()) return kBadParameterErr;
    *out = a->values[index];
    return kNoErr;
}

const ATEArrayRealSuite kRealsSuite = {REF_COUNTING(ArrayRealRef, ArrayReal), RealsCreate, RealsSize, RealsItem};

// ---- features

template <typename Object, typename Ref>
ATEErr NewFeatures(Ref* out, EngineKind kind)
{
    if (!out) return kBadParameterErr;
    (void)kind;
    *out = NewRef<Ref>(new Object);
    return kNoErr;
}

template <typename Object, typename Ref>
ATEErr CloneFeatures(Ref ref, Ref* out, EngineKind kind)
{
    auto* from = Find<Object>(ref, kind);
    if (!from || !out) return kBadParameterErr;
    auto* copy = new Object;
    copy->values = from->values;
    *out = NewRef<Ref>(copy);
    return kNoErr;
}

// Plain values: the getter answers assigned and the value.
#define PLAIN_FEATURE(Object, Ref, Kind, field, Type)                                                     \
    [](ATE::Ref r, ASBoolean* assigned, Type* value) -> ATEErr {                                          \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f || !assigned || !value) return kBadParameterErr;                                           \
        *assigned = f->values.field.has_value();                                                          \
        *value = f->values.field ? static_cast<Type>(*f->values.field) : Type{};                          \
        return kNoErr;                                                                                    \
    },                                                                                                    \
    [](ATE::Ref r, Type value) -> ATEErr {                                                                \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f) return kBadParameterErr;                                                                  \
        f->values.field = value;                                                                          \
        return kNoErr;                                                                                    \
    },                                                                                                    \
    [](ATE::Ref r) -> ATEErr {                                                                            \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f) return kBadParameterErr;                                                                  \
        f->values.field.reset();                                                                          \
        return kNoErr;                                                                                    \
    }

// Values held as objects: the getter hands out a new object, the setter copies one in.
#define OBJECT_FEATURE(Object, Ref, Kind, field, ValueRef, MakeValue, ReadValue)                          \
    [](ATE::Ref r, ASBoolean* assigned, ATE::ValueRef* value) -> ATEErr {                                 \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f || !assigned || !value) return kBadParameterErr;                                           \
        *assigned = f->values.field.has_value();                                                          \
        *value = f->values.field ? MakeValue(*f->values.field) : nullptr;                                 \
        return kNoErr;                                                                                    \
    },                                                                                                    \
    [](ATE::Ref r, ATE::ValueRef value) -> ATEErr {                                                       \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f) return kBadParameterErr;                                                                  \
        return ReadValue(value, f->values.field);                                                         \
    },                                                                                                    \
    [](ATE::Ref r) -> ATEErr {                                                                            \
        auto* f = Find<Object>(r, EngineKind::Kind);                                                      \
        if (!f) return kBadParameterErr;                                                                  \
        f->values.field.reset();                                                                          \
        return kNoErr;                                                                                    \
    }

ATE::FontRef MakeFont(const FontValue& v)
{
    auto* o = new FontObject;
    o->font = v;
    return NewRef<ATE::FontRef>(o);
}
ATEErr ReadFont(ATE::FontRef ref, std::optional<FontValue>& out)
{
    auto* o = Find<FontObject>(ref, EngineKind::Font);
    if (!o) return kBadParameterErr;
    out = o->font;
    return kNoErr;
}
ATE::ApplicationPaintRef MakePaint(const AIStyleColor& c)
{
    auto* o = new PaintObject;
    o->color = c;
    return NewRef<ATE::ApplicationPaintRef>(o);
}
ATEErr ReadPaint(ATE::ApplicationPaintRef ref, std::optional<AIStyleColor>& out)
{
    auto* o = Find<PaintObject>(ref, EngineKind::Paint);
    if (!o) return kBadParameterErr;
    out = o->color;
    return kNoErr;
}
ATE::ArrayRealRef MakeReals(const std::vector<double>& v)
{
    auto* o = new ArrayRealObject;
    o->values = v;
    return NewRef<ATE::ArrayRealRef>(o);
}
ATEErr ReadReals(ATE::ArrayRealRef ref, std::optional<std::vector<double>>& out)
{
    auto* o = Find<ArrayRealObject>(ref, EngineKind::ArrayReal);
    if (!o) return kBadParameterErr;
    out = o->values;
    return kNoErr;
}
template <typename Ref, EngineKind Kind>
Ref MakeSet(const std::string& name)
{
    auto* o = new NamedSetObject(Kind);
    o->name = name;
    return NewRef<Ref>(o);
}
// A null set reads as "none", the empty name.
template <typename Ref, EngineKind Kind>
ATEErr ReadSet(Ref ref, std::optional<std::string>& out)
{
    if (!ref) {
        out = std::string();
        return kNoErr;
    }
    auto* o = Find<NamedSetObject>(ref, Kind);
    if (!o) return kBadParameterErr;
    out = o->name;
    return kNoErr;
}

const ATECharFeaturesSuite kCharSuite = {
    REF_COUNTING(CharFeaturesRef, CharFeatures),
    [](ATE::CharFeaturesRef* out) { return NewFeatures<CharFeaturesObject>(out, EngineKind::CharFeatures); },
    [](ATE::CharFeaturesRef r, ATE::CharFeaturesRef* out) {
        return CloneFeatures<CharFeaturesObject>(r, out, EngineKind::CharFeatures);
    },
    OBJECT_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, font, FontRef, MakeFont, ReadFont),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, fontSize, AIReal),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, horizontalScale, AIReal),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, verticalScale, AIReal),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, tracking, ASInt32),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, baselineShift, AIReal),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, fill, ASBoolean),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, stroke, ASBoolean),
    OBJECT_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, fillColor, ApplicationPaintRef, MakePaint,
                   ReadPaint),
    OBJECT_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, strokeColor, ApplicationPaintRef, MakePaint,
                   ReadPaint),
    PLAIN_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, lineWidth, AIReal),
    OBJECT_FEATURE(CharFeaturesObject, CharFeaturesRef, CharFeatures, dashArray, ArrayRealRef, MakeReals, ReadReals),
};

const ATEParaFeaturesSuite kParaSuite = {
    REF_COUNTING(ParaFeaturesRef, ParaFeatures),
    [](ATE::ParaFeaturesRef* out) { return NewFeatures<ParaFeaturesObject>(out, EngineKind::ParaFeatures); },
    [](ATE::ParaFeaturesRef r, ATE::ParaFeaturesRef* out) {
        return CloneFeatures<ParaFeaturesObject>(r, out, EngineKind::ParaFeatures);
    },
    PLAIN_FEATURE(ParaFeaturesObject, ParaFeaturesRef, ParaFeatures, justification, ASInt32),
    PLAIN_FEATURE(ParaFeaturesObject, ParaFeaturesRef, ParaFeatures, leading, AIReal),
    OBJECT_FEATURE(ParaFeaturesObject, ParaFeaturesRef, ParaFeatures, kinsoku, KinsokuRef,
                   (MakeSet<ATE::KinsokuRef, EngineKind::Kinsoku>), (ReadSet<ATE::KinsokuRef, EngineKind::Kinsoku>)),
    OBJECT_FEATURE(ParaFeaturesObject, ParaFeaturesRef, ParaFeatures, mojikumi, MojiKumiRef,
                   (MakeSet<ATE::MojiKumiRef, EngineKind::MojiKumi>),
                   (ReadSet<ATE::MojiKumiRef, EngineKind::MojiKumi>)),
};

const ATEFontSuite kFontSuite = {REF_COUNTING(FontRef, Font)};
const ATEApplicationPaintSuite kPaintSuite = {REF_COUNTING(ApplicationPaintRef, Paint)};

// ---- kinsoku and mojikumi sets

template <EngineKind Kind>
ATEErr SetName(const void* ref, char* buffer, ASInt32 room)
{
    auto* o = Find<NamedSetObject>(ref, Kind);
    if (!o || !buffer || room < 1) return kBadParameterErr;
    CopyEightBit(ToEightBit(Utf8ToUtf16(o->name)), buffer, room);
    return kNoErr;
}

const ATEKinsokuSuite kKinsokuSuite = {
    REF_COUNTING(KinsokuRef, Kinsoku),
    [](ATE::KinsokuRef r, char* buffer, ASInt32 room) { return SetName<EngineKind::Kinsoku>(r, buffer, room); }};
const ATEMojiKumiSuite kMojiKumiSuite = {
    REF_COUNTING(MojiKumiRef, MojiKumi),
    [](ATE::MojiKumiRef r, char* buffer, ASInt32 room) { return SetName<EngineKind::MojiKumi>(r, buffer, room); }};

template <typename Ref, EngineKind Kind>
ATEErr NthSet(const char* const* names, ASInt32 index, Ref* out)
{
    if (!out || index < 0 || index >= 2) return kBadParameterErr;
    *out = MakeSet<Ref, Kind>(names[index]);
    return kNoErr;
}

const ATEDocumentTextResourcesSuite kResourcesSuite = {
    [](ASInt32* count) -> ATEErr {
        if (!count) return kBadParameterErr;
        *count = 2;
        return kNoErr;
    },
    [](ASInt32 index, ATE::KinsokuRef* out) {
        return NthSet<ATE::KinsokuRef, EngineKind::Kinsoku>(kKinsokuSetNames, index, out);
    },
    [](ATE::KinsokuRef* out) -> ATEErr {
        if (!out) return kBadParameterErr;
        *out = MakeSet<ATE::KinsokuRef, EngineKind::Kinsoku>("");
        return kNoErr;
    },
    [](ASInt32* count) -> ATEErr {
        if (!count) return kBadParameterErr;
        *count = 2;
        return kNoErr;
    },
    [](ASInt32 index, ATE::MojiKumiRef* out) {
        return NthSet<ATE::MojiKumiRef, EngineKind::MojiKumi>(kMojiKumiSetNames, index, out);
    },
    [](ATE::MojiKumiRef* out) -> ATEErr {
        if (!out) return kBadParameterErr;
        *out = MakeSet<ATE::MojiKumiRef, EngineKind::MojiKumi>("");
        return kNoErr;
    },
};

}  // namespace

const ATETextFrameSuite* HostATETextFrameSuite() { InstallTextEngine(); return &kFrameSuite; }
const ATETextRangeSuite* HostATETextRangeSuite() { return &kRangeSuite; }
const ATETextLinesIteratorSuite* HostATETextLinesIteratorSuite() { return &kLinesSuite; }
const ATETextLineSuite* HostATETextLineSuite() { return &kLineSuite; }
const ATEGlyphRunsIteratorSuite* HostATEGlyphRunsIteratorSuite() { return &kRunsSuite; }
const ATEGlyphRunSuite* HostATEGlyphRunSuite() { return &kRunSuite; }
const ATECharFeaturesSuite* HostATECharFeaturesSuite() { return &kCharSuite; }
const ATEParaFeaturesSuite* HostATEParaFeaturesSuite() { return &kParaSuite; }
const ATEFontSuite* HostATEFontSuite() { return &kFontSuite; }
const ATEArrayRealPointSuite* HostATEArrayRealPointSuite() { return &kPointsSuite; }
const ATEArrayRealSuite* HostATEArrayRealSuite() { return &kRealsSuite; }
const ATEApplicationPaintSuite* HostATEApplicationPaintSuite() { return &kPaintSuite; }
const ATEKinsokuSuite* HostATEKinsokuSuite() { return &kKinsokuSuite; }
const ATEMojiKumiSuite* HostATEMojiKumiSuite() { return &kMojiKumiSuite; }
const ATEDocumentTextResourcesSuite* HostATEDocumentTextResourcesSuite() { return &kResourcesSuite; }

// Frames are made by the Text Frame suite.
ATE::TextFrameRef NewFrameRef(Art* art)
{
    auto* frame = new FrameObject;
    frame->art = art;
    return NewRef<ATE::TextFrameRef>(frame);
}

ATE::TextRangeRef NewRangeRef(Art* art)
{
    auto* range = new RangeObject;
    range->art = art;
    range->end = static_cast<int32_t>(ExplodeStory(art).size());
    return NewRef<ATE::TextRangeRef>(range);
}

}  // namespace host
