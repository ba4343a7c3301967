#include "plugin/output/send_machine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

#include "platform/code_pages.h"
#include "plugin/conversion/page_conversion.h"
#include "platform/parallel_port.h"
#include "plugin/hpgl/path_emission.h"
#include "plugin/conversion/art_lists.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_resources.h"
#include "platform/serial_port.h"
#include "plugin/settings/settings_folder.h"
#include "plugin/entry/suite_table.h"
#include "plugin/entry/run_services.h"
#include "platform/tick_count.h"

namespace {

constexpr int kJapanesePortErrors = 16100;
constexpr int kEnglishPortErrors = 16400;
constexpr int kJapanesePortStatus = 16300;
constexpr int kEnglishPortStatus = 16600;
constexpr int kParallelPortFirst = 5;
constexpr int kReplyEmptyReads = 31;
constexpr uint32_t kReplyWaitTicks = 10;
constexpr int kLogCopyLimit = 80;
constexpr int kEscapeLimit = 79;
constexpr int32_t kEndOfFileError = 38;  // the file ended before its size

constexpr int32_t kBaudRates[] = {300, 1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};

// Error number of the last port call that failed.
int gLastPortError = 0;

SendMachine& Machine() { return g->sendMachine; }

void ShowHostText(const char* text)
{
    // the record keeps what fits; the host shows the whole text
    char* shown = Machine().szShownText;
    std::snprintf(shown, sizeof Machine().szShownText, "%.*s", int(sizeof Machine().szShownText - 1), text);
    SetHostProgressText(text);
}

void LoadMachineString(int japaneseBase, int englishBase, int n, char* text, size_t room)
{
    int id = (g->iLanguage == 0 ? japaneseBase : englishBase) + n;
    LoadResourceString(PluginResources(), id, text, int(room), kCodePageShiftJis);
}

// True when the port has taken nothing for the stall limit since start.
bool StalledTooLong(uint32_t start) { return GetTickCount() - start >= uint32_t(PortStallLimitMs()); }

// One byte to the port, again while the port only made it wait; false when the port
// failed or kept the byte past the stall limit (the failure is then reported), or when the
// user cancelled meanwhile.
bool WriteByteWithRetries(unsigned char byte)
{
    const uint32_t start = GetTickCount();
    for (;;) {
        if (WritePort(&byte, 1) == 1)
            return true;
        if (gLastPortError != kPortErrorTimeout) {
            ReportPortError(kPortMessageTimeOut, gLastPortError);
            return false;
        }
        if (CheckUserCancel() != kNoErr)
            return false;
        if (StalledTooLong(start)) {
            ReportPortError(kPortMessageTimeOut, kPortErrorTimeout);
            return false;
        }
    }
}

void WriteBytes(const char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (g->fAbort != 0 || !WriteByteWithRetries(static_cast<unsigned char>(bytes[i])))
            return;
    }
}

int ReadReply(char* reply, size_t room)
{
    WaitTicks(kReplyWaitTicks);
    size_t length = 0;
    int emptyReads = 0;
    int result = 0;
    for (;;) {
        unsigned char byte = 0;
        if (ReadPort(&byte, 1) == 0) {
            if (CheckUserCancel() != kNoErr) {
                result = -1;
                break;
            }
            WaitTicks(kReplyWaitTicks);
            if (++emptyReads >= kReplyEmptyReads) {
                result = -1;
                ReportPortError(kPortMessageNoReply, -1);
                break;
            }
            continue;
        }
        if (byte == 0x0D) {
            unsigned char lineFeed = 0;
            ReadPort(&lineFeed, 1);
            break;
        }
        if (byte < 0x20 || byte == 0x7F)
            continue;
        if (length + 1 < room)
            reply[length++] = char(byte);
    }
    if (room > 0)
        reply[length] = '\0';
    LogReply(room > 0 ? reply : "");
    return result;
}

