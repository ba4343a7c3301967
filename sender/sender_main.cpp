// TRVXSender: the console job sender. Started by the plug-in without arguments for the
// network route; streams the job file and the plot data to the network plotter server.
//
// Exit code: 0 when the whole job went out; 1 when it could not connect or the stream
// failed, with the reason on standard error; 255 when the sockets could not be set up.
#include "platform/tcp_socket.h"
#include "plugin/settings/settings_program.h"
#include "sender/send_session.h"

namespace {

constexpr int kExitSent = 0;
constexpr int kExitFailed = 1;
constexpr int kExitSocketsFailed = 255;   // the system's socket error value -1

} // namespace

int main()
{
    SetSettingsProgram(kSettingsSender);
    if (StartSockets() != 0) {
        CleanupSockets();
        return kExitSocketsFailed;
    }
    int result = RunSendSession();
    if (CleanupSockets() != 0)
        return kExitSocketsFailed;
    return result == 0 ? kExitSent : kExitFailed;
}
