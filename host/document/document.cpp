// Operations on the document's art tree and layers.
#include "host/document/document.h"

#include <algorithm>
#include <cmath>

namespace host {

Document::Document() = default;
Document::~Document() = default;

namespace {

void MarkDocumentChanged(Document* doc)
{
    if (doc) doc->fChanged = true;
}

void SetLayerRecursive(Art* art, Layer* layer)
{
    art->layer = layer;
    for (Art* child : art->children) SetLayerRecursive(child, layer);
}

void Detach(Art* art)
{
    Art* parent = art->parent;
    if (!parent) return;
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), art), siblings.end());
    parent->fChildrenChanged = true;
    art->parent = nullptr;
}

void InsertAt(Art* parent, size_t index, Art* art)
{
    index = std::min(index, parent->children.size());
    parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(index), art);
    art->parent = parent;
    SetLayerRecursive(art, parent->layer);
    parent->fChildrenChanged = true;
    MarkDocumentChanged(parent->doc);
}

// Walking siblings one by one stays linear: the last index found is tried first.
size_t IndexInParent(const Art* art)
{
    const auto& siblings = art->parent->children;
    if (art->indexHint < siblings.size() && siblings[art->indexHint] == art) return art->indexHint;
    art->indexHint = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), art) - siblings.begin());
    return art->indexHint;
}

bool IsContainer(const Art* art)
{
    return art->type == ArtType::Group || art->type == ArtType::CompoundPath;
}

bool IsInside(const Art* art, const Art* ancestor)
{
    for (const Art* a = art; a; a = a->parent)
        if (a == ancestor) return true;
    return false;
}

Layer* TargetLayer(Document& doc)
{
    if (doc.currentLayer && !doc.currentLayer->fDisposed) return doc.currentLayer;
    return doc.layers.empty() ? nullptr : doc.layers.front();
}

// Places a detached art as the placement code says; false when the reference cannot take it.
bool Place(Document& doc, Art* art, Placement placement, Art* reference)
{
    if (!reference) {
        Layer* layer = TargetLayer(doc);
        if (!layer) return false;
        bool bottom = placement == Placement::Below || placement == Placement::BelowAll ||
                      placement == Placement::InsideOnBottom;
        InsertAt(layer->group, bottom ? layer->group->children.size() : 0, art);
        return true;
    }
    if (!IsArtAlive(reference) || IsInside(reference, art)) return false;
    switch (placement) {
    case Placement::Above:
    case Placement::Below:
        if (!reference->parent) return false;
        InsertAt(reference->parent, IndexInParent(reference) + (placement == Placement::Below ? 1 : 0), art);
        return true;
    case Placement::InsideOnTop:
    case Placement::InsideOnBottom:
        if (!IsContainer(reference)) return false;
        InsertAt(reference, placement == Placement::InsideOnTop ? 0 : reference->children.size(), art);
        return true;
    case Placement::AboveAll:
        if (doc.layers.empty()) return false;
        InsertAt(doc.layers.front()->group, 0, art);
        return true;
    case Placement::BelowAll:
        if (doc.layers.empty()) return false;
        InsertAt(doc.layers.back()->group, doc.layers.back()->group->children.size(), art);
        return true;
    }
    return false;
}

void MarkDisposed(Art* art)
{
    art->fDisposed = true;
    art->fSelected = false;
    for (Art* child : art->children) MarkDisposed(child);
}

Art* CopyArt(Document& doc, const Art* source)
{
    Art* copy = NewDetachedArt(doc, source->type);
    *copy = *source;
    copy->parent = nullptr;
    copy->layer = nullptr;
    copy->node = nullptr;
    copy->fChanged = true;
    copy->fChildrenChanged = true;
    copy->fDisposed = false;
    copy->name.clear();
    copy->children.clear();
    for (const Art* child : source->children) {
        Art* childCopy = CopyArt(doc, child);
        childCopy->parent = copy;
        copy->children.push_back(childCopy);
    }
    if (source->text.path) copy->text.path = CopyArt(doc, source->text.path);
    if (source->pluginResult) copy->pluginResult = CopyArt(doc, source->pluginResult);
    return copy;
}

void TransformSegment(AIPathSegment& s, const AIRealMatrix& m)
{
    s.ptAnchor = TransformPoint(m, s.ptAnchor);
    s.ptIn = TransformPoint(m, s.ptIn);
    s.ptOut = TransformPoint(m, s.ptOut);
}

void CollectSelected(Art* art, std::vector<Art*>& out)
{
    if (art->fSelected) out.push_back(art);
    for (Art* child : art->children) CollectSelected(child, out);
}

}  // namespace

Art* NewDetachedArt(Document& doc, ArtType type)
{
    doc.artPool.push_back(std::make_unique<Art>());
    Art* art = doc.artPool.back().get();
    art->doc = &doc;
    art->type = type;
    art->fChanged = true;
    if (type == ArtType::TextFrame) art->text.runs.push_back(TextRun{});
    return art;
}

