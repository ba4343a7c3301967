#include "host/app/host_commands.h"

#include "host/app/config_program_steps.h"

#include "host/suites/menu_suite.h"
#include "host/suites/suite_registry.h"
#include "host/suites/tool_suite.h"
#include "platform/ui/ui_robot.h"
#include "host/view/document_view_suite.h"
#include "host/suites/undo_suite.h"
#include "host/view/view_canvas.h"
#include "host/svg/svg_file.h"
#include "host/app/plugin_messages.h"
#include "host/app/plot_step.h"
#include "host/suites/user_suite.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace host {
namespace {

struct HookStep {
    HostSession* session;
    std::string step;
    std::string name;
};

std::vector<std::unique_ptr<HookStep>>& Hooks()
{
    static std::vector<std::unique_ptr<HookStep>> hooks;
    return hooks;
}

// A hook runs its step while the robot holds a dialog open: a nested message.
void RunHookStep(void* user)
{
    auto* hook = static_cast<HookStep*>(user);
    SuiteCounts before = TotalSuiteCounts();
    std::string error;
    bool ok = RunHostStep(*hook->session, hook->step, error);
    SuiteCounts after = TotalSuiteCounts();
    std::printf("hook %s: %s: acquired %lld, released %lld, suites held %d\n", hook->name.c_str(),
                ok ? "done" : error.c_str(), static_cast<long long>(after.acquires - before.acquires),
                static_cast<long long>(after.releases - before.releases), CountHeldSuites());
    std::fflush(stdout);
}

std::string RestAfterWord(const std::string& step)
{
    size_t start = step.find_first_not_of(" \t");
    size_t blank = step.find_first_of(" \t", start);
    if (blank == std::string::npos)
        return "";
    size_t rest = step.find_first_not_of(" \t", blank);
    return rest == std::string::npos ? "" : step.substr(rest);
}

// "H,V" in artwork points.
bool ParsePoint(const std::string& text, AIRealPoint& point)
{
    double h = 0;
    double v = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%lf,%lf%c", &h, &v, &extra) != 2)
        return false;
    point = AIRealPoint{h, v};
    return true;
}

// The first tool the loaded plug-in added.
AIToolHandle PluginTool(HostSession& session)
{
    for (ToolRecord* tool : HostTools())
        if (tool->plugin == ToPluginRef(&session.plugin))
            return reinterpret_cast<AIToolHandle>(tool);
    return nullptr;
}

ASErr SendToolMessage(HostSession& session, AIToolHandle tool, const char* selector, AIRealPoint cursor)
{
    AIToolMessage message = {};
    message.tool = tool;
    message.cursor = cursor;
    return SendPluginMessage(session, kCallerAITool, selector, &message);
}

// "tool ACTION [X,Y [X2,Y2]]": the "AI Tool" messages of the plug-in's tool.
bool RunToolStep(HostSession& session, const std::vector<std::string>& words, const std::string& step,
                 std::string& error)
{
    static const struct {
        const char* action;
        const char* selector;
        size_t points;
    } kActions[] = {
        {"select", kSelectorAISelectTool, 0},       {"deselect", kSelectorAIDeselectTool, 0},
        {"options", kSelectorAIEditToolOptions, 0}, {"down", kSelectorAIToolMouseDown, 1},
        {"move", kSelectorAIToolMouseDrag, 1},      {"track", kSelectorAITrackToolCursor, 1},
        {"up", kSelectorAIToolMouseUp, 1},          {"drag", nullptr, 2},
    };
    const char* usage = "tool select|deselect|options, tool down|move|track|up X,Y, tool drag X,Y X2,Y2";
    AIToolHandle tool = PluginTool(session);
    if (tool == nullptr) {
        error = "step \"" + step + "\": the plug-in added no tool";
        return false;
    }
    for (const auto& action : kActions) {
        if (words.size() < 2 || words[1] != action.action)
            continue;
        AIRealPoint points[2] = {};
        if (words.size() != 2 + action.points) {
            error = "step \"" + step + "\": usage: " + usage;
            return false;
        }
        for (size_t i = 0; i < action.points; ++i) {
            if (!ParsePoint(words[2 + i], points[i])) {
                error = "step \"" + step + "\": \"" + words[2 + i] + "\" is no point H,V";
                return false;
            }
        }
        if (action.selector != nullptr) {
            SendToolMessage(session, tool, action.selector, points[0]);
            return true;
        }
        // a whole placement: the tool chosen, pressed at the first point, dragged to the second
        SendToolMessage(session, tool, kSelectorAISelectTool, AIRealPoint{0, 0});
        SendToolMessage(session, tool, kSelectorAIToolMouseDown, points[0]);
        SendToolMessage(session, tool, kSelectorAIToolMouseDrag, points[0]);
        SendToolMessage(session, tool, kSelectorAIToolMouseDrag, points[1]);
        SendToolMessage(session, tool, kSelectorAIToolMouseUp, points[1]);
        return true;
    }
    error = "step \"" + step + "\": usage: " + usage;
    return false;
}

// The pixels of the canvas that are not white.
long CountMarkedPixels()
{
    const QImage& canvas = ViewCanvas();
    long marked = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if ((canvas.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
                ++marked;
    return marked;
}

}  // namespace

std::vector<std::string> SplitStepWords(const std::string& step)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : step) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

namespace {

// What a step's handler gets: the session, the step as written and its words.
struct StepCall {
    HostSession& session;
    const std::string& step;
    const std::vector<std::string>& words;
    std::string& error;

