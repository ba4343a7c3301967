#include "plugin/entry/run_services.h"

#include <cstdio>
#include <cstring>

#include "platform/message_beep.h"
#include "plugin/entry/host_text.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "sdk/ai_unicode_string.h"
#include "sdk/ai_user.h"

void SetHostProgressText(const char* text)
{
    if (sAIUser == nullptr)
        return;
    AIUnicodeStringRef string = nullptr;
    if (MakeHostString(text, kAIShiftJisCharacterEncoding, &string) == kNoErr && string != nullptr)
        sAIUser->SetProgressText(string);
    DisposeHostString(string);
}

static void ShowCurrentProgress()
{
    char text[256];
    std::snprintf(text, sizeof text, "%.240s [%d]", g->emitter.szProgressMessage, g->emitter.iObjectCount);
    SetHostProgressText(text);
}

void ShowProgressText(const char* message)
{
    char* kept = g->emitter.szProgressMessage;
    if (message != kept) {
        std::strncpy(kept, message != nullptr ? message : "", sizeof g->emitter.szProgressMessage - 1);
        kept[sizeof g->emitter.szProgressMessage - 1] = '\0';
    }
    ShowCurrentProgress();
}

void AdvanceObjectCount(int32_t n)
{
    g->emitter.iObjectCount += n;
    ShowCurrentProgress();
}

void SetProgressPercent(int16_t percent)
{
    if (percent == g->emitter.wLastPercent)
        return;
    g->emitter.wLastPercent = percent;
    if (sAIUser != nullptr)
        sAIUser->UpdateProgress(percent, 100);
}

ASErr CheckUserCancel()
{
    if (sAIUser != nullptr && sAIUser->Cancel()) {
        g->fAbort = 1;
        return -1;
    }
    return kNoErr;
}

void PlayMessageBeep()
{
    MessageBeep(0);
}
