// Dialogs in the style of the system's dialog templates, on Qt Widgets.
//
// A template lists controls at pixel rectangles (x, y, width, height in the dialog's client
// area). Each control widget gets its id in decimal as object name ("1082"); the dialog (or
// page) widget gets its template id in decimal. One dialog procedure receives what happens:
// initialisation, commands (control id and notification), scroll requests, measure-item and
// draw-item for owner-drawn lists, close and destroy. All texts are UTF-8.
//
// Notifications follow the system's rules: a programmatic change (ComboSetCurSel,
// ListSetCurSel, CheckDialogButton, TabSetCurSel) sends nothing; a user's change (or the UI
// robot's) sends the command. Edit changes are notified for every change of the text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

// One QApplication per process, created on first use (offscreen when there is no display,
// unless QT_QPA_PLATFORM says otherwise). Safe to call from a program and from a loaded
// plug-in; the later caller finds the existing instance. False when Qt cannot start.
bool EnsureQtApplication();

enum DialogControlKind {
    kControlPushButton = 1,
    kControlDefaultButton,  // push button that Enter presses
    kControlCheckBox,       // automatic check box
    kControlRadioButton,    // automatic radio; a group runs from kControlGroupStart to the next
    kControlEdit,
    kControlStaticText,
    kControlGroupBox,
    kControlComboBox,       // drop-down list (kControlEditableCombo: with an edit field)
    kControlListBox,
    kControlPicture,        // bitmap or icon (SetDialogItemBitmap)
    kControlTabControl,     // tab strip with a display area for child pages
    kControlScrollBar,      // vertical when narrower than tall, unless a direction flag says
    kControlFrame,          // black frame
};

enum DialogControlFlag : uint32_t {
    kControlGroupStart = 1u << 0,     // first control of a group (radio groups)
    kControlNumber = 1u << 1,         // edit accepts digits only
    kControlReadOnly = 1u << 2,       // edit
    kControlMultiLine = 1u << 3,      // edit
    kControlOwnerDrawn = 1u << 4,     // combo or list box: items drawn by the dialog procedure
    kControlEditableCombo = 1u << 5,  // combo box with an edit field
    kControlHidden = 1u << 6,         // created hidden
    kControlDisabled = 1u << 7,       // created disabled
    kControlSorted = 1u << 8,         // combo or list box keeps its items sorted
    kControlHorizontal = 1u << 9,     // scroll bar
    kControlVertical = 1u << 10,      // scroll bar
    kControlCentered = 1u << 11,      // static text
    kControlRightAligned = 1u << 12,  // static text, edit
    kControlPassword = 1u << 13,      // edit
};

struct DialogControl {
    int id = 0;
    int kind = 0;  // DialogControlKind
    int x = 0, y = 0, w = 0, h = 0;
    std::string text;
    uint32_t flags = 0;  // DialogControlFlag bits
};

enum DialogTemplateFlag : uint32_t {
    kDialogTopmost = 1u << 0,
    kDialogNoCloseBox = 1u << 1,
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    int width = 0, height = 0;  // client size in pixels
    std::string fontName;       // empty: the platform's dialog font
    int fontPointSize = 0;      // 0: the platform's size
    std::vector<DialogControl> controls;
    uint32_t flags = 0;  // DialogTemplateFlag bits
};

enum DialogMessage {
    kDialogInit = 1,     // answer non-zero to let the dialog set the default focus
    kDialogCommand,      // controlId, notification
    kDialogScroll,       // controlId (scroll bar), scrollRequest, scrollPosition (thumb)
    kDialogMeasureItem,  // measureItem (owner-drawn, once when the control is created)
    kDialogDrawItem,     // drawItem (owner-drawn); answer non-zero when drawn
    kDialogClose,        // close box; unanswered (0) it becomes command 2 (cancel)
    kDialogDestroy,      // the dialog is going away
};

enum ControlNotification {
    kNotifyClicked = 0,  // buttons, check boxes, radios; Enter and Escape (ids 1 and 2)
    kNotifySelectionChange,  // combo box, list box, tab control
    kNotifyEditChange,       // edit, editable combo
    kNotifySetFocus,
    kNotifyKillFocus,
    kNotifyDropDown,  // combo list opens
    kNotifyCloseUp,   // combo list closes
    kNotifyDoubleClick,
};

