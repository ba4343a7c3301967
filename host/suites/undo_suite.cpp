#include "host/suites/undo_suite.h"

#include "host/suites/host_strings.h"

namespace host {
namespace {

std::string gUndo;
std::string gRedo;

ASErr SetUndoText(AIUnicodeStringRef undoText, AIUnicodeStringRef redoText)
{
    const HostString* undo = FindHostString(undoText);
    const HostString* redo = FindHostString(redoText);
    if (undo == nullptr || redo == nullptr)
        return kBadParameterErr;
    gUndo = Utf16ToUtf8(undo->utf16);
    gRedo = Utf16ToUtf8(redo->utf16);
    return kNoErr;
}

const AIUndoSuite kSuite = {SetUndoText};

}  // namespace

const AIUndoSuite* HostUndoSuite() { return &kSuite; }
std::string HostUndoText() { return gUndo; }
std::string HostRedoText() { return gRedo; }

}  // namespace host
