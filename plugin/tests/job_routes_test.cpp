// The routes that open no port, run in the test process as the output job runs them once
// the send machine has converted the pages: the job file with the document window's title,
// the ".plt" file named in the save dialog (answered by the UI robot), both FTP routes
// against a pyftpdlib server on 127.0.0.1, and the real TRVXSender, started from the
// settings folder, streaming to a TCP listener on 127.0.0.1.
#include "plugin/output/job_routes.h"

#include "host/suites/context_suite.h"
#include "host/suites/file_path_suite.h"
#include "host/view/document_view_suite.h"
#include "platform/ftp_shared.h"
#include "platform/ui/dialog_runner.h"
#include "platform/ui/ui_robot.h"
#include "plugin/output/route_failures.h"
#include "plugin/settings/settings_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/ftp_test_server.h"
#include "tests/support/plugin_on_host.h"
#include "tests/support/sender_stream.h"
#include "tests/support/tcp_test_listener.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int16_t kSerialPort = 0;
constexpr int16_t kInternetFunctions = -1;
constexpr int16_t kFtpProgramFirst = -2;
constexpr int16_t kFtpProgramSecond = -3;
constexpr int16_t kSender = -4;

const PlotFrame kFrame = {-40, 0, 16000, 11000};  // iYMin, iXMin, iXMax, iYMax
const char kFramedStart[] = "\x1b.(IW0,-40,16000,11000;";

// Plot data with the bytes a text transfer or a careless copy would change.
std::string PlotData(int seed)
{
    std::string data = "IN;SP" + std::to_string(seed) + ";PU0,0;PD400,0,400,400;LBlabel\x03";
    for (int round = 0; round < 40; ++round)
        for (int b = 0; b < 256; ++b)
            data += static_cast<char>((b + round + seed) & 0xFF);
    return data + "\r\n\n\rSP0;";
}

std::string Framed(const std::string& plotData) { return kFramedStart + plotData + "\x1b.)"; }

std::string SettingsFolder() { return TestHome() + "/Documents/Adobe/Illustrator"; }

class JobRouteTest : public onhost::PluginOnHost {
protected:
    static void SetUpTestSuite()
    {
        server = StartRouteFtpServer("job-route-ftp");
        ASSERT_NE(server->port, 0) << server->Log();
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        PluginOnHost::SetUp();
        ResetTestHome();
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(5000);
        onhost::BindSuites();
        sAIDocument = host::HostDocumentSuite();
        sAIDocumentView = HostDocumentViewSuite();
        sAIContext = host::HostContextSuite();
        sAIFilePath = host::HostFilePathSuite();
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(0);
        ResetHostView();
        g->pPlotSettings = &settings_;
        g->iLanguage = 1;
        g->conversion.plotFrame = kFrame;
        setenv(kFtpPortVariable, std::to_string(server->port).c_str(), 1);
        Load(onhost::Drawing("<g id=\"Layer 1\"><path id=\"p\" d=\"M 10 10 L 100 10\"/></g>"), "Plan-A");
    }
    void TearDown() override
    {
        unsetenv(kFtpPortVariable);
        host::SetCancelAfterChecks(0);
        ResetHostView();
        sAIDocument = nullptr;
        sAIDocumentView = nullptr;
        sAIContext = nullptr;
        sAIFilePath = nullptr;
        sAIUser = nullptr;
        ResetUiRobot();
        PluginOnHost::TearDown();
    }

    // The settings, the send machine's flags and the plot data file as the output job
    // leaves them after the conversion of a run that opens no port.
    void PrepareRun(int16_t port, int16_t saveToFile, const std::string& plotData, const char* host = "127.0.0.1")
    {
        settings_.wPort = port;
        std::snprintf(settings_.szHost, sizeof settings_.szHost, "%s", host);
        SendMachine& m = g->sendMachine;
        m.fPreview = settings_.fDebugMode != 0;
        m.fNetwork = port < 0;
        m.fSaveToFile = saveToFile;
        m.fNoPort = m.fPreview || m.fNetwork || m.fSaveToFile;
        WriteBytes(SettingsFolder() + "/TRAVEX-Pro.tmp", plotData);
    }

    // The document's file, and the view's zoom the window title shows.
    void NameDocument(const std::string& fileName, double zoom = 1.0)
    {
        doc_->fileName = fileName.empty() ? "" : drawingPath_.substr(0, drawingPath_.rfind('/') + 1) + fileName;
        SetHostViewZoom(zoom);
    }

