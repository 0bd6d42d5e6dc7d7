// A camera recognizer's application object.
#pragma once

#include "platform/dialog.h"

class CRecognizerApp : public win::CWinApp {
public:
    win::BOOL InitInstance() override;
};
