#include "host/app/plot_step.h"

#include "host/app/plugin_messages.h"
#include "host/suites/menu_suite.h"
#include "host/suites/user_suite.h"
#include "platform/ui/ui_robot.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace host {
namespace {

// What the output dialog is known by: its template, its controls and its rows.
constexpr int kOutputDialogId = 16053;
constexpr int kScrollBarId = 4;
constexpr int kFirstRowCheckId = 5;  // row r: check 5 + 4r, combo 7 + 4r
constexpr int kToFileCheckId = 42;
constexpr int kVisibleRows = 9;
constexpr size_t kDialogRowLimit = 480;
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 10;

// The plug-in's own layers, which the output dialog does not list.
const char* const kOwnLayerTitles[] = {"TRAVEX-Pro Configuration Layer", "TRAVEX-Pro Temporally Layer",
                                       "TRAVEX-Pro Plotting Layer"};

// "Output Plotter" as the menu shows it in English and in Japanese.
const char* const kOutputItemTexts[] = {"Output Plotter", "プロットアウト..."};

struct LayerChoice {
    std::string title;
    int slot = 0;  // 0 for --skip
};

struct PlotOptions {
    std::vector<LayerChoice> choices;  // in the order given
    bool fToFile = false;
    std::string file;  // empty: the drawing's name with ".plt"
};

bool Refuse(std::string& error, const std::string& reason)
{
    error = reason;
    return false;
}

bool EndsWithPlt(const std::string& word)
{
    if (word.size() < 5) return false;
    std::string end = word.substr(word.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return end == ".plt";
}

bool ParseSlot(const std::string& text, int& slot)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    slot = std::stoi(text);
    return slot >= kFirstSlot && slot <= kLastSlot;
}

bool ParsePlotOptions(const std::vector<std::string>& words, PlotOptions& options, std::string& error)
{
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--layer") {
            if (!hasValue) return Refuse(error, "--layer needs TITLE=SLOT");
            const std::string& value = words[++i];
            size_t equals = value.rfind('=');
            LayerChoice choice;
            if (equals == std::string::npos || equals == 0)
                return Refuse(error, "--layer " + value + ": needs TITLE=SLOT");
            choice.title = value.substr(0, equals);
            if (!ParseSlot(value.substr(equals + 1), choice.slot))
                return Refuse(error, "--layer " + value + ": the tool slot \"" + value.substr(equals + 1) +
                                         "\" is not 1 to 10");
            options.choices.push_back(choice);
        } else if (word == "--skip") {
            if (!hasValue) return Refuse(error, "--skip needs a layer title");
            options.choices.push_back(LayerChoice{words[++i], 0});
        } else if (word == "--to-file") {
            if (options.fToFile) return Refuse(error, "--to-file is given twice");
            options.fToFile = true;
            if (hasValue && EndsWithPlt(words[i + 1])) options.file = words[++i];
        } else {
            return Refuse(error, "unknown option \"" + word + "\" of plot (--layer, --skip, --to-file)");
        }
    }
    return true;
}

bool IsOwnLayer(const std::string& title)
{
    for (const char* own : kOwnLayerTitles)
        if (title == own) return true;
    return false;
}

// The titles of the dialog's rows, in its order: the drawing's layers from the top,
// without the plug-in's own, at most 480.
std::vector<std::string> DialogRows(const Document& document)
{
    std::vector<std::string> rows;
    for (const Layer* layer : document.layers)
        if (!IsOwnLayer(layer->title) && rows.size() < kDialogRowLimit) rows.push_back(layer->title);
    return rows;
}

std::string RowList(const std::vector<std::string>& rows)
{
    if (rows.empty()) return "the drawing has no layers of its own";
    std::string list = "its layers:";
    for (size_t i = 0; i < rows.size() && i < 20; ++i) list += (i == 0 ? " \"" : ", \"") + rows[i] + "\"";
    return list + (rows.size() > 20 ? ", ..." : "");
}

bool CheckChoices(const Document& document, const PlotOptions& options, std::string& error)
{
    std::vector<std::string> rows = DialogRows(document);
    for (const LayerChoice& choice : options.choices) {
        if (std::find(rows.begin(), rows.end(), choice.title) != rows.end()) continue;
        bool inDrawing = false;
        for (const Layer* layer : document.layers) inDrawing = inDrawing || layer->title == choice.title;
        if (inDrawing && IsOwnLayer(choice.title))
            error = "\"" + choice.title + "\" is the plug-in's own layer, which the output dialog does not list";
        else if (inDrawing)
            error = "the layer \"" + choice.title + "\" is past the 480 rows of the output dialog";
        else
            error = "no layer \"" + choice.title + "\" in the drawing (" + RowList(rows) + ")";
        return false;
    }
    return true;
}

