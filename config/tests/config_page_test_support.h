// The shared fixture of the page tests: the whole program run in this process with UI robot
// steps taken from a file (as the program takes them), what the robot saw of the controls,
// a hook that runs test code while the dialog is open, and the checks of a page's picture.
#pragma once

#include "config/config_program.h"
#include "config/config_resources.h"
#include "config/page_shell.h"
#include "config/property_dialog.h"
#include "config/tests/config_test_support.h"
#include "config/tests/page_dialog_fixture.h"
#include "plugin/settings/settings_program.h"

#include "platform/ui/dialog_runner.h"
#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

class ConfigPageTest : public ConfigDialogTest {
protected:
    // The program with these steps, one a line as a steps file holds them (so a typed
    // text may hold a ";").
    void RunProgram(const std::vector<std::string>& steps)
    {
        std::string text;
        for (const std::string& step : steps)
            text += step + "\n";
        std::string path = MakeTestFolder("steps") + "/steps.txt";
        WriteBytes(path, text);
        std::string error;
        ASSERT_TRUE(LoadUiRobotScriptFromFile(path, &error)) << error;
        RunWithScript(path);
    }
};

// What the robot saw of control id just before the step with this text (the last such
// step of the run).
inline UiControlState SeenBefore(const std::string& step, int id)
{
    std::vector<UiRobotStepRecord> records = UiRobotStepRecords();
    for (size_t i = records.size(); i-- > 0;) {
        if (records[i].step != step)
            continue;
        for (const UiControlState& c : records[i].controls)
            if (c.id == id)
                return c;
        ADD_FAILURE() << "no control " << id << " before step " << step;
        return UiControlState();
    }
    ADD_FAILURE() << "no step " << step;
    return UiControlState();
}

inline std::string TextBefore(const std::string& step, int id)
{
    return SeenBefore(step, id).text;
}

inline std::vector<std::string> UnitTexts()
{
    return {"inch", "mm", "pixel"};
}

// Every control of the page lies inside the page as the tab shows it, and every text can
// be read whole: labels, check boxes and buttons hold their text, edits a line of it, and
// a combo's field its longest item.
inline void ExpectNothingClipped(DialogWindow* page)
{
    QWidget* widget = GetDialogWidget(page);
    ASSERT_NE(widget, nullptr);
    QRect inside = widget->rect();
    int controls = 0;
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->objectName().isEmpty() || child->isHidden())
            continue;
        ++controls;
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_TRUE(inside.contains(child->geometry())) << "at " << child->x() << "," << child->y()
            << " size " << child->width() << "x" << child->height() << " in " << inside.width() << "x"
            << inside.height();
        QFontMetrics metrics = child->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(child)) {
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
            EXPECT_LE(metrics.height(), label->height());
        } else if (auto* box = qobject_cast<QCheckBox*>(child)) {
            EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width());
        } else if (qobject_cast<QLineEdit*>(child) != nullptr) {
            EXPECT_LE(metrics.height() + 4, child->height());
        } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_LE(metrics.horizontalAdvance(combo->itemText(i)), field.width())
                    << combo->itemText(i).toStdString();
            EXPECT_LE(metrics.height(), field.height());
        }
    }
    EXPECT_GT(controls, 0);
}

// The property dialog as it is drawn now, saved as PNG in the test's folder and, when
// TRAVEX_SCREENSHOT_DIR names a folder, there too.
inline QImage SaveDialogPicture(const std::string& name)
{
    QImage image = GetDialogWidget(PropertyDialog())->grab().toImage();
    std::string file = "/" + name + ".png";
    EXPECT_TRUE(image.save(QString::fromStdString(MakeTestFolder("screenshot-" + name) + file), "PNG"));
    if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
        image.save(QString::fromStdString(dir + file), "PNG");
    return image;
}

// The control's rectangle in the picture of the property dialog.
inline QRect RectInDialog(DialogWindow* page, int id)
{
    QWidget* control = GetDialogItem(page, id);
    QWidget* dialog = GetDialogWidget(PropertyDialog());
    if (control == nullptr || dialog == nullptr)
        return QRect();
    return QRect(control->mapTo(dialog, QPoint(0, 0)), control->size());
}

// How many pixels of the part of the picture have this colour (0xRRGGBB).
inline int CountPixels(const QImage& image, const QRect& part, uint32_t rgb)
{
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == rgb)
                ++count;
    return count;
}
