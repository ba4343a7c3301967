// Reading and changing the controls of a dialog, as the program does it (no notifications).
#include "platform/ui/dialog_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>

namespace {

template <typename Widget>
Widget* ControlAs(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record ? qobject_cast<Widget*>(record->widget) : nullptr;
}

bool IsSorted(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record != nullptr && (record->flags & kControlSorted);
}

// The system sorts without regard to case.
template <typename TextAt>
int SortedPosition(int count, const QString& text, TextAt textAt)
{
    for (int i = 0; i < count; ++i)
        if (QString::compare(textAt(i), text, Qt::CaseInsensitive) > 0)
            return i;
    return count;
}

int InsertComboItem(DialogWindow* dialog, int id, int index, const std::string& text)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr)
        return -1;
    QuietChange quiet(dialog);
    QString item = ToQt(text);
    int count = combo->count();
    if (index < 0 || IsSorted(dialog, id))
        index = IsSorted(dialog, id)
                    ? SortedPosition(count, item, [combo](int i) { return combo->itemText(i); })
                    : count;
    if (index > count)
        return -1;
    int selected = combo->currentIndex();
    QString editText = combo->isEditable() ? combo->currentText() : QString();
    combo->insertItem(index, item);
    // Qt selects the first item of an empty list; the system leaves the selection empty.
    if (selected < 0)
        combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(editText);
    return index;
}

int InsertListItem(DialogWindow* dialog, int id, int index, const std::string& text)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr)
        return -1;
    QuietChange quiet(dialog);
    QString item = ToQt(text);
    int count = list->count();
    if (index < 0 || IsSorted(dialog, id))
        index = IsSorted(dialog, id)
                    ? SortedPosition(count, item, [list](int i) { return list->item(i)->text(); })
                    : count;
    if (index > count)
        return -1;
    list->insertItem(index, item);
    return index;
}

} // namespace

bool SetDialogItemText(DialogWindow* dialog, int id, const std::string& text)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr)
        return false;
    QWidget* widget = record->widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ToQt(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(StripMnemonic(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ToQt(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(ToQt(text));
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
        multi->setPlainText(ToQt(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (!combo->isEditable())
            return false;
        combo->setEditText(ToQt(text));
    } else {
        return false;
    }
    record->text = text;
    return true;
}

std::string GetDialogItemText(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record ? ControlText(*record) : std::string();
}

std::string ControlText(const DialogControlRecord& record)
{
    QWidget* widget = record.widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return FromQt(edit->text());
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
        return FromQt(multi->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return FromQt(combo->currentText());
    if (qobject_cast<QListWidget*>(widget) || qobject_cast<QScrollBar*>(widget))
        return std::string();
    return record.text;
}

bool SetDialogItemInt(DialogWindow* dialog, int id, int value)
{
    return SetDialogItemText(dialog, id, std::to_string(value));
}

int GetDialogItemInt(DialogWindow* dialog, int id, bool* ok)
{
    if (ok != nullptr)
        *ok = false;
    if (FindControl(dialog, id) == nullptr)
        return 0;
    std::string text = GetDialogItemText(dialog, id);
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    if (i == text.size())
        return 0;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            return 0;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return 0;
    if (ok != nullptr)
        *ok = true;
    return static_cast<int>(value);
}

bool SetEditTextLimit(DialogWindow* dialog, int id, int maxChars)
{
    auto* edit = ControlAs<QLineEdit>(dialog, id);
    if (edit == nullptr)
        return false;
    edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
    return true;
}

bool CheckDialogButton(DialogWindow* dialog, int id, int checked)
{
    auto* button = ControlAs<QAbstractButton>(dialog, id);
    if (button == nullptr || !button->isCheckable())
        return false;
    QuietChange quiet(dialog);
    auto* box = qobject_cast<QCheckBox*>(button);
    if (box != nullptr && checked == 2) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    } else {
        button->setChecked(checked != 0);
    }
    return true;
}

int IsDialogButtonChecked(DialogWindow* dialog, int id)
{
    auto* button = ControlAs<QAbstractButton>(dialog, id);
    if (button == nullptr)
        return 0;
    if (auto* box = qobject_cast<QCheckBox*>(button))
        if (box->checkState() == Qt::PartiallyChecked)
            return 2;
    return button->isChecked() ? 1 : 0;
}

bool CheckRadioButton(DialogWindow* dialog, int firstId, int lastId, int checkId)
{
    if (dialog == nullptr)
        return false;
    QuietChange quiet(dialog);
    bool found = false;
    for (DialogControlRecord& record : dialog->controls) {
        if (record.id < firstId || record.id > lastId)
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(record.widget)) {
            if (!button->isCheckable())
                continue;
            button->setChecked(record.id == checkId);
            found = found || record.id == checkId;
        }
    }
    return found;
}

bool EnableDialogItem(DialogWindow* dialog, int id, bool enable)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr)
        return false;
    record->widget->setEnabled(enable);
    return true;
}

bool IsDialogItemEnabled(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record != nullptr && record->widget->isEnabled();
}

bool ShowDialogItem(DialogWindow* dialog, int id, bool show)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr)
        return false;
    record->widget->setVisible(show);
    return true;
}

