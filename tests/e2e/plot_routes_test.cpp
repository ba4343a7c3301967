// Every route of a job that opens no port, through the real travex-host and TRAVEX-Pro.aip
// with the route set in the settings file as the configuration program sets it: the ".plt"
// file named in the save dialog, the upload through the internet functions and by the ftp
// program to a pyftpdlib server on 127.0.0.1, the job sender streaming to a TCP listener
// on 127.0.0.1; their failures, debug mode, a write cut short, a cancel.
#include "tests/e2e/plot_run.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/ftp_test_server.h"
#include "tests/support/sender_stream.h"
#include "tests/support/tcp_test_listener.h"

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr int16_t kSerialPort = 0;
constexpr int16_t kInternetFunctions = -1;
constexpr int16_t kFtpProgramFirst = -2;
constexpr int16_t kFtpProgramSecond = -3;
constexpr int16_t kSender = -4;

// A drawing of 100 by 100 points (one user unit a point, artwork v = 100 - y): the layer
// "Outline" with a rectangle, the layer "Mark" with a line, then the layers of more.
std::string WritePlanDrawing(const std::string& folder, const std::string& name, const std::string& more = "")
{
    std::string path = folder + "/" + name;
    WriteBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"100pt\" "
                     "viewBox=\"0 0 100 100\">\n"
                     "  <g id=\"Outline\"><rect x=\"10\" y=\"10\" width=\"30\" height=\"20\" fill=\"none\" "
                     "stroke=\"#000\"/></g>\n"
                     "  <g id=\"Mark\"><line x1=\"50\" y1=\"50\" x2=\"80\" y2=\"50\" stroke=\"#000\"/></g>\n" +
                         more + "</svg>\n");
    return path;
}

// The plot data of the drawing with "Outline" on pen 2 and "Mark" on pen 1, worked out from
// the rules with the shipped settings on an A5 portrait page at 100 %, no plot area placed:
// 40 units a millimetre, the origin at the paper's centre. The page is 148 x 210 mm, so
// Wu = 5920 and Hu = 8400 units; the frame runs from (-Hu/2, -Wu/2) to (Hu/2, Wu/2). A point
// (h, v) becomes X = u(v) - 4200, Y = 2960 - u(h), with u(c) = trunc(c * 25.4 / 72 * 40 + 0.5):
// u(10) = 141, u(40) = 564, u(50) = 706, u(70) = 988, u(80) = 1129, u(90) = 1270.
// Pens go in slot order: the line (50,50)-(80,50) first, then the rectangle from its first
// corner (10,90) round and closed; the page ends with the footer "PG;" and "SP;".
const std::string kPlotData = "SP1;PU-3494,2254;PD-3494,1831;"
                              "SP2;PU-2930,2819;PD-2930,2396;PD-3212,2396;PD-3212,2819;PD-2930,2819;"
                              "PG;SP;";
const std::string kPlotWindow = "IW-4200,-2960,4200,2960;";
const std::string kPlotFile = "\x1b.(" + kPlotWindow + kPlotData + "\x1b.)";
const std::vector<std::string> kPlanLayers = {"--layer", "Outline=2", "--layer", "Mark=1"};

std::string JobFile(const std::string& title) { return "SUB:" + title + "\r\nBRC:-4200,-2960,4200,2960\r\n"; }