    static std::string LastProgressText()
    {
        std::vector<std::string> texts = host::HostProgressTexts();
        return texts.empty() ? "" : texts.back();
    }

    // The installed sender and the settings file it reads: version 302, the listener's
    // address and port.
    void InstallSender(int32_t port)
    {
        fs::create_directories(SettingsFolder());
        std::string installed = SettingsFolder() + "/TRVXSender";
        fs::copy_file(std::string(TRAVEX_BINARY_DIR) + "/bin/TRVXSender", installed,
                      fs::copy_options::overwrite_existing);
        fs::permissions(installed, fs::perms::owner_all);
        PlotSettings block = settings_;
        std::snprintf(block.szHost, sizeof block.szHost, "127.0.0.1");
        block.iTcpPort = port;
        int fd = open((SettingsFolder() + "/TRAVEX2K.INI").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(InitSettingsFile(fd), 0);
        ASSERT_EQ(WriteFileBlock(fd, 2, &block, sizeof block), int(sizeof block));
        close(fd);
    }

    static FtpTestServer* server;
};

FtpTestServer* JobRouteTest::server = nullptr;

TEST_F(JobRouteTest, TheJobFileCarriesTheDocumentWindowsTitleAndThePlotWindow)
{
    struct Case {
        const char* name;
        std::string fileName;
        double zoom;
        std::string title;
    } cases[] = {
        {"the zoom is cut off", "Plan-A", 0.5, "Plan-A"},
        {"the extension stays", "Plan-A.svg", 1.0, "Plan-A.svg"},
        {"80 characters give their first 64", std::string(80, 'N'), 1.0, std::string(64, 'N')},
        {"a blank before <", "Plan B <2>.svg", 2.0, "Plan B"},
        {"a document never saved", "", 1.0, "Untitled-1"},
        {"a japanese name in code page 932", "図面.svg", 1.0, "\x90\x7d\x96\xca.svg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NameDocument(c.fileName, c.zoom);
        PrepareRun(kSerialPort, 1, PlotData(1));
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript("cancel"));
        EXPECT_EQ(RunJobRoute(), kNoErr);
        EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.sdr"), "SUB:" + c.title + "\r\nBRC:0,-40,16000,11000\r\n");
    }
}

TEST_F(JobRouteTest, TheSaveDialogNamesThePlotFileAfterTheDocument)
{
    struct Case {
        const char* name;
        std::string documentFile;
        std::string offered;
    } cases[] = {
        {"two full stops", "a.b.ai", "a.b.plt"},
        {"a full stop at the start", ".ai", ".ai.plt"},
        {"no file", "", "UNTITLED.plt"},
        {"an svg drawing", "Plan-A.svg", "Plan-A.plt"},
    };
    std::string folder = MakeTestFolder("save-as");
    int seed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NameDocument(c.documentFile);
        std::string data = PlotData(++seed);
        PrepareRun(kSerialPort, 1, data);
        std::string target = folder + "/" + c.offered;
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript("save " + target));
        EXPECT_EQ(RunJobRoute(), kNoErr) << LastProgressText();
        EXPECT_EQ(ReadBytes(target), Framed(data));
        std::vector<UiShownDialog> dialogs = UiRobotShownDialogs();
        ASSERT_EQ(dialogs.size(), 1u);
        const UiShownDialog& shown = dialogs[0];
        EXPECT_EQ(shown.dialogId, 0);
        EXPECT_EQ(shown.fileFilters, std::vector<std::string>{"*.plt"});
        EXPECT_EQ(shown.fileName, c.offered);
        EXPECT_TRUE(shown.fPromptOverwrite);
        EXPECT_EQ(FinishUiRobot(), 0);
        EXPECT_EQ(host::HostFilePathsHeld(), 0);  // the file-path handle went back to the host
    }
}