void OpenPlotDataFile()
{
    SendMachine& m = Machine();
    char path[260];
    int status = GetPlotDataFilePath(path, sizeof path);
    if (status != 0) {
        ReportPortError(kPortMessagePlotFile, status);
        return;
    }
    m.hSendFile = open(path, O_RDWR | O_CLOEXEC);
    if (m.hSendFile == -1)
        m.hSendFile = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m.hSendFile == -1) {
        ReportPortError(kPortMessagePlotFile, PortErrorFromErrno(errno));
        return;
    }
    off_t size = lseek(m.hSendFile, 0, SEEK_END);
    lseek(m.hSendFile, 0, SEEK_SET);
    if (size < 0 || size > INT32_MAX) {
        ReportPortError(kPortMessagePlotFile, kPortErrorInvalidParameter);
        return;
    }
    m.iFileSize = int32_t(size);
}

// The next chunk of the plot data file; false when it could not be read or the file
// ended before its size (the failure is then reported).
bool ReadNextChunk()
{
    SendMachine& m = Machine();
    ssize_t n = m.hSendFile >= 0 ? read(m.hSendFile, m.abSendBuffer, kSendChunkSize) : -1;
    if (n <= 0) {
        m.abSendBuffer[0] = '\0';
        m.iBufPos = 0;
        m.iBufLength = 0;
        ReportPortError(kPortMessagePlotFile, n < 0 ? PortErrorFromErrno(errno) : kEndOfFileError);
        return false;
    }
    m.abSendBuffer[n] = '\0';
    m.iBufPos = 0;
    m.iBufLength = int32_t(n);
    return true;
}

void FinishStream()
{
    SendPlotterOff();
    Machine().fSendDone = 1;
}

// Up to ten commands of the plot data file; a command ends with ';', ETX, NUL or the
// file's last byte.
void StreamCommands()
{
    SendMachine& m = Machine();
    for (int command = 0; command < kCommandsPerStep; ++command) {
        if (m.iBytesSent >= m.iFileSize) {
            FinishStream();
            return;
        }
        char logCopy[kLogCopyLimit + 1];
        int logLength = 0;
        for (;;) {
            if (m.iBufPos >= m.iBufLength && !ReadNextChunk()) {
                FinishStream();
                return;
            }
            unsigned char byte = m.abSendBuffer[m.iBufPos];
            if (WritePort(&byte, 1) != 1) {
                // The plotter holds the line: try the same byte on the next call, so the
                // cancel is polled meanwhile; a port that stays stuck or fails ends the run.
                if (m.wStalledCalls++ == 0)
                    m.dwStallStart = GetTickCount();
                if (gLastPortError != kPortErrorTimeout || StalledTooLong(m.dwStallStart)) {
                    ReportPortError(kPortMessageTimeOut, gLastPortError);
                    m.fSendDone = 1;
                }
                return;
            }
            m.wStalledCalls = 0;
            bool ends = byte == '\0' || byte == ';' || byte == 0x03 || m.iBytesSent + 1 >= m.iFileSize;
            if (ends)
                break;
            if (logLength < kLogCopyLimit)
                logCopy[logLength++] = char(byte);
            ++m.iBytesSent;
            ++m.iBufPos;
        }
        logCopy[logLength] = '\0';
        LogSent(logCopy);
        ++m.iBytesSent;
        ++m.iBufPos;
        SetProgressPercent(int16_t(float(m.iBytesSent) / float(m.iFileSize) * 100.0f));
    }
}

void SetUnitsPerMm()
{
    int32_t unit = g->pPlotSettings != nullptr ? g->pPlotSettings->iPlotterUnit : 0;
    g->wUnitsPerMm = int16_t(uint16_t(uint32_t(unit) & 0xFFFFu));
    if (g->wUnitsPerMm == 0)
        g->wUnitsPerMm = 40;
}

void SendPlotWindow()
{
    const PlotFrame& frame = g->conversion.plotFrame;
    char text[80];
    std::snprintf(text, sizeof text, "IW%d,%d,%d,%d;", int(frame.iXMin), int(frame.iYMin), int(frame.iXMax),
                  int(frame.iYMax));
    WritePortString(text);
}

