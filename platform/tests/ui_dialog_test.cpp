// Template dialogs run modally on the offscreen platform and answered by the UI robot.
#include "tests/support/temp_home.h"
#include "platform/tests/ui_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

bool Contains(const std::vector<std::pair<int, int>>& commands, int id, int notification)
{
    return std::find(commands.begin(), commands.end(), std::make_pair(id, notification)) !=
           commands.end();
}

class UiDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(1000);
    }
};

struct FormValues {
    int ticked = -1;
    int chosen = -1;
    intptr_t chosenData = -1;
    std::string typed;
};

DialogTemplate FormTemplate()
{
    DialogTemplate tpl = OkCancelTemplate(16150);
    tpl.controls.push_back({10, kControlCheckBox, 10, 10, 120, 16, "Output to file"});
    tpl.controls.push_back({11, kControlComboBox, 10, 40, 150, 22, ""});
    tpl.controls.push_back({12, kControlEdit, 10, 70, 150, 22, ""});
    return tpl;
}

void FillForm(DialogWindow* dialog)
{
    for (int i = 0; i < 4; ++i) {
        int at = ComboAddString(dialog, 11, "No" + std::to_string(i + 1));
        ComboSetItemData(dialog, 11, at, 100 + i);
    }
    ComboSetCurSel(dialog, 11, 0);
    CheckDialogButton(dialog, 10, 0);
}

TEST_F(UiDialogTest, RobotTicksChoosesTypesAndPressesOk)
{
    ASSERT_TRUE(SetUiRobotScript("tick 10; choose 11 2; type 12 hello plotter; press 1"));
    SeenByDialog seen;
    FormValues values;
    seen.onInit = FillForm;
    seen.onEnd = [&](DialogWindow* dialog, int) {
        values.ticked = IsDialogButtonChecked(dialog, 10);
        values.chosen = ComboGetCurSel(dialog, 11);
        values.chosenData = ComboGetItemData(dialog, 11, values.chosen);
        values.typed = GetDialogItemText(dialog, 12);
    };
    int result = RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr);

    EXPECT_EQ(result, kDialogOk);
    EXPECT_EQ(values.ticked, 1);
    EXPECT_EQ(values.chosen, 2);
    EXPECT_EQ(values.chosenData, 102);
    EXPECT_EQ(values.typed, "hello plotter");
    EXPECT_TRUE(Contains(seen.commands, 10, kNotifyClicked));
    EXPECT_TRUE(Contains(seen.commands, 11, kNotifySelectionChange));
    EXPECT_TRUE(Contains(seen.commands, 12, kNotifyEditChange));
    ASSERT_FALSE(seen.commands.empty());
    EXPECT_EQ(seen.commands.back(), std::make_pair(kDialogOk, static_cast<int>(kNotifyClicked)));
    EXPECT_TRUE(UiRobotErrors().empty());
    EXPECT_EQ(UiRobotPendingStepCount(), 0);
}

TEST_F(UiDialogTest, FocusMovesAsTheUserGoesFromControlToControl)
{
    // Typing puts the focus into the edit; pressing OK takes it away again.
    ASSERT_TRUE(SetUiRobotScript("type 12 5; choose 11 1; type 12 6; press 1"));
    SeenByDialog seen;
    seen.onInit = FillForm;
    RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr);
    std::vector<std::pair<int, int>> expected = {
        {12, kNotifySetFocus}, {12, kNotifyKillFocus}, {11, kNotifySetFocus},
        {11, kNotifyKillFocus}, {12, kNotifySetFocus}, {12, kNotifyKillFocus}};
    EXPECT_EQ(seen.focus, expected);
}

