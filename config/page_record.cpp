#include "config/page_record.h"

#include "config/settings_store.h"
#include "plugin/settings/page_setup.h"

ConfigPageSetup gPageSetup;

namespace {

// Damaged margins from the file must not overflow: the sums wrap as 32-bit values do.
int32_t Add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t Sub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// The registry exchange goes by value name, through the shared record of the values.
PageSetup ToValues(const ConfigPageSetup& page)
{
    PageSetup values{};
    values.Orientation = page.Orientation;
    values.Size = page.Size;
    values.Width = page.Width;
    values.Height = page.Height;
    values.Scale = page.Scale;
    values.pisroll = page.pisroll;
    values.rPage = {page.rPage.top, page.rPage.left, page.rPage.right, page.rPage.bottom};
    values.rPaper = {page.rPaper.top, page.rPaper.left, page.rPaper.right, page.rPaper.bottom};
    values.iFstPage = page.iFstPage;
    values.iLstPage = page.iLstPage;
    return values;
}

ConfigPageSetup FromValues(const PageSetup& values)
{
    ConfigPageSetup page{};
    page.Orientation = values.Orientation;
    page.Size = values.Size;
    page.Width = values.Width;
    page.Height = values.Height;
    page.Scale = values.Scale;
    page.pisroll = values.pisroll;
    page.rPage = {values.rPage.left, values.rPage.top, values.rPage.right, values.rPage.bottom};
    page.rPaper = {values.rPaper.left, values.rPaper.top, values.rPaper.right, values.rPaper.bottom};
    page.iFstPage = static_cast<int16_t>(values.iFstPage);
    page.iLstPage = static_cast<int16_t>(values.iLstPage);
    return page;
}

} // namespace

void SetDefaultConfigPageSetup(ConfigPageSetup* page)
{
    *page = ConfigPageSetup{};
    page->Orientation = 0;
    page->Size = kPageSizeFirstPaper;
    page->Scale = 10000;
    page->iFstPage = 1;
    page->iLstPage = 1;
}

int32_t LoadPageSetup()
{
    SetDefaultConfigPageSetup(&gPageSetup);
    PageSetup values = ToValues(gPageSetup);
    int32_t status = ReadPageSetupValues(&values);
    gPageSetup = FromValues(values);
    return status;
}

void DerivePageRectangles(ConfigPageSetup* page, const MarginRect& m)
{
    ConfigPageRect paper = {0, 0, page->Width, page->Height};
    ConfigPageRect inset;
    if (page->Orientation != 0) {
        paper = {0, 0, page->Height, page->Width};
        inset = {Add(paper.left, m.top), Add(paper.top, m.left), Sub(paper.right, m.bottom),
            Sub(paper.bottom, m.right)};
    } else {
        inset = {Add(paper.left, m.left), Add(paper.top, m.top), Sub(paper.right, m.right),
            Sub(paper.bottom, m.bottom)};
    }
    int32_t dx = inset.left;
    int32_t dy = inset.top;
    page->rPage = {Sub(inset.left, dx), Sub(inset.top, dy), Sub(inset.right, dx), Sub(inset.bottom, dy)};
    page->rPaper = {Sub(paper.left, dx), Sub(paper.top, dy), Sub(paper.right, dx), Sub(paper.bottom, dy)};
}

int32_t SavePageSetup()
{
    const MarginRect& margins =
        gPageSetup.pisroll != 0 ? gPlotSettings.rRollMargin : gPlotSettings.rSheetMargin;
    DerivePageRectangles(&gPageSetup, margins);
    PageSetup values = ToValues(gPageSetup);
    return WritePageSetupValues(&values);
}