bool IsDialogItemVisible(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    return record != nullptr && !record->widget->isHidden();
}

bool SetDialogItemFocus(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr)
        return false;
    record->widget->setFocus(Qt::OtherFocusReason);
    return true;
}

bool SetDialogItemFont(DialogWindow* dialog, int id, const std::string& family, int pixelHeight,
                       int weight)
{
    QWidget* widget = nullptr;
    if (id == 0)
        widget = dialog ? dialog->widget : nullptr;
    else if (DialogControlRecord* record = FindControl(dialog, id))
        widget = record->widget;
    if (widget == nullptr)
        return false;
    QFont font = widget->font();
    if (!family.empty())
        font.setFamily(ToQt(family));
    if (pixelHeight != 0)
        font.setPixelSize(pixelHeight < 0 ? -pixelHeight : pixelHeight);
    if (weight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, weight, 1000)));
    widget->setFont(font);
    return true;
}

bool MoveDialogItem(DialogWindow* dialog, int id, int x, int y, int width, int height)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr)
        return false;
    record->widget->setGeometry(x, y, width, height);
    return true;
}

int ComboAddString(DialogWindow* dialog, int id, const std::string& text)
{
    return InsertComboItem(dialog, id, -1, text);
}

int ComboInsertString(DialogWindow* dialog, int id, int index, const std::string& text)
{
    return InsertComboItem(dialog, id, index, text);
}

int ComboDeleteString(DialogWindow* dialog, int id, int index)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr || index < 0 || index >= combo->count())
        return -1;
    QuietChange quiet(dialog);
    bool wasSelected = combo->currentIndex() == index;
    combo->removeItem(index);
    if (wasSelected)
        combo->setCurrentIndex(-1);
    return combo->count();
}

bool ComboResetContent(DialogWindow* dialog, int id)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr)
        return false;
    QuietChange quiet(dialog);
    combo->clear();
    return true;
}

int ComboGetCount(DialogWindow* dialog, int id)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    return combo ? combo->count() : -1;
}

int ComboSetCurSel(DialogWindow* dialog, int id, int index)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr)
        return -1;
    QuietChange quiet(dialog);
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        return -1;
    }
    combo->setCurrentIndex(index);
    return index;
}

int ComboGetCurSel(DialogWindow* dialog, int id)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    return combo ? combo->currentIndex() : -1;
}

bool ComboSetItemData(DialogWindow* dialog, int id, int index, intptr_t data)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr || index < 0 || index >= combo->count())
        return false;
    combo->setItemData(index, QVariant::fromValue<qlonglong>(data), ItemDataRole());
    return true;
}

intptr_t ComboGetItemData(DialogWindow* dialog, int id, int index)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr || index < 0 || index >= combo->count())
        return -1;
    return static_cast<intptr_t>(combo->itemData(index, ItemDataRole()).value<qlonglong>());
}

std::string ComboGetItemText(DialogWindow* dialog, int id, int index)
{
    auto* combo = ControlAs<QComboBox>(dialog, id);
    if (combo == nullptr || index < 0 || index >= combo->count())
        return std::string();
    return FromQt(combo->itemText(index));
}

int ListAddString(DialogWindow* dialog, int id, const std::string& text)
{
    return InsertListItem(dialog, id, -1, text);
}

int ListInsertString(DialogWindow* dialog, int id, int index, const std::string& text)
{
    return InsertListItem(dialog, id, index, text);
}

int ListDeleteString(DialogWindow* dialog, int id, int index)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr || index < 0 || index >= list->count())
        return -1;
    QuietChange quiet(dialog);
    delete list->takeItem(index);
    return list->count();
}

bool ListResetContent(DialogWindow* dialog, int id)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr)
        return false;
    QuietChange quiet(dialog);
    list->clear();
    return true;
}

int ListGetCount(DialogWindow* dialog, int id)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    return list ? list->count() : -1;
}

