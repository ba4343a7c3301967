// The save-file dialog answered by the UI robot.
#include "platform/ui/save_file_dialog.h"
#include "tests/support/temp_home.h"
#include "platform/tests/ui_test_support.h"

#include <gtest/gtest.h>

#include <QDir>

#include <fstream>

namespace {

class SaveFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(1000);
        folder = MakeTestFolder("save-dialog");
    }
    std::string folder;
};

struct SaveCase {
    const char* name;
    const char* fileName;  // named by the robot inside the folder
    const char* extension;
    bool existing;  // the file is there already
    const char* expected;
};

TEST_F(SaveFileDialogTest, NamedFileIsGivenBack)
{
    const SaveCase cases[] = {
        {"new file", "drawing.plt", "", false, "drawing.plt"},
        {"existing file is replaced without a question left open", "old.plt", "", true, "old.plt"},
        {"no extension and none asked for", "plain", "", false, "plain"},
        {"default extension added", "plain", "plt", false, "plain.plt"},
        {"japanese name", "図面.plt", "", false, "図面.plt"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetUiRobot();
        std::string target = folder + "/" + c.fileName;
        if (c.existing)
            std::ofstream(target) << "old";
        ASSERT_TRUE(SetUiRobotScript("save " + target));
        std::string path;
        int result = RunSaveFileDialog("", "*.plt", 1, c.extension, "UNTITLED.plt",
                                       kSavePromptOverwrite, &path);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(path, folder + "/" + c.expected);
        EXPECT_TRUE(UiRobotErrors().empty());
        ASSERT_EQ(UiRobotShownDialogs().size(), 1u);
        EXPECT_EQ(UiRobotShownDialogs()[0].dialogId, 0);
        EXPECT_EQ(UiRobotShownDialogs()[0].title, "Save As");
        EXPECT_EQ(UiRobotShownDialogs()[0].fileFilters, std::vector<std::string>{"*.plt"});
        EXPECT_EQ(UiRobotShownDialogs()[0].fileName, "UNTITLED.plt");
        EXPECT_TRUE(UiRobotShownDialogs()[0].fPromptOverwrite);
    }
}

TEST_F(SaveFileDialogTest, RelativeNameIsTakenFromTheCurrentFolder)
{
    std::string before = QDir::currentPath().toStdString();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder)));
    ASSERT_TRUE(SetUiRobotScript("save here.plt"));
    std::string path;
    int result = RunSaveFileDialog("Output", "Plot file|*.plt|All files|*", 2, "", "", 0, &path);
    QDir::setCurrent(QString::fromStdString(before));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(path, folder + "/here.plt");
    ASSERT_EQ(UiRobotShownDialogs().size(), 1u);
    EXPECT_EQ(UiRobotShownDialogs()[0].fileFilters, (std::vector<std::string>{"Plot file (*.plt)", "All files (*)"}));
    EXPECT_FALSE(UiRobotShownDialogs()[0].fPromptOverwrite);
}

TEST_F(SaveFileDialogTest, CancelOrAFailedStepGivesZero)
{
    const char* scripts[] = {"cancel", "close", "press 1", "tick 5"};
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript(script));
        std::string path = "unchanged";
        EXPECT_EQ(RunSaveFileDialog("", "*.plt", 1, "", "UNTITLED.plt", kSavePromptOverwrite, &path),
                  0);
        EXPECT_EQ(path, "unchanged");
        bool failing = std::string(script) == "press 1" || std::string(script) == "tick 5";
        EXPECT_EQ(UiRobotErrors().size(), failing ? 1u : 0u);
    }
}

TEST_F(SaveFileDialogTest, TemplateDialogThenSaveDialogInOneScript)
{
    // As an output run goes: the dialog's OK, then the file name of the save-as route.
    ASSERT_TRUE(SetUiRobotScript("tick 42; press 1; wait; save " + folder + "/run.plt"));
    DialogTemplate tpl = OkCancelTemplate(16053);
    tpl.controls.push_back({42, kControlCheckBox, 14, 271, 146, 16, "Output to file"});
    SeenByDialog seen;
    int ticked = 0;
    seen.onEnd = [&](DialogWindow* dialog, int) { ticked = IsDialogButtonChecked(dialog, 42); };
    ASSERT_EQ(RunModalDialog(tpl, RecordingProc, &seen, nullptr), kDialogOk);
    std::string path;
    EXPECT_EQ(RunSaveFileDialog("", "*.plt", 1, "", "UNTITLED.plt", kSavePromptOverwrite, &path), 1);
    EXPECT_EQ(ticked, 1);
    EXPECT_EQ(path, folder + "/run.plt");
    EXPECT_EQ(FinishUiRobot(), 0);
}

} // namespace
