// Runs dialog templates modally and as child pages, and delivers their messages.
#include "platform/ui/dialog_runner.h"
#include "platform/ui/dialog_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace {

// Only the dialog procedure ends the dialog: Escape and the close box become its commands.
class ModalDialog : public QDialog {
public:
    ModalDialog(QWidget* owner, DialogWindow* dialog) : QDialog(owner), dialog_(dialog) {}

    void reject() override { NotifyCommand(dialog_, kDialogCancel, kNotifyClicked); }
    void accept() override {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (dialog_->ended) {
            event->accept();
            return;
        }
        DialogEvent close;
        close.message = kDialogClose;
        if (SendDialogEvent(dialog_, close) == 0)
            NotifyCommand(dialog_, kDialogCancel, kNotifyClicked);
        if (dialog_->ended)
            event->accept();
    }

private:
    DialogWindow* dialog_;
};

void ApplyTemplateFont(QWidget* widget, const DialogTemplate& tpl)
{
    if (tpl.fontName.empty() && tpl.fontPointSize <= 0)
        return;
    QFont font = widget->font();
    if (!tpl.fontName.empty())
        font.setFamily(ToQt(tpl.fontName));
    if (tpl.fontPointSize > 0)
        font.setPointSize(tpl.fontPointSize);
    widget->setFont(font);
}

void BuildControls(DialogWindow* dialog, const DialogTemplate& tpl)
{
    for (const DialogControl& control : tpl.controls)
        CreateControlWidget(dialog, control);
}

bool SendInit(DialogWindow* dialog)
{
    DialogEvent init;
    init.message = kDialogInit;
    return SendDialogEvent(dialog, init) != 0;
}

void SendDestroy(DialogWindow* dialog)
{
    for (DialogWindow* page : dialog->pages)
        SendDestroy(page);
    DialogEvent destroy;
    destroy.message = kDialogDestroy;
    SendDialogEvent(dialog, destroy);
}

void DeletePages(DialogWindow* dialog)
{
    for (DialogWindow* page : dialog->pages) {
        DeletePages(page);
        delete page;
    }
    dialog->pages.clear();
}

} // namespace

DialogControlRecord* FindControl(DialogWindow* dialog, int id)
{
    if (dialog == nullptr)
        return nullptr;
    for (DialogControlRecord& record : dialog->controls)
        if (record.id == id)
            return &record;
    return nullptr;
}

intptr_t SendDialogEvent(DialogWindow* dialog, const DialogEvent& event)
{
    if (dialog == nullptr || dialog->proc == nullptr)
        return 0;
    return dialog->proc(dialog, event, dialog->user);
}

void NotifyCommand(DialogWindow* dialog, int id, int notification)
{
    if (dialog == nullptr || dialog->quiet > 0 || dialog->ended)
        return;
    DialogEvent command;
    command.message = kDialogCommand;
    command.controlId = id;
    command.notification = notification;
    SendDialogEvent(dialog, command);
}

int RunModalDialog(const DialogTemplate& tpl, DialogProc proc, void* user, QWidget* owner)
{
    if (proc == nullptr || !EnsureQtApplication())
        return -1;

    DialogWindow* dialog = new DialogWindow;
    dialog->templateId = tpl.id;
    dialog->title = tpl.title;
    dialog->proc = proc;
    dialog->user = user;
    ModalDialog* widget = new ModalDialog(owner, dialog);
    dialog->widget = widget;
    dialog->modal = widget;
    widget->setObjectName(QString::number(tpl.id));
    widget->setWindowTitle(ToQt(tpl.title));
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint;
    if (!(tpl.flags & kDialogNoCloseBox))
        flags |= Qt::WindowCloseButtonHint;
    if (tpl.flags & kDialogTopmost)
        flags |= Qt::WindowStaysOnTopHint;
    widget->setWindowFlags(flags);
    widget->setFixedSize(tpl.width, tpl.height);
    ApplyTemplateFont(widget, tpl);
    BuildControls(dialog, tpl);

    SendInit(dialog);
    if (!dialog->ended) {
        RobotDialogOpened(dialog);
        int shown = widget->exec();
        if (!dialog->ended)
            dialog->result = shown;
        RobotDialogClosed(dialog);
    }
    SendDestroy(dialog);

    int result = dialog->result;
    DeletePages(dialog);
    delete widget;
    delete dialog;
    return result;
}

void EndModalDialog(DialogWindow* dialog, int result)
{
    if (dialog == nullptr)
        return;
    dialog->result = result;
    if (dialog->modal == nullptr) {
        dialog->widget->hide();
        return;
    }
    if (dialog->ended)
        return;
    dialog->ended = true;
    dialog->modal->done(result);
}

