// travex-host: the drawing host on Linux. It loads a drawing and the plug-in, sends the
// messages the command line asks for, and saves the drawing when the plug-in changed it.
#include "platform/ui/dialog_runner.h"
#include "platform/documents_folder.h"
#include "host/app/config_program_steps.h"
#include "host/app/host_commands.h"
#include "host/session/host_faults.h"
#include "host/session/host_session.h"
#include "host/suites/menu_suite.h"
#include "host/suites/suite_registry.h"
#include "platform/ui/ui_robot.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"
#include "host/app/plugin_messages.h"
#include "host/app/plot_step.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kPluginFile = "TRAVEX-Pro.aip";
const char* const kPluginName = "TRAVEX-Pro";

void PrintHelp()
{
    std::printf(
        "usage: travex-host [OPTIONS] DRAWING.svg [STEP...]\n"
        "       travex-host [OPTIONS] --script FILE DRAWING.svg\n"
        "\n"
        "Loads the SVG drawing and the plug-in TRAVEX-Pro.aip, sends \"SP Interface\"/\"Startup\",\n"
        "carries out the steps in order, sends \"Shutdown\" and saves the drawing when the plug-in\n"
        "changed it.\n"
        "\n"
        "Options:\n"
        "  --plugin PATH           the plug-in library (default: TRAVEX-Pro.aip beside travex-host,\n"
        "                          else in the settings folder Documents/Adobe/Illustrator)\n"
        "  --script FILE           read the steps from FILE, one per line ('#' starts a comment)\n"
        "  --ui STEPS              the UI robot's steps for the plug-in's dialogs, ';' between steps\n"
        "  --ui-file FILE          the UI robot's steps from FILE, one per line\n"
        "  --ui-timeout MS         how long the robot waits for a dialog (default 5000)\n"
        "  --config-ui STEPS       the UI robot's steps for the configuration program TRVXSerConfig\n"
        "                          that \"Plotter Configuration...\" starts, ';' between steps (the\n"
        "                          program gets them in a file named in TRVXSERCONFIG_UI_FILE; the\n"
        "                          --ui steps are the host's own and never reach it)\n"
        "  --config-ui-file FILE   the configuration program's steps from FILE, one per line\n"
        "  --menu-group NAME       the host's menus already have a group NAME\n"
        "  --missing-suite NAME[=STATUS]\n"
        "                          acquiring suite NAME fails (with STATUS, default 'S!NF');\n"
        "                          also TRAVEX_HOST_MISSING_SUITES=\"NAME[=STATUS];...\"\n"
        "  --fail OPERATION[#N][=STATUS]\n"
        "                          the host's operation (AllocateBlock, AddMenuItem,\n"
        "                          UpdateMenuItemAutomatically, CountMenuGroups, GetNthMenuGroup,\n"
        "                          GetMenuGroupName, AddMenuGroupAsSubMenu, AddTool,\n"
        "                          GetToolNumberFromName) answers STATUS (default -108), on its\n"
        "                          Nth call only when #N is given; also TRAVEX_HOST_FAIL\n"
        "  --cancel-after N        the cancel check answers true after N checks (Ctrl-C always)\n"
        "  --alert-log FILE        append every alert's bytes to FILE (also TRAVEX_HOST_ALERT_LOG)\n"
        "  --help                  this text\n"
        "\n"
        "%s"
        "\n"
        "Every step is checked before anything runs; the options of a plot step follow it as\n"
        "arguments of their own:  travex-host DRAWING.svg plot --layer \"Layer 1=2\" --to-file\n"
        "\n"
        "Exit status: 0 when every step was carried out, 1 when something could not be done\n"
        "or a plot was cancelled (the message names the file and the reason), 3 when the\n"
        "plug-in answered a failure (a plot whose job failed: the reason on standard error).\n",
        host::HostStepHelp());
}

