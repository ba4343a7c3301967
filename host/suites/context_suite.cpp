#include "host/suites/context_suite.h"

#include "host/view/view_canvas.h"

namespace host {
namespace {

ASErr GetMainWindow(AIWindowHandle* window)
{
    if (window == nullptr) return kBadParameterErr;
    *window = MainWindow();
    return kNoErr;
}

const AIContextSuite kSuite = {GetMainWindow};

}  // namespace

const AIContextSuite* HostContextSuite() { return &kSuite; }

}  // namespace host
