// The job's files byte by byte, written out by hand: the job file, the framed ".plt" file,
// the ftp script; the host string's fields, the job title and the save dialog's name.
#include "plugin/output/job_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

TEST(HostStringSplit, FieldsInTheirOrder)
{
    struct Case {
        const char* host;
        const char* server;
        const char* folder;
        const char* user;
        const char* password;
        int16_t passive;
    } cases[] = {
        {"plotserver", "plotserver", "", "", "", 0},
        {"", "", "", "", "", 0},
        {"10.0.0.5:queue", "10.0.0.5", "queue", "", "", 0},
        {"srv:queue:plotter:secret:P", "srv", "queue", "plotter", "secret", 1},
        {"srv:queue:plotter:secret:Passive", "srv", "queue", "plotter", "secret", 1},
        {"srv:queue:plotter:secret:p", "srv", "queue", "plotter", "secret", 0},
        {"srv:queue:plotter:secret:A", "srv", "queue", "plotter", "secret", 0},
        {"srv::plotter:", "srv", "", "plotter", "", 0},
        {"srv:::", "srv", "", "", "", 0},
        {"srv:q:u:p:P:extra", "srv", "q", "u", "p", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        char szHost[128] = {};
        std::snprintf(szHost, sizeof szHost, "%s", c.host);
        HostString host = SplitHostString(szHost);
        EXPECT_EQ(host.server, c.server);
        EXPECT_EQ(host.folder, c.folder);
        EXPECT_EQ(host.user, c.user);
        EXPECT_EQ(host.password, c.password);
        EXPECT_EQ(host.fPassive, c.passive);
    }
}

TEST(HostStringSplit, ReadsNoFurtherThanTheField)
{
    char szHost[128];
    std::memset(szHost, 'h', sizeof szHost);  // no NUL in the field
    HostString host = SplitHostString(szHost);
    EXPECT_EQ(host.server, std::string(127, 'h'));
}

TEST(JobTitle, CutBeforeTheZoomAndToSixtyFourCharacters)
{
    std::string eighty(80, 'N');
    struct Case {
        const char* name;
        std::string windowTitle;
        std::string title;
    } cases[] = {
        {"zoom cut off", "Plan-A @ 50% (RGB/Preview)", "Plan-A"},
        {"with its extension", "drawing.svg @ 100% (RGB/Preview)", "drawing.svg"},
        {"a blank before <", "Plan B <2> @ 100% (RGB/Preview)", "Plan B"},
        {"blanks elsewhere stay", "Plan B  C", "Plan B  C"},
        {"@ without a blank stays", "a@b @ 100%", "a@b"},
        {"80 characters", eighty, std::string(64, 'N')},
        {"80 characters and the zoom", eighty + " @ 100% (RGB/Preview)", std::string(64, 'N')},
        {"empty", "", ""},
        {"a double-byte character at the cut stays whole", std::string(63, 'a') + "\x90\x7d", std::string(63, 'a')},
        {"double-byte characters", "\x90\x7d\x96\xca @ 100%", "\x90\x7d\x96\xca"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutJobTitle(c.windowTitle), c.title);
    }
}

TEST(SenderJobFile, TitleLineAndPlotWindowLine)
{
    PlotFrame frame{};
    frame.iXMin = 0;
    frame.iYMin = -20;
    frame.iXMax = 11880;
    frame.iYMax = 8400;
    EXPECT_EQ(MakeSenderJobFile("Plan-A", frame), "SUB:Plan-A\r\nBRC:0,-20,11880,8400\r\n");
    EXPECT_EQ(MakeSenderJobFile("", PlotFrame{}), "SUB:\r\nBRC:0,0,0,0\r\n");
}

TEST(PlotFile, PlotDataFramedByTheDeviceControlStartAndEnd)
{
    PlotFrame frame{};
    frame.iXMin = 10;
    frame.iYMin = 20;
    frame.iXMax = 4000;
    frame.iYMax = 3000;
    std::string body = std::string("IN;SP1;PU0,0;PD10,10;LBtext\x03", 28) + std::string("\0\xff\r\n", 4);
    EXPECT_EQ(MakePlotFile(body, frame), "\x1b.(IW10,20,4000,3000;" + body + "\x1b.)");
    EXPECT_EQ(MakePlotFile("", PlotFrame{}), "\x1b.(IW0,0,0,0;\x1b.)");
}

TEST(FtpScript, LoginBinaryPutQuit)
{
    struct Case {
        const char* host;
        const char* script;
    } cases[] = {
        {"srv:queue:plotter:secret:P",
         "plotter secret\r\nbin\r\nput \"/home/u/Documents/Adobe/Illustrator/pr1\"\r\nquit\r\n"},
        {"srv", "anonymous kelp\r\nbin\r\nput \"/home/u/Documents/Adobe/Illustrator/pr1\"\r\nquit\r\n"},
        {"srv::plotter:", "anonymous kelp\r\nbin\r\nput \"/home/u/Documents/Adobe/Illustrator/pr1\"\r\nquit\r\n"},
        {"srv:::secret", "anonymous kelp\r\nbin\r\nput \"/home/u/Documents/Adobe/Illustrator/pr1\"\r\nquit\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        char szHost[128] = {};
        std::snprintf(szHost, sizeof szHost, "%s", c.host);
        EXPECT_EQ(MakeFtpScript(SplitHostString(szHost), "/home/u/Documents/Adobe/Illustrator/pr1"), c.script);
    }
}

TEST(RemoteName, TheFolderOrThePrintQueue)
{
    char named[128] = "srv:plots/today";
    char bare[128] = "srv";
    EXPECT_EQ(RemotePlotFileName(SplitHostString(named)), "plots/today/TRAVEX-Pro.plt");
    EXPECT_EQ(RemotePlotFileName(SplitHostString(bare)), "/lp/TRAVEX-Pro.plt");
}

TEST(SaveDialogName, FromTheDocumentsFile)
{
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"/home/u/a.b.ai", "a.b.plt"},      {"/home/u/.ai", ".ai.plt"},       {"/home/u/Plan-A.svg", "Plan-A.plt"},
        {"/home/u.d/Plan-A", "Plan-A.plt"}, {"relative.svg", "relative.plt"}, {"", "UNTITLED.plt"},
        {"/home/u/", "UNTITLED.plt"},       {"/home/u/図面.svg", "図面.plt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DefaultPlotFileName(c.path), c.name);
    }
}

}  // namespace
