// TRVXSender: the console job sender. Its stream is not built yet.
#include <cstdio>

#include "plugin/settings/settings_program.h"

int main()
{
    SetSettingsProgram(kSettingsSender);
    std::fprintf(stderr, "TRVXSender: the job sender is not available yet\n");
    return 0;
}