    bool Fail(const std::string& reason)
    {
        error = "step \"" + step + "\": " + reason;
        return false;
    }
};

bool ListStep(StepCall& c)
{
    std::fputs(DocumentListing(*c.session.document).c_str(), stdout);
    if (!HostUndoText().empty() || !HostRedoText().empty())
        std::printf("undo \"%s\", redo \"%s\"\n", HostUndoText().c_str(), HostRedoText().c_str());
    return true;
}

bool MenusStep(StepCall&)
{
    std::fputs(HostMenuListing().c_str(), stdout);
    return true;
}

bool ToolsStep(StepCall&)
{
    std::fputs(HostToolListing().c_str(), stdout);
    return true;
}

bool MenuStep(StepCall& c)
{
    std::string text = RestAfterWord(c.step);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    MenuItemRecord* item = FindHostMenuItem(text);
    if (item == nullptr)
        return c.Fail("no menu item \"" + text + "\"");
    if (!IsHostMenuItemEnabled(*item, c.session.document != nullptr))
        return c.Fail("the menu item \"" + text + "\" is disabled");
    SendMenuGo(c.session, reinterpret_cast<AIMenuItemHandle>(item));
    return true;
}

bool AboutStep(StepCall& c)
{
    SendInterfaceMessage(c.session, kSPInterfaceAboutSelector);
    return true;
}

bool ReloadStep(StepCall& c)
{
    std::string reason;
    return ReloadPlugin(c.session, reason) || c.Fail(reason);
}

bool MessageStep(StepCall& c)
{
    ASErr status = SendBareMessage(c.session, c.words[1].c_str(), c.words[2].c_str());
    std::printf("message \"%s\"/\"%s\": %d\n", c.words[1].c_str(), c.words[2].c_str(), status);
    return true;
}

bool StartupStep(StepCall& c)
{
    // a second start-up would leave the first one's globals and menus behind
    if (c.session.fStarted)
        return c.Fail("the plug-in is started already");
    SendInterfaceMessage(c.session, kSPInterfaceStartupSelector);
    return true;
}

bool ShutdownStep(StepCall& c)
{
    SendInterfaceMessage(c.session, kSPInterfaceShutdownSelector);
    return true;
}

bool UiStep(StepCall& c)
{
    std::string reason;
    return SetUiRobotScript(RestAfterWord(c.step), &reason) || c.Fail(reason);
}

bool ConfigUiStep(StepCall& c)
{
    std::string reason;
    return SetConfigProgramSteps(RestAfterWord(c.step), reason) || c.Fail(reason);
}

bool HookStepCommand(StepCall& c)
{
    std::string rest = RestAfterWord(RestAfterWord(c.step));
    Hooks().push_back(std::make_unique<HookStep>(HookStep{&c.session, rest, c.words[1]}));
    RegisterUiRobotHook(c.words[1], RunHookStep, Hooks().back().get());
    return true;
}

bool SaveStep(StepCall& c)
{
    std::string path = c.words.size() == 2 ? c.words[1] : c.session.document->fileName;
    std::string reason;
    if (!SaveSvgDocument(*c.session.document, path, reason))
        return c.Fail(reason);
    std::printf("saved %s\n", path.c_str());
    return true;
}

bool DialogsStep(StepCall&)
{
    for (const UiShownDialog& dialog : UiRobotShownDialogs()) {
        std::printf("dialog %d \"%s\"\n", dialog.dialogId, dialog.title.c_str());
        for (const UiControlState& control : dialog.controls)
            std::printf("  control %d \"%s\"\n", control.id, control.text.c_str());
        if (dialog.dialogId != 0) continue;
        // the save-file dialog: what it offered
        for (const std::string& filter : dialog.fileFilters) std::printf("  filter \"%s\"\n", filter.c_str());
        std::printf("  file name \"%s\"\n", dialog.fileName.c_str());
        std::printf("  %s\n", dialog.fPromptOverwrite ? "asks before replacing a file" : "replaces a file unasked");
    }
    return true;
}

bool ToolStep(StepCall& c) { return RunToolStep(c.session, c.words, c.step, c.error); }

bool ViewStep(StepCall& c)
{
    AIRealPoint origin = {};
    double zoom = 0;
    if (!ParsePoint(c.words[1], origin) || std::sscanf(c.words[2].c_str(), "%lf", &zoom) != 1 || !(zoom > 0))
        return c.Fail("usage: view H,V ZOOM");
    SetHostViewOrigin(origin);
    SetHostViewZoom(zoom);
    return true;
}

bool CanvasStep(StepCall& c)
{
    std::string reason;
    if (c.words.size() == 2 && !SaveViewCanvasPng(c.words[1], reason))
        return c.Fail(reason);
    std::printf("canvas %d x %d, %ld pixels drawn\n", ViewCanvas().width(), ViewCanvas().height(),
                CountMarkedPixels());
    return true;
}

bool CursorStep(StepCall&)
{
    std::printf("cursor %s\n", QGuiApplication::overrideCursor() != nullptr ? "set" : "none");
    return true;
}

bool GlobalsStep(StepCall& c)
{
    std::printf("%s\n", GlobalsSummary(c.session).c_str());
    return true;
}

bool StatusStep(StepCall&)
{
    std::printf("%s\n", HostStatusLine().c_str());
    return true;
}

bool PlotStep(StepCall& c) { return RunPlotStep(c.session, c.words, c.error); }

constexpr int kAnyCount = -1;

// One step: its name, how many words may follow it, what it does, the usage its error
// shows, and its lines of --help (the synopsis column, null for a step that shares the
// line above; the text, continued lines already indented).
struct StepCommand {
    const char* name;
    int minArguments;
    int maxArguments;   // kAnyCount: no limit
    bool (*handler)(StepCall&);
    const char* usage;
    const char* synopsis;
    const char* help;
};

const StepCommand kStepCommands[] = {
    {"list", 0, 0, ListStep, "list", "list", "the layers and art of the drawing, coordinates in points"},
    {"menus", 0, 0, MenusStep, "menus", "menus", "the menu groups and items, with keys and options"},
    {"tools", 0, 0, ToolsStep, "tools", "tools", "the tools the plug-in added"},
    {"menu", 0, kAnyCount, MenuStep, "menu TEXT", "menu TEXT", "choose the menu item showing TEXT (or with key TEXT)"},
    {"about", 0, 0, AboutStep, "about", "about", "\"SP Interface\"/\"About\""},
    {"reload", 0, 0, ReloadStep, "reload", "reload", "\"SP Access\"/\"Unload\", the library loaded again, \"Reload\""},
    {"message", 2, 2, MessageStep, "message CALLER SELECTOR", "message CALLER SELECTOR",
     "send a message of that caller and selector"},
    {"startup", 0, 0, StartupStep, "startup", "startup, shutdown", "send \"Startup\" or \"Shutdown\" now"},
    {"shutdown", 0, 0, ShutdownStep, "shutdown", nullptr, nullptr},
    {"ui", 0, kAnyCount, UiStep, "ui STEPS", "ui STEPS",
     "the UI robot's steps for the next dialogs, ';' between steps"},
    {"config-ui", 0, kAnyCount, ConfigUiStep, "config-ui STEPS", "config-ui STEPS",
     "the configuration program's steps for its next starts, as --config-ui"},
    {"hook", 2, kAnyCount, HookStepCommand, "hook NAME STEP", "hook NAME STEP",
     "the robot's step \"hook NAME\" runs STEP while a dialog is open"},
    {"save", 0, 1, SaveStep, "save [PATH]", "save [PATH]", "save the drawing now (into PATH, else over its file)"},
    {"dialogs", 0, 0, DialogsStep, "dialogs", "dialogs",
     "the dialogs shown so far, with the texts of their controls;\n"
     "                            the save dialog with its filters, the name it offered and\n"
     "                            whether it asks before replacing a file"},
    {"tool", 0, kAnyCount, ToolStep, "tool ACTION [POINTS]", "tool ACTION [POINTS]",
     "\"AI Tool\" messages of the plug-in's tool: select, deselect,\n"
     "                            options; down, move (a drag), track, up at X,Y (points);\n"
     "                            drag X,Y X2,Y2: select, down at X,Y, drags to X,Y and X2,Y2, up"},
    {"view", 2, 2, ViewStep, "view H,V ZOOM", "view H,V ZOOM",
     "the view shows artwork point H,V at its top-left, at ZOOM (1: 100%)"},
    {"canvas", 0, 1, CanvasStep, "canvas [PATH.png]", "canvas [PATH]",
     "the view's canvas: pixels drawn on it; written to PATH as PNG"},
    {"cursor", 0, 0, CursorStep, "cursor", "cursor", "whether a plug-in set the cursor"},
    {"globals", 0, 0, GlobalsStep, "globals", "globals", "the size and checksum of the plug-in's globals block"},
    {"status", 0, 0, StatusStep, "status", "status", "suites held, acquired and released; blocks, strings, alerts"},
    {"plot", 0, kAnyCount, PlotStep, "plot [--layer TITLE=SLOT]... [--skip TITLE]... [--to-file [FILE.plt]]",
     "plot [OPTIONS]",
     "choose \"Output Plotter\" and answer its dialog: --layer TITLE=SLOT\n"
     "                            outputs the layer with tool slot SLOT (1 to 10), --skip TITLE\n"
     "                            leaves it out, --to-file [FILE.plt] ticks \"Output to file\" and\n"
     "                            names FILE (default: the drawing's name) in the save dialog;\n"
     "                            the job's failure or a cancel ends the run"},
};

// The command of a step's first word; null for none.
const StepCommand* FindStepCommand(const std::string& name)
{
    for (const StepCommand& command : kStepCommands)
        if (name == command.name) return &command;
    return nullptr;
}

// Words that are a step's and its arguments' right number.
bool TakesArguments(const StepCommand& command, size_t words)
{
    const int arguments = int(words) - 1;
    return arguments >= command.minArguments &&
           (command.maxArguments == kAnyCount || arguments <= command.maxArguments);
}

}  // namespace

bool RunHostStep(HostSession& session, const std::string& step, std::string& error)
{
    std::vector<std::string> words = SplitStepWords(step);
    if (words.empty())
        return true;
    StepCall call{session, step, words, error};
    const StepCommand* command = FindStepCommand(words[0]);
    if (command == nullptr) return call.Fail("unknown step \"" + words[0] + "\" (see --help)");
    if (!TakesArguments(*command, words.size())) return call.Fail(std::string("usage: ") + command->usage);
    EndProgressLine();
    if (!command->handler(call)) return false;
    std::fflush(stdout);
    return true;
}

bool CheckHostStep(const Document& document, const std::string& step, std::string& error)
{
    std::vector<std::string> words = SplitStepWords(step);
    if (words.empty()) return true;
    auto fail = [&](const std::string& reason) {
        error = "step \"" + step + "\": " + reason;
        return false;
    };
    const StepCommand* command = FindStepCommand(words[0]);
    if (command == nullptr && words.size() == 1 && words[0].size() > 4 &&
        words[0].compare(words[0].size() - 4, 4, ".svg") == 0)
        return fail("a second drawing; travex-host takes one drawing, " + document.fileName);
    if (command == nullptr) return fail("unknown step \"" + words[0] + "\" (see --help)");
    if (!TakesArguments(*command, words.size())) return fail(std::string("usage: ") + command->usage);
    std::string reason;
    if (words[0] == "plot" && !CheckPlotStep(document, words, reason)) return fail(reason);
    return true;
}

bool ReadHostScript(const std::string& path, std::vector<std::string>& steps, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot read the script";
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        steps.push_back(line.substr(start));
    }
    return true;
}

const char* HostStepHelp()
{
    static const std::string help = [] {
        std::string text = "Steps (each one argument on the command line, or one line of a script):\n";
        for (const StepCommand& command : kStepCommands) {
            if (command.synopsis == nullptr)
                continue;
            std::string synopsis = command.synopsis;
            synopsis.resize(std::max<size_t>(synopsis.size() + 1, 26), ' ');
            text += "  " + synopsis + command.help + "\n";
        }
        return text;
    }();
    return help.c_str();
}

}  // namespace host
