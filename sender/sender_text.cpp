#include "sender/sender_text.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit, -1 for any other character.
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

int16_t StringLength(const char* text)
{
    if (text == nullptr)
        return 0;
    int16_t length = 0;
    while (length < kStringLimit && text[length] != '\0')
        ++length;
    return length;
}

int16_t CompareStringsBounded(const char* a, const char* b)
{
    if (a == nullptr)
        a = "";
    if (b == nullptr)
        b = "";
    for (int i = 0; i < kStringLimit; ++i) {
        auto ca = static_cast<signed char>(a[i]);
        auto cb = static_cast<signed char>(b[i]);
        if (ca == '\0' || cb == '\0')
            return ca == cb ? 0 : ca == '\0' ? -1 : 1;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

void EncodeHex(const unsigned char* bytes, int count, char* text)
{
    for (int i = 0; i < count; ++i) {
        text[2 * i] = kHexDigits[bytes[i] >> 4];
        text[2 * i + 1] = kHexDigits[bytes[i] & 0x0F];
    }
    text[count > 0 ? 2 * count : 0] = '\0';
}

void DecodeHex(const char* text, unsigned char* bytes, int* count)
{
    int n = 0;
    for (; text[0] != '\0'; text += 2) {
        int high = HexValue(text[0]);
        int low = HexValue(text[1]);
        if (high < 0 || low < 0)
            break;
        bytes[n++] = static_cast<unsigned char>(high << 4 | low);
    }
    bytes[n] = '\0';
    *count = n;
}

int NextField(char delimiter, const char* text, int* position, char* field)
{
    int at = *position;
    int length = 0;
    while (length < kFieldLimit && text[at] != '\0' && text[at] != delimiter)
        field[length++] = text[at++];
    field[length] = '\0';
    if (text[at] != '\0' && text[at] == delimiter)
        ++at;
    *position = at;
    return length;
}

void DoNothing()
{
}
