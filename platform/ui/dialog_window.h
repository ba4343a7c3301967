// Inside of a running dialog, shared by the dialog runner, the control helpers and the robot.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <QRect>
#include <QString>

class QDialog;
class QFileDialog;

struct DialogControlRecord {
    int id = 0;
    int kind = 0;
    uint32_t flags = 0;
    QWidget* widget = nullptr;
    std::string text;  // caption as given, mnemonics included
    int radioGroup = 0;
    int scrollMin = 0, scrollMax = 100;  // as given, even when maximum < minimum
    int itemHeight = 0;                  // owner-drawn rows, from measure-item
};

struct DialogWindow {
    int templateId = 0;
    std::string title;
    DialogProc proc = nullptr;
    void* user = nullptr;
    QWidget* widget = nullptr;  // the QDialog, or the page widget
    QDialog* modal = nullptr;   // null for a child page
    DialogWindow* parent = nullptr;
    std::vector<DialogWindow*> pages;
    std::vector<DialogControlRecord> controls;
    int groupCounter = 0;
    int quiet = 0;  // above 0 while the program itself changes a control
    int result = 0;
    bool ended = false;
};

// Holds back notifications while the program changes a control, as the system does.
struct QuietChange {
    explicit QuietChange(DialogWindow* d) : dialog(d) { ++dialog->quiet; }
    ~QuietChange() { --dialog->quiet; }
    QuietChange(const QuietChange&) = delete;
    QuietChange& operator=(const QuietChange&) = delete;
    DialogWindow* dialog;
};

inline QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQt(const QString& s)
{
    QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

DialogControlRecord* FindControl(DialogWindow* dialog, int id);
intptr_t SendDialogEvent(DialogWindow* dialog, const DialogEvent& event);
// A user's command; dropped while the program itself changes the control.
void NotifyCommand(DialogWindow* dialog, int id, int notification);
QWidget* CreateControlWidget(DialogWindow* dialog, const DialogControl& control);
void SendMeasureItem(DialogWindow* dialog, DialogControlRecord& record);
// The caption as shown: "&F" underlines F, "&&" is one ampersand.
QString StripMnemonic(const std::string& text);

// Robot side of the runner.
void RobotDialogOpened(DialogWindow* dialog);
void RobotDialogClosed(DialogWindow* dialog);
void RobotFileDialogOpened(QFileDialog* fileDialog);
void RobotFileDialogClosed(QFileDialog* fileDialog);
void LoadUiRobotScriptFromEnvironment();
struct UiControlState;
std::vector<UiControlState> SnapshotControls(DialogWindow* dialog);

// Owner-drawn lists and the combo box widget (sends drop-down and close-up).
class QComboBox;
QComboBox* NewComboWidget(DialogWindow* dialog, int id, bool ownerDrawn, QWidget* parent);
void InstallItemDrawer(DialogWindow* dialog, DialogControlRecord& record);
int ItemDataRole();  // where combo and list items keep their data
class QTabBar;
QTabBar* TabBarOf(QWidget* tabControl);
QRect TabDisplayRect(QWidget* tabControl);  // in the tab control's own pixels
void LayOutTabControl(QWidget* tabControl);
std::string ControlText(const DialogControlRecord& record);  // what GetDialogItemText reads
int* SharedBeepCounter();
