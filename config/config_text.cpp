#include "config/config_text.h"

#include "platform/code_pages.h"

#include <cstring>
#include <vector>

namespace {

bool IsShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// One character (one or two UTF-16 units) as bytes of the code page; empty when it has none.
std::string Encode(uint32_t codePage, const char16_t* units, int count)
{
    char bytes[8];
    int n = WideToMultiByte(codePage, units, count, bytes, sizeof bytes);
    return n > 0 ? std::string(bytes, static_cast<size_t>(n)) : std::string();
}

std::string Decode(const char* bytes, int count)
{
    char16_t wide[4];
    int n = MultiByteToWide(kCodePageShiftJis, bytes, count, wide, 4);
    return n > 0 ? Encode(kCodePageUtf8, wide, n) : std::string();
}

} // namespace

std::string Cp932ToUtf8(const char* text)
{
    std::string result;
    if (text == nullptr)
        return result;
    size_t length = std::strlen(text);
    for (size_t at = 0; at < length;) {
        int width = IsShiftJisLead(static_cast<unsigned char>(text[at])) && at + 1 < length ? 2 : 1;
        std::string character = Decode(text + at, width);
        if (character.empty() && width == 2) {
            width = 1;
            character = Decode(text + at, 1);
        }
        if (character.empty())
            result.push_back('?');
        else
            result.append(character);
        at += static_cast<size_t>(width);
    }
    return result;
}

std::string Cp932FieldToUtf8(const char* field, size_t size)
{
    if (field == nullptr || size == 0)
        return std::string();
    size_t length = strnlen(field, size - 1);
    size_t at = 0;
    while (at < length) {
        size_t width = IsShiftJisLead(static_cast<unsigned char>(field[at])) ? 2 : 1;
        if (at + width > length)
            break;
        at += width;
    }
    return Cp932ToUtf8(std::string(field, at).c_str());
}

bool Utf8ToCp932(const std::string& text, char* out, size_t room)
{
    if (out == nullptr || room == 0)
        return false;
    std::memset(out, 0, room);
    if (text.empty())
        return true;
    int units = MultiByteToWide(kCodePageUtf8, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<char16_t> wide(static_cast<size_t>(units > 0 ? units : 0));
    if (units <= 0 ||
        MultiByteToWide(kCodePageUtf8, text.data(), static_cast<int>(text.size()), wide.data(), units) != units)
        return false;
    bool exact = true;
    size_t used = 0;
    for (size_t i = 0; i < wide.size();) {
        bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size();
        int count = pair ? 2 : 1;
        std::string bytes = Encode(kCodePageShiftJis, &wide[i], count);
        // The conversion may stand "?" in for a character the code page lacks.
        if (bytes.empty() || (bytes == "?" && wide[i] != u'?')) {
            bytes.assign(1, '?');
            exact = false;
        }
        if (used + bytes.size() > room - 1)
            return false;
        std::memcpy(out + used, bytes.data(), bytes.size());
        used += bytes.size();
        i += static_cast<size_t>(count);
    }
    return exact;
}
