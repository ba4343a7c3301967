// The steps of a UI robot script, parsed.
#pragma once

#include <string>
#include <vector>

enum RobotVerb {
    kStepTick,
    kStepUntick,
    kStepRadio,
    kStepChoose,
    kStepSelect,
    kStepType,
    kStepPress,
    kStepTab,
    kStepScroll,
    kStepClose,
    kStepSave,
    kStepCancel,
    kStepWait,
    kStepHook,
    kStepPick,
};

struct RobotStep {
    int verb = 0;
    int id = 0;     // control id; dialog template id for wait (0: any dialog)
    int index = 0;  // item, row or tab; scroll position
    int scrollRequest = -1;  // ScrollRequest, or -1 for a position in index
    std::string text;        // typed text, file path, hook name, start of a combo item's text
    std::string source;      // the step as written
};

// One step; false with a message when it does not parse.
bool ParseRobotStep(const std::string& line, RobotStep* step, std::string* error);
// Steps separated by newlines and, when splitOnSemicolons, by ';'. Blank lines and lines
// starting with '#' are skipped.
bool ParseRobotScript(const std::string& text, bool splitOnSemicolons,
                      std::vector<RobotStep>* steps, std::string* error);
