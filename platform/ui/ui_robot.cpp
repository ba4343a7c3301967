// The UI robot: carries out script steps on the active modal dialog, one per event-loop turn.
#include "platform/ui/ui_robot.h"

#include "platform/ui/dialog_window.h"
#include "platform/ui/robot_script.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

struct RobotTarget {
    DialogWindow* dialog = nullptr;
    QFileDialog* file = nullptr;
    int serial = 0;
    int closeAttempts = 0;
};

struct RobotHookEntry {
    std::string name;
    UiRobotHook hook = nullptr;
    void* user = nullptr;
};

// Plain data only: a program and the plug-ins it loaded each carry this code, and all of
// them find the one state through the application object.
struct RobotState {
    std::vector<RobotStep> steps;
    size_t next = 0;
    bool scripted = false;
    bool failed = false;
    bool environmentRead = false;
    int timeoutMs = 5000;
    std::vector<RobotTarget> stack;
    int serialCounter = 0;
    int lastStepStartSerial = 0;
    QElapsedTimer stall;
    std::vector<UiShownDialog> shown;
    std::vector<UiRobotStepRecord> records;
    std::vector<std::string> errors;
    std::vector<RobotHookEntry> hooks;
    int beeps = 0;
};

constexpr const char* kRobotProperty = "travexUiRobotState";

RobotState& Robot()
{
    static RobotState withoutQt;
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return withoutQt;
    QVariant held = app->property(kRobotProperty);
    if (held.isValid())
        return *reinterpret_cast<RobotState*>(held.value<quintptr>());
    auto* state = new RobotState;
    if (const char* timeout = std::getenv("TRAVEX_UI_TIMEOUT_MS"))
        if (std::atoi(timeout) > 0)
            state->timeoutMs = std::atoi(timeout);
    state->stall.start();
    app->setProperty(kRobotProperty, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(state)));
    return *state;
}

bool Offscreen()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

bool Armed(const RobotState& s)
{
    return s.scripted || Offscreen();
}

int TargetId(const RobotTarget& target)
{
    return target.dialog ? target.dialog->templateId : 0;
}

std::string Describe(const RobotTarget& target)
{
    if (target.file != nullptr)
        return "the save-file dialog";
    return "dialog " + std::to_string(target.dialog->templateId);
}

RobotTarget* FindTarget(RobotState& s, int serial)
{
    for (RobotTarget& target : s.stack)
        if (target.serial == serial)
            return &target;
    return nullptr;
}

void RobotTick(int serial);

void ScheduleTick(RobotState& s, int ms)
{
    if (s.stack.empty())
        return;
    const RobotTarget& top = s.stack.back();
    QObject* context = top.dialog ? static_cast<QObject*>(top.dialog->widget) : top.file;
    int serial = top.serial;
    QTimer::singleShot(ms < 0 ? 0 : ms, context, [serial] { RobotTick(serial); });
}

void CloseTarget(RobotState& s, int serial)
{
    RobotTarget* target = FindTarget(s, serial);
    if (target == nullptr)
        return;
    int attempt = target->closeAttempts++;
    if (target->file != nullptr) {
        if (attempt == 0)
            target->file->reject();
        else
            static_cast<QDialog*>(target->file)->done(QDialog::Rejected);
    } else if (!target->dialog->ended) {
        // First as the user would (the close box), then by force.
        if (attempt == 0)
            target->dialog->widget->close();
        else
            EndModalDialog(target->dialog, kDialogCancel);
    }
    ScheduleTick(s, 0);
}

void Fail(RobotState& s, const std::string& message)
{
    s.errors.push_back(message);
    std::fprintf(stderr, "ui robot: %s\n", message.c_str());
    std::fflush(stderr);
    s.failed = true;
    s.next = s.steps.size();
    if (!s.stack.empty())
        CloseTarget(s, s.stack.back().serial);
}

// Controls of the dialog first, then those of its visible pages.
bool FindRobotControl(DialogWindow* dialog, int id, DialogWindow** owner,
                      DialogControlRecord** record)
{
    if (DialogControlRecord* found = FindControl(dialog, id)) {
        *owner = dialog;
        *record = found;
        return true;
    }
    for (DialogWindow* page : dialog->pages)
        if (!page->widget->isHidden() && FindRobotControl(page, id, owner, record))
            return true;
    return false;
}

