#include "host/app/host_commands.h"

#include "host/suites/menu_suite.h"
#include "host/suites/suite_registry.h"
#include "host/suites/tool_suite.h"
#include "platform/ui/ui_robot.h"
#include "host/view/document_view_suite.h"
#include "host/suites/undo_suite.h"
#include "host/view/view_canvas.h"
#include "host/svg/svg_file.h"
#include "host/app/plugin_messages.h"

#include <QGuiApplication>

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

bool RunHostStep(HostSession& session, const std::string& step, std::string& error)
{
    std::vector<std::string> words = SplitStepWords(step);
    if (words.empty())
        return true;
    const std::string& command = words[0];
    auto wantWords = [&](size_t count, const char* usage) {
        if (words.size() == count)
            return true;
        error = "step \"" + step + "\": usage: " + usage;
        return false;
    };
    if (command == "list") {
        if (!wantWords(1, "list"))
            return false;
        std::fputs(DocumentListing(*session.document).c_str(), stdout);
        if (!HostUndoText().empty() || !HostRedoText().empty())
            std::printf("undo \"%s\", redo \"%s\"\n", HostUndoText().c_str(), HostRedoText().c_str());
    } else if (command == "menus") {
        if (!wantWords(1, "menus"))
            return false;
        std::fputs(HostMenuListing().c_str(), stdout);
    } else if (command == "tools") {
        if (!wantWords(1, "tools"))
            return false;
        std::fputs(HostToolListing().c_str(), stdout);
    } else if (command == "menu") {
        std::string text = RestAfterWord(step);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        MenuItemRecord* item = FindHostMenuItem(text);
        if (item == nullptr) {
            error = "step \"" + step + "\": no menu item \"" + text + "\"";
            return false;
        }
        if (!IsHostMenuItemEnabled(*item, session.document != nullptr)) {
            error = "step \"" + step + "\": the menu item \"" + text + "\" is disabled";
            return false;
        }
        SendMenuGo(session, reinterpret_cast<AIMenuItemHandle>(item));
    } else if (command == "about") {
        if (!wantWords(1, "about"))
            return false;
        SendInterfaceMessage(session, kSPInterfaceAboutSelector);
    } else if (command == "reload") {
        if (!wantWords(1, "reload"))
            return false;
        if (!ReloadPlugin(session, error)) {
            error = "step \"" + step + "\": " + error;
            return false;
        }
    } else if (command == "message") {
        if (!wantWords(3, "message CALLER SELECTOR"))
            return false;
        ASErr status = SendBareMessage(session, words[1].c_str(), words[2].c_str());
        std::printf("message \"%s\"/\"%s\": %d\n", words[1].c_str(), words[2].c_str(), status);
    } else if (command == "startup" || command == "shutdown") {
        if (!wantWords(1, command == "startup" ? "startup" : "shutdown"))
            return false;
        // a second start-up would leave the first one's globals and menus behind
        if (command == "startup" && session.fStarted) {
            error = "step \"" + step + "\": the plug-in is started already";
            return false;
        }
        SendInterfaceMessage(session, command == "startup" ? kSPInterfaceStartupSelector : kSPInterfaceShutdownSelector);
    } else if (command == "ui") {
        std::string steps = RestAfterWord(step);
        std::string reason;
        if (!SetUiRobotScript(steps, &reason)) {
            error = "step \"" + step + "\": " + reason;
            return false;
        }
    } else if (command == "hook") {
        if (words.size() < 3) {
            error = "step \"" + step + "\": usage: hook NAME STEP";
            return false;
        }
        std::string rest = RestAfterWord(RestAfterWord(step));
        Hooks().push_back(std::make_unique<HookStep>(HookStep{&session, rest, words[1]}));
        RegisterUiRobotHook(words[1], RunHookStep, Hooks().back().get());
    } else if (command == "save") {
        if (words.size() > 2) {
            error = "step \"" + step + "\": usage: save [PATH]";
            return false;
        }
        std::string path = words.size() == 2 ? words[1] : session.document->fileName;
        std::string reason;
        if (!SaveSvgDocument(*session.document, path, reason)) {
            error = "step \"" + step + "\": " + reason;
            return false;
        }
        std::printf("saved %s\n", path.c_str());
    } else if (command == "dialogs") {
        if (!wantWords(1, "dialogs"))
            return false;
        for (const UiShownDialog& dialog : UiRobotShownDialogs()) {
            std::printf("dialog %d \"%s\"\n", dialog.dialogId, dialog.title.c_str());
            for (const UiControlState& control : dialog.controls)
                std::printf("  control %d \"%s\"\n", control.id, control.text.c_str());
        }
    } else if (command == "tool") {
        if (!RunToolStep(session, words, step, error))
            return false;
    } else if (command == "view") {
        AIRealPoint origin = {};
        double zoom = 0;
        if (words.size() != 3 || !ParsePoint(words[1], origin) || std::sscanf(words[2].c_str(), "%lf", &zoom) != 1 ||
            !(zoom > 0)) {
            error = "step \"" + step + "\": usage: view H,V ZOOM";
            return false;
        }
        SetHostViewOrigin(origin);
        SetHostViewZoom(zoom);
    } else if (command == "canvas") {
        if (words.size() > 2) {
            error = "step \"" + step + "\": usage: canvas [PATH.png]";
            return false;
        }
        if (words.size() == 2) {
            std::string reason;
            if (!SaveViewCanvasPng(words[1], reason)) {
                error = "step \"" + step + "\": " + reason;
                return false;
            }
        }
        std::printf("canvas %d x %d, %ld pixels drawn\n", ViewCanvas().width(), ViewCanvas().height(),
                    CountMarkedPixels());
    } else if (command == "cursor") {
        if (!wantWords(1, "cursor"))
            return false;
        std::printf("cursor %s\n", QGuiApplication::overrideCursor() != nullptr ? "set" : "none");
    } else if (command == "globals") {
        if (!wantWords(1, "globals"))
            return false;
        std::printf("%s\n", GlobalsSummary(session).c_str());
    } else if (command == "status") {
        if (!wantWords(1, "status"))
            return false;
        std::printf("%s\n", HostStatusLine().c_str());
    } else {
        error = "step \"" + step + "\": unknown step \"" + command + "\" (see --help)";
        return false;
    }
    std::fflush(stdout);
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
    return "Steps (each one argument on the command line, or one line of a script):\n"
           "  list                      the layers and art of the drawing, coordinates in points\n"
           "  menus                     the menu groups and items, with keys and options\n"
           "  tools                     the tools the plug-in added\n"
           "  menu TEXT                 choose the menu item showing TEXT (or with key TEXT)\n"
           "  about                     \"SP Interface\"/\"About\"\n"
           "  reload                    \"SP Access\"/\"Unload\", the library loaded again, \"Reload\"\n"
           "  message CALLER SELECTOR   send a message of that caller and selector\n"
           "  startup, shutdown         send \"Startup\" or \"Shutdown\" now\n"
           "  ui STEPS                  the UI robot's steps for the next dialogs, ';' between steps\n"
           "  hook NAME STEP            the robot's step \"hook NAME\" runs STEP while a dialog is open\n"
           "  save [PATH]               save the drawing now (into PATH, else over its file)\n"
           "  dialogs                   the dialogs shown so far, with the texts of their controls\n"
           "  tool ACTION [POINTS]      \"AI Tool\" messages of the plug-in's tool: select, deselect,\n"
           "                            options; down, move (a drag), track, up at X,Y (points);\n"
           "                            drag X,Y X2,Y2: select, down at X,Y, drags to X,Y and X2,Y2, up\n"
           "  view H,V ZOOM             the view shows artwork point H,V at its top-left, at ZOOM (1: 100%)\n"
           "  canvas [PATH]             the view's canvas: pixels drawn on it; written to PATH as PNG\n"
           "  cursor                    whether a plug-in set the cursor\n"
           "  globals                   the size and checksum of the plug-in's globals block\n"
           "  status                    suites held, acquired and released; blocks, strings, alerts\n";
}

}  // namespace host
