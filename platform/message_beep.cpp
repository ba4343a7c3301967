#include "platform/message_beep.h"

#include <cstdio>

#include <unistd.h>

void MessageBeep(unsigned type)
{
    (void)type;
    // Only a terminal rings; a bell byte in a redirected log is noise.
    if (isatty(STDERR_FILENO) == 1) {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
}
