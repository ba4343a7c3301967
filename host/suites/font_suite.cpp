// The host's Font suite: font keys are the font library's faces, found by family and style.
#include "host/suites/text_engine.h"

#include "host/text/font_library.h"

#include <mutex>
#include <set>
#include <string>

namespace host {
namespace {

std::set<const FontFace*>& KnownKeys()
{
    static std::set<const FontFace*> keys;
    return keys;
}

const FontFace* KeyFace(AIFontKey key)
{
    auto* face = reinterpret_cast<const FontFace*>(key);
    return KnownKeys().count(face) ? face : nullptr;
}

ASErr FontKeyFromFont(ATE::FontRef font, AIFontKey* key)
{
    auto* object = Find<FontObject>(font, EngineKind::Font);
    if (!object || !key) return kBadParameterErr;
    std::string style = object->font.style == "Regular" ? "" : object->font.style;
    const FontFace* face = nullptr;
    ASErr err = FindFontFace(object->font.family.c_str(), style.c_str(), &face);
    if (err != kNoErr) return err;
    KnownKeys().insert(face);
    *key = reinterpret_cast<AIFontKey>(const_cast<FontFace*>(face));
    return kNoErr;
}

ASErr FontFromFontKey(AIFontKey key, ATE::FontRef* font)
{
    const FontFace* face = KeyFace(key);
    if (!face || !font) return kBadParameterErr;
    auto* object = new FontObject;
    object->font.family = face->szRequestedFamily;
    object->font.style = face->szRequestedStyle.empty() ? "Regular" : face->szRequestedStyle;
    *font = NewRef<ATE::FontRef>(object);
    return kNoErr;
}

ASErr GetFullFontName(AIFontKey key, char* buffer, ASInt32 room)
{
    const FontFace* face = KeyFace(key);
    if (!face || !buffer || room < 1) return kBadParameterErr;
    std::string name = face->szRequestedFamily + " " +
                       (face->szRequestedStyle.empty() ? std::string("Regular") : face->szRequestedStyle);
    CopyEightBit(name, buffer, room);
    return kNoErr;
}

ASErr GetCharacterMetrics(AIFontKey key, const char* utf8, ASInt32 mode, AIReal* first, AIReal* second)
{
    const FontFace* face = KeyFace(key);
    if (!face || !utf8 || !first || !second) return kBadParameterErr;
    return GetFontMetrics(face, utf8, mode, first, second);
}

const AIFontSuite kSuite = {FontKeyFromFont, FontFromFontKey, GetFullFontName, GetCharacterMetrics};

}  // namespace

const AIFontSuite* HostFontSuite() { return &kSuite; }

}  // namespace host