UiControlState StateOf(DialogWindow* owner, const DialogControlRecord& record, bool pageVisible)
{
    UiControlState state;
    state.id = record.id;
    state.kind = record.kind;
    state.text = ControlText(record);
    state.enabled = record.widget->isEnabled();
    state.visible = pageVisible && !record.widget->isHidden();
    QWidget* widget = record.widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        state.checked = button->isChecked() ? 1 : 0;
        if (auto* box = qobject_cast<QCheckBox*>(button))
            if (box->checkState() == Qt::PartiallyChecked)
                state.checked = 2;
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        state.selection = combo->currentIndex();
        for (int i = 0; i < combo->count(); ++i)
            state.items.push_back(FromQt(combo->itemText(i)));
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        state.selection = ListGetCurSel(owner, record.id);
        for (int i = 0; i < list->count(); ++i)
            state.items.push_back(FromQt(list->item(i)->text()));
        if (state.selection >= 0)
            state.text = state.items[static_cast<size_t>(state.selection)];
    } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
        state.selection = bar->value();
    } else if (QTabBar* tabs = TabBarOf(widget)) {
        state.selection = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i)
            state.items.push_back(FromQt(tabs->tabText(i)));
        if (state.selection >= 0)
            state.text = state.items[static_cast<size_t>(state.selection)];
    }
    return state;
}

void AppendSnapshot(DialogWindow* dialog, bool visible, std::vector<UiControlState>* out)
{
    for (const DialogControlRecord& record : dialog->controls)
        out->push_back(StateOf(dialog, record, visible));
    for (DialogWindow* page : dialog->pages)
        AppendSnapshot(page, visible && !page->widget->isHidden(), out);
}

std::vector<UiControlState> SnapshotTarget(const RobotTarget& target)
{
    std::vector<UiControlState> controls;
    if (target.dialog != nullptr)
        AppendSnapshot(target.dialog, true, &controls);
    return controls;
}

bool Refuse(std::string* error, const std::string& message)
{
    *error = message;
    return false;
}

bool CarryOutOnFileDialog(RobotState& s, const RobotStep& step, QFileDialog* file,
                          std::string* error)
{
    switch (step.verb) {
    case kStepSave: {
        QString path = QFileInfo(ToQt(step.text)).absoluteFilePath();
        // The robot's save answers the replace question with yes.
        file->setOption(QFileDialog::DontConfirmOverwrite, true);
        file->selectFile(path);
        // selectFile leaves the name field alone while it has the focus; type it there.
        if (auto* name = file->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        // Through QDialog: the file dialog's own accept checks the name as for a user.
        static_cast<QDialog*>(file)->accept();
        if (file->isVisible())
            return Refuse(error, "the save-file dialog did not take " + step.text);
        return true;
    }
    case kStepCancel:
    case kStepClose: file->reject(); return true;
    default:
        return Refuse(error, "step \"" + step.source + "\" cannot act on the save-file dialog");
    }
}

bool TypeInto(QWidget* widget, const std::string& text, std::string* error, int id)
{
    QString typed = ToQt(text);
    QLineEdit* line = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        line = combo->lineEdit();
    if (line != nullptr) {
        if (line->isReadOnly())
            return Refuse(error, "edit " + std::to_string(id) + " is read-only");
        line->setFocus(Qt::MouseFocusReason);
        line->selectAll();
        line->insert(typed);
        if (line->text() != typed)
            return Refuse(error, "edit " + std::to_string(id) + " did not take \"" + text + "\"");
        return true;
    }
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
        if (multi->isReadOnly())
            return Refuse(error, "edit " + std::to_string(id) + " is read-only");
        multi->setFocus(Qt::MouseFocusReason);
        multi->setPlainText(typed);
        return true;
    }
    return Refuse(error, "control " + std::to_string(id) + " is not an edit");
}

bool Scroll(QScrollBar* bar, const RobotStep& step)
{
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderMove;
    switch (step.scrollRequest) {
    case kScrollLineUp: action = QAbstractSlider::SliderSingleStepSub; break;
    case kScrollLineDown: action = QAbstractSlider::SliderSingleStepAdd; break;
    case kScrollPageUp: action = QAbstractSlider::SliderPageStepSub; break;
    case kScrollPageDown: action = QAbstractSlider::SliderPageStepAdd; break;
    case kScrollTop: action = QAbstractSlider::SliderToMinimum; break;
    case kScrollBottom: action = QAbstractSlider::SliderToMaximum; break;
    default: bar->setSliderPosition(step.index); break;
    }
    bar->triggerAction(action);
    return true;
}