std::string DefaultPluginPath()
{
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        std::string path(self, size_t(length));
        path = path.substr(0, path.rfind('/') + 1) + kPluginFile;
        if (access(path.c_str(), F_OK) == 0)
            return path;
    }
    char documents[4096];
    if (GetDocumentsFolder(documents, sizeof documents) == kFolderSuccess)
        return std::string(documents) + "/Adobe/Illustrator/" + kPluginFile;
    return kPluginFile;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "travex-host: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string pluginPath;
    std::string scriptPath;
    std::string drawingPath;
    std::vector<std::string> steps;
    std::vector<std::string> uiScripts;
    std::vector<std::string> uiFiles;
    std::vector<std::string> configUiScripts;
    std::vector<std::string> configUiFiles;
    int uiTimeout = 0;
    std::string error;

    const std::vector<std::string> arguments(argv, argv + argc);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        // "plot --layer A=1 --to-file": the options that follow a plot step are its own
        size_t at = size_t(i);
        std::vector<std::string> last = steps.empty() ? std::vector<std::string>() : host::SplitStepWords(steps.back());
        if (!last.empty() && last[0] == "plot" && host::AppendPlotOption(steps.back(), arguments, at)) {
            i = int(at);
            continue;
        }
        auto value = [&](std::string& into) {
            if (i + 1 >= argc)
                return false;
            into = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return 0;
        } else if (arg == "--plugin") {
            if (!value(pluginPath))
                return Fail("--plugin needs a path");
        } else if (arg == "--script") {
            if (!value(scriptPath))
                return Fail("--script needs a file");
        } else if (arg == "--ui") {
            if (!value(text))
                return Fail("--ui needs steps");
            uiScripts.push_back(text);
        } else if (arg == "--ui-file") {
            if (!value(text))
                return Fail("--ui-file needs a file");
            uiFiles.push_back(text);
        } else if (arg == "--config-ui") {
            if (!value(text))
                return Fail("--config-ui needs steps");
            configUiScripts.push_back(text);
        } else if (arg == "--config-ui-file") {
            if (!value(text))
                return Fail("--config-ui-file needs a file");
            configUiFiles.push_back(text);
        } else if (arg == "--ui-timeout") {
            if (!value(text) || text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
                return Fail("--ui-timeout needs milliseconds");
            uiTimeout = std::atoi(text.c_str());
        } else if (arg == "--menu-group") {
            if (!value(text))
                return Fail("--menu-group needs a name");
            host::AddHostMenuGroup(text);
        } else if (arg == "--missing-suite") {
            if (!value(text))
                return Fail("--missing-suite needs a suite name");
            if (!host::SetUnavailableSuites(text, error))
                return Fail("--missing-suite: " + error);
        } else if (arg == "--fail") {
            if (!value(text))
                return Fail("--fail needs an operation");
            if (!host::SetHostFaults(text, error))
                return Fail("--fail: " + error);
        } else if (arg == "--cancel-after") {
            if (!value(text) || text.find_first_not_of("0123456789") != std::string::npos || text.empty())
                return Fail("--cancel-after needs a number of checks");
            host::SetCancelAfterChecks(std::atoi(text.c_str()));
        } else if (arg == "--alert-log") {
            if (!value(text))
                return Fail("--alert-log needs a file");
            host::SetAlertLogPath(text);
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            return Fail("unknown option " + arg + " (see --help)");
        } else if (drawingPath.empty()) {
            drawingPath = arg;
        } else {
            steps.push_back(arg);
        }
    }
    if (drawingPath.empty())
        return Fail("no drawing given (see --help)");
    if (!scriptPath.empty()) {
        if (!steps.empty())
            return Fail("steps come either from --script or from the command line, not both");
        if (!host::ReadHostScript(scriptPath, steps, error))
            return Fail(error);
    }
    // the configuration program's steps, apart from the host's own
    if (!configUiScripts.empty() && !configUiFiles.empty())
        return Fail("the configuration program's steps come either from --config-ui or from --config-ui-file, not both");
    if (configUiFiles.size() > 1)
        return Fail("only one --config-ui-file");
    std::string configUiSteps;
    for (const std::string& script : configUiScripts)
        configUiSteps += (configUiSteps.empty() ? "" : ";") + script;
    if (!configUiScripts.empty() && !host::SetConfigProgramSteps(configUiSteps, error))
        return Fail("--config-ui: " + error);
    if (!configUiFiles.empty() && !host::SetConfigProgramStepFile(configUiFiles[0], error))
        return Fail("--config-ui-file: " + error);
    if (const char* faults = std::getenv("TRAVEX_HOST_FAIL")) {
        if (!host::SetHostFaults(faults, error))
            return Fail("TRAVEX_HOST_FAIL: " + error);
    }
    if (const char* missing = std::getenv("TRAVEX_HOST_MISSING_SUITES")) {
        if (!host::SetUnavailableSuites(missing, error))
            return Fail("TRAVEX_HOST_MISSING_SUITES: " + error);
    }

    host::HostSession& session = host::TheSession();
    host::Document document;
    if (!host::LoadSvgDocument(drawingPath, document, error))
        return Fail(error);
    // every step is checked before anything runs, so a bad one leaves the drawing alone
    for (const std::string& step : steps) {
        if (!host::CheckHostStep(document, step, error))
            return Fail((scriptPath.empty() ? "" : scriptPath + ": ") + error);
    }
    session.document = &document;

    if (pluginPath.empty())
        pluginPath = DefaultPluginPath();
    if (!host::LoadPlugin(pluginPath, kPluginName, session.plugin, error))
        return Fail(error);

    if (!EnsureQtApplication())
        return Fail("the user interface (Qt) cannot start");
    if (uiTimeout > 0)
        SetUiRobotTimeout(uiTimeout);
    // one script for the whole run: the --ui steps in order, or one file
    if (!uiScripts.empty() && !uiFiles.empty())
        return Fail("the robot's steps come either from --ui or from --ui-file, not both");
    if (uiFiles.size() > 1)
        return Fail("only one --ui-file");
    std::string uiSteps;
    for (const std::string& script : uiScripts)
        uiSteps += (uiSteps.empty() ? "" : ";") + script;
    if (!uiSteps.empty() && !SetUiRobotScript(uiSteps, &error))
        return Fail("--ui: " + error);
    if (!uiFiles.empty() && !LoadUiRobotScriptFromFile(uiFiles[0], &error))
        return Fail(uiFiles[0] + ": " + error);
    host::InstallCancelOnInterrupt();

    int status = 0;
    host::SendInterfaceMessage(session, kSPInterfaceStartupSelector);
    for (const std::string& step : steps) {
        if (!host::RunHostStep(session, step, error)) {
            host::EndProgressLine();
            std::fprintf(stderr, "travex-host: %s%s\n", scriptPath.empty() ? "" : (scriptPath + ": ").c_str(),
                         error.c_str());
            status = session.fPluginFailed ? 3 : 1;
            break;
        }
    }
    if (session.fStarted)
        host::SendInterfaceMessage(session, kSPInterfaceShutdownSelector);
    if (FinishUiRobot() != 0 && status == 0)
        status = 1;
    host::UnloadPlugin(session.plugin);

    if (document.fChanged) {
        if (!host::SaveSvgDocument(document, drawingPath, error)) {
            std::fprintf(stderr, "travex-host: %s\n", error.c_str());
            status = 1;
        }
    }
    session.document = nullptr;
    if (status == 0 && session.fPluginFailed)
        status = 3;
    return status;
}
