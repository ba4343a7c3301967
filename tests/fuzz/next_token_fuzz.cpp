// Fuzz target: the record tokenizer. The first input byte is the delimiter, the rest the
// text. Walking the whole text token by token ends, moves forward every call, never reads
// past the terminator, and gives tokens of at most 255 characters without blanks or LF.
#include "plugin/records/document_records.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char delimiter = static_cast<char>(data[0]);
    // Exactly the text and its terminator, so a read past it is a sanitizer report.
    std::vector<char> text(data + 1, data + size);
    text.push_back('\0');
    const int32_t length = static_cast<int32_t>(std::strlen(text.data()));
    int32_t position = 0;
    for (int calls = 0;; ++calls) {
        FUZZ_CHECK(calls <= length + 1, "the walk does not end");
        char token[256 + 8];
        std::memset(token, 'Z', sizeof token);
        const int32_t before = position;
        const int16_t end = NextToken(text.data(), delimiter, &position, token);
        FUZZ_CHECK(std::memchr(token, 0, 256) != nullptr, "the token is not terminated in its 256 bytes");
        FUZZ_CHECK(token[256] == 'Z', "written past the token");
        FUZZ_CHECK(position <= length, "the position passed the text's end");
        FUZZ_CHECK(end == 0 || end == 1, "result " + std::to_string(end));
        for (const char* c = token; *c; ++c)
            FUZZ_CHECK(*c != ' ' && *c != '\n' && *c != '\r' && *c != delimiter, "a blank, LF, CR or delimiter kept");
        if (end == 1) {
            // The records are far shorter than the tokenizer's 32768-character reach.
            FUZZ_CHECK(position == length || position == 32768, "the end reported before the text's end");
            break;
        }
        FUZZ_CHECK(position > before, "no progress");
        FUZZ_CHECK(text[position - 1] == delimiter || text[position - 1] == '\r', "stopped elsewhere than a delimiter or CR");
    }
    return 0;
}
