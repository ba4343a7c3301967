#include "host/session/host_session.h"

namespace host {

HostSession& TheSession()
{
    static HostSession session;
    return session;
}

Document* HostDocument() { return TheSession().document; }

}  // namespace host
