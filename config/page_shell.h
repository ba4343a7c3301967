// What the five pages of the property dialog share with the shell that carries them.
//
// Each page lives in a file of its own (paper_page.cpp, plotter_page.cpp,
// additional_page.cpp, tool_page.cpp, paper_list_page.cpp) and gives the shell four things,
// declared in its header:
//
//   DialogTemplate XxxPageTemplate();      its child template (ConfigPageTemplate + controls)
//   intptr_t XxxPageProc(...);             its page procedure; on kDialogInit it calls
//                                          RecordPageWindow and, with lengths, SetPageUnit
//   int SaveXxxPage(DialogWindow* page);   its saver, run on OK in the dialog's order;
//                                          0, or the failure of its settings write
//   void ChangeXxxUnit(page, unit);        its unit change (pages that show lengths)
//
// The shell creates the pages, switches them with the tabs, runs the savers on OK, and
// keeps the window and the current display unit of every page.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>
#include <string>

// The pages in tab order; a page's index is also its source code for SyncUnitSelection.
enum ConfigPage {
    kPaperPage = 0,
    kPlotterPage = 1,
    kExtraPage = 2,
    kToolPage = 3,
    kPaperListPage = 4,
    kConfigPageCount = 5,
};

constexpr int kPropertyDialogTemplate = 109;
constexpr int kPaperPageTemplate = 110;
constexpr int kPlotterPageTemplate = 111;
constexpr int kToolPageTemplate = 112;
constexpr int kPaperListPageTemplate = 113;
constexpr int kExtraPageTemplate = 114;
constexpr int kPropertyTabControl = 1082;

// The unit combo of each page that shows lengths.
constexpr int kPaperUnitCombo = 102;
constexpr int kMarginUnitCombo = 201;
constexpr int kExtraUnitCombo = 501;
constexpr int kPaperListUnitCombo = 403;

// The dialogs' font.
extern const char kConfigFontName[];   // "ＭＳ Ｐゴシック"
constexpr int kPropertyDialogPointSize = 9;
constexpr int kPagePointSize = 10;

// A page's window, recorded by the page when it initialises; null before that and once
// the dialog has gone.
void RecordPageWindow(int page, DialogWindow* window);
DialogWindow* PageWindow(int page);

// The unit in which a page shows its lengths at this moment.
int16_t PageUnit(int page);
void SetPageUnit(int page, int16_t unit);

// Makes every other existing page show the unit (its combo selected, its unit change run)
// and stores it in gPaperList.wUnit. A page whose unit combo the user changed runs its
// own unit change first and then this, with its ConfigPage as the source.
void SyncUnitSelection(int16_t source, int16_t unit);
// The user chose a unit in the unit combo of the page (its ConfigPage as source): the page
// shows its lengths in it, then every other page does (nothing without a selection).
void PageUnitChosen(DialogWindow* page, int16_t source);

// Fills a unit combo with "inch", "mm" and "pixel" (item data 0, 1, 2) and selects unit.
void FillUnitCombo(DialogWindow* page, int comboId, int16_t unit);
// The unit of the combo's selected item; -1 with no selection.
int16_t SelectedUnit(DialogWindow* page, int comboId);

// An empty template of the dialogs' font at pointSize, its size given in dialog units.
DialogTemplate ConfigTemplate(int templateId, int pointSize, int widthUnits, int heightUnits);
// A control at a rectangle given in dialog units of the dialogs' font at pointSize.
DialogControl ConfigControl(int pointSize, int id, int kind, int x, int y, int width, int height,
    const std::string& text = std::string(), uint32_t flags = 0);

// An empty child page of the template's size (251 by 241 dialog units of the page font).
DialogTemplate ConfigPageTemplate(int templateId);
// A control at a rectangle given in dialog units of the page font.
DialogControl PageControl(int id, int kind, int x, int y, int width, int height,
    const std::string& text = std::string(), uint32_t flags = 0);

// Lengths in millimetres through the display and entry rules, in the unit given.
void ShowLengthField(DialogWindow* page, int editId, int32_t millimetres, int16_t unit);
int16_t ReadLengthField(DialogWindow* page, int editId, int16_t unit, bool paperSize);
// Other numbers: FormatFixed with the decimals; ParseNumber of the edit's text.
void ShowNumberField(DialogWindow* page, int editId, float value, int decimals);
float ReadNumberField(DialogWindow* page, int editId);