bool CarryOutOnControl(const RobotStep& step, DialogWindow* dialog, std::string* error)
{
    DialogWindow* owner = nullptr;
    DialogControlRecord* record = nullptr;
    std::string name = "control " + std::to_string(step.id);
    if (!FindRobotControl(dialog, step.id, &owner, &record)) {
        for (DialogWindow* page : dialog->pages)
            if (FindControl(page, step.id) != nullptr)
                return Refuse(error, name + " is on page " + std::to_string(page->templateId) +
                                         " of dialog " + std::to_string(dialog->templateId) +
                                         ", which is hidden");
        return Refuse(error, "dialog " + std::to_string(dialog->templateId) + " has no " + name);
    }
    QWidget* widget = record->widget;
    if (!widget->isVisibleTo(dialog->widget))
        return Refuse(error, name + " of dialog " + std::to_string(dialog->templateId) +
                                 " is hidden");
    if (!widget->isEnabled())
        return Refuse(error, name + " of dialog " + std::to_string(dialog->templateId) +
                                 " is disabled");

    switch (step.verb) {
    case kStepTick:
    case kStepUntick: {
        auto* box = qobject_cast<QCheckBox*>(widget);
        if (box == nullptr)
            return Refuse(error, name + " is not a check box");
        bool wanted = step.verb == kStepTick;
        if (box->isChecked() != wanted) {
            box->setFocus(Qt::MouseFocusReason);
            box->click();
        }
        return true;
    }
    case kStepRadio: {
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio == nullptr)
            return Refuse(error, name + " is not a radio button");
        radio->setFocus(Qt::MouseFocusReason);
        radio->click();
        return true;
    }
    case kStepPress: {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button == nullptr)
            return Refuse(error, name + " is not a push button");
        button->setFocus(Qt::MouseFocusReason);
        button->click();
        return true;
    }
    case kStepChoose:
    case kStepPick: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (combo == nullptr)
            return Refuse(error, name + " is not a combo box");
        int index = step.index;
        if (step.verb == kStepPick) {
            for (int i = 0; i < combo->count() && index < 0; ++i)
                if (combo->itemText(i).startsWith(ToQt(step.text)))
                    index = i;
            if (index < 0)
                return Refuse(error, "combo box " + std::to_string(step.id) + " has no item starting with \"" +
                                         step.text + "\" (it has " + std::to_string(combo->count()) + ")");
        }
        if (index >= combo->count())
            return Refuse(error, "combo box " + std::to_string(step.id) + " has no item " +
                                     std::to_string(step.index) + " (it has " +
                                     std::to_string(combo->count()) + ")");
        combo->setFocus(Qt::MouseFocusReason);
        NotifyCommand(owner, step.id, kNotifyDropDown);
        combo->setCurrentIndex(index);
        NotifyCommand(owner, step.id, kNotifyCloseUp);
        return true;
    }
    case kStepSelect: {
        auto* list = qobject_cast<QListWidget*>(widget);
        if (list == nullptr)
            return Refuse(error, name + " is not a list box");
        if (step.index >= list->count())
            return Refuse(error, "list box " + std::to_string(step.id) + " has no row " +
                                     std::to_string(step.index) + " (it has " +
                                     std::to_string(list->count()) + ")");
        list->setFocus(Qt::MouseFocusReason);
        list->setCurrentRow(step.index);
        return true;
    }
    case kStepType: return TypeInto(widget, step.text, error, step.id);
    case kStepTab: {
        QTabBar* bar = TabBarOf(widget);
        if (bar == nullptr)
            return Refuse(error, name + " is not a tab control");
        if (step.index >= bar->count())
            return Refuse(error, "tab control " + std::to_string(step.id) + " has no tab " +
                                     std::to_string(step.index) + " (it has " +
                                     std::to_string(bar->count()) + ")");
        bar->setCurrentIndex(step.index);
        return true;
    }
    case kStepScroll: {
        auto* bar = qobject_cast<QScrollBar*>(widget);
        if (bar == nullptr)
            return Refuse(error, name + " is not a scroll bar");
        return Scroll(bar, step);
    }
    default: return Refuse(error, "step \"" + step.source + "\" cannot act on a dialog");
    }
}