int ListSetCurSel(DialogWindow* dialog, int id, int index)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr)
        return -1;
    QuietChange quiet(dialog);
    if (index < 0 || index >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return -1;
    }
    list->setCurrentRow(index);
    return index;
}

int ListGetCurSel(DialogWindow* dialog, int id)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr)
        return -1;
    QListWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? list->currentRow() : -1;
}

bool ListSetItemData(DialogWindow* dialog, int id, int index, intptr_t data)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr || index < 0 || index >= list->count())
        return false;
    list->item(index)->setData(ItemDataRole(), QVariant::fromValue<qlonglong>(data));
    return true;
}

intptr_t ListGetItemData(DialogWindow* dialog, int id, int index)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr || index < 0 || index >= list->count())
        return -1;
    return static_cast<intptr_t>(list->item(index)->data(ItemDataRole()).value<qlonglong>());
}

std::string ListGetText(DialogWindow* dialog, int id, int index)
{
    auto* list = ControlAs<QListWidget>(dialog, id);
    if (list == nullptr || index < 0 || index >= list->count())
        return std::string();
    return FromQt(list->item(index)->text());
}

int TabInsertItem(DialogWindow* dialog, int id, int index, const std::string& text)
{
    DialogControlRecord* record = FindControl(dialog, id);
    QTabBar* bar = record ? TabBarOf(record->widget) : nullptr;
    if (bar == nullptr || index < 0)
        return -1;
    QuietChange quiet(dialog);
    int at = bar->insertTab(qMin(index, bar->count()), ToQt(text));
    LayOutTabControl(record->widget);
    return at;
}

int TabGetCount(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    QTabBar* bar = record ? TabBarOf(record->widget) : nullptr;
    return bar ? bar->count() : -1;
}

int TabGetCurSel(DialogWindow* dialog, int id)
{
    DialogControlRecord* record = FindControl(dialog, id);
    QTabBar* bar = record ? TabBarOf(record->widget) : nullptr;
    return bar ? bar->currentIndex() : -1;
}

int TabSetCurSel(DialogWindow* dialog, int id, int index)
{
    DialogControlRecord* record = FindControl(dialog, id);
    QTabBar* bar = record ? TabBarOf(record->widget) : nullptr;
    if (bar == nullptr || index < 0 || index >= bar->count())
        return -1;
    QuietChange quiet(dialog);
    int previous = bar->currentIndex();
    bar->setCurrentIndex(index);
    return previous;
}

bool GetTabDisplayRect(DialogWindow* dialog, int id, int* x, int* y, int* width, int* height)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr || TabBarOf(record->widget) == nullptr)
        return false;
    QRect area = TabDisplayRect(record->widget);
    area.translate(record->widget->pos());
    if (x != nullptr)
        *x = area.x();
    if (y != nullptr)
        *y = area.y();
    if (width != nullptr)
        *width = area.width();
    if (height != nullptr)
        *height = area.height();
    return true;
}

bool SetScrollRange(DialogWindow* dialog, int id, int minimum, int maximum)
{
    DialogControlRecord* record = FindControl(dialog, id);
    auto* bar = record ? qobject_cast<QScrollBar*>(record->widget) : nullptr;
    if (bar == nullptr)
        return false;
    record->scrollMin = minimum;
    record->scrollMax = maximum;
    QuietChange quiet(dialog);
    bar->setRange(minimum, maximum < minimum ? minimum : maximum);
    return true;
}

bool GetScrollRange(DialogWindow* dialog, int id, int* minimum, int* maximum)
{
    DialogControlRecord* record = FindControl(dialog, id);
    if (record == nullptr || qobject_cast<QScrollBar*>(record->widget) == nullptr)
        return false;
    if (minimum != nullptr)
        *minimum = record->scrollMin;
    if (maximum != nullptr)
        *maximum = record->scrollMax;
    return true;
}

int SetScrollPos(DialogWindow* dialog, int id, int position)
{
    auto* bar = ControlAs<QScrollBar>(dialog, id);
    if (bar == nullptr)
        return 0;
    QuietChange quiet(dialog);
    int previous = bar->value();
    bar->setValue(position);
    return previous;
}

int GetScrollPos(DialogWindow* dialog, int id)
{
    auto* bar = ControlAs<QScrollBar>(dialog, id);
    return bar ? bar->value() : 0;
}

bool SetDialogItemBitmap(DialogWindow* dialog, int id, const std::string& imagePath)
{
    auto* label = ControlAs<QLabel>(dialog, id);
    if (label == nullptr)
        return false;
    QPixmap pixmap(ToQt(imagePath));
    if (pixmap.isNull())
        return false;
    label->setPixmap(pixmap);
    return true;
}
