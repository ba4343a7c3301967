// The text form of the UI robot's steps.
#include "platform/ui/robot_script.h"

#include "platform/ui/dialog_runner.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    int verb;
    int id;
    int index;
    int scrollRequest;
    const char* value;
};

TEST(RobotScript, StepsReadTheirArguments)
{
    const ParseCase cases[] = {
        {"tick 5", kStepTick, 5, 0, -1, ""},
        {"  untick 42  ", kStepUntick, 42, 0, -1, ""},
        {"radio 110", kStepRadio, 110, 0, -1, ""},
        {"choose 7 2", kStepChoose, 7, 2, -1, ""},
        {"pick 7 No3:", kStepPick, 7, -1, -1, "No3:"},
        {"select 401 0", kStepSelect, 401, 0, -1, ""},
        {"type 103 210.5", kStepType, 103, 0, -1, "210.5"},
        {"type 402 A4 roll  paper", kStepType, 402, 0, -1, "A4 roll  paper"},
        {"type 103", kStepType, 103, 0, -1, ""},
        {"type 402 用紙", kStepType, 402, 0, -1, "用紙"},
        {"press 1", kStepPress, 1, 0, -1, ""},
        {"tab 1082 4", kStepTab, 1082, 4, -1, ""},
        {"scroll 4 down", kStepScroll, 4, 0, kScrollLineDown, ""},
        {"scroll 4 pageup", kStepScroll, 4, 0, kScrollPageUp, ""},
        {"scroll 4 17", kStepScroll, 4, 17, -1, ""},
        {"close", kStepClose, 0, 0, -1, ""},
        {"save /tmp/a b.plt", kStepSave, 0, 0, -1, "/tmp/a b.plt"},
        {"cancel", kStepCancel, 0, 0, -1, ""},
        {"wait", kStepWait, 0, 0, -1, ""},
        {"wait 16150", kStepWait, 16150, 0, -1, ""},
        {"hook send-menu", kStepHook, 0, 0, -1, "send-menu"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        RobotStep step;
        std::string error;
        ASSERT_TRUE(ParseRobotStep(c.text, &step, &error)) << error;
        EXPECT_EQ(step.verb, c.verb);
        EXPECT_EQ(step.id, c.id);
        EXPECT_EQ(step.index, c.index);
        EXPECT_EQ(step.scrollRequest, c.scrollRequest);
        EXPECT_EQ(step.text, c.value);
    }
}

TEST(RobotScript, MalformedStepsAreRefusedWithTheirText)
{
    const char* cases[] = {
        "", "push 1", "tick", "tick five", "tick 5 6", "choose 7", "choose 7 -1", "choose 7 x",
        "select 401", "tab 1082", "scroll 4", "scroll 4 sideways", "close now", "cancel 2",
        "wait soon", "save", "hook", "press 1 2", "pick 7", "pick 7 No3: more",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        RobotStep step;
        std::string error;
        EXPECT_FALSE(ParseRobotStep(text, &step, &error));
        EXPECT_NE(error.find('"' + std::string(text).substr(0, 4)), std::string::npos) << error;
    }
}

TEST(RobotScript, ScriptsSplitIntoSteps)
{
    struct Case {
        const char* text;
        bool semicolons;
        std::vector<std::string> steps;
    };
    const Case cases[] = {
        {"tick 5; choose 7 2 ;press 1", true, {"tick 5", "choose 7 2", "press 1"}},
        {"tick 5;;press 1;", true, {"tick 5", "press 1"}},
        {"# the output dialog\ntick 5\r\n\n  press 1\n", false, {"tick 5", "press 1"}},
        {"type 103 a;b\npress 1", false, {"type 103 a;b", "press 1"}},
        {"tick 5\npress 1; press 2", true, {"tick 5", "press 1", "press 2"}},
        {"", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<RobotStep> steps;
        std::string error;
        ASSERT_TRUE(ParseRobotScript(c.text, c.semicolons, &steps, &error)) << error;
        std::vector<std::string> sources;
        for (const RobotStep& step : steps)
            sources.push_back(step.source);
        EXPECT_EQ(sources, c.steps);
    }
    std::vector<RobotStep> steps(3);
    std::string error;
    EXPECT_FALSE(ParseRobotScript("tick 5\nfly 3\n", false, &steps, &error));
    EXPECT_EQ(steps.size(), 3u);  // left as it was
    EXPECT_NE(error.find("fly 3"), std::string::npos);
}

} // namespace