TEST_F(UiDialogTest, ProgramChangesDoNotNotifyButUserChangesDo)
{
    // Only the edit's change is told for the program's own changes, as the system does.
    ASSERT_TRUE(SetUiRobotScript("press 1"));
    SeenByDialog seen;
    seen.onInit = [](DialogWindow* dialog) {
        FillForm(dialog);
        ComboSetCurSel(dialog, 11, 3);
        CheckDialogButton(dialog, 10, 1);
    };
    RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr);
    for (const auto& command : seen.commands)
        EXPECT_TRUE(command.first == kDialogOk) << "unexpected command " << command.first;
}

TEST_F(UiDialogTest, RecordsWhatTheDialogShowedWhenEachStepRan)
{
    ASSERT_TRUE(SetUiRobotScript("choose 11 1\npress 1"));
    SeenByDialog seen;
    seen.onInit = FillForm;
    RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr);

    std::vector<UiShownDialog> shown = UiRobotShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].dialogId, 16150);
    EXPECT_EQ(shown[0].title, "Test");
    std::vector<UiRobotStepRecord> steps = UiRobotStepRecords();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].step, "choose 11 1");
    EXPECT_TRUE(steps[0].ok);
    auto combo = [](const std::vector<UiControlState>& controls) {
        for (const UiControlState& c : controls)
            if (c.id == 11)
                return c;
        return UiControlState();
    };
    EXPECT_EQ(combo(steps[0].controls).selection, 0);
    EXPECT_EQ(combo(steps[1].controls).selection, 1);
    EXPECT_EQ(combo(steps[1].controls).text, "No2");
    EXPECT_EQ(combo(steps[1].controls).items,
              (std::vector<std::string>{"No1", "No2", "No3", "No4"}));
}

struct RectCase {
    DialogControl control;
};

TEST_F(UiDialogTest, ControlsSitAtTheirPixelRectanglesNamedByTheirIds)
{
    const RectCase cases[] = {
        {{3, kControlStaticText, 10, 12, 474, 17, "banner"}},
        {{4, kControlScrollBar, 463, 29, 16, 225, ""}},
        {{5, kControlCheckBox, 14, 32, 16, 16, ""}},
        {{7, kControlComboBox, 262, 30, 199, 16, ""}},
        {{41, kControlFrame, 10, 28, 470, 227, ""}},
        {{42, kControlCheckBox, 14, 271, 146, 16, "Output to file"}},
        {{1082, kControlTabControl, 5, 5, 255, 165, ""}},
        {{401, kControlListBox, 20, 40, 120, 90, ""}},
        {{109, kControlGroupBox, 150, 40, 120, 60, "Orientation"}},
        {{112, kControlPicture, 160, 60, 32, 32, ""}},
    };
    DialogTemplate tpl = OkCancelTemplate(16053);
    tpl.width = 494;
    tpl.height = 330;
    for (const RectCase& c : cases)
        tpl.controls.push_back(c.control);
    DialogControl late{6, kControlStaticText, 34, 34, 182, 12, "added at run time"};

    std::vector<std::string> problems;
    auto check = [&](DialogWindow* dialog, const char* when) {
        std::vector<DialogControl> all;
        for (const RectCase& c : cases)
            all.push_back(c.control);
        all.push_back(late);
        for (const DialogControl& control : all) {
            QWidget* widget = GetDialogItem(dialog, control.id);
            if (widget == nullptr) {
                problems.push_back(std::string(when) + ": no control " + std::to_string(control.id));
                continue;
            }
            QRect want(control.x, control.y, control.w, control.h);
            if (widget->geometry() != want || widget->objectName() != QString::number(control.id))
                problems.push_back(std::string(when) + ": control " + std::to_string(control.id));
        }
        if (GetDialogWidget(dialog)->objectName() != QStringLiteral("16053"))
            problems.push_back(std::string(when) + ": dialog name");
    };
    static std::function<void()> hookBody;
    SeenByDialog seen;
    seen.onInit = [&](DialogWindow* dialog) {
        ASSERT_NE(AddDialogControl(dialog, late), nullptr);
        EXPECT_EQ(AddDialogControl(dialog, DialogControl{99, 77, 0, 0, 1, 1, ""}), nullptr);
        check(dialog, "init");
    };
    hookBody = [&] {
        check(seen.dialog, "shown");
        EXPECT_EQ(GetDialogWidget(seen.dialog)->size(), QSize(494, 330));
        EXPECT_EQ(QApplication::activeModalWidget(), GetDialogWidget(seen.dialog));
    };
    RegisterUiRobotHook("check", [](void*) { hookBody(); }, nullptr);
    ASSERT_TRUE(SetUiRobotScript("hook check; press 1"));
    EXPECT_EQ(RunModalDialog(tpl, RecordingProc, &seen, nullptr), kDialogOk);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(UiRobotErrors().empty());
}