DialogWindow* CreateChildPage(DialogWindow* parent, const DialogTemplate& tpl, DialogProc proc,
                              void* user)
{
    if (parent == nullptr || proc == nullptr)
        return nullptr;
    DialogWindow* page = new DialogWindow;
    page->templateId = tpl.id;
    page->title = tpl.title;
    page->proc = proc;
    page->user = user;
    page->parent = parent;
    page->widget = new QWidget(parent->widget);
    page->widget->setObjectName(QString::number(tpl.id));
    page->widget->setGeometry(0, 0, tpl.width, tpl.height);
    page->widget->hide();
    ApplyTemplateFont(page->widget, tpl);
    parent->pages.push_back(page);
    BuildControls(page, tpl);
    SendInit(page);
    return page;
}

void ShowChildPage(DialogWindow* page, bool show)
{
    if (page == nullptr)
        return;
    if (show) {
        page->widget->raise();
        page->widget->show();
    } else {
        page->widget->hide();
    }
}

bool IsChildPageVisible(DialogWindow* page)
{
    return page != nullptr && !page->widget->isHidden();
}

void MoveChildPage(DialogWindow* page, int x, int y, int width, int height)
{
    if (page != nullptr)
        page->widget->setGeometry(x, y, width, height);
}

int GetDialogTemplateId(DialogWindow* dialog) { return dialog ? dialog->templateId : 0; }
void* GetDialogUser(DialogWindow* dialog) { return dialog ? dialog->user : nullptr; }
QWidget* GetDialogWidget(DialogWindow* dialog) { return dialog ? dialog->widget : nullptr; }
DialogWindow* GetParentDialog(DialogWindow* page) { return page ? page->parent : nullptr; }

QWidget* GetDialogItem(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record ? record->widget : nullptr;
}

QWidget* AddDialogControl(DialogWindow* dialog, const DialogControl& control)
{
    if (dialog == nullptr)
        return nullptr;
    QWidget* widget = CreateControlWidget(dialog, control);
    if (widget != nullptr && dialog->widget->isVisible() && !(control.flags & kControlHidden))
        widget->show();
    return widget;
}

void DialogUnitsToPixels(const std::string& fontName, int pointSize, int duX, int duY, int* px,
                         int* py)
{
    int baseX = 6, baseY = 12;
    if (EnsureQtApplication()) {
        QFont font;
        if (!fontName.empty())
            font.setFamily(ToQt(fontName));
        if (pointSize > 0)
            font.setPointSize(pointSize);
        QFontMetrics metrics(font);
        // The system's base units: average width of the 52 letters, rounded, and the height.
        int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX = (letters / 26 + 1) / 2;
        baseY = metrics.height();
    }
    if (px != nullptr)
        *px = (duX * baseX + 2) / 4;
    if (py != nullptr)
        *py = (duY * baseY + 4) / 8;
}

void GetDesktopSize(int* width, int* height)
{
    QSize size(800, 600);
    if (EnsureQtApplication())
        if (QScreen* screen = QGuiApplication::primaryScreen())
            size = screen->geometry().size();
    if (width != nullptr)
        *width = size.width();
    if (height != nullptr)
        *height = size.height();
}

void MoveDialogWindow(DialogWindow* dialog, int x, int y, int width, int height)
{
    if (dialog == nullptr)
        return;
    if (width > 0 && height > 0) {
        if (dialog->modal != nullptr)
            dialog->widget->setFixedSize(width, height);
        else
            dialog->widget->resize(width, height);
    }
    dialog->widget->move(x, y);
}

void GetDialogWindowRect(DialogWindow* dialog, int* x, int* y, int* width, int* height)
{
    QRect rect;
    if (dialog != nullptr)
        rect = dialog->modal != nullptr ? dialog->widget->frameGeometry() : dialog->widget->geometry();
    if (x != nullptr)
        *x = rect.x();
    if (y != nullptr)
        *y = rect.y();
    if (width != nullptr)
        *width = rect.width();
    if (height != nullptr)
        *height = rect.height();
}

void SetDialogTopmost(DialogWindow* dialog, bool topmost)
{
    if (dialog == nullptr || dialog->modal == nullptr)
        return;
    // Changing the widget's flags would hide it, which ends a running modal loop.
    if (dialog->widget->isVisible() && dialog->widget->windowHandle() != nullptr)
        dialog->widget->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topmost);
    else
        dialog->widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
}

int GetDialogLogPixelsY(DialogWindow* dialog)
{
    if (dialog == nullptr)
        return 96;
    return dialog->widget->logicalDpiY();
}