ASErr NewArt(Document& doc, ArtType type, Placement placement, Art* reference, Art** out)
{
    if (out) *out = nullptr;
    Art* art = NewDetachedArt(doc, type);
    if (!Place(doc, art, placement, reference)) {
        art->fDisposed = true;
        return kBadParameterErr;
    }
    if (out) *out = art;
    return kNoErr;
}

ASErr DisposeArt(Art* art)
{
    if (!IsArtAlive(art) || !art->parent) return kBadParameterErr;  // a layer's group goes with its layer
    Detach(art);
    MarkDisposed(art);
    MarkDocumentChanged(art->doc);
    return kNoErr;
}

ASErr DuplicateArt(Art* source, Placement placement, Art* reference, Art** out)
{
    if (out) *out = nullptr;
    if (!IsArtAlive(source)) return kBadParameterErr;
    Document& doc = *source->doc;
    Art* copy = CopyArt(doc, source);
    if (!Place(doc, copy, placement, reference)) {
        MarkDisposed(copy);
        return kBadParameterErr;
    }
    if (out) *out = copy;
    return kNoErr;
}

ASErr ReorderArt(Art* art, Placement placement, Art* reference)
{
    if (!IsArtAlive(art) || !art->parent || art == reference) return kBadParameterErr;
    if (reference && IsInside(reference, art)) return kBadParameterErr;
    Art* oldParent = art->parent;
    size_t oldIndex = IndexInParent(art);
    Detach(art);
    if (!Place(*art->doc, art, placement, reference)) {
        InsertAt(oldParent, oldIndex, art);
        return kBadParameterErr;
    }
    return kNoErr;
}

Art* FirstChild(const Art* art)
{
    if (!art || art->children.empty()) return nullptr;
    art->children.front()->indexHint = 0;
    return art->children.front();
}

Art* LastChild(const Art* art)
{
    return art && !art->children.empty() ? art->children.back() : nullptr;
}

Art* NextSibling(const Art* art)
{
    if (!art || !art->parent) return nullptr;
    size_t i = IndexInParent(art);
    if (i + 1 >= art->parent->children.size()) return nullptr;
    Art* next = art->parent->children[i + 1];
    next->indexHint = i + 1;
    return next;
}

Art* PreviousSibling(const Art* art)
{
    if (!art || !art->parent) return nullptr;
    size_t i = IndexInParent(art);
    if (i == 0 || i >= art->parent->children.size()) return nullptr;
    Art* previous = art->parent->children[i - 1];
    previous->indexHint = i - 1;
    return previous;
}

bool IsArtAlive(const Art* art)
{
    return art && art->doc && !art->fDisposed;
}

void MarkArtChanged(Art* art)
{
    if (!art) return;
    art->fChanged = true;
    MarkDocumentChanged(art->doc);
}

void SetPathSegments(Art* art, const std::vector<AIPathSegment>& segments)
{
    art->segments = segments;
    MarkArtChanged(art);
}

void SetPathSegmentRange(Art* art, size_t first, const AIPathSegment* segments, size_t count)
{
    if (art->segments.size() < first + count) art->segments.resize(first + count);
    std::copy(segments, segments + count, art->segments.begin() + static_cast<std::ptrdiff_t>(first));
    MarkArtChanged(art);
}

void SetPathClosed(Art* art, bool closed)
{
    art->fClosed = closed;
    MarkArtChanged(art);
}

void SetPathGuide(Art* art, bool guide)
{
    art->fGuide = guide;
    MarkArtChanged(art);
}

void SetPathStyle(Art* art, const PathStyle& style)
{
    art->style = style;
    MarkArtChanged(art);
}

void SetTextContent(Art* art, const std::string& utf8)
{
    TextRun run = art->text.runs.empty() ? TextRun{} : art->text.runs.front();
    run.text = utf8;
    art->text.runs.assign(1, run);
    art->text.positions.clear();  // they named characters of the old text
    MarkArtChanged(art);
}

std::string TextContent(const Art* art)
{
    std::string text;
    for (const TextRun& run : art->text.runs) text += run.text;
    return text;
}

void TransformArt(Art* art, const AIRealMatrix& m, bool scaleStrokes)
{
    double scale = std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
    for (AIPathSegment& s : art->segments) TransformSegment(s, m);
    if (scaleStrokes) art->style.strokeWidth *= scale;
    for (Art* child : art->children) TransformArt(child, m, scaleStrokes);
    if (art->type == ArtType::SymbolInstance) art->matrix = ConcatMatrix(art->matrix, m);
    if (art->type == ArtType::TextFrame) {
        art->text.anchor = TransformPoint(m, art->text.anchor);
        AIRealMatrix linear = m;
        linear.tx = linear.ty = 0;
        art->text.matrix = ConcatMatrix(art->text.matrix, linear);
        if (art->text.path) TransformArt(art->text.path, m, scaleStrokes);
    }
    MarkArtChanged(art);
}