bool CarryOut(RobotState& s, const RobotStep& step, const RobotTarget& target, std::string* error)
{
    if (step.verb == kStepHook) {
        for (const RobotHookEntry& entry : s.hooks)
            if (entry.name == step.text) {
                UiRobotHook hook = entry.hook;
                void* user = entry.user;
                hook(user);
                return true;
            }
        return Refuse(error, "no hook named \"" + step.text + "\"");
    }
    if (target.file != nullptr)
        return CarryOutOnFileDialog(s, step, target.file, error);
    if (step.verb == kStepSave || step.verb == kStepCancel)
        return Refuse(error, "step \"" + step.source + "\" needs the save-file dialog, but " +
                                 Describe(target) + " is open");
    if (step.verb == kStepClose) {
        target.dialog->widget->close();
        return true;
    }
    return CarryOutOnControl(step, target.dialog, error);
}

// Waits until the stall lasted the timeout; true when it did.
bool StalledTooLong(RobotState& s)
{
    qint64 waited = s.stall.elapsed();
    if (waited >= s.timeoutMs)
        return true;
    ScheduleTick(s, static_cast<int>(s.timeoutMs - waited));
    return false;
}

void RobotTick(int serial)
{
    RobotState& s = Robot();
    if (s.stack.empty() || s.stack.back().serial != serial)
        return;
    RobotTarget top = s.stack.back();
    if (s.failed) {
        CloseTarget(s, serial);
        return;
    }
    if (s.next >= s.steps.size()) {
        // With a display a person may take over; offscreen no one else can answer.
        if (Offscreen() && StalledTooLong(s))
            Fail(s, "no step left for " + Describe(top));
        return;
    }
    RobotStep step = s.steps[s.next];
    if (step.verb == kStepWait) {
        if (top.serial > s.lastStepStartSerial && (step.id == 0 || TargetId(top) == step.id)) {
            UiRobotStepRecord record;
            record.step = step.source;
            record.dialogId = TargetId(top);
            record.ok = true;
            record.controls = SnapshotTarget(top);
            s.records.push_back(record);
            ++s.next;
            s.lastStepStartSerial = top.serial;
            s.stall.restart();
            ScheduleTick(s, 0);
        } else if (StalledTooLong(s)) {
            std::string which = step.id ? "dialog " + std::to_string(step.id) : "a new dialog";
            Fail(s, "step \"" + step.source + "\": " + which + " did not open within " +
                        std::to_string(s.timeoutMs) + " ms (" + Describe(top) + " is open)");
        }
        return;
    }

    ++s.next;
    s.lastStepStartSerial = s.serialCounter;
    size_t at = s.records.size();
    UiRobotStepRecord record;
    record.step = step.source;
    record.dialogId = TargetId(top);
    record.controls = SnapshotTarget(top);
    s.records.push_back(record);
    std::string error;
    bool ok = CarryOut(s, step, top, &error);
    s.records[at].ok = ok;
    s.records[at].error = error;
    s.stall.restart();
    if (!ok)
        Fail(s, error);
    else
        ScheduleTick(s, 0);
}

void Opened(RobotTarget target, const std::string& title)
{
    RobotState& s = Robot();
    target.serial = ++s.serialCounter;
    s.stack.push_back(target);
    UiShownDialog shown;
    shown.dialogId = TargetId(target);
    shown.title = title;
    shown.controls = SnapshotTarget(target);
    if (target.file != nullptr) {
        for (const QString& filter : target.file->nameFilters())
            shown.fileFilters.push_back(FromQt(filter));
        shown.fileName = FromQt(QFileInfo(target.file->selectedFiles().value(0)).fileName());
        shown.fPromptOverwrite = !target.file->testOption(QFileDialog::DontConfirmOverwrite);
    }
    s.shown.push_back(shown);
    s.stall.restart();
    if (Armed(s))
        ScheduleTick(s, 0);
}

void Closed(DialogWindow* dialog, QFileDialog* file)
{
    RobotState& s = Robot();
    for (size_t i = s.stack.size(); i-- > 0;)
        if ((dialog != nullptr && s.stack[i].dialog == dialog) ||
            (file != nullptr && s.stack[i].file == file)) {
            s.stack.erase(s.stack.begin() + static_cast<long>(i));
            break;
        }
    s.stall.restart();
    if (Armed(s))
        ScheduleTick(s, 0);
}

bool SetSteps(const std::string& text, bool splitOnSemicolons, std::string* error)
{
    std::vector<RobotStep> steps;
    std::string why;
    if (!ParseRobotScript(text, splitOnSemicolons, &steps, &why)) {
        if (error != nullptr)
            *error = why;
        return false;
    }
    RobotState& s = Robot();
    s.steps = steps;
    s.next = 0;
    s.scripted = true;
    s.failed = false;
    s.lastStepStartSerial = s.serialCounter;
    s.stall.restart();
    ScheduleTick(s, 0);
    return true;
}