TEST_F(UiDialogTest, PlacementSetAtInitialisationIsKeptWhenShown)
{
    static QPoint shownAt;
    static QSize shownSize;
    static DialogWindow* placed = nullptr;
    RegisterUiRobotHook("where", [](void*) {
        shownAt = GetDialogWidget(placed)->pos();
        shownSize = GetDialogWidget(placed)->size();
    }, nullptr);
    ASSERT_TRUE(SetUiRobotScript("hook where; press 1"));
    int desktopW = 0, desktopH = 0;
    GetDesktopSize(&desktopW, &desktopH);
    ASSERT_GT(desktopW, 494);
    ASSERT_GT(desktopH, 330);
    SeenByDialog seen;
    seen.onInit = [&](DialogWindow* dialog) {
        placed = dialog;
        SetDialogTopmost(dialog, true);
        MoveDialogWindow(dialog, (desktopW - 494) / 2, (desktopH - 330) / 2, 494, 330);
    };
    EXPECT_EQ(RunModalDialog(OkCancelTemplate(16053), RecordingProc, &seen, nullptr), kDialogOk);
    EXPECT_EQ(shownAt, QPoint((desktopW - 494) / 2, (desktopH - 330) / 2));
    EXPECT_EQ(shownSize, QSize(494, 330));
}

TEST_F(UiDialogTest, DialogUnitsGrowWithTheFont)
{
    int x9 = 0, y9 = 0, x12 = 0, y12 = 0, x0 = -1, y0 = -1;
    DialogUnitsToPixels("IPAGothic", 9, 263, 295, &x9, &y9);
    DialogUnitsToPixels("IPAGothic", 12, 263, 295, &x12, &y12);
    DialogUnitsToPixels("IPAGothic", 9, 0, 0, &x0, &y0);
    EXPECT_GT(x9, 263);  // a horizontal unit is a quarter of an average letter
    EXPECT_GT(y9, 295);  // a vertical unit an eighth of the line height
    EXPECT_GT(x12, x9);
    EXPECT_GT(y12, y9);
    EXPECT_EQ(x0, 0);
    EXPECT_EQ(y0, 0);
}

struct FailureCase {
    const char* name;
    const char* script;
    bool ignoreCancel;
    bool answerClose;
    int result;
    const char* error;  // part of the recorded error
};

TEST_F(UiDialogTest, StepsThatCannotBeCarriedOutCloseTheDialogAndAreRecorded)
{
    const FailureCase cases[] = {
        {"missing control", "press 99", false, false, kDialogCancel, "has no control 99"},
        {"wrong kind", "tick 12", false, false, kDialogCancel, "is not a check box"},
        {"item out of range", "choose 11 4", false, false, kDialogCancel, "has no item 4"},
        {"save without file dialog", "save /tmp/x.plt", false, false, kDialogCancel,
         "needs the save-file dialog"},
        {"unknown hook", "hook nobody", false, false, kDialogCancel, "no hook named"},
        {"number edit refuses letters", "type 13 abc", false, false, kDialogCancel,
         "did not take"},
        {"close box answered by the procedure", "press 99", false, true, 0, "has no control 99"},
        {"procedure that never ends", "press 99", true, false, kDialogCancel, "has no control 99"},
        {"no step left", "tick 10", false, false, kDialogCancel, "no step left for dialog 16150"},
        {"waiting in vain", "wait 777", false, false, kDialogCancel, "did not open"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript(c.script));
        SeenByDialog seen;
        seen.onInit = FillForm;
        seen.ignoreCancel = c.ignoreCancel;
        seen.answerClose = c.answerClose;
        DialogTemplate tpl = FormTemplate();
        tpl.controls.push_back({13, kControlEdit, 10, 100, 150, 22, "", kControlNumber});
        EXPECT_EQ(RunModalDialog(tpl, RecordingProc, &seen, nullptr), c.result);
        std::vector<std::string> errors = UiRobotErrors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(c.error), std::string::npos) << errors[0];
        EXPECT_EQ(seen.closes, 1);

        // Every later dialog is closed at once rather than left waiting.
        SeenByDialog later;
        EXPECT_EQ(RunModalDialog(OkCancelTemplate(2), RecordingProc, &later, nullptr), kDialogCancel);
    }
}