// The system's scroll requests, with its numbers.
enum ScrollRequest {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

// Dialog results of the standard buttons.
constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;

enum DrawItemAction { kDrawEntire = 1, kDrawSelect = 2, kDrawFocus = 4 };
enum DrawItemState {
    kDrawStateSelected = 1,
    kDrawStateDisabled = 4,
    kDrawStateFocus = 16,
    kDrawStateComboEdit = 0x1000,  // the closed combo's field, not a list row
};

struct DrawItemInfo {
    int controlId = 0;
    int itemIndex = -1;  // -1: an empty field
    intptr_t itemData = 0;
    int action = kDrawEntire;  // DrawItemAction
    int state = 0;             // DrawItemState bits
    int left = 0, top = 0, right = 0, bottom = 0;  // item rectangle in control pixels
    void* painter = nullptr;  // the QPainter, for the drawing helpers below
};

struct MeasureItemInfo {
    int controlId = 0;
    int itemWidth = 0;
    int itemHeight = 0;  // the procedure sets the fixed row height
};

struct DialogEvent {
    int message = 0;  // DialogMessage
    int controlId = 0;
    int notification = 0;  // ControlNotification
    int scrollRequest = 0;
    int scrollPosition = 0;
    DrawItemInfo* drawItem = nullptr;
    MeasureItemInfo* measureItem = nullptr;
};

struct DialogWindow;  // a running modal dialog or a child page
typedef intptr_t (*DialogProc)(DialogWindow* dialog, const DialogEvent& event, void* user);

// Runs the template as a modal dialog (QDialog::exec) and returns the result given to
// EndModalDialog; -1 when the dialog could not be created (no Qt, no procedure).
int RunModalDialog(const DialogTemplate& tpl, DialogProc proc, void* user, QWidget* owner);
// Ends the modal dialog with the result; on a child page it only hides the page.
void EndModalDialog(DialogWindow* dialog, int result);

// A modeless child page: the template made a child widget of the parent dialog (hidden,
// its procedure initialised), for a tab control to switch. Lives until the parent ends.
DialogWindow* CreateChildPage(DialogWindow* parent, const DialogTemplate& tpl, DialogProc proc,
                              void* user);
void ShowChildPage(DialogWindow* page, bool show);
bool IsChildPageVisible(DialogWindow* page);

int GetDialogTemplateId(DialogWindow* dialog);
void* GetDialogUser(DialogWindow* dialog);
QWidget* GetDialogWidget(DialogWindow* dialog);
DialogWindow* GetParentDialog(DialogWindow* page);  // null for a modal dialog
QWidget* GetDialogItem(DialogWindow* dialog, int id);  // null when there is none

// Creates one control at run time (as the template would); null for an unknown kind.
QWidget* AddDialogControl(DialogWindow* dialog, const DialogControl& control);

// Dialog units to pixels with the font's base units (average letter width, height).
void DialogUnitsToPixels(const std::string& fontName, int pointSize, int duX, int duY, int* px,
                         int* py);

// Window placement, in screen pixels.
void GetDesktopSize(int* width, int* height);
void MoveDialogWindow(DialogWindow* dialog, int x, int y, int width, int height);  // size <= 0 keeps
void GetDialogWindowRect(DialogWindow* dialog, int* x, int* y, int* width, int* height);
void SetDialogTopmost(DialogWindow* dialog, bool topmost);
int GetDialogLogPixelsY(DialogWindow* dialog);
// Pixel height as the system's fonts are made (negative: character height). Id 0 sets the
// dialog's own font. False when there is no such control.
bool SetDialogItemFont(DialogWindow* dialog, int id, const std::string& family, int pixelHeight,
                       int weight);
// Moves a control or a child page inside its dialog (client pixels).
bool MoveDialogItem(DialogWindow* dialog, int id, int x, int y, int width, int height);
void MoveChildPage(DialogWindow* page, int x, int y, int width, int height);

// Texts and numbers of any control (button, static, edit, group box, editable combo).
bool SetDialogItemText(DialogWindow* dialog, int id, const std::string& text);
std::string GetDialogItemText(DialogWindow* dialog, int id);
bool SetDialogItemInt(DialogWindow* dialog, int id, int value);
int GetDialogItemInt(DialogWindow* dialog, int id, bool* ok);
bool SetEditTextLimit(DialogWindow* dialog, int id, int maxChars);

// Check boxes and radios: 1 checked, 0 not.
bool CheckDialogButton(DialogWindow* dialog, int id, int checked);
int IsDialogButtonChecked(DialogWindow* dialog, int id);
bool CheckRadioButton(DialogWindow* dialog, int firstId, int lastId, int checkId);

bool EnableDialogItem(DialogWindow* dialog, int id, bool enable);
bool IsDialogItemEnabled(DialogWindow* dialog, int id);
bool ShowDialogItem(DialogWindow* dialog, int id, bool show);
bool IsDialogItemVisible(DialogWindow* dialog, int id);  // its own flag, not its dialog's
bool SetDialogItemFocus(DialogWindow* dialog, int id);

// Combo boxes; indices are 0-based, -1 is "none" or an error.
int ComboAddString(DialogWindow* dialog, int id, const std::string& text);
int ComboInsertString(DialogWindow* dialog, int id, int index, const std::string& text);
int ComboDeleteString(DialogWindow* dialog, int id, int index);  // count left, -1 on error
bool ComboResetContent(DialogWindow* dialog, int id);
int ComboGetCount(DialogWindow* dialog, int id);
int ComboSetCurSel(DialogWindow* dialog, int id, int index);  // -1 clears; -1 on error
int ComboGetCurSel(DialogWindow* dialog, int id);
bool ComboSetItemData(DialogWindow* dialog, int id, int index, intptr_t data);
intptr_t ComboGetItemData(DialogWindow* dialog, int id, int index);  // -1 on error
std::string ComboGetItemText(DialogWindow* dialog, int id, int index);

// List boxes, likewise.
int ListAddString(DialogWindow* dialog, int id, const std::string& text);
int ListInsertString(DialogWindow* dialog, int id, int index, const std::string& text);  // -1 appends
int ListDeleteString(DialogWindow* dialog, int id, int index);
bool ListResetContent(DialogWindow* dialog, int id);
int ListGetCount(DialogWindow* dialog, int id);
int ListSetCurSel(DialogWindow* dialog, int id, int index);
int ListGetCurSel(DialogWindow* dialog, int id);
bool ListSetItemData(DialogWindow* dialog, int id, int index, intptr_t data);
intptr_t ListGetItemData(DialogWindow* dialog, int id, int index);
std::string ListGetText(DialogWindow* dialog, int id, int index);

// Tab controls.
int TabInsertItem(DialogWindow* dialog, int id, int index, const std::string& text);
int TabGetCount(DialogWindow* dialog, int id);
int TabGetCurSel(DialogWindow* dialog, int id);
int TabSetCurSel(DialogWindow* dialog, int id, int index);  // previous selection, -1 on error
// The display area under the tabs, in the dialog's client pixels.
bool GetTabDisplayRect(DialogWindow* dialog, int id, int* x, int* y, int* width, int* height);

// Scroll bars; the range is kept as given (a range of 0..-1 holds position 0).
bool SetScrollRange(DialogWindow* dialog, int id, int minimum, int maximum);
bool GetScrollRange(DialogWindow* dialog, int id, int* minimum, int* maximum);
int SetScrollPos(DialogWindow* dialog, int id, int position);  // previous position
int GetScrollPos(DialogWindow* dialog, int id);

// Pictures: an image from the Qt resource system (":/...") or a file path.
bool SetDialogItemBitmap(DialogWindow* dialog, int id, const std::string& imagePath);

// Drawing helpers for draw-item; colours are 0x00RRGGBB, rectangles left, top, right,
// bottom (right and bottom excluded), as the system's drawing calls take them.
void DrawItemFillRect(const DrawItemInfo& item, int left, int top, int right, int bottom,
                      uint32_t rgb);
void DrawItemFrameRect(const DrawItemInfo& item, int left, int top, int right, int bottom,
                       uint32_t rgb);
void DrawItemFocusRect(const DrawItemInfo& item, int left, int top, int right, int bottom);
void DrawItemLine(const DrawItemInfo& item, int x0, int y0, int x1, int y1, uint32_t rgb);