bool ReadScriptFile(const std::string& path, std::string* text, std::string* error)
{
    QFile file(ToQt(path));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr)
            *error = "cannot read the UI script " + path;
        return false;
    }
    QByteArray bytes = file.readAll();
    *text = std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

} // namespace

void RobotDialogOpened(DialogWindow* dialog)
{
    RobotTarget target;
    target.dialog = dialog;
    Opened(target, dialog->title);
}

void RobotDialogClosed(DialogWindow* dialog) { Closed(dialog, nullptr); }

void RobotFileDialogOpened(QFileDialog* fileDialog)
{
    RobotTarget target;
    target.file = fileDialog;
    Opened(target, FromQt(fileDialog->windowTitle()));
}

void RobotFileDialogClosed(QFileDialog* fileDialog) { Closed(nullptr, fileDialog); }

std::vector<UiControlState> SnapshotControls(DialogWindow* dialog)
{
    std::vector<UiControlState> controls;
    if (dialog != nullptr)
        AppendSnapshot(dialog, true, &controls);
    return controls;
}

int* SharedBeepCounter() { return &Robot().beeps; }

void LoadUiRobotScriptFromEnvironment()
{
    RobotState& s = Robot();
    if (s.environmentRead)
        return;
    s.environmentRead = true;
    const char* path = std::getenv(kUiRobotScriptVariable);
    if (path == nullptr || path[0] == 0)
        return;
    std::string error;
    if (!LoadUiRobotScriptFromFile(path, &error)) {
        // A script that cannot be used must not leave dialogs waiting for it.
        s.scripted = true;
        s.errors.push_back(error);
        std::fprintf(stderr, "ui robot: %s\n", error.c_str());
        s.failed = true;
    }
}

bool SetUiRobotScript(const std::string& steps, std::string* error)
{
    if (!EnsureQtApplication()) {
        if (error != nullptr)
            *error = "Qt cannot start";
        return false;
    }
    return SetSteps(steps, true, error);
}

bool LoadUiRobotScriptFromFile(const std::string& path, std::string* error)
{
    if (!EnsureQtApplication()) {
        if (error != nullptr)
            *error = "Qt cannot start";
        return false;
    }
    std::string text;
    if (!ReadScriptFile(path, &text, error))
        return false;
    return SetSteps(text, false, error);
}

void RegisterUiRobotHook(const std::string& name, UiRobotHook hook, void* user)
{
    if (!EnsureQtApplication())
        return;
    RobotState& s = Robot();
    for (RobotHookEntry& entry : s.hooks)
        if (entry.name == name) {
            entry.hook = hook;
            entry.user = user;
            return;
        }
    if (hook != nullptr)
        s.hooks.push_back(RobotHookEntry{name, hook, user});
}

void SetUiRobotTimeout(int milliseconds)
{
    if (EnsureQtApplication() && milliseconds > 0)
        Robot().timeoutMs = milliseconds;
}

std::vector<UiShownDialog> UiRobotShownDialogs()
{
    EnsureQtApplication();
    return Robot().shown;
}

std::vector<UiRobotStepRecord> UiRobotStepRecords()
{
    EnsureQtApplication();
    return Robot().records;
}

std::vector<std::string> UiRobotErrors()
{
    EnsureQtApplication();
    return Robot().errors;
}

int UiRobotPendingStepCount()
{
    EnsureQtApplication();
    RobotState& s = Robot();
    return static_cast<int>(s.steps.size() - s.next);
}

int FinishUiRobot()
{
    EnsureQtApplication();
    RobotState& s = Robot();
    for (; s.next < s.steps.size(); ++s.next) {
        std::string message =
            "step \"" + s.steps[s.next].source + "\" was never carried out: no dialog was open for it";
        s.errors.push_back(message);
        std::fprintf(stderr, "ui robot: %s\n", message.c_str());
    }
    std::fflush(stderr);
    return static_cast<int>(s.errors.size());
}

void ResetUiRobot()
{
    EnsureQtApplication();
    RobotState& s = Robot();
    s.steps.clear();
    s.next = 0;
    s.scripted = false;
    s.failed = false;
    s.shown.clear();
    s.records.clear();
    s.errors.clear();
    s.lastStepStartSerial = s.serialCounter;
    s.stall.restart();
}
