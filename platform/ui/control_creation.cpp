// Creates the widget of one template control and wires its notifications to the procedure.
#include "platform/ui/dialog_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTabBar>

namespace {

// Focus notifications of edits, combo boxes and list boxes.
class FocusWatcher : public QObject {
public:
    FocusWatcher(QObject* parent, DialogWindow* dialog, int id)
        : QObject(parent), dialog_(dialog), id_(id) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            auto* focus = static_cast<QFocusEvent*>(event);
            if (focus->reason() != Qt::PopupFocusReason)
                NotifyCommand(dialog_, id_, event->type() == QEvent::FocusIn ? kNotifySetFocus
                                                                             : kNotifyKillFocus);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    DialogWindow* dialog_;
    int id_;
};

constexpr const char* kTabControlProperty = "travexTabControl";

int TabStripHeight(const QWidget* tabControl, const QTabBar* bar)
{
    int tabHeight = bar->sizeHint().height();
    if (bar->count() == 0 || tabHeight <= 0)
        tabHeight = tabControl->fontMetrics().height() + 10;
    return qMin(tabHeight, tabControl->height());
}

// The system's tab control pads a label by 6 pixels on either side. Qt's styles pad twice
// that and more, so that a strip of long labels the system shows whole gets scroll arrows.
constexpr int kTabLabelPadding = 6;

class TabPaddingStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 2 * kTabLabelPadding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The tab strip on top, the display area for the pages below it.
class TabControl : public QWidget {
public:
    TabControl(QWidget* parent) : QWidget(parent), bar(new QTabBar(this)), area(new QFrame(this))
    {
        setProperty(kTabControlProperty, true);
        // a child made after the bar, so that it outlives the bar it styles
        auto* padding = new TabPaddingStyle;
        padding->setParent(this);
        bar->setStyle(padding);
        bar->setDrawBase(false);
        bar->setExpanding(false);
        area->setFrameShape(QFrame::StyledPanel);
        area->lower();
    }

    QTabBar* bar;
    QFrame* area;

protected:
    void resizeEvent(QResizeEvent*) override { LayOutTabControl(this); }
};

void WatchFocus(DialogWindow* dialog, QWidget* widget, int id)
{
    widget->installEventFilter(new FocusWatcher(widget, dialog, id));
}

// Windows auto radios: a click checks the radio and clears the others of its group.
void ClickRadio(DialogWindow* dialog, int id, QRadioButton* radio)
{
    DialogControlRecord* clicked = nullptr;
    for (DialogControlRecord& record : dialog->controls)
        if (record.widget == radio)
            clicked = &record;
    if (clicked != nullptr) {
        QuietChange quiet(dialog);
        radio->setChecked(true);
        for (DialogControlRecord& record : dialog->controls)
            if (record.kind == kControlRadioButton && record.widget != radio &&
                record.radioGroup == clicked->radioGroup)
                static_cast<QRadioButton*>(record.widget)->setChecked(false);
    }
    NotifyCommand(dialog, id, kNotifyClicked);
}

QWidget* MakeButton(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    auto* button = new QPushButton(ToQt(control.text), parent);
    button->setAutoDefault(true);
    if (control.kind == kControlDefaultButton)
        button->setDefault(true);
    int id = control.id;
    QObject::connect(button, &QPushButton::clicked, button,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifyClicked); });
    return button;
}

QWidget* MakeCheckBox(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    auto* box = new QCheckBox(ToQt(control.text), parent);
    int id = control.id;
    QObject::connect(box, &QCheckBox::clicked, box,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifyClicked); });
    return box;
}

QWidget* MakeRadio(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    auto* radio = new QRadioButton(ToQt(control.text), parent);
    radio->setAutoExclusive(false);
    int id = control.id;
    QObject::connect(radio, &QRadioButton::clicked, radio,
                     [dialog, id, radio] { ClickRadio(dialog, id, radio); });
    return radio;
}