void PerformStep(int16_t step)
{
    SendMachine& m = Machine();
    bool portSteps = m.fNoPort == 0 && m.iFirstError == 0;
    switch (step) {
    case 0:
        if (m.fNoPort == 0) {
            ShowPortStatus(kPortStatusOpeningPort);
            OpenPlotterPort();
        }
        break;
    case 1:
        if (portSteps) {
            ShowPortStatus(kPortStatusPlotterOpening);
            SendPlotterOn();
        }
        break;
    case 2:
        if (portSteps) {
            ShowPortStatus(kPortStatusResetting);
            WritePortString("IN;");
        }
        break;
    case 4:
        SetUnitsPerMm();
        break;
    case 5:
        if (portSteps)
            WritePortString("IW;");
        break;
    case kConvertSendStep:
        if (m.iFirstError == 0) {
            ShowPortStatus(kPortStatusConverting);
            ConvertAllPages();
            // A plot data file whose writing failed holds a cut job: never sent as whole.
            if (int32_t failure = g->conversion.iWriteFailure; failure != 0)
                ReportPortError(kPortMessagePlotFile, failure > 0 ? PortErrorFromErrno(failure) : kPortErrorGeneral);
        }
        break;
    case 7:
        if (portSteps) {
            ShowPortStatus(kPortStatusSending);
            SetProgressPercent(0);
            SendPlotWindow();
        }
        break;
    case 8:
        if (portSteps)
            OpenPlotDataFile();
        break;
    case kLastSendStep:
        if (m.fNoPort != 0 || m.iFirstError != 0)
            m.fSendDone = 1;
        else
            StreamCommands();
        break;
    default:
        break;
    }
}

}  // namespace

ASErr SendMachineStatus()
{
    const SendMachine& m = Machine();
    if (m.iFirstError == 0)
        return kNoErr;
    return m.wFirstMessage == kPortMessagePlotFile ? kPlotFileFailedErr : kPortFailedErr;
}

int StepSendMachine()
{
    SendMachine& m = Machine();
    if (m.fSendBusy == 0) {
        m.fSendBusy = 1;
        PerformStep(m.wSendStep);
        if (m.wSendStep != kLastSendStep)
            ++m.wSendStep;
        m.fSendBusy = 0;
    }
    CheckUserCancel();
    return 1;
}

void OpenPlotterPort()
{
    SendMachine& m = Machine();
    const PlotSettings* settings = g->pPlotSettings;
    int16_t port = settings != nullptr ? settings->wPort : -1;
    char name[8];
    if (port >= 0 && port < kParallelPortFirst)
        std::snprintf(name, sizeof name, "COM%c", char('1' + port));
    else if (port >= kParallelPortFirst && port < kParallelPortFirst + 2)
        std::snprintf(name, sizeof name, "LPT%c", char('1' + port - kParallelPortFirst));
    else
        name[0] = '\0';
    int error = kPortErrorFileNotFound;
    if (port >= kParallelPortFirst)
        m.hPort = name[0] != '\0' ? OpenParallelPort(name, &error) : kInvalidPort;
    else
        m.hPort = name[0] != '\0' ? OpenSerialPort(name, &error) : kInvalidPort;
    if (m.hPort == kInvalidPort) {
        ReportPortError(kPortMessageOpen, error);
        return;
    }
    if (port >= kParallelPortFirst)
        return;
    // The kernel keeps its own queues; every write waits its bounded time for room.
    SetPortTimeouts(m.hPort, kPortDefaultWriteWaitMs);
    SerialSettings line{};
    int16_t baud = settings->wBaudIndex;
    line.iBaudRate = baud >= 0 && baud < int16_t(sizeof kBaudRates / sizeof kBaudRates[0]) ? kBaudRates[baud] : 0;
    line.wDataBits = settings->wDataBitsIndex == 0 ? 7 : settings->wDataBitsIndex == 1 ? 8 : 0;
    switch (settings->wStopBitsIndex) {
    case 0: line.wStopBits = kStopBitsOne; break;
    case 1: line.wStopBits = kStopBitsOneAndHalf; break;
    case 2: line.wStopBits = kStopBitsTwo; break;
    default: line.wStopBits = kStopBitsKeep; break;
    }
    switch (settings->wParityIndex) {
    case 0: line.wParity = kParityNone; break;
    case 1: line.wParity = kParityOdd; break;
    case 2: line.wParity = kParityEven; break;
    default: line.wParity = kParityKeep; break;
    }
    line.fXonXoff = settings->wFlowControl == 1 ? 1 : 0;
    line.fRaiseDtrRts = settings->wFlowControl == 2 ? 1 : 0;
    error = ApplySerialSettings(m.hPort, &line);
    if (error != 0)
        ReportPortError(kPortMessageHandshake, error);
}