TEST_F(JobRouteTest, SavingOverAFileReplacesItWholeOrLeavesItAsItWas)
{
    std::string folder = MakeTestFolder("save-over");
    std::string target = folder + "/Plan-A.plt";
    std::string old = "an older plot file that must survive a failed save";
    WriteBytes(target, old);
    chmod(target.c_str(), 0640);

    // A write that fails part-way (the file size limit) leaves the old file untouched.
    std::string large = PlotData(2) + std::string(200000, 'Z');
    PrepareRun(kSerialPort, 1, large);
    ASSERT_TRUE(SetUiRobotScript("save " + target));
    ASErr status = kNoErr;
    {
        FileSizeLimit limit(65536);
        status = RunJobRoute();
    }
    EXPECT_EQ(status, kPlotFileWriteErr);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_NE(LastProgressText().find("Unable to write the plot file: " + target + ": File too large"),
              std::string::npos)
        << LastProgressText();
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        entries += entry.path() == target ? 1 : 100;
    EXPECT_EQ(entries, 1);  // no fresh file left beside it

    // A save that succeeds replaces the bytes and keeps the file's permissions.
    std::string data = PlotData(3);
    PrepareRun(kSerialPort, 1, data);
    ResetUiRobot();
    ASSERT_TRUE(SetUiRobotScript("save " + target));
    EXPECT_EQ(RunJobRoute(), kNoErr);
    EXPECT_EQ(ReadBytes(target), Framed(data));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(JobRouteTest, TheInternetFunctionsUploadExactlyThePlotFile)
{
    struct Case {
        const char* host;
        std::string arrived;
        bool passive;
    } cases[] = {
        {"127.0.0.1", server->anonymousRoot + "/lp/TRAVEX-Pro.plt", false},
        {"127.0.0.1::::P", server->anonymousRoot + "/lp/TRAVEX-Pro.plt", true},
        {"127.0.0.1:queue:plotter:secret", server->userRoot + "/queue/TRAVEX-Pro.plt", false},
        {"127.0.0.1:queue:plotter:secret:P", server->userRoot + "/queue/TRAVEX-Pro.plt", true},
        {"127.0.0.1:/queue:plotter:secret:Passive", server->userRoot + "/queue/TRAVEX-Pro.plt", true},
    };
    int seed = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        std::remove(c.arrived.c_str());
        std::string data = PlotData(++seed);
        PrepareRun(kInternetFunctions, 0, data, c.host);
        size_t logSize = server->Log().size();
        ASSERT_EQ(RunJobRoute(), kNoErr) << LastProgressText() << "\n" << server->Log();
        EXPECT_EQ(ReadBytes(c.arrived), Framed(data));
        EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.plt"), Framed(data));
        std::string commands = server->CommandsSince(logSize);
        EXPECT_TRUE(FtpTestServer::UsedBinary(commands)) << commands;
        EXPECT_EQ(FtpTestServer::UsedPassive(commands), c.passive) << commands;
        EXPECT_EQ(FtpTestServer::UsedActive(commands), !c.passive) << commands;
    }
}

TEST_F(JobRouteTest, TheFtpProgramPutsTheQueueFileWithItsScript)
{
    std::string folder = SettingsFolder();
    struct Case {
        int16_t port;
        const char* host;
        const char* queue;
        std::string arrived;
        std::string login;
    } cases[] = {
        {kFtpProgramFirst, "127.0.0.1", "pr1", server->anonymousRoot + "/pr1", "anonymous kelp"},
        {kFtpProgramSecond, "127.0.0.1", "pr2", server->anonymousRoot + "/pr2", "anonymous kelp"},
        // the fifth field asks for passive mode, which the ftp program does not take
        {kFtpProgramFirst, "127.0.0.1:queue:plotter:secret:P", "pr1", server->userRoot + "/pr1", "plotter secret"},
        {kFtpProgramSecond, "127.0.0.1::plotter:secret", "pr2", server->userRoot + "/pr2", "plotter secret"},
    };
    int seed = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.host) + " " + c.queue);
        std::remove(c.arrived.c_str());
        std::string data = PlotData(++seed);
        PrepareRun(c.port, 0, data, c.host);
        size_t logSize = server->Log().size();
        ASSERT_EQ(RunJobRoute(), kNoErr) << LastProgressText() << "\n" << server->Log();
        EXPECT_EQ(ReadBytes(c.arrived), Framed(data));
        EXPECT_EQ(ReadBytes(folder + "/" + c.queue), Framed(data));
        EXPECT_FALSE(fs::exists(folder + "/TRAVEX-Pro.plt"));
        EXPECT_EQ(ReadBytes(folder + "/TRVXSender.mcr"),
                  c.login + "\r\nbin\r\nput \"" + folder + "/" + c.queue + "\"\r\nquit\r\n");
        std::string commands = server->CommandsSince(logSize);
        EXPECT_TRUE(FtpTestServer::UsedBinary(commands)) << commands;
        EXPECT_TRUE(FtpTestServer::UsedActive(commands)) << commands;
        EXPECT_FALSE(FtpTestServer::UsedPassive(commands)) << commands;
    }
}