TEST_F(UiDialogTest, ScriptsThatDoNotParseAreRefusedWhole)
{
    std::string error;
    ASSERT_TRUE(SetUiRobotScript("press 1"));
    EXPECT_FALSE(SetUiRobotScript("tick 5; frobnicate 3", &error));
    EXPECT_NE(error.find("frobnicate"), std::string::npos);
    EXPECT_EQ(UiRobotPendingStepCount(), 1);
}

TEST_F(UiDialogTest, StepsLeftWhenNoDialogCameAreReportedAtTheEnd)
{
    ASSERT_TRUE(SetUiRobotScript("press 1; press 2"));
    SeenByDialog seen;
    EXPECT_EQ(RunModalDialog(OkCancelTemplate(5), RecordingProc, &seen, nullptr), kDialogOk);
    EXPECT_EQ(UiRobotPendingStepCount(), 1);
    EXPECT_EQ(FinishUiRobot(), 1);
    ASSERT_EQ(UiRobotErrors().size(), 1u);
    EXPECT_NE(UiRobotErrors()[0].find("press 2"), std::string::npos);
}

struct Nesting {
    SeenByDialog outer;
    SeenByDialog inner;
    int innerResult = -5;
    bool outerWasActive = false;
};

TEST_F(UiDialogTest, HookRunsWhileTheDialogStaysOpenAndMayOpenAnother)
{
    static Nesting* nesting = nullptr;
    Nesting n;
    nesting = &n;
    RegisterUiRobotHook("nested", [](void*) {
        nesting->outerWasActive =
            QApplication::activeModalWidget() == GetDialogWidget(nesting->outer.dialog);
        nesting->innerResult = RunModalDialog(OkCancelTemplate(16250), RecordingProc,
                                              &nesting->inner, nullptr);
    }, nullptr);
    ASSERT_TRUE(SetUiRobotScript("tick 10; hook nested; wait 16250; press 2; press 1"));
    n.outer.onInit = FillForm;
    int ticked = -1;
    n.outer.onEnd = [&](DialogWindow* dialog, int) { ticked = IsDialogButtonChecked(dialog, 10); };
    EXPECT_EQ(RunModalDialog(FormTemplate(), RecordingProc, &n.outer, nullptr), kDialogOk);
    EXPECT_TRUE(n.outerWasActive);
    EXPECT_EQ(n.innerResult, kDialogCancel);
    EXPECT_EQ(ticked, 1);
    EXPECT_TRUE(UiRobotErrors().empty()) << UiRobotErrors().front();
    std::vector<UiShownDialog> shown = UiRobotShownDialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].dialogId, 16250);
}

