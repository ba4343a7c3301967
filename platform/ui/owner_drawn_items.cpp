// Owner-drawn combo and list rows: the dialog procedure measures and draws them.
#include "platform/ui/dialog_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int kItemDataRole = Qt::UserRole + 1;

intptr_t DrawOneItem(DialogWindow* dialog, int id, QPainter* painter, const QRect& rect, int index,
                     intptr_t data, int state)
{
    DrawItemInfo item;
    item.controlId = id;
    item.itemIndex = index;
    item.itemData = data;
    item.action = kDrawEntire;
    item.state = state;
    item.left = rect.left();
    item.top = rect.top();
    item.right = rect.left() + rect.width();
    item.bottom = rect.top() + rect.height();
    item.painter = painter;
    DialogEvent draw;
    draw.message = kDialogDrawItem;
    draw.controlId = id;
    draw.drawItem = &item;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    intptr_t answer = SendDialogEvent(dialog, draw);
    painter->restore();
    return answer;
}

class ItemDrawer : public QStyledItemDelegate {
public:
    ItemDrawer(QObject* parent, DialogWindow* dialog, int id)
        : QStyledItemDelegate(parent), dialog_(dialog), id_(id) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        int state = 0;
        if (option.state & QStyle::State_Selected)
            state |= kDrawStateSelected;
        if (option.state & QStyle::State_HasFocus)
            state |= kDrawStateFocus;
        if (!(option.state & QStyle::State_Enabled))
            state |= kDrawStateDisabled;
        intptr_t data = index.data(kItemDataRole).value<qlonglong>();
        if (DrawOneItem(dialog_, id_, painter, option.rect, index.row(), data, state) == 0)
            QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (DialogControlRecord* record = FindControl(dialog_, id_))
            if (record->itemHeight > 0)
                size.setHeight(record->itemHeight);
        return size;
    }

private:
    DialogWindow* dialog_;
    int id_;
};

// Reports the list opening and closing; an owner-drawn field is drawn by the procedure.
class ComboWidget : public QComboBox {
public:
    ComboWidget(QWidget* parent, DialogWindow* dialog, int id, bool ownerDrawn)
        : QComboBox(parent), dialog_(dialog), id_(id), ownerDrawn_(ownerDrawn) {}

    void showPopup() override
    {
        NotifyCommand(dialog_, id_, kNotifyDropDown);
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        NotifyCommand(dialog_, id_, kNotifyCloseUp);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!ownerDrawn_ || isEditable()) {
            QComboBox::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxEditField, this);
        int index = currentIndex();
        intptr_t data = index >= 0 ? itemData(index, kItemDataRole).value<qlonglong>() : 0;
        int state = kDrawStateComboEdit;
        if (hasFocus())
            state |= kDrawStateFocus | kDrawStateSelected;
        if (!isEnabled())
            state |= kDrawStateDisabled;
        DrawOneItem(dialog_, id_, &painter, field, index, data, state);
    }

private:
    DialogWindow* dialog_;
    int id_;
    bool ownerDrawn_;
};

QRect ItemRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

QColor Colour(uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

int ItemDataRole() { return kItemDataRole; }

QComboBox* NewComboWidget(DialogWindow* dialog, int id, bool ownerDrawn, QWidget* parent)
{
    return new ComboWidget(parent, dialog, id, ownerDrawn);
}

void SendMeasureItem(DialogWindow* dialog, DialogControlRecord& record)
{
    MeasureItemInfo measure;
    measure.controlId = record.id;
    measure.itemWidth = record.widget->width();
    measure.itemHeight = record.widget->fontMetrics().height();
    DialogEvent event;
    event.message = kDialogMeasureItem;
    event.controlId = record.id;
    event.measureItem = &measure;
    int id = record.id;
    SendDialogEvent(dialog, event);
    // The procedure may have added controls meanwhile; look the record up again.
    if (DialogControlRecord* again = FindControl(dialog, id))
        again->itemHeight = measure.itemHeight;
}

void InstallItemDrawer(DialogWindow* dialog, DialogControlRecord& record)
{
    if (auto* combo = qobject_cast<QComboBox*>(record.widget))
        combo->view()->setItemDelegate(new ItemDrawer(combo, dialog, record.id));
    else if (auto* list = qobject_cast<QListWidget*>(record.widget))
        list->setItemDelegate(new ItemDrawer(list, dialog, record.id));
}

void DrawItemFillRect(const DrawItemInfo& item, int left, int top, int right, int bottom,
                      uint32_t rgb)
{
    if (auto* painter = static_cast<QPainter*>(item.painter))
        painter->fillRect(ItemRect(left, top, right, bottom), Colour(rgb));
}

void DrawItemFrameRect(const DrawItemInfo& item, int left, int top, int right, int bottom,
                       uint32_t rgb)
{
    auto* painter = static_cast<QPainter*>(item.painter);
    if (painter == nullptr || right <= left || bottom <= top)
        return;
    // A one-pixel frame inside the rectangle, as the system's frame call draws it.
    QColor colour = Colour(rgb);
    painter->fillRect(QRect(left, top, right - left, 1), colour);
    painter->fillRect(QRect(left, bottom - 1, right - left, 1), colour);
    painter->fillRect(QRect(left, top, 1, bottom - top), colour);
    painter->fillRect(QRect(right - 1, top, 1, bottom - top), colour);
}

void DrawItemFocusRect(const DrawItemInfo& item, int left, int top, int right, int bottom)
{
    auto* painter = static_cast<QPainter*>(item.painter);
    if (painter == nullptr || right <= left || bottom <= top)
        return;
    painter->save();
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    pen.setWidth(0);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    painter->restore();
}

void DrawItemLine(const DrawItemInfo& item, int x0, int y0, int x1, int y1, uint32_t rgb)
{
    auto* painter = static_cast<QPainter*>(item.painter);
    if (painter == nullptr)
        return;
    painter->save();
    QPen pen(Colour(rgb));
    pen.setWidth(0);
    painter->setPen(pen);
    painter->drawLine(x0, y0, x1, y1);
    painter->restore();
}