void ClosePlotterPort()
{
    SendMachine& m = Machine();
    // An abandoned job's queued bytes are not the plotter's to have, and a held line must
    // not keep the close waiting.
    if (g->fAbort != 0 || m.iFirstError != 0)
        DiscardPortOutput(m.hPort);
    ClosePortDevice(m.hPort);
    m.hPort = kInvalidPort;
}

int WritePort(const void* bytes, int count)
{
    if (count <= 0)
        return 0;
    int error = 0;
    size_t written = WritePortBytes(Machine().hPort, bytes, size_t(count), &error);
    gLastPortError = error;
    return int(written);
}

int ReadPort(void* buffer, int count)
{
    if (count <= 0)
        return 0;
    int error = 0;
    size_t got = ReadPortBytes(Machine().hPort, buffer, size_t(count), &error);
    gLastPortError = error;
    return int(got);
}

int WritePortString(const char* text)
{
    WriteBytes(text, std::strlen(text));
    LogSent(text);
    return 0;
}

int SendDeviceControl(char c, const char* parameter)
{
    char escape[kEscapeLimit + 1];
    std::snprintf(escape, sizeof escape, "\x1b.%c%s", c, parameter != nullptr ? parameter : "");
    WriteBytes(escape, std::strlen(escape));
    char label[kEscapeLimit + 8];
    std::snprintf(label, sizeof label, "ESC.%c%s", c, escape + 3);
    LogSent(label);
    return 0;
}

int SendPlotterOn() { return SendDeviceControl('(', nullptr); }
int SendPlotterOff() { return SendDeviceControl(')', nullptr); }
int SendAbortCommand() { return SendDeviceControl('K', nullptr); }

int QueryPortReply(const char* query, char* reply, size_t room)
{
    WritePortString(query);
    return ReadReply(reply, room);
}

int QueryDeviceControl(char c, const char* parameter, char* reply, size_t room)
{
    SendDeviceControl(c, parameter);
    return ReadReply(reply, room);
}

void ReportPortError(int16_t code, int32_t number)
{
    SendMachine& m = Machine();
    if (m.iFirstError != 0)
        return;
    m.iFirstError = number;
    if (number == 0)
        return;
    m.wFirstMessage = code;
    char format[256];
    LoadMachineString(kJapanesePortErrors, kEnglishPortErrors, code, format, sizeof format);
    char text[256 + 16];
    std::snprintf(text, sizeof text, format, int(number));
    ShowHostText(text);
}

void ShowPortStatus(int16_t n)
{
    char text[256];
    LoadMachineString(kJapanesePortStatus, kEnglishPortStatus, n, text, sizeof text);
    ShowHostText(text);
    LogStatus("");
    LogSent("");
    LogReply("");
}

void WaitTicks(uint32_t n)
{
    uint32_t start = GetTickCount() / 17u;
    while (GetTickCount() / 17u - start <= n) {
        timespec pause{0, 1000000};
        nanosleep(&pause, nullptr);
    }
}

void LogSent(const char*) {}
void LogReply(const char*) {}
void LogStatus(const char*) {}

int NextField(const char* text, char delimiter, int16_t* position, char* out)
{
    int copied = 0;
    int16_t at = *position;
    while (at >= 0 && at < kLogCopyLimit && text[at] != '\0' && text[at] != delimiter)
        out[copied++] = text[at++];
    if (at >= 0 && at < kLogCopyLimit && delimiter != '\0' && text[at] == delimiter)
        ++at;
    out[copied] = '\0';
    *position = at;
    return copied;
}
