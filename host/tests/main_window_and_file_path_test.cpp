// The host's main window as the Context suite gives it, with the document window inside it,
// and the document's file as the File Path suite turns a file-path handle into the
// operating system's file specification, both acquired by name as a plug-in acquires them.
#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/suite_registry.h"
#include "host/view/document_view_suite.h"
#include "sdk/ai_context.h"
#include "sdk/ai_document.h"
#include "sdk/ai_file_path.h"
#include "sdk/suite_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

template <typename Suite>
const Suite* Acquire(const char* name, int32_t version)
{
    const void* suite = nullptr;
    EXPECT_EQ(host::AcquireHostSuite(name, version, &suite), kNoErr) << name;
    return static_cast<const Suite*>(suite);
}

class HostWindowsAndFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetHostView();
        document.fileName = "/some/folder/Plan-A.svg";
        host::TheSession().document = &document;
        context = Acquire<AIContextSuite>(kAIContextSuite, kAIContextSuiteVersion);
        filePath = Acquire<AIFilePathSuite>(kAIFilePathSuite, kAIFilePathSuiteVersion);
        documents = Acquire<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
        views = HostDocumentViewSuite();
    }
    void TearDown() override
    {
        host::TheSession().document = nullptr;
        ResetHostView();
    }

    // The first child of the first child of the main window, and its title.
    AIWindowHandle DocumentWindow(std::string* title)
    {
        AIWindowHandle main = nullptr;
        AIWindowHandle workspace = nullptr;
        AIWindowHandle window = nullptr;
        EXPECT_EQ(context->GetMainWindow(&main), kNoErr);
        EXPECT_EQ(views->GetFirstChildWindow(main, &workspace), kNoErr);
        EXPECT_EQ(views->GetFirstChildWindow(workspace, &window), kNoErr);
        char text[255] = "";
        if (window != nullptr) {
            EXPECT_EQ(views->GetWindowTitle(window, text, sizeof text), kNoErr);
        }
        *title = text;
        return window;
    }

    // The path the document's file-path handle names, released afterwards.
    std::u16string SpecifiedPath(ASErr* status)
    {
        AIFilePathRef file = nullptr;
        EXPECT_EQ(documents->GetDocumentFileSpecification(&file), kNoErr);
        AIPlatformFileSpec spec;
        std::fill(std::begin(spec.path), std::end(spec.path), u'#');
        *status = filePath->GetPlatformFileSpec(file, &spec);
        EXPECT_EQ(filePath->ReleaseFilePath(file), kNoErr);
        EXPECT_EQ(filePath->ReleaseFilePath(file), kBadParameterErr) << "released already";
        return std::u16string(spec.path);
    }

    host::Document document;
    const AIContextSuite* context = nullptr;
    const AIFilePathSuite* filePath = nullptr;
    const AIDocumentSuite* documents = nullptr;
    const AIDocumentViewSuite* views = nullptr;
};

TEST_F(HostWindowsAndFiles, TheMainWindowHoldsTheDocumentWindow)
{
    std::string title;
    SetHostViewZoom(0.5);
    AIWindowHandle window = DocumentWindow(&title);
    EXPECT_EQ(title, "Plan-A.svg @ 50% (RGB/Preview)");

    // the same window the top-level walk finds, with its panes
    AIWindowHandle top = nullptr;
    ASSERT_EQ(views->GetTopWindow(&top), kNoErr);
    views->GetNextWindow(top, &top);
    views->GetNextWindow(top, &top);
    EXPECT_EQ(top, window);
    AIWindowHandle pane = nullptr;
    ASSERT_EQ(views->GetFirstChildWindow(window, &pane), kNoErr);
    EXPECT_NE(pane, nullptr);

    document.fileName.clear();
    DocumentWindow(&title);
    EXPECT_EQ(title, "Untitled-1 @ 50% (RGB/Preview)");

    // without a document the workspace is empty
    host::TheSession().document = nullptr;
    EXPECT_EQ(DocumentWindow(&title), nullptr);
    EXPECT_EQ(title, "");
    EXPECT_EQ(context->GetMainWindow(nullptr), kBadParameterErr);
}

TEST_F(HostWindowsAndFiles, TheFileSpecificationHoldsTheWholePathOrNothing)
{
    std::string fits = "/" + std::string(298, 'a');  // 299 units and the NUL
    std::string tooLong = "/" + std::string(299, 'a');
    struct Case {
        std::string fileName;
        ASErr status;
        std::u16string path;
    } cases[] = {
        {"/some/folder/Plan-A.svg", kNoErr, u"/some/folder/Plan-A.svg"},
        {"/図面/a.b.ai", kNoErr, u"/図面/a.b.ai"},
        {"relative.svg", kNoErr, u"relative.svg"},
        {fits, kNoErr, std::u16string(fits.begin(), fits.end())},
        {tooLong, kBadParameterErr, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        document.fileName = c.fileName;
        ASErr status = 0;
        EXPECT_EQ(SpecifiedPath(&status), c.path);
        EXPECT_EQ(status, c.status);
    }

    // a document never saved has no file
    document.fileName.clear();
    AIFilePathRef file = reinterpret_cast<AIFilePathRef>(this);
    EXPECT_EQ(documents->GetDocumentFileSpecification(&file), kNoErr);
    EXPECT_EQ(file, nullptr);
    AIPlatformFileSpec spec;
    EXPECT_EQ(filePath->GetPlatformFileSpec(file, &spec), kBadParameterErr);
    EXPECT_EQ(filePath->ReleaseFilePath(file), kBadParameterErr);
}

}  // namespace
