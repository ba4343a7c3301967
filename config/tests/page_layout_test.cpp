// The paper page and the plotter environment page as the user sees them, with their widest
// contents (3000 mm in pixels, a Japanese paper name): every control inside the page's
// visible area, its text within its rectangle, no two controls on top of each other, the
// paper pictures loaded; and screenshots of both pages (TRAVEX_SCREENSHOT_DIR keeps a copy).
#include "config/config_text.h"
#include "config/tests/page_dialog_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace {

// The controls of a page the user can see, with what does not fit.
std::vector<std::string> LayoutFaults(int page)
{
    std::vector<std::string> faults;
    QWidget* widget = GetDialogWidget(PageWindow(page));
    const QRect area = widget->rect();
    std::vector<QWidget*> controls;
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            controls.push_back(child);
    auto fault = [&](QWidget* w, const std::string& what) {
        faults.push_back(w->objectName().toStdString() + " " + w->metaObject()->className() + ": " + what);
    };
    for (QWidget* w : controls) {
        const QRect r = w->geometry();
        if (!area.contains(r))
            fault(w, "outside the page");
        QFontMetrics metrics = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->pixmap().isNull()) {
                if (label->pixmap().width() > r.width() || label->pixmap().height() > r.height())
                    fault(w, "picture cut");
            } else if (metrics.horizontalAdvance(label->text()) > r.width() || metrics.height() > r.height())
                fault(w, "text cut: " + label->text().toStdString());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->sizeHint().width() > r.width() || button->sizeHint().height() > r.height())
                fault(w, "text cut: " + button->text().toStdString());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (combo->sizeHint().width() > r.width())
                fault(w, "longest item cut");
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (metrics.horizontalAdvance(edit->text()) + 8 > r.width())
                fault(w, "value cut: " + edit->text().toStdString());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            if (metrics.horizontalAdvance(group->title()) + 16 > r.width())
                fault(w, "title cut");
        }
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (qobject_cast<QGroupBox*>(controls[i]) || qobject_cast<QGroupBox*>(controls[j]))
                continue;
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                fault(controls[i], "on top of " + controls[j]->objectName().toStdString());
        }
    return faults;
}

// Pixels of a picture control that are not the page's background: the picture is drawn.
int PaintedPixels(QImage image)
{
    int painted = 0;
    QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += image.pixel(x, y) != background;
    return painted;
}

class PageLayoutTest : public PageDialogTest {
protected:
    // Pixel units, a paper of 3000 by 3000 mm with a Japanese name chosen, margins of 3000.
    void SeedWidestContents()
    {
        std::string file = DefaultFileInUnit(2);
        char name[64];
        ASSERT_TRUE(Utf8ToCp932("ロール紙（３０００×３０００）", name, sizeof name));
        const size_t row = 1538 + 2 + 70 * 10;
        file.replace(row, 64, std::string(name, 64));
        Put16(file, row + 64, 3000);
        Put16(file, row + 66, 3000);
        Put16(file, row + 68, 1);
        Put16(file, 1538, 11);
        for (int i = 0; i < 8; ++i)
            Put32(file, 2 + 4 + 4 * i, 3000);
        WriteBytes(TestSettingsFile(), file);
        PageValues stored;
        stored.size = 611;
        stored.firstPage = 32767;
        stored.lastPage = 32767;
        SeedPageValues(stored);
    }
};

TEST_F(PageLayoutTest, EveryControlFitsInsideTheVisiblePageWithItsText)
{
    SeedWidestContents();
    std::vector<std::string> faults[2];
    int pictures[2] = {};
    action_ = [&] {
        for (int page : {kPaperPage, kPlotterPage})
            faults[page] = LayoutFaults(page);
        for (int i = 0; i < 2; ++i)
            pictures[i] = PaintedPixels(GetDialogItem(PageWindow(kPaperPage), 112 + i)->grab().toImage());
    };
    RunProgram("hook run; press 2");
    EXPECT_EQ(faults[kPaperPage], std::vector<std::string>{});
    EXPECT_EQ(faults[kPlotterPage], std::vector<std::string>{});
    EXPECT_GT(pictures[0], 50);   // the portrait and landscape sheets
    EXPECT_GT(pictures[1], 50);
}

TEST_F(PageLayoutTest, ScreenshotsOfBothPages)
{
    std::string folder = MakeTestFolder("page-screenshots");
    std::vector<std::string> names;
    std::vector<QImage> images;
    action_ = [&] {
        QImage image = GetDialogWidget(PropertyDialog())->grab().toImage();
        std::string name = "/config_page_" + std::to_string(images.size() + 1) + ".png";
        EXPECT_TRUE(image.save(QString::fromStdString(folder + name), "PNG"));
        if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
            image.save(QString::fromStdString(dir + name), "PNG");
        images.push_back(image);
    };
    // a new settings file (inches, the defaults), then the widest contents in pixels
    RunProgram("hook run; tab 1082 1; hook run; press 2");
    ResetTestHome();
    ResetUiRobot();
    SeedWidestContents();
    RunProgram("hook run; tab 1082 1; hook run; press 2");
    ASSERT_EQ(images.size(), 4u);
    int width = 0, height = 0;
    DialogUnitsToPixels(kConfigFontName, kPropertyDialogPointSize, 263, 295, &width, &height);
    for (const QImage& image : images)
        EXPECT_EQ(image.size(), QSize(width, height));
    // the two pages differ, and so do the two contents of one page
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[0], images[2]);
    EXPECT_NE(images[1], images[3]);
}

} // namespace
