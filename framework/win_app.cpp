#include "framework/win_app.h"

namespace {

CWinApp* theApplication = nullptr;

const MessageMap rootMessageMap{nullptr, 0};
const MessageMap winAppMessageMap{&rootMessageMap, 0};

}  // namespace

const MessageMap* CCmdTarget::GetMessageMap() const
{
    return &rootMessageMap;
}

BOOL CWinThread::InitInstance()
{
    return TRUE;
}

int CWinThread::ExitInstance()
{
    return 0;
}

CWinApp::CWinApp(const char* appName) : appName_(appName != nullptr ? appName : "")
{
    theApplication = this;
}

CWinApp::~CWinApp()
{
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

const MessageMap* CWinApp::GetMessageMap() const
{
    return &winAppMessageMap;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(exitStatus_);
}

int CWinApp::DoMessageBox(const std::string& text, UINT style, UINT /*helpContext*/)
{
    return MessageBoxA(nullptr, text.c_str(), appName_.c_str(), AdjustMessageBoxStyle(style));
}

void CWinApp::SetArguments(int count, const char* const* arguments)
{
    argumentCount_ = count;
    arguments_ = arguments;
}

CWinApp* AfxGetApp()
{
    return theApplication;
}

int AfxMessageBox(const std::string& text, UINT style, UINT helpContext)
{
    return AfxGetApp()->DoMessageBox(text, style, helpContext);
}

UINT AdjustMessageBoxStyle(UINT style)
{
    if ((style & MB_ICONMASK) != 0) {
        return style;
    }
    switch (style & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
        return style | MB_ICONEXCLAMATION;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return style | MB_ICONQUESTION;
    default:
        return style;
    }
}
