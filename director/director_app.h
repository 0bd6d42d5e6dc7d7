// The director program: its one dialog, run modally; the program ends with it.
#pragma once

#include "platform/dialog.h"

inline constexpr const char* BusStartFailedText = "Windows 通信端口初始化失败。";

class CDirectorApp : public win::CWinApp {
public:
    win::BOOL InitInstance() override;
};
