#include "recognizer/cam2/ferrow_dlg.h"

#include <cstdio>

#include "common/protocol.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/windows.h"
#include "recognizer/shell/batch_names.h"

namespace {

constexpr int PathBytes = 128;

constexpr win::DialogControl FerrowControls[] = {
    {win::ControlKind::DefaultButton, win::IDOK, "确定", 395, 7, 39, 15, 0},
    {win::ControlKind::Button, win::IDCANCEL, "取消", 414, 7, 26, 13, 0},
    {win::ControlKind::Button, IDC_OPEN_IMAGE, "打开单个图像", 203, 7, 54, 15, 0},
    {win::ControlKind::Text, IDC_BOX_LABEL, "箱号1", 7, 7, 23, 13, 0},
    {win::ControlKind::Button, IDC_RECOG_LIB, "Recog Lib", 330, 7, 53, 16, 0},
    {win::ControlKind::Button, IDC_BAT_TEST, "Bat Test", 263, 7, 59, 15, 0},
    {win::ControlKind::Text, IDC_RESULT_TEXT, "", 33, 7, 162, 14, win::SS_SUNKEN | win::SS_CENTERIMAGE},
};

// The caption is the recognizer's address.
constexpr win::DialogTemplate FerrowDialog{
    IDD_RECOGNIZER_DIALOG, CameraWindowCaption(CameraNumber), 451, 37, "宋体", 9, FerrowControls};

constexpr TestButton FerrowButtons[] = {
    {IDC_OPEN_IMAGE, OnOpenImage},
    {IDC_RECOG_LIB, OnRecogLib},
    {IDC_BAT_TEST, [](CRecognizerDlg& dialog) { OnBatTest(dialog); }},
};

}  // namespace

constexpr RecognizerCamera ThisCamera{
    .dialog = FerrowDialog,
    .resultTextId = IDC_RESULT_TEXT,
    .margins = FerrowMargins,
    .settingsFile = nullptr,
    .fixedRequestFile = nullptr,
    .requestClearsDebugFlag = false,
    .buttons = FerrowButtons,
};

void OnOpenImage(CRecognizerDlg& dialog) {
    DebugDumpFlag = 1;
    if (LoadGrayBmp(TestImagePath) != LoadOk) {
        win::MessageBoxA(dialog.GetSafeHwnd(), TestImagePath, "Not exast", win::MB_OK);
        return;
    }
    dialog.RecognizeLoadedImage();
}

void OnRecogLib(CRecognizerDlg&) {}

int OnBatTest(CRecognizerDlg& dialog) {
    ListFilesToNameTable(BatchPattern);
    int notLoaded = 0;
    for (int i = 0; i < BatchFileCount; ++i) {
        char input[PathBytes];
        char output[PathBytes];
        std::snprintf(input, sizeof input, BatchInputFormat, BatchFileNames[i]);
        std::snprintf(output, sizeof output, BatchOutputFormat, BatchFileNames[i]);
        // A file that does not load has no binary image of its own to write.
        if (LoadGrayBmp(input) != LoadOk) {
            ++notLoaded;
            continue;
        }
        CopyLoadedFrameToWorkImage();
        // Recognizing fills the binary image from this file, not from the one before.
        ClearRecognitionResult();
        dialog.RecognizeInSearchRegion();
        SaveBinaryBmp(output);
    }
    if (notLoaded > 0) {
        char text[PathBytes];
        std::snprintf(text, sizeof text, "%d of %d files not loaded", notLoaded, BatchFileCount);
        win::MessageBoxA(dialog.GetSafeHwnd(), text, "Bat Test", win::MB_OK | win::MB_ICONWARNING);
    }
    return notLoaded;
}
