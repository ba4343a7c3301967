// travex-convert: converts an SVG drawing into the plot data file as an output run would,
// with the layers, tool slots and page given on the command line, and prints the file's
// path, so that conversions can be looked at without the output dialog.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/conversion/conversion_driver.h"

namespace {

const char kUsage[] =
    "usage: travex-convert DRAWING.svg [options]\n"
    "  --layer TITLE=TOOL    output the layer with tool slot TOOL (1 to 10); repeatable\n"
    "  --page WxH            page size in millimetres (210x297)\n"
    "  --landscape           orientation 1\n"
    "  --scale PERCENT       100\n"
    "  --pages FIRST-LAST    print range (1-1)\n"
    "  --sort MODE           0 none, 1 origin distance, 2 nearest neighbour (1)\n"
    "  --pen-order-off       merge each tool class into one chunk\n"
    "  --no-overlap          cutters without the overlap union\n"
    "  --frame-cut           add the cut frame\n"
    "  --corner              origin at the paper's corner instead of its centre\n"
    "  --tool SLOT=TYPE      tool type (0 to 11) of slot SLOT\n"
    "  --header TEXT, --footer TEXT\n"
    "  --units N             plotter units per millimetre (40)\n"
    "  --perforate SLOT      cut the paths of tool slot SLOT as dotted lines\n"
    "  --kanji-mode N        label mode: 0 plain, 1 kuten, 2 alternate set (2)\n";

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    ConversionJob job;
    InitConversionJob(&job);
    job.drawing = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        std::string name;
        long number = 0;
        bool ok = true;
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
        } else if (!value) {
            ok = false;
        } else {
            ++i;
            if (option == "--layer") {
                ok = SplitAt(value, '=', &name, &number) && number >= 1 && number <= 10;
                if (ok)
                    job.layers.emplace_back(name, static_cast<int16_t>(number));
            } else if (option == "--tool") {
                ok = SplitAt(value, '=', &name, &number) && number >= 0 && number <= 11;
                long slot = 0;
                ok = ok && ParseLong(name.c_str(), &slot) && slot >= 1 && slot <= 10;
                if (ok)
                    job.settings.aToolSlot[slot - 1].wType = static_cast<int16_t>(number);
            } else if (option == "--page") {
                int w = 0, h = 0;
                ok = std::sscanf(value, "%dx%d", &w, &h) == 2 && w > 0 && h > 0;
                job.page.rPage = PageRect{0, 0, w, h};
                job.page.rPaper = job.page.rPage;
                job.page.Width = w;
                job.page.Height = h;
            } else if (option == "--scale") {
                ok = ParseLong(value, &number) && number > 0 && number <= 10000;
                job.page.Scale = static_cast<int32_t>(number * 100);
            } else if (option == "--pages") {
                int first = 0, last = 0;
                ok = std::sscanf(value, "%d-%d", &first, &last) == 2;
                job.page.iFstPage = first;
                job.page.iLstPage = last;
            } else if (option == "--sort") {
                ok = ParseLong(value, &number);
                job.settings.wSortMode = static_cast<int16_t>(number);
            } else if (option == "--perforate") {
                ok = ParseLong(value, &number) && number >= 1 && number <= 10;
                job.settings.fDottedCut = 1;
                job.settings.wCutTool = static_cast<int16_t>(number);
            } else if (option == "--kanji-mode") {
                ok = ParseLong(value, &number) && number >= 0 && number <= 2;
                job.settings.wKanjiMode = static_cast<int16_t>(number);
            } else if (option == "--units") {
                ok = ParseLong(value, &number) && number > 0 && number < 32768;
                job.settings.iPlotterUnit = static_cast<int32_t>(number);
            } else if (option == "--header" || option == "--footer") {
                char* target = option == "--header" ? job.settings.szHeader : job.settings.szFooter;
                ok = std::strlen(value) < sizeof job.settings.szHeader;
                if (ok)
                    std::snprintf(target, sizeof job.settings.szHeader, "%s", value);
            } else {
                ok = false;
            }
        }
        if (!ok) {
            std::fprintf(stderr, "travex-convert: bad option %s\n%s", option.c_str(), kUsage);
            return 2;
        }
    }
    std::string path;
    std::string error;
    const int status = RunConversionJob(job, &path, &error);
    if (status != 0) {
        std::fprintf(stderr, "travex-convert: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