QWidget* MakeEdit(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    int id = control.id;
    if (control.flags & kControlMultiLine) {
        auto* edit = new QPlainTextEdit(ToQt(control.text), parent);
        edit->setReadOnly(control.flags & kControlReadOnly);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [dialog, id] { NotifyCommand(dialog, id, kNotifyEditChange); });
        WatchFocus(dialog, edit, id);
        return edit;
    }
    auto* edit = new QLineEdit(ToQt(control.text), parent);
    edit->setReadOnly(control.flags & kControlReadOnly);
    edit->setMaxLength(30000);
    if (control.flags & kControlNumber)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (control.flags & kControlRightAligned)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (control.flags & kControlPassword)
        edit->setEchoMode(QLineEdit::Password);
    // The system notifies every change of the text, the program's own included.
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifyEditChange); });
    WatchFocus(dialog, edit, id);
    return edit;
}

QWidget* MakeStatic(const DialogControl& control, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(StripMnemonic(control.text));
    label->setWordWrap(true);
    Qt::Alignment align = Qt::AlignLeft;
    if (control.flags & kControlCentered)
        align = Qt::AlignHCenter;
    else if (control.flags & kControlRightAligned)
        align = Qt::AlignRight;
    label->setAlignment(align | Qt::AlignTop);
    return label;
}

QWidget* MakeCombo(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    int id = control.id;
    QComboBox* combo = NewComboWidget(dialog, id, control.flags & kControlOwnerDrawn, parent);
    if (control.flags & kControlEditableCombo) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(ToQt(control.text));
        QObject::connect(combo, &QComboBox::editTextChanged, combo,
                         [dialog, id] { NotifyCommand(dialog, id, kNotifyEditChange); });
    }
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifySelectionChange); });
    WatchFocus(dialog, combo, id);
    return combo;
}

QWidget* MakeList(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    int id = control.id;
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::currentRowChanged, list,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifySelectionChange); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifyDoubleClick); });
    WatchFocus(dialog, list, id);
    return list;
}

QWidget* MakeTab(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    int id = control.id;
    auto* tab = new TabControl(parent);
    QObject::connect(tab->bar, &QTabBar::currentChanged, tab,
                     [dialog, id] { NotifyCommand(dialog, id, kNotifySelectionChange); });
    return tab;
}

QWidget* MakeScrollBar(DialogWindow* dialog, const DialogControl& control, QWidget* parent)
{
    Qt::Orientation orientation = control.w < control.h ? Qt::Vertical : Qt::Horizontal;
    if (control.flags & kControlVertical)
        orientation = Qt::Vertical;
    else if (control.flags & kControlHorizontal)
        orientation = Qt::Horizontal;
    auto* bar = new QScrollBar(orientation, parent);
    bar->setRange(0, 100);
    bar->setTracking(false);
    int id = control.id;
    // The system's scroll bars never move by themselves: the procedure sets the position.
    QObject::connect(bar, &QScrollBar::actionTriggered, bar, [dialog, id, bar](int action) {
        DialogEvent scroll;
        scroll.message = kDialogScroll;
        scroll.controlId = id;
        scroll.scrollPosition = bar->sliderPosition();
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: scroll.scrollRequest = kScrollLineUp; break;
        case QAbstractSlider::SliderSingleStepAdd: scroll.scrollRequest = kScrollLineDown; break;
        case QAbstractSlider::SliderPageStepSub: scroll.scrollRequest = kScrollPageUp; break;
        case QAbstractSlider::SliderPageStepAdd: scroll.scrollRequest = kScrollPageDown; break;
        case QAbstractSlider::SliderToMinimum: scroll.scrollRequest = kScrollTop; break;
        case QAbstractSlider::SliderToMaximum: scroll.scrollRequest = kScrollBottom; break;
        case QAbstractSlider::SliderMove:
            scroll.scrollRequest = bar->isSliderDown() ? kScrollThumbTrack : kScrollThumbPosition;
            break;
        default: return;
        }
        bar->setSliderPosition(bar->value());
        SendDialogEvent(dialog, scroll);
    });
    QObject::connect(bar, &QScrollBar::sliderMoved, bar, [dialog, id](int position) {
        DialogEvent scroll;
        scroll.message = kDialogScroll;
        scroll.controlId = id;
        scroll.scrollRequest = kScrollThumbTrack;
        scroll.scrollPosition = position;
        SendDialogEvent(dialog, scroll);
    });
    return bar;
}

} // namespace

