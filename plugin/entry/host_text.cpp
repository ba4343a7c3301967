#include "plugin/entry/host_text.h"

#include "plugin/entry/suite_table.h"

ASErr MakeHostString(const char* text, int32_t encoding, AIUnicodeStringRef* string)
{
    *string = nullptr;
    if (sAIUnicodeString == nullptr)
        return kSuiteUnavailableErr;
    return sAIUnicodeString->MakeFromEightBit(text, encoding, string);
}

void DisposeHostString(AIUnicodeStringRef string)
{
    if (string != nullptr && sAIUnicodeString != nullptr)
        sAIUnicodeString->Dispose(string);
}