std::string DefaultPlotFile(const Document& document)
{
    std::string name = document.fileName;
    size_t slash = name.rfind('/');
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) name.erase(dot);
    return name + ".plt";
}

// The robot's steps for the dialog: each named row brought into view (scrolled to the top
// of the dialog when it is below the ninth), ticked or cleared, its slot chosen by the
// combo line that starts "No<slot>:"; then the file box, "Output Plotter", the save dialog.
std::string DialogScript(const Document& document, const PlotOptions& options)
{
    std::vector<std::string> rows = DialogRows(document);
    std::string script = "wait " + std::to_string(kOutputDialogId);
    int position = 0;
    for (const LayerChoice& choice : options.choices) {
        for (size_t n = 0; n < rows.size(); ++n) {
            if (rows[n] != choice.title) continue;
            int row = int(n);
            if (row < position || row >= position + kVisibleRows) {
                position = row;
                script += "; scroll " + std::to_string(kScrollBarId) + " " + std::to_string(position);
            }
            int check = kFirstRowCheckId + 4 * (row - position);
            if (choice.slot == 0) {
                script += "; untick " + std::to_string(check);
            } else {
                script += "; tick " + std::to_string(check);
                script += "; pick " + std::to_string(check + 2) + " No" + std::to_string(choice.slot) + ":";
            }
        }
    }
    script += std::string(options.fToFile ? "; tick " : "; untick ") + std::to_string(kToFileCheckId);
    script += "; press 1";
    if (options.fToFile) script += "; save " + (options.file.empty() ? DefaultPlotFile(document) : options.file);
    return script;
}

MenuItemRecord* OutputItem()
{
    for (const char* text : kOutputItemTexts)
        if (MenuItemRecord* item = FindHostMenuItem(text)) return item;
    return nullptr;
}

// The reason the plug-in gave for a failed job: the last progress text of the run.
std::string FailureReason(size_t textsBefore, ASErr status)
{
    std::vector<std::string> texts = HostProgressTexts();
    for (size_t i = texts.size(); i-- > textsBefore;)
        if (!texts[i].empty()) return texts[i];
    char code[64];
    std::snprintf(code, sizeof code, "the output run answered %d (0x%08x)", status, unsigned(status));
    return code;
}

}  // namespace

bool CheckPlotStep(const Document& document, const std::vector<std::string>& words, std::string& error)
{
    PlotOptions options;
    return ParsePlotOptions(words, options, error) && CheckChoices(document, options, error);
}

bool RunPlotStep(HostSession& session, const std::vector<std::string>& words, std::string& error)
{
    PlotOptions options;
    if (!ParsePlotOptions(words, options, error) || !CheckChoices(*session.document, options, error)) return false;
    MenuItemRecord* item = OutputItem();
    if (item == nullptr) return Refuse(error, "the plug-in added no \"Output Plotter\" item");
    if (!IsHostMenuItemEnabled(*item, true)) return Refuse(error, "the menu item \"Output Plotter\" is disabled");

    std::string script = DialogScript(*session.document, options);
    std::string reason;
    if (!SetUiRobotScript(script, &reason)) return Refuse(error, "the output dialog's steps: " + reason);
    const size_t steps = size_t(UiRobotPendingStepCount());
    const size_t errorsBefore = UiRobotErrors().size();
    const size_t textsBefore = HostProgressTexts().size();

    ASErr status = SendMenuGo(session, reinterpret_cast<AIMenuItemHandle>(item));

    // A route that opened no save dialog leaves its step; nothing else may be left.
    const size_t left = size_t(UiRobotPendingStepCount());
    SetUiRobotScript("");
    std::vector<std::string> robotErrors = UiRobotErrors();
    if (robotErrors.size() > errorsBefore) return Refuse(error, "plot: the output dialog: " + robotErrors.back());
    if (status == kCanceledErr) return Refuse(error, "plot: cancelled");
    if (!IsQuietStatus(status)) return Refuse(error, "plot: " + FailureReason(textsBefore, status));
    if (left == steps) return Refuse(error, "plot: the output dialog did not open");
    return true;
}

bool AppendPlotOption(std::string& step, const std::vector<std::string>& arguments, size_t& i)
{
    const std::string& option = arguments[i];
    if (option != "--layer" && option != "--skip" && option != "--to-file") return false;
    auto quoted = [](const std::string& word) {
        return word.empty() || word.find_first_of(" \t") != std::string::npos ? "\"" + word + "\"" : word;
    };
    step += " " + option;
    const bool hasValue = i + 1 < arguments.size();
    if ((option != "--to-file" && hasValue) || (option == "--to-file" && hasValue && EndsWithPlt(arguments[i + 1])))
        step += " " + quoted(arguments[++i]);
    return true;
}

}  // namespace host
