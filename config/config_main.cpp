// TRVXSerConfig: the plotter configuration program. Its dialog is not built yet.
#include <cstdio>

#include "plugin/settings/settings_program.h"

int main()
{
    SetSettingsProgram(kSettingsConfig);
    std::fprintf(stderr, "TRVXSerConfig: the configuration dialog is not available yet\n");
    return 0;
}