// Found through Qt's own types: a plug-in and its program each carry this code, and either
// may look at a tab control the other made.
QTabBar* TabBarOf(QWidget* tabControl)
{
    if (tabControl == nullptr || tabControl->property(kTabControlProperty).isNull())
        return nullptr;
    return tabControl->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
}

void LayOutTabControl(QWidget* tabControl)
{
    QTabBar* bar = TabBarOf(tabControl);
    auto* area = tabControl ? tabControl->findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly)
                            : nullptr;
    if (bar == nullptr || area == nullptr)
        return;
    int tabHeight = TabStripHeight(tabControl, bar);
    bar->setGeometry(0, 0, tabControl->width(), tabHeight);
    area->setGeometry(0, tabHeight - 1, tabControl->width(), tabControl->height() - tabHeight + 1);
}

QRect TabDisplayRect(QWidget* tabControl)
{
    QTabBar* bar = TabBarOf(tabControl);
    if (bar == nullptr)
        return QRect();
    int tabHeight = TabStripHeight(tabControl, bar);
    QRect area(0, tabHeight - 1, tabControl->width(), tabControl->height() - tabHeight + 1);
    return area.adjusted(2, 2, -2, -2);
}

QString StripMnemonic(const std::string& text)
{
    QString in = ToQt(text), out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == QLatin1Char('&') && i + 1 < in.size())
            ++i;
        out += in[i];
    }
    return out;
}

QWidget* CreateControlWidget(DialogWindow* dialog, const DialogControl& control)
{
    QWidget* parent = dialog->widget;
    QWidget* widget = nullptr;
    switch (control.kind) {
    case kControlPushButton:
    case kControlDefaultButton: widget = MakeButton(dialog, control, parent); break;
    case kControlCheckBox: widget = MakeCheckBox(dialog, control, parent); break;
    case kControlRadioButton: widget = MakeRadio(dialog, control, parent); break;
    case kControlEdit: widget = MakeEdit(dialog, control, parent); break;
    case kControlStaticText: widget = MakeStatic(control, parent); break;
    case kControlGroupBox: widget = new QGroupBox(ToQt(control.text), parent); break;
    case kControlComboBox: widget = MakeCombo(dialog, control, parent); break;
    case kControlListBox: widget = MakeList(dialog, control, parent); break;
    case kControlPicture: widget = new QLabel(parent); break;
    case kControlTabControl: widget = MakeTab(dialog, control, parent); break;
    case kControlScrollBar: widget = MakeScrollBar(dialog, control, parent); break;
    case kControlFrame: {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::Box);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = frame;
        break;
    }
    default: return nullptr;
    }
    widget->setObjectName(QString::number(control.id));
    widget->setGeometry(control.x, control.y, control.w, control.h);
    if (control.kind == kControlGroupBox || control.kind == kControlFrame)
        widget->lower();
    if (control.flags & kControlHidden)
        widget->hide();
    if (control.flags & kControlDisabled)
        widget->setEnabled(false);

    if (control.flags & kControlGroupStart)
        ++dialog->groupCounter;
    DialogControlRecord record;
    record.id = control.id;
    record.kind = control.kind;
    record.flags = control.flags;
    record.widget = widget;
    record.text = control.text;
    record.radioGroup = dialog->groupCounter;
    dialog->controls.push_back(record);
    if ((control.flags & kControlOwnerDrawn) &&
        (control.kind == kControlComboBox || control.kind == kControlListBox)) {
        SendMeasureItem(dialog, dialog->controls.back());
        InstallItemDrawer(dialog, dialog->controls.back());
    }
    return widget;
}
