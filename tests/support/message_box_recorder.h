// Records every message box the program under test shows, answering each with OK at once.
#pragma once

#include <string>
#include <vector>

#include "platform/dialog.h"

struct RecordedBox {
    std::string text;
    std::string caption;
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        win::SetMessageBoxHook([this](const char* text, const char* caption, win::UINT) {
            boxes.push_back({text ? text : "", caption ? caption : ""});
            return win::IDOK;
        });
    }
    ~MessageBoxRecorder() { win::SetMessageBoxHook(nullptr); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
};