// The files of a folder, by name.
std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PlotRoutesTest : public PlotRunTest {
protected:
    static void SetUpTestSuite()
    {
        server = StartRouteFtpServer("plot-routes-ftp");
        ASSERT_NE(server->port, 0) << server->Log();
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        PlotRunTest::SetUp();
        SetPages(1, 1);
        drawing = WritePlanDrawing(folder, "Plan-A.svg");
    }

    // The route as the configuration program stores it, with the installed sender's
    // address: a fresh listener of the test, since a run that must not connect ends the
    // wait for a connection by shutting the listener down.
    void SetRoute(int16_t port, const std::string& host = "127.0.0.1", int16_t debug = 0)
    {
        listener.Close();
        ASSERT_TRUE(listener.Open());
        EditPlotSettings([&](PlotSettings& s) {
            s.wPort = port;
            std::snprintf(s.szHost, sizeof s.szHost, "%s", host.c_str());
            s.iTcpPort = listener.port;
            s.fDebugMode = debug;
        });
    }


    std::vector<std::string> Environment(const std::string& ftpPort = "") const
    {
        return With(Ports(),
                    {std::string("TRAVEX_FTP_PORT=") + (ftpPort.empty() ? std::to_string(server->port) : ftpPort)});
    }

    // The plot of the drawing with the layers on their pens, and more options.
    HostRun PlotPlan(const std::vector<std::string>& more = {}, const std::string& ftpPort = "")
    {
        std::vector<std::string> options = kPlanLayers;
        options.insert(options.end(), more.begin(), more.end());
        return Plot(drawing, options, Environment(ftpPort));
    }

    // What a plot did on every route at once: the host's run, the sender's stream at the
    // listener, the commands the FTP server received.
    struct RouteRun {
        HostRun host;
        std::string stream;
        bool fConnected = false;
        std::string ftpCommands;
    };

    // The plot with the options, "Output to file" into target when asked; a sender that
    // should connect is waited for, any other connection would be seen as one.
    RouteRun PlotOnRoutes(bool toFile, const std::string& target, std::vector<std::string> options,
                          const std::vector<std::string>& env, bool senderConnects = false)
    {
        if (toFile)
            options.insert(options.end(), {"--to-file", target});
        const size_t logSize = server->Log().size();
        ReceivedStream received;
        received.Start(listener);
        RouteRun run;
        run.host = Plot(drawing, options, env);
        run.stream = received.Take(listener, senderConnects);
        run.fConnected = received.fConnected;
        run.ftpCommands = server->CommandsSince(logSize);
        return run;
    }

    static FtpTestServer* server;
    TcpTestListener listener;
    std::string drawing;
};

FtpTestServer* PlotRoutesTest::server = nullptr;

// The routes that open no port, each once.
struct Route {
    const char* name;
    int16_t port;
    bool toFile;
};
const Route kEveryRoute[] = {
    {"to a file", kSerialPort, true},
    {"internet functions", kInternetFunctions, false},
    {"ftp program", kFtpProgramFirst, false},
    {"sender", kSender, false},
};

TEST_F(PlotRoutesTest, EveryRouteDeliversExactlyThePlotFile)
{
    const std::string anonymous = server->anonymousRoot;
    const std::string user = server->userRoot;
    const std::string chosen = folder + "/chosen.plt";
    enum Passive { kNoFtp, kActive, kPassive };
    struct Case {
        const char* name;
        int16_t port;
        const char* host;
        bool toFile;
        std::string arrived;  // empty: the sender's stream
        Passive mode;
    } cases[] = {
        {"to a file", kSerialPort, "127.0.0.1", true, chosen, kNoFtp},
        {"to a file before the internet functions", kInternetFunctions, "127.0.0.1", true, chosen, kNoFtp},
        {"to a file before the ftp program", kFtpProgramFirst, "127.0.0.1", true, chosen, kNoFtp},
        {"to a file before the sender", kSender, "127.0.0.1", true, chosen, kNoFtp},
        {"internet functions, anonymous", kInternetFunctions, "127.0.0.1", false, anonymous + "/lp/TRAVEX-Pro.plt",
         kActive},
        {"internet functions, anonymous, passive", kInternetFunctions, "127.0.0.1::::P", false,
         anonymous + "/lp/TRAVEX-Pro.plt", kPassive},
        {"internet functions, user", kInternetFunctions, "127.0.0.1:queue:plotter:secret", false,
         user + "/queue/TRAVEX-Pro.plt", kActive},
        {"internet functions, user, passive", kInternetFunctions, "127.0.0.1:queue:plotter:secret:P", false,
         user + "/queue/TRAVEX-Pro.plt", kPassive},
        {"ftp program, anonymous", kFtpProgramFirst, "127.0.0.1", false, anonymous + "/pr1", kActive},
        // the ftp program works in active mode whatever the fifth field asks
        {"ftp program, user, passive asked", kFtpProgramSecond, "127.0.0.1:queue:plotter:secret:P", false,
         user + "/pr2", kActive},
        {"ftp program, user", kFtpProgramFirst, "127.0.0.1::plotter:secret", false, user + "/pr1", kActive},
        {"sender", kSender, "127.0.0.1", false, "", kNoFtp},
    };
    InstallIntoSettingsFolder("TRVXSender");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.arrived.empty())
            std::remove(c.arrived.c_str());
        fs::remove(SettingsFolder() + "/TRAVEX-Pro.sdr");
        SetRoute(c.port, c.host);
        const bool sender = c.arrived.empty();
        RouteRun run = PlotOnRoutes(c.toFile, chosen, kPlanLayers, Environment(), sender);
        EXPECT_EQ(run.host.exitStatus, 0) << run.host.err << run.ftpCommands;
        EXPECT_EQ(run.host.alerts, "");
        EXPECT_EQ(ReadBytes(PlotDataPath()), kPlotData);
        EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.sdr"), JobFile("Plan-A.svg"));

        if (sender)
            EXPECT_EQ(run.stream, SenderStream(JobFile("Plan-A.svg"), kPlotData));
        else
            EXPECT_EQ(ReadBytes(c.arrived), kPlotFile);
        EXPECT_EQ(run.fConnected, sender) << "the sender runs on its route only";

        const std::string& commands = run.ftpCommands;
        EXPECT_EQ(commands.find("STOR ") != std::string::npos, c.mode != kNoFtp) << commands;
        if (c.mode != kNoFtp) {
            EXPECT_TRUE(FtpTestServer::UsedBinary(commands)) << commands;
            EXPECT_EQ(FtpTestServer::UsedPassive(commands), c.mode == kPassive) << commands;
            EXPECT_EQ(FtpTestServer::UsedActive(commands), c.mode == kActive) << commands;
        }
    }
    plotter.WaitUntilQuiet(100);
    EXPECT_EQ(plotter.Received(), "") << "no port opened";
}

