// The output job: the send machine reset for the run and stepped until it is done or the
// user cancels, the files and the port closed, then the routes that open no port.
#include "plugin/output/job_dispatcher.h"

#include <unistd.h>

#include "platform/serial_port.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/output/job_routes.h"
#include "plugin/output/send_machine.h"
#include "sdk/ai_user.h"

namespace {

void ResetSendMachine()
{
    SendMachine& m = g->sendMachine;
    m.wSendStep = 0;
    m.fSendBusy = 0;
    m.fSendDone = 0;
    g->emitter.wLastPercent = 0;
    m.fNoPort = 0;
    m.hPort = kInvalidPort;
    m.hSendFile = -1;
    m.abSendBuffer[0] = '\0';
    m.iBufPos = 0;
    m.iBufLength = 0;
    m.iBytesSent = 0;
    m.iFileSize = 0;
    m.iFirstError = 0;
    m.wFirstMessage = 0;
    m.wStalledCalls = 0;
    // a write failure of an earlier run must not fail this one
    g->conversion.iWriteFailure = 0;
}

void SetOutputKindFlags()
{
    SendMachine& m = g->sendMachine;
    const PlotSettings* settings = g->pPlotSettings;
    m.fPreview = settings != nullptr ? settings->fDebugMode : 0;
    m.fNetwork = settings != nullptr && settings->wPort < 0 ? 1 : 0;
    m.fSaveToFile = g->fTextOut;
    m.fNoPort = m.fPreview != 0 || m.fNetwork != 0 || m.fSaveToFile != 0 ? 1 : 0;
}

// Whether this run's conversion ran: after a cancel before it the plot data file holds only
// what an earlier run wrote, which is no part of this job.
bool ConvertedThisRun() { return g->sendMachine.wSendStep > kConvertSendStep; }

void CloseJob()
{
    SendMachine& m = g->sendMachine;
    if (m.hSendFile != -1) {
        close(m.hSendFile);
        m.hSendFile = -1;
    }
    if (m.hPort != kInvalidPort)
        ClosePlotterPort();
    if (sAIUser != nullptr)
        sAIUser->CloseProgress();
}

}  // namespace

int32_t RunPlotJob()
{
    ResetSendMachine();
    SetOutputKindFlags();
    if (sAIUser != nullptr)
        sAIUser->UpdateProgress(g->emitter.wLastPercent, 100);
    SendMachine& m = g->sendMachine;
    while (m.fSendDone == 0 && g->fAbort == 0)
        StepSendMachine();
    CloseJob();

    // The first failure decides: a port or plot data file error already shown, memory that
    // ran out while the art was collected (nothing of such a job goes out), then the
    // route's own; a cancel that nothing else failed is reported as one. A job cancelled
    // before its conversion sends nothing; one cancelled during it sends what was converted.
    ASErr status = SendMachineStatus();
    if (status == kNoErr && g->conversion.iRunFailure != kNoErr)
        status = g->conversion.iRunFailure;
    if (m.fPreview == 0 && m.fNoPort != 0 && status == kNoErr && ConvertedThisRun())
        status = RunJobRoute();
    if (status == kNoErr && g->fAbort != 0)
        status = kCanceledErr;
    return status;
}