TEST_F(JobRouteTest, AnFtpTransferThatFailsIsReportedNotPassedOff)
{
    std::string absent = std::to_string(UnusedLoopbackPort());
    struct Case {
        const char* name;
        int16_t port;
        const char* host;
        const char* portSetting;  // null: the test server's
        const char* reason;
    } cases[] = {
        {"refused login, internet functions", kInternetFunctions, "127.0.0.1:queue:plotter:wrong", nullptr,
         "FTP transfer failed: the FTP server refused the login"},
        {"refused login, ftp program", kFtpProgramFirst, "127.0.0.1:queue:plotter:wrong", nullptr,
         "FTP transfer failed: the FTP server refused the login"},
        {"no server, internet functions", kInternetFunctions, "127.0.0.1", absent.c_str(),
         "FTP transfer failed: no connection to the FTP server"},
        {"no server, ftp program", kFtpProgramSecond, "127.0.0.1", absent.c_str(),
         "FTP transfer failed: no connection to the FTP server"},
        {"no such folder on the server", kInternetFunctions, "127.0.0.1:missing/folder", nullptr,
         "FTP transfer failed: the upload failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.portSetting)
            setenv(kFtpPortVariable, c.portSetting, 1);
        else
            setenv(kFtpPortVariable, std::to_string(server->port).c_str(), 1);
        host::ClearHostUserRecords();
        PrepareRun(c.port, 0, PlotData(30), c.host);
        EXPECT_EQ(RunJobRoute(), kFtpTransferErr);
        EXPECT_EQ(LastProgressText().rfind(c.reason, 0), 0u) << LastProgressText();
        EXPECT_EQ(std::string(g->sendMachine.szShownText).rfind(c.reason, 0), 0u);
    }

    // the Japanese text carries the same reason
    setenv(kFtpPortVariable, absent.c_str(), 1);
    g->iLanguage = 0;
    PrepareRun(kInternetFunctions, 0, PlotData(31));
    EXPECT_EQ(RunJobRoute(), kFtpTransferErr);
    EXPECT_EQ(LastProgressText().rfind("FTP転送に失敗しました: no connection to the FTP server", 0), 0u)
        << LastProgressText();
}

TEST_F(JobRouteTest, TheSenderStreamsTheJobFileAndThePlotData)
{
    std::string data41 = std::string("IN;SP1;PU0,0;PD400,0,400,400;\n\xff\x0a", 33) + std::string("\0PG;xyzz", 8);
    ASSERT_EQ(data41.size(), 41u);
    struct Case {
        const char* name;
        std::string data;
    } cases[] = {
        {"41 bytes: a line of 80 digits and one of 2", data41},
        {"no plot data", ""},
        {"many lines", PlotData(40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TcpTestListener listener;
        ASSERT_TRUE(listener.Open());
        ASSERT_NO_FATAL_FAILURE(InstallSender(listener.port));
        NameDocument("Plan-A", 0.5);
        PrepareRun(kSender, 0, c.data);
        ReceivedStream received;
        received.Start(listener);
        ASErr status = RunJobRoute();
        EXPECT_EQ(status, kNoErr) << LastProgressText();
        std::string job = "SUB:Plan-A\r\nBRC:0,-40,16000,11000\r\n";
        EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.sdr"), job);
        EXPECT_EQ(received.Take(listener, status == kNoErr), SenderStream(job, c.data));
    }
    std::string first = SenderStream("", data41);
    EXPECT_EQ(first.substr(0, first.find("\r\n")).size(), 80u);
}

TEST_F(JobRouteTest, ASenderThatFailsIsReported)
{
    PrepareRun(kSender, 0, PlotData(50));
    // not installed: the program cannot be started
    EXPECT_EQ(RunJobRoute(), kSenderFailedErr);
    EXPECT_NE(LastProgressText().find("Job sending failed: " + SettingsFolder() + "/TRVXSender: "), std::string::npos)
        << LastProgressText();

    // installed, but nothing listens on its port: it exits non-zero with its reason
    ASSERT_NO_FATAL_FAILURE(InstallSender(UnusedLoopbackPort()));
    host::ClearHostUserRecords();
    EXPECT_EQ(RunJobRoute(), kSenderFailedErr);
    EXPECT_EQ(LastProgressText().rfind("Job sending failed: TRVXSender exit code 1: ", 0), 0u) << LastProgressText();
}

TEST_F(JobRouteTest, PlotDataWhoseWritingFailedGoesNowhere)
{
    std::string folder = MakeTestFolder("incomplete");
    struct Case {
        const char* name;
        int16_t port;
        int16_t saveToFile;
        std::string neverWritten;
    } cases[] = {
        {"save as", kSerialPort, 1, folder + "/Plan-A.plt"},
        {"internet functions", kInternetFunctions, 0, server->anonymousRoot + "/lp/TRAVEX-Pro.plt"},
        {"ftp program", kFtpProgramFirst, 0, server->anonymousRoot + "/pr1"},
        {"sender", kSender, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.neverWritten.empty())
            std::remove(c.neverWritten.c_str());
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript("save " + folder + "/Plan-A.plt"));
        host::ClearHostUserRecords();
        PrepareRun(c.port, c.saveToFile, "IN;SP1;PU0,0;PD10");
        g->conversion.iWriteFailure = ENOSPC;
        EXPECT_EQ(RunJobRoute(), kPlotDataIncompleteErr);
        EXPECT_EQ(LastProgressText(), "The plotter data could not be written: " + SettingsFolder() +
                                          "/TRAVEX-Pro.tmp: No space left on device");
        if (!c.neverWritten.empty()) {
            EXPECT_FALSE(fs::exists(c.neverWritten));
        }
        EXPECT_TRUE(UiRobotShownDialogs().empty());
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.plt"));
    }
}

TEST_F(JobRouteTest, ACancelledJobStillGoesOutWithThePartialPlotData)
{
    // What the conversion wrote before the user cancelled: the first page, unfinished.
    std::string partial = "IN;SP1;PU0,0;PD400,0,400,400;PU;SP2;PU10,10;PD20";
    g->fAbort = 1;
    host::SetCancelAfterChecks(1);  // the host's cancel keeps answering yes
    TcpTestListener listener;
    ASSERT_TRUE(listener.Open());
    ASSERT_NO_FATAL_FAILURE(InstallSender(listener.port));
    NameDocument("Plan-A", 0.5);
    PrepareRun(kSender, 0, partial);
    ReceivedStream received;
    received.Start(listener);
    ASErr status = RunJobRoute();
    EXPECT_EQ(status, kNoErr) << LastProgressText();
    std::string job = "SUB:Plan-A\r\nBRC:0,-40,16000,11000\r\n";
    EXPECT_EQ(ReadBytes(SettingsFolder() + "/TRAVEX-Pro.sdr"), job);
    EXPECT_EQ(received.Take(listener, status == kNoErr), SenderStream(job, partial));

    // and to a file
    std::string target = MakeTestFolder("cancelled") + "/Plan-A.plt";
    PrepareRun(kSerialPort, 1, partial);
    ResetUiRobot();
    ASSERT_TRUE(SetUiRobotScript("save " + target));
    EXPECT_EQ(RunJobRoute(), kNoErr);
    EXPECT_EQ(ReadBytes(target), Framed(partial));
}

TEST_F(JobRouteTest, DebugModeAndPortRoutesLeaveNoJobFile)
{
    struct Case {
        const char* name;
        int16_t debug;
        int16_t port;
        int16_t saveToFile;
    } cases[] = {
        {"debug mode, to a file", 1, kSerialPort, 1},
        {"debug mode, internet functions", 1, kInternetFunctions, 0},
        {"debug mode, sender", 1, kSender, 0},
        {"a serial port", 0, kSerialPort, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTestHome();
        settings_.fDebugMode = c.debug;
        PrepareRun(c.port, c.saveToFile, PlotData(60));
        EXPECT_EQ(RunJobRoute(), kNoErr);
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.sdr"));
        EXPECT_FALSE(fs::exists(SettingsFolder() + "/TRAVEX-Pro.plt"));
        EXPECT_TRUE(UiRobotShownDialogs().empty());
        EXPECT_TRUE(host::HostProgressTexts().empty());
    }
}

}  // namespace