// A cutter's work is framed when frame cutting is on: the frame, the work's bounds widened
// by the frame-cut margins (millimetres on paper), comes after the work it encloses.
TEST_F(PlotRoutesTest, ACuttersFrameFollowsItsWorkInThePlotFile)
{
    drawing = WritePlanDrawing(folder, "Plan-A.svg",
                               "  <g id=\"Cut\"><rect x=\"60\" y=\"70\" width=\"20\" height=\"10\" fill=\"none\" "
                               "stroke=\"#000\"/></g>\n");
    EditPlotSettings([](PlotSettings& s) {
        s.fFrameCut = 1;  // with the shipped frame tool, slot 8, and margins of 5 mm
        s.fOverlap = 0;   // one shape: nothing to unite
    });
    const std::string target = folder + "/framed.plt";
    HostRun run = PlotPlan({"--layer", "Cut=8", "--to-file", target});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    // The cut rectangle from (60,30) in artwork points: u(20) = 282, u(30) = 423, u(60) = 847,
    // u(80) = 1129. Its frame lies the margins of 5 mm on paper outside it: 200 units on every
    // side at 100 %. Both on pen 8, the frame last.
    const std::string cutter = "SP8;PU-3777,2113;PD-3777,1831;PD-3918,1831;PD-3918,2113;PD-3777,2113;"
                               "PU-3577,2313;PD-3577,1631;PD-4118,1631;PD-4118,2313;PD-3577,2313;";
    const std::string pens = kPlotData.substr(0, kPlotData.size() - 6);  // before "PG;SP;"
    EXPECT_EQ(ReadBytes(target), "\x1b.(" + kPlotWindow + pens + cutter + "PG;SP;\x1b.)");
}

