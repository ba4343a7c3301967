#include "plugin/output/route_failures.h"

#include <cstdio>

#include "platform/code_pages.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_resources.h"
#include "plugin/entry/run_services.h"
#include "plugin/output/text_utilities.h"

namespace {

constexpr int kJapaneseRouteTexts = 16700;
constexpr int kEnglishRouteTexts = 16800;

constexpr ASErr kStatuses[] = {kNoErr, kPlotDataIncompleteErr, kPlotFileWriteErr, kFtpTransferErr, kSenderFailedErr};

}  // namespace

ASErr ReportRouteFailure(RouteFailure failure, const std::string& reason)
{
    char format[256];
    int id = (g->iLanguage == 0 ? kJapaneseRouteTexts : kEnglishRouteTexts) + failure;
    if (LoadResourceString(PluginResources(), id, format, sizeof format, kCodePageShiftJis) <= 0)
        std::snprintf(format, sizeof format, "%%s");
    char eightBit[512];
    ConvertUtf8ToShiftJis(reason.c_str(), eightBit, sizeof eightBit);
    char text[768];
    std::snprintf(text, sizeof text, format, eightBit);
    SendMachine& m = g->sendMachine;
    std::snprintf(m.szShownText, sizeof m.szShownText, "%.*s", int(sizeof m.szShownText - 1), text);
    SetHostProgressText(text);
    return kStatuses[failure];
}