TEST_F(UiDialogTest, RadiosOfAGroupExcludeEachOtherOnly)
{
    DialogTemplate tpl = OkCancelTemplate(110);
    tpl.controls.push_back({20, kControlRadioButton, 10, 10, 80, 16, "Portrait", kControlGroupStart});
    tpl.controls.push_back({21, kControlRadioButton, 10, 30, 80, 16, "Landscape"});
    tpl.controls.push_back({22, kControlRadioButton, 110, 10, 80, 16, "A", kControlGroupStart});
    tpl.controls.push_back({23, kControlRadioButton, 110, 30, 80, 16, "B"});
    ASSERT_TRUE(SetUiRobotScript("radio 21; radio 23; radio 21; radio 20; press 1"));
    SeenByDialog seen;
    std::vector<int> checked;
    seen.onInit = [](DialogWindow* dialog) { CheckRadioButton(dialog, 20, 21, 21); };
    seen.onEnd = [&](DialogWindow* dialog, int) {
        for (int id = 20; id <= 23; ++id)
            checked.push_back(IsDialogButtonChecked(dialog, id));
    };
    RunModalDialog(tpl, RecordingProc, &seen, nullptr);
    EXPECT_EQ(checked, (std::vector<int>{1, 0, 0, 1}));
    EXPECT_TRUE(Contains(seen.commands, 21, kNotifyClicked));
    EXPECT_TRUE(Contains(seen.commands, 20, kNotifyClicked));
}

void SendKey(int key)
{
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = QApplication::activeModalWidget();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

TEST_F(UiDialogTest, CloseBoxEscapeAndEnterBecomeTheButtonsCommands)
{
    RegisterUiRobotHook("escape", [](void*) { SendKey(Qt::Key_Escape); }, nullptr);
    RegisterUiRobotHook("enter", [](void*) { SendKey(Qt::Key_Return); }, nullptr);
    struct Case {
        const char* script;
        int result;
        int closes;
    };
    const Case cases[] = {
        {"close", kDialogCancel, 1},
        {"hook escape", kDialogCancel, 0},
        {"type 12 x; hook enter", kDialogOk, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript(c.script));
        SeenByDialog seen;
        seen.onInit = FillForm;
        EXPECT_EQ(RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr), c.result);
        EXPECT_EQ(seen.closes, c.closes);
        EXPECT_TRUE(Contains(seen.commands, c.result, kNotifyClicked));
        EXPECT_TRUE(UiRobotErrors().empty());
    }
}

TEST_F(UiDialogTest, EndingDuringInitialisationShowsNothing)
{
    SeenByDialog seen;
    seen.onInit = [](DialogWindow* dialog) { EndModalDialog(dialog, 42); };
    EXPECT_EQ(RunModalDialog(OkCancelTemplate(8), RecordingProc, &seen, nullptr), 42);
    EXPECT_TRUE(UiRobotShownDialogs().empty());
    EXPECT_EQ(RunModalDialog(OkCancelTemplate(8), nullptr, nullptr, nullptr), -1);
}

// The script named by the environment is read when Qt starts, so this runs in a child.
TEST(UiRobotEnvironment, ScriptFileNamedByTheEnvironmentAnswersTheDialog)
{
    if (std::getenv("TRAVEX_UI_CHILD") != nullptr) {
        ASSERT_TRUE(EnsureQtApplication());
        SeenByDialog seen;
        seen.onInit = FillForm;
        std::string typed;
        seen.onEnd = [&](DialogWindow* dialog, int) { typed = GetDialogItemText(dialog, 12); };
        ASSERT_EQ(RunModalDialog(FormTemplate(), RecordingProc, &seen, nullptr), kDialogOk);
        ASSERT_EQ(typed, "a; b");
        ASSERT_TRUE(UiRobotErrors().empty());
        return;
    }
    std::string folder = MakeTestFolder("ui-env");
    std::string script = folder + "/steps.txt";
    std::ofstream(script) << "# answered from a file\ntype 12 a; b\n\npress 1\n";

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("TRAVEX_UI_SCRIPT=", 0) != 0)
            env.push_back(*e);
    env.push_back("TRAVEX_UI_SCRIPT=" + script);
    env.push_back("TRAVEX_UI_CHILD=1");
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=UiRobotEnvironment.*";
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