TEST_F(PlotRoutesTest, TheSaveDialogOffersTheDocumentsNameWithOneFilterAndTheOverwritePrompt)
{
    struct Case {
        const char* drawing;
        const char* offered;
    } cases[] = {
        {"Plan-A.svg", "Plan-A.plt"},
        {"a.b.svg", "a.b.plt"},
        {".ai", ".ai.plt"},  // a full stop at the start stays
        {"Plan-A", "Plan-A.plt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drawing);
        drawing = WritePlanDrawing(folder, c.drawing);
        const std::string target = folder + "/saved.plt";
        WriteBytes(target, "an older plot file");
        HostRun run = PlotPlan({"--to-file", target, "dialogs"});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(ReadBytes(target), kPlotFile) << "replaced";
        const size_t at = run.out.find("dialog 0 ");
        ASSERT_NE(at, std::string::npos) << run.out;
        EXPECT_NE(run.out.find("  filter \"*.plt\"\n  file name \"" + std::string(c.offered) +
                                   "\"\n  asks before replacing a file\n",
                               at),
                  std::string::npos)
            << run.out.substr(at);
        EXPECT_EQ(LinesStartingWith(run.out.substr(at), "  filter ").size(), 1u) << "one filter";
    }
}

TEST_F(PlotRoutesTest, TheJobFileNamesTheJobByTheDocumentWindowsTitle)
{
    // the window shows "Plan-A @ 50% (RGB/Preview)"
    drawing = WritePlanDrawing(folder, "Plan-A");
    HostRun run = RunTravexHost(folder,
                                {drawing, "view 0,0 0.5", "plot", "--layer", "Outline=2", "--layer", "Mark=1",
                                 "--to-file", folder + "/Plan-A.plt"},
                                Environment());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.sdr"), JobFile("Plan-A"));
    EXPECT_EQ(ReadBytes(folder + "/Plan-A.plt"), kPlotFile);
}

TEST_F(PlotRoutesTest, ATransferThatFailsEndsTheRunWithItsReason)
{
    const std::string absent = std::to_string(UnusedLoopbackPort());
    struct Case {
        const char* name;
        int16_t port;
        const char* host;
        bool installSender;
        std::string ftpPort;  // empty: the test server's
        std::string reason;
        const char* alert;
    } cases[] = {
        {"refused login, internet functions", kInternetFunctions, "127.0.0.1:queue:plotter:wrong", false, "",
         "plot: FTP transfer failed: the FTP server refused the login", "Error=46545021"},
        {"refused login, ftp program", kFtpProgramFirst, "127.0.0.1:queue:plotter:wrong", false, "",
         "plot: FTP transfer failed: the FTP server refused the login", "Error=46545021"},
        {"no server, internet functions", kInternetFunctions, "127.0.0.1", false, absent,
         "plot: FTP transfer failed: no connection to the FTP server", "Error=46545021"},
        {"no server, ftp program", kFtpProgramSecond, "127.0.0.1", false, absent,
         "plot: FTP transfer failed: no connection to the FTP server", "Error=46545021"},
        {"no sender installed", kSender, "127.0.0.1", false, "",
         "plot: Job sending failed: " + SettingsFolder() + "/TRVXSender: ", "Error=534e4452"},
        {"a sender that cannot connect", kSender, "127.0.0.1", true, "",
         "plot: Job sending failed: TRVXSender exit code 1: ", "Error=534e4452"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(SettingsFolder() + "/TRVXSender");
        if (c.installSender)
            InstallIntoSettingsFolder("TRVXSender");
        SetRoute(c.port, c.host);
        if (c.installSender)  // nothing listens where it connects
            EditPlotSettings([](PlotSettings& s) { s.iTcpPort = UnusedLoopbackPort(); });
        HostRun run = PlotPlan({}, c.ftpPort);
        EXPECT_EQ(run.exitStatus, 3);
        EXPECT_NE(run.err.find("travex-host: " + c.reason), std::string::npos) << run.err;
        EXPECT_NE(run.alerts.find(c.alert), std::string::npos) << run.alerts;
    }
}

TEST_F(PlotRoutesTest, DebugModeWritesNothingOnAnyRoute)
{
    InstallIntoSettingsFolder("TRVXSender");
    const std::string target = folder + "/debug.plt";
    for (const Route& route : kEveryRoute) {
        SCOPED_TRACE(route.name);
        SetRoute(route.port, "127.0.0.1", 1);
        RouteRun run = PlotOnRoutes(route.toFile, target, kPlanLayers, Environment());
        EXPECT_EQ(run.host.exitStatus, 0) << run.host.err;
        EXPECT_FALSE(run.fConnected);
        EXPECT_EQ(run.ftpCommands, "");
        EXPECT_EQ(ReadBytes(PlotDataPath()), kPlotData) << "converted all the same";
        EXPECT_FALSE(fs::exists(target));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.sdr"));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.plt"));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/pr1"));
    }
}

TEST_F(PlotRoutesTest, APlotFileWriteCutShortLeavesTheOlderFileWhole)
{
    // The plot data of many dots fits under the limit; the ".plt", 28 bytes longer, does not.
    drawing = WriteDotsDrawing(folder, 400);
    SetRoute(kSerialPort);
    const std::string saveFolder = MakeTestFolder("cut-short-save");
    const std::string target = saveFolder + "/dots.plt";
    HostRun whole = Plot(drawing, {"--layer", "Dots=1", "--to-file", target}, Environment());
    ASSERT_EQ(whole.exitStatus, 0) << whole.err;
    const size_t plotDataSize = ReadBytes(PlotDataPath()).size();
    ASSERT_GT(plotDataSize, 20000u) << "larger than the settings file";
    ASSERT_LT(ReadBytes(drawing).size() + 4096, plotDataSize) << "the drawing with its record fits under the limit";

    const std::string older = "an older plot file that must survive a failed save";
    WriteBytes(target, older);
    HostProcess process;
    {
        FileSizeLimit limit(plotDataSize + 10);
        process = StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1", "--to-file", target}, Environment());
    }
    HostRun run = WaitTravexHost(process);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(ReadBytes(PlotDataPath()).size(), plotDataSize) << "the plot data was whole";
    EXPECT_NE(run.err.find("plot: Unable to write the plot file: " + target + ": File too large"), std::string::npos)
        << run.err;
    EXPECT_NE(run.alerts.find("Error=504c5457"), std::string::npos) << run.alerts;
    EXPECT_EQ(ReadBytes(target), older);
    EXPECT_EQ(FolderNames(saveFolder), std::vector<std::string>{"dots.plt"}) << "nothing left beside it";
}

