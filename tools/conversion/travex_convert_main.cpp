// travex-convert: converts an SVG drawing into the plot data file as an output run would,
// with the layers, tool slots and page given on the command line, and prints the file's
// path, so that conversions can be looked at without the output dialog.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "host/suites/user_suite.h"
#include "tools/conversion/conversion_driver.h"

namespace {

const char kUsage[] =
    "usage: travex-convert DRAWING.svg --layer TITLE=TOOL... [options]\n"
    "  --layer TITLE=TOOL    output the layer with tool slot TOOL (1 to 10); repeatable, at least one\n"
    "  --page WxH            page size in millimetres (210x297)\n"
    "  --landscape           orientation 1\n"
    "  --scale PERCENT       1 to 10000 (100)\n"
    "  --pages FIRST-LAST    print range within 1 to 32767, FIRST not after LAST (1-1)\n"
    "  --sort MODE           0 none, 1 origin distance, 2 nearest neighbour (1)\n"
    "  --pen-order-off       merge each tool class into one chunk\n"
    "  --no-overlap          cutters without the overlap union\n"
    "  --frame-cut           add the cut frame\n"
    "  --corner              origin at the paper's corner instead of its centre\n"
    "  --tool SLOT=TYPE      tool type (0 to 11) of slot SLOT; a layer's slot needs a type 1 to 11\n"
    "  --header TEXT, --footer TEXT\n"
    "  --units N             plotter units per millimetre (40)\n"
    "  --perforate SLOT      cut the paths of tool slot SLOT as dotted lines\n"
    "  --kanji-mode N        label mode: 0 plain, 1 kuten, 2 alternate set (2)\n"
    "  -h, --help            this text\n"
    "Prints the plot data file's path. Exit status 0 when it was written, 1 when the conversion\n"
    "failed, 2 for a bad option (nothing converted), 130 after Ctrl-C (no plot data left).\n";

bool SplitAt(const char* text, char separator, std::string* left, long* right)
{
    const char* at = std::strchr(text, separator);
    if (!at || at == text)
        return false;
    char* end = nullptr;
    *right = std::strtol(at + 1, &end, 10);
    if (end == at + 1 || *end != '\0')
        return false;
    left->assign(text, static_cast<size_t>(at - text));
    return true;
}

bool ParseLong(const char* text, long* value)
{
    char* end = nullptr;
    *value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

// "FIRST-LAST", each a whole number.
bool ParseRange(const char* text, long* first, long* last)
{
    char* end = nullptr;
    *first = std::strtol(text, &end, 10);
    if (end == text || *end != '-')
        return false;
    return ParseLong(end + 1, last);
}

// The plot data file being written, for the second Ctrl-C to remove.
char gPlotDataPath[4096];
volatile std::sig_atomic_t gInterrupts = 0;
struct sigaction gCancelAction;

void NotePlotDataStart(const char* path) { std::snprintf(gPlotDataPath, sizeof gPlotDataPath, "%s", path); }

// The first Ctrl-C asks the conversion to cancel through the host's cancel check; a second
// one ends the program at once, without leaving a part of the plot data behind.
void OnInterrupt(int signal)
{
    gInterrupts = gInterrupts + 1;
    if (gInterrupts == 1) {
        gCancelAction.sa_handler(signal);
        return;
    }
    static const char removed[] = "travex-convert: cancelled; the plot data file was removed\n";
    static const char untouched[] = "travex-convert: cancelled; nothing was converted\n";
    const bool started = gPlotDataPath[0] != '\0';
    if (started)
        unlink(gPlotDataPath);
    ssize_t ignored = started ? write(STDERR_FILENO, removed, sizeof removed - 1)
                              : write(STDERR_FILENO, untouched, sizeof untouched - 1);
    (void)ignored;
    _exit(kConversionCancelled);
}

void InstallInterruptHandler()
{
    host::InstallCancelOnInterrupt();
    sigaction(SIGINT, nullptr, &gCancelAction);
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

int Refuse(const std::string& reason)
{
    std::fprintf(stderr, "travex-convert: %s\n(travex-convert --help lists the options)\n", reason.c_str());
    return kConversionRefused;
}

}  // namespace

int main(int argc, char** argv)
{
    InstallInterruptHandler();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return kConversionRefused;
    }
    ConversionJob job;
    InitConversionJob(&job);
    job.drawing = argv[1];
    job.onPlotDataStart = NotePlotDataStart;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        std::string name;
        long number = 0;
        std::string reason;
        if (option == "--landscape") {
            job.page.Orientation = 1;
        } else if (option == "--pen-order-off") {
            job.settings.fPenOrderOff = 1;
        } else if (option == "--no-overlap") {
            job.settings.fOverlap = 0;
        } else if (option == "--frame-cut") {
            job.settings.fFrameCut = 1;
        } else if (option == "--corner") {
            job.settings.wPaperOrigin = 1;
        } else if (option.rfind("--", 0) != 0) {
            reason = "a second drawing " + option + " (one drawing at a time)";
        } else if (!value) {
            reason = "option " + option + " is unknown or lacks its value";
        } else {
            ++i;
            const std::string bad = "bad " + option + " " + value + ": ";
            if (option == "--layer") {
                if (!SplitAt(value, '=', &name, &number) || number < 1 || number > 10)
                    reason = bad + "give TITLE=TOOL with a tool slot 1 to 10";
                else
                    job.layers.emplace_back(name, static_cast<int16_t>(number));
            } else if (option == "--tool") {
                long slot = 0;
                if (!SplitAt(value, '=', &name, &number) || number < 0 || number > 11 ||
                    !ParseLong(name.c_str(), &slot) || slot < 1 || slot > 10)
                    reason = bad + "give SLOT=TYPE with a slot 1 to 10 and a type 0 to 11";
                else
                    job.settings.aToolSlot[slot - 1].wType = static_cast<int16_t>(number);
            } else if (option == "--page") {
                int w = 0, h = 0;
                char rest = 0;
                if (std::sscanf(value, "%dx%d%c", &w, &h, &rest) != 2 || w <= 0 || h <= 0 || w > 100000 || h > 100000)
                    reason = bad + "give WIDTHxHEIGHT in millimetres, each 1 to 100000";
                job.page.rPage = PageRect{0, 0, w, h};
                job.page.rPaper = job.page.rPage;
                job.page.Width = w;
                job.page.Height = h;
            } else if (option == "--scale") {
                if (!ParseLong(value, &number) || number <= 0 || number > 10000)
                    reason = bad + "the scale is 1 to 10000 percent";
                job.page.Scale = static_cast<int32_t>(number * 100);
            } else if (option == "--pages") {
                long first = 0, last = 0;
                if (!ParseRange(value, &first, &last) || first < 1 || first > 32767 || last < 1 || last > 32767)
                    reason = bad + "give FIRST-LAST, each page 1 to 32767";
                else if (first > last)
                    reason = bad + "the range is reversed (FIRST after LAST)";
                else {
                    job.page.iFstPage = static_cast<int32_t>(first);
                    job.page.iLstPage = static_cast<int32_t>(last);
                }
            } else if (option == "--sort") {
                if (!ParseLong(value, &number) || number < 0 || number > 2)
                    reason = bad + "the sort mode is 0, 1 or 2";
                else
                    job.settings.wSortMode = static_cast<int16_t>(number);
            } else if (option == "--perforate") {
                if (!ParseLong(value, &number) || number < 1 || number > 10)
                    reason = bad + "the tool slot is 1 to 10";
                job.settings.fDottedCut = 1;
                job.settings.wCutTool = static_cast<int16_t>(number);
            } else if (option == "--kanji-mode") {
                if (!ParseLong(value, &number) || number < 0 || number > 2)
                    reason = bad + "the label mode is 0, 1 or 2";
                job.settings.wKanjiMode = static_cast<int16_t>(number);
            } else if (option == "--units") {
                if (!ParseLong(value, &number) || number <= 0 || number >= 32768)
                    reason = bad + "the plotter units per millimetre are 1 to 32767";
                job.settings.iPlotterUnit = static_cast<int32_t>(number);
            } else if (option == "--header" || option == "--footer") {
                char* target = option == "--header" ? job.settings.szHeader : job.settings.szFooter;
                if (std::strlen(value) >= sizeof job.settings.szHeader)
                    reason = bad + "the text is longer than 127 bytes";
                else
                    std::snprintf(target, sizeof job.settings.szHeader, "%s", value);
            } else {
                reason = "option " + option + " is unknown";
            }
        }
        if (!reason.empty())
            return Refuse(reason);
    }
    const std::string unfit = CheckConversionJob(job);
    if (!unfit.empty())
        return Refuse(unfit);
    std::string path;
    std::string error;
    const int status = RunConversionJob(job, &path, &error);
    // the file is whole now (or gone): a late Ctrl-C has nothing to remove
    gPlotDataPath[0] = '\0';
    if (status != 0) {
        std::fprintf(stderr, "travex-convert: %s\n", error.c_str());
        return status;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