void SetArtSelected(Art* art, bool selected)
{
    if (art) art->fSelected = selected;
}

std::vector<Art*> SelectedArt(const Document& doc)
{
    std::vector<Art*> out;
    for (Layer* layer : doc.layers) CollectSelected(layer->group, out);
    return out;
}

void DeselectAll(Document& doc)
{
    for (auto& art : doc.artPool) art->fSelected = false;
}

ASErr InsertLayer(Document& doc, Layer* reference, Placement placement, Layer** out)
{
    if (out) *out = nullptr;
    size_t index = 0;
    bool bottom = placement == Placement::Below || placement == Placement::BelowAll ||
                  placement == Placement::InsideOnBottom;
    if (reference && placement != Placement::AboveAll && placement != Placement::BelowAll) {
        auto it = std::find(doc.layers.begin(), doc.layers.end(), reference);
        if (it == doc.layers.end()) return kBadParameterErr;
        index = static_cast<size_t>(it - doc.layers.begin()) + (bottom ? 1 : 0);
    } else {
        index = bottom ? doc.layers.size() : 0;
    }
    doc.layerPool.push_back(std::make_unique<Layer>());
    Layer* layer = doc.layerPool.back().get();
    layer->doc = &doc;
    layer->fChanged = true;
    layer->group = NewDetachedArt(doc, ArtType::Group);
    layer->group->layer = layer;
    doc.layers.insert(doc.layers.begin() + static_cast<std::ptrdiff_t>(index), layer);
    doc.currentLayer = layer;
    MarkDocumentChanged(&doc);
    if (out) *out = layer;
    return kNoErr;
}

ASErr DisposeLayer(Layer* layer)
{
    if (!layer || layer->fDisposed || !layer->doc) return kBadParameterErr;
    Document& doc = *layer->doc;
    doc.layers.erase(std::remove(doc.layers.begin(), doc.layers.end(), layer), doc.layers.end());
    layer->fDisposed = true;
    MarkDisposed(layer->group);
    if (doc.currentLayer == layer) doc.currentLayer = doc.layers.empty() ? nullptr : doc.layers.front();
    MarkDocumentChanged(&doc);
    return kNoErr;
}

Layer* FindLayerByTitle(const Document& doc, const std::string& title)
{
    for (Layer* layer : doc.layers)
        if (layer->title == title) return layer;
    return nullptr;
}

int CountLayers(const Document& doc)
{
    return static_cast<int>(doc.layers.size());
}

Layer* NthLayer(const Document& doc, int index)
{
    if (index < 0 || index >= CountLayers(doc)) return nullptr;
    return doc.layers[static_cast<size_t>(index)];
}

namespace {
void ChangeLayer(Layer* layer)
{
    layer->fChanged = true;
    MarkDocumentChanged(layer->doc);
}
}  // namespace

void SetLayerTitle(Layer* layer, const std::string& title)
{
    layer->title = title;
    ChangeLayer(layer);
}

void SetLayerVisible(Layer* layer, bool visible)
{
    layer->fVisible = visible;
    ChangeLayer(layer);
}

void SetLayerEditable(Layer* layer, bool editable)
{
    layer->fEditable = editable;
    ChangeLayer(layer);
}

void SetLayerPreview(Layer* layer, bool preview)
{
    layer->fPreview = preview;
    ChangeLayer(layer);
}

void SetLayerPrinted(Layer* layer, bool printed)
{
    layer->fPrinted = printed;
    ChangeLayer(layer);
}

Symbol* FindSymbol(const Document& doc, const std::string& name)
{
    for (Symbol* symbol : doc.symbols)
        if (symbol->name == name) return symbol;
    return nullptr;
}

AIRealPoint TransformPoint(const AIRealMatrix& m, const AIRealPoint& p)
{
    return AIRealPoint{m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

AIRealMatrix ConcatMatrix(const AIRealMatrix& first, const AIRealMatrix& then)
{
    AIRealMatrix r;
    r.a = first.a * then.a + first.b * then.c;
    r.b = first.a * then.b + first.b * then.d;
    r.c = first.c * then.a + first.d * then.c;
    r.d = first.c * then.b + first.d * then.d;
    r.tx = first.tx * then.a + first.ty * then.c + then.tx;
    r.ty = first.tx * then.b + first.ty * then.d + then.ty;
    return r;
}

bool InvertMatrix(const AIRealMatrix& m, AIRealMatrix& inverse)
{
    double det = m.a * m.d - m.b * m.c;
    if (det == 0 || !std::isfinite(det)) return false;
    inverse.a = m.d / det;
    inverse.b = -m.b / det;
    inverse.c = -m.c / det;
    inverse.d = m.a / det;
    inverse.tx = -(inverse.a * m.tx + inverse.c * m.ty);
    inverse.ty = -(inverse.b * m.tx + inverse.d * m.ty);
    return true;
}

AIRealMatrix IdentityMatrix()
{
    return AIRealMatrix{1, 0, 0, 1, 0, 0};
}

}  // namespace host