TEST_F(PlotRoutesTest, PlotDataOnAFullDiskIsSentNowhere)
{
    InstallIntoSettingsFolder("TRVXSender");
    const std::string target = folder + "/full.plt";
    for (const Route& route : kEveryRoute) {
        SCOPED_TRACE(route.name);
        SetRoute(route.port);
        fs::remove(PlotDataPath());
        fs::create_symlink("/dev/full", PlotDataPath());
        RouteRun run = PlotOnRoutes(route.toFile, target, kPlanLayers, Environment());
        EXPECT_EQ(run.host.exitStatus, 3);
        EXPECT_NE(run.host.err.find("plot: Unable to open the plotter file [112]"), std::string::npos) << run.host.err;
        EXPECT_NE(run.host.alerts.find("FILE"), std::string::npos) << run.host.alerts;
        EXPECT_FALSE(run.fConnected);
        EXPECT_EQ(run.ftpCommands, "");
        EXPECT_FALSE(fs::exists(target));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.plt"));
    }
}

TEST_F(PlotRoutesTest, ACancelBeforeTheConversionSendsNothing)
{
    // an earlier run's plot data, which is no part of this job
    const std::string earlier = "SP1;PU0,0;PD100,100;PG;SP;";
    InstallIntoSettingsFolder("TRVXSender");
    const std::string target = folder + "/cancelled.plt";
    for (const Route& route : kEveryRoute) {
        SCOPED_TRACE(route.name);
        SetRoute(route.port);
        WriteBytes(PlotDataPath(), earlier);
        fs::remove(SettingsFolder() + "/TRAVEX-Pro.sdr");
        // the second cancel check comes after the send machine's first step
        RouteRun run =
            PlotOnRoutes(route.toFile, target, kPlanLayers, With(Environment(), {"TRAVEX_HOST_CANCEL_AFTER=1"}));
        EXPECT_EQ(run.host.exitStatus, 1);
        EXPECT_NE(run.host.err.find("travex-host: plot: cancelled"), std::string::npos) << run.host.err;
        EXPECT_EQ(run.host.alerts, "");
        EXPECT_FALSE(run.fConnected);
        EXPECT_EQ(run.ftpCommands, "");
        EXPECT_FALSE(fs::exists(target));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.sdr"));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.plt"));
        EXPECT_EQ(ReadBytes(PlotDataPath()), earlier) << "not converted";
    }
}

TEST_F(PlotRoutesTest, ACancelDuringTheConversionSendsWhatWasConverted)
{
    drawing = WriteDotsDrawing(folder, 400);
    const std::vector<std::string> dots = {"--layer", "Dots=1"};
    const std::string target = folder + "/dots.plt";
    SetRoute(kSerialPort);
    HostRun whole = Plot(drawing, {"--layer", "Dots=1", "--to-file", target}, Environment());
    ASSERT_EQ(whole.exitStatus, 0) << whole.err;
    const std::string wholeData = ReadBytes(PlotDataPath());

    InstallIntoSettingsFolder("TRVXSender");
    for (const Route& route : {kEveryRoute[0], kEveryRoute[3]}) {
        SCOPED_TRACE(route.name);
        SetRoute(route.port);
        std::remove(target.c_str());
        // the cancel checks of the collection and the sort come first: at the 801st the
        // emission of the dots is under way
        RouteRun run = PlotOnRoutes(route.toFile, target, dots, With(Environment(), {"TRAVEX_HOST_CANCEL_AFTER=800"}),
                                    !route.toFile);
        EXPECT_EQ(run.host.exitStatus, 1);
        EXPECT_NE(run.host.err.find("travex-host: plot: cancelled"), std::string::npos) << run.host.err;
        const std::string partial = ReadBytes(PlotDataPath());
        EXPECT_LT(partial.size(), wholeData.size());
        EXPECT_EQ(partial.compare(0, 4, "SP1;"), 0) << partial.substr(0, 40);
        ASSERT_GE(partial.size(), 6u);
        EXPECT_EQ(partial.substr(partial.size() - 6), "PG;SP;") << "the page is closed";
        if (route.toFile)
            EXPECT_EQ(ReadBytes(target), "\x1b.(" + kPlotWindow + partial + "\x1b.)");
        else
            EXPECT_EQ(run.stream, SenderStream(JobFile("dots.svg"), partial));
    }
}

}  // namespace
