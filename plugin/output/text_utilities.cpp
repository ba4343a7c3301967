#include "plugin/output/text_utilities.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "platform/code_pages.h"

const char kErrorLogName[] = "ERROR MSG.TXT";

namespace {

// Whether part matches text at its start over count characters of part (the NUL of text
// ends a match early).
bool MatchesAt(const char* text, const char* part, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (text[i] != part[i])
            return false;
    return true;
}

int32_t BoundedLength(const char* text, int32_t limit)
{
    int32_t n = 0;
    while (n < limit && text[n] != '\0')
        ++n;
    return n;
}

// One code point of UTF-8 at text; *length is its byte count (1 for a byte that starts no
// valid sequence, with -1 returned).
int32_t DecodeUtf8(const unsigned char* text, int* length)
{
    unsigned char lead = text[0];
    int count = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    *length = 1;
    if (count == 0)
        return -1;
    int32_t code = count == 1 ? lead : lead & (0x7F >> count);
    for (int i = 1; i < count; ++i) {
        if ((text[i] & 0xC0) != 0x80)
            return -1;
        code = (code << 6) | (text[i] & 0x3F);
    }
    static const int32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[count] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return -1;
    *length = count;
    return code;
}

// The code page 932 bytes of one code point into bytes (room 4); 0 when it has none.
int EncodeShiftJis(int32_t code, char* bytes)
{
    if (code < 0)
        return 0;
    if (code < 0x80) {
        bytes[0] = char(code);
        return 1;
    }
    char16_t units[2];
    int count = 1;
    if (code >= 0x10000) {
        units[0] = char16_t(0xD800 + ((code - 0x10000) >> 10));
        units[1] = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = char16_t(code);
    }
    return WideToMultiByte(kCodePageShiftJis, units, count, bytes, 4);
}

}  // namespace

int16_t StringLength(const char* text) { return text == nullptr ? 0 : int16_t(BoundedLength(text, kStringLimit)); }

char* CopyStringBounded(char* destination, const char* source)
{
    for (int i = 0; i < kStringLimit; ++i) {
        destination[i] = source[i];
        if (source[i] == '\0')
            break;
    }
    return destination;
}

int16_t CompareStringsBounded(const char* a, const char* b)
{
    if (a == nullptr)
        a = "";
    if (b == nullptr)
        b = "";
    for (int i = 0; i < kStringLimit; ++i) {
        signed char x = static_cast<signed char>(a[i]);
        signed char y = static_cast<signed char>(b[i]);
        if (x != y) {
            if (x == 0)
                return -1;
            if (y == 0)
                return 1;
            return x > y ? 1 : -1;
        }
        if (x == 0)
            return 0;
    }
    return 0;
}

int32_t FindSubstring(const char* text, const char* part)
{
    if (text == nullptr || part == nullptr)
        return -1;
    int32_t partLength = int32_t(std::strlen(part));
    for (int32_t i = 0; text[i] != '\0'; ++i)
        if (MatchesAt(text + i, part, partLength))
            return i;
    return -1;
}

int32_t FindSubstringBounded(const char* text, const char* part)
{
    if (text == nullptr || part == nullptr)
        return -1;
    int32_t partLength = BoundedLength(part, kBoundedSearchLimit);
    for (int32_t i = 0; i < kBoundedSearchLimit && text[i] != '\0'; ++i)
        if (MatchesAt(text + i, part, partLength))
            return i;
    return -1;
}

int32_t RemoveSubstring(char* buffer, const char* part)
{
    int32_t at = FindSubstringBounded(buffer, part);
    if (at < 0)
        return -1;
    int32_t removed = BoundedLength(part, kBoundedSearchLimit);
    std::memmove(buffer + at, buffer + at + removed, std::strlen(buffer + at + removed) + 1);
    return int32_t(std::strlen(buffer));
}

void CopyHeadSubstring(const char* source, int32_t n, char* destination)
{
    if (source == nullptr || destination == nullptr)
        return;
    int32_t count = BoundedLength(source, n > 0 ? n : 0);
    std::memcpy(destination, source, size_t(count));
    destination[count] = '\0';
}

void CopyTailSubstring(const char* source, int32_t n, char* destination)
{
    if (source == nullptr || destination == nullptr)
        return;
    size_t length = std::strlen(source);
    size_t count = n > 0 && size_t(n) < length ? size_t(n) : (n > 0 ? length : 0);
    std::memcpy(destination, source + length - count, count);
    destination[count] = '\0';
}

int CopyCToPascalString(unsigned char* destination, const char* source, int32_t size)
{
    int32_t limit = size - 1 < 255 ? size - 1 : 255;
    int32_t count = 0;
    while (count < limit && source[count] != '\0') {
        destination[count + 1] = static_cast<unsigned char>(source[count]);
        ++count;
    }
    if (count < limit)
        destination[count + 1] = 0;
    if (size > 0)
        destination[0] = static_cast<unsigned char>(count);
    return 0;
}

int32_t CopyPascalToCString(char* destination, const unsigned char* counted, int32_t size)
{
    if (size <= 0)
        return 0;
    int32_t count = counted[0] < size - 1 ? counted[0] : size - 1;
    std::memcpy(destination, counted + 1, size_t(count));
    destination[count] = '\0';
    return count;
}

int32_t WriteStringToFile(int fd, const char* text)
{
    size_t length = std::strlen(text);
    size_t done = 0;
    while (done < length) {
        ssize_t n = write(fd, text + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    return int32_t(done);
}

void AppendErrorLog(const char* text)
{
    int fd = open(kErrorLogName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    WriteStringToFile(fd, text);
    close(fd);
}

AIPlatformFileSpec* ClearFileSpecRecord(AIPlatformFileSpec* record)
{
    std::memset(record, 0, sizeof *record);
    return record;
}

size_t ConvertUtf8ToShiftJis(const char* utf8, char* out, size_t room)
{
    if (out == nullptr || room == 0)
        return 0;
    size_t written = 0;
    const unsigned char* at = reinterpret_cast<const unsigned char*>(utf8 != nullptr ? utf8 : "");
    while (*at != 0) {
        int length = 1;
        char bytes[4];
        int count = EncodeShiftJis(DecodeUtf8(at, &length), bytes);
        if (count <= 0) {
            bytes[0] = '?';
            count = 1;
        }
        if (written + size_t(count) + 1 > room)
            break;
        std::memcpy(out + written, bytes, size_t(count));
        written += size_t(count);
        at += length;
    }
    out[written] = '\0';
    return written;
}
