// Reads the UI robot's steps from their text form.
#include "platform/ui/robot_script.h"

#include "platform/ui/dialog_runner.h"

#include <cstdlib>
#include <cstring>

namespace {

std::string Trim(const std::string& s)
{
    size_t begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return std::string();
    size_t end = s.find_last_not_of(" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

// The next blank-separated word from pos; pos moves past it and one blank.
std::string NextWord(const std::string& s, size_t* pos)
{
    size_t begin = s.find_first_not_of(" \t", *pos);
    if (begin == std::string::npos) {
        *pos = s.size();
        return std::string();
    }
    size_t end = s.find_first_of(" \t", begin);
    if (end == std::string::npos)
        end = s.size();
    *pos = end < s.size() ? end + 1 : end;
    return s.substr(begin, end - begin);
}

bool ToNumber(const std::string& word, int* value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    long number = std::strtol(word.c_str(), &end, 10);
    if (*end != 0 || number < -2147483647L || number > 2147483647L)
        return false;
    *value = static_cast<int>(number);
    return true;
}

struct VerbName {
    const char* name;
    int verb;
};

const VerbName kVerbs[] = {
    {"tick", kStepTick},     {"untick", kStepUntick}, {"radio", kStepRadio},
    {"choose", kStepChoose}, {"select", kStepSelect}, {"type", kStepType},
    {"press", kStepPress},   {"tab", kStepTab},       {"scroll", kStepScroll},
    {"close", kStepClose},   {"save", kStepSave},     {"cancel", kStepCancel},
    {"wait", kStepWait},     {"hook", kStepHook},     {"pick", kStepPick},
};

struct ScrollName {
    const char* name;
    int request;
};

const ScrollName kScrolls[] = {
    {"up", kScrollLineUp},       {"down", kScrollLineDown}, {"pageup", kScrollPageUp},
    {"pagedown", kScrollPageDown}, {"top", kScrollTop},     {"bottom", kScrollBottom},
};

} // namespace

bool ParseRobotStep(const std::string& line, RobotStep* step, std::string* error)
{
    std::string text = Trim(line);
    *step = RobotStep();
    step->source = text;
    size_t pos = 0;
    std::string verb = NextWord(text, &pos);
    step->verb = -1;
    for (const VerbName& v : kVerbs)
        if (verb == v.name)
            step->verb = v.verb;
    auto fail = [&](const char* why) {
        if (error != nullptr)
            *error = "step \"" + text + "\": " + why;
        return false;
    };
    if (step->verb < 0)
        return fail("unknown step");

    std::string rest = pos < text.size() ? text.substr(pos) : std::string();
    switch (step->verb) {
    case kStepClose:
    case kStepCancel:
        if (!Trim(rest).empty())
            return fail("takes nothing after it");
        return true;
    case kStepWait:
        if (Trim(rest).empty())
            return true;
        if (!ToNumber(Trim(rest), &step->id))
            return fail("needs a dialog id");
        return true;
    case kStepSave:
    case kStepHook:
        step->text = Trim(rest);
        if (step->text.empty())
            return fail(step->verb == kStepSave ? "needs a file path" : "needs a hook name");
        return true;
    default: break;
    }

    if (!ToNumber(NextWord(text, &pos), &step->id))
        return fail("needs a control id");
    switch (step->verb) {
    case kStepTick:
    case kStepUntick:
    case kStepRadio:
    case kStepPress:
        if (pos < text.size() && !Trim(text.substr(pos)).empty())
            return fail("takes only a control id");
        return true;
    case kStepType:
        step->text = pos < text.size() ? text.substr(pos) : std::string();
        return true;
    case kStepScroll: {
        std::string word = NextWord(text, &pos);
        for (const ScrollName& s : kScrolls)
            if (word == s.name)
                step->scrollRequest = s.request;
        if (step->scrollRequest < 0 && !ToNumber(word, &step->index))
            return fail("needs up, down, pageup, pagedown, top, bottom or a position");
        break;
    }
    case kStepPick:
        step->index = -1;
        step->text = NextWord(text, &pos);
        if (step->text.empty())
            return fail("needs the start of an item's text");
        break;
    default:
        if (!ToNumber(NextWord(text, &pos), &step->index) || step->index < 0)
            return fail("needs an index of 0 or more");
        break;
    }
    if (pos < text.size() && !Trim(text.substr(pos)).empty())
        return fail("has more than it takes");
    return true;
}

bool ParseRobotScript(const std::string& text, bool splitOnSemicolons,
                      std::vector<RobotStep>* steps, std::string* error)
{
    std::vector<RobotStep> parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(splitOnSemicolons ? "\n;" : "\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        RobotStep step;
        if (!ParseRobotStep(line, &step, error))
            return false;
        parsed.push_back(step);
    }
    *steps = parsed;
    return true;
}
