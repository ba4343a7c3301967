// TRVXSerConfig: the plotter configuration program, started by the plug-in from the
// settings folder. It reads no command line and answers through the registry value RetVal.
#include "config/config_program.h"
#include "config/config_resources.h"

#include "platform/ui/ui_robot.h"

#include <cstdlib>

int main()
{
    bool scripted = std::getenv(kConfigUiFileVariable) != nullptr;
    TakeUiStepsFromEnvironment();
    int code = WinMain(ConfigResources());
    if (scripted)
        FinishUiRobot();
    return code;
}
