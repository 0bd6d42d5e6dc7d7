#include "recognizer/cam1/brisel_dlg.h"

#include <cstdio>

#include "common/protocol.h"
#include "engine/location/cam1/color_bmp.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/file_dialog.h"

namespace {

constexpr int PathBytes = 128;
constexpr int CaptionBytes = 16;

constexpr win::DialogControl BriselControls[] = {
    {win::ControlKind::Text, IDC_CAMERA_LABEL, "相机 1", 13, 7, 26, 14, win::SS_CENTERIMAGE},
    {win::ControlKind::Text, IDC_RESULT_TEXT, "", 46, 7, 100, 16, win::SS_SUNKEN},
    {win::ControlKind::Button, IDC_SEQUENCE_TEST, "顺序打开待识图像", 170, 7, 89, 18, 0},
    {win::ControlKind::Button, IDC_OPEN_IMAGE, "打开单个灰度图像", 268, 7, 78, 18, 0},
    {win::ControlKind::Button, IDC_RECOG_LIB, "测试识别库", 354, 7, 62, 20, 0},
};

// The caption is the recognizer's address; the dialog has no OK or Cancel button.
constexpr win::DialogTemplate BriselDialog{
    IDD_RECOGNIZER_DIALOG, CameraWindowCaption(CameraNumber), 437, 41, "宋体", 9, BriselControls};

constexpr TestButton BriselButtons[] = {
    {IDC_OPEN_IMAGE, OnOpenImage},
    {IDC_SEQUENCE_TEST, [](CRecognizerDlg& dialog) { OnSequenceTest(dialog); }},
    {IDC_RECOG_LIB, [](CRecognizerDlg& dialog) { OnRecogLib(dialog); }},
};

}  // namespace

constexpr RecognizerCamera ThisCamera{
    .dialog = BriselDialog,
    .resultTextId = IDC_RESULT_TEXT,
    .margins = DefaultBriselMargins,
    .settingsFile = RoiSettingsFile,
    .fixedRequestFile = Camera1RequestFile,
    .requestClearsDebugFlag = true,
    .buttons = BriselButtons,
};

void OnOpenImage(CRecognizerDlg& dialog) {
    DebugDumpFlag = 1;
    win::CFileDialog files(win::TRUE, ImageFileExtension, ImageFileName,
                           win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT | win::OFN_NOCHANGEDIR, ImageFileFilter,
                           nullptr);
    if (files.DoModal() != win::IDOK) return;
    // A file that does not load leaves the image before it in the work image, where it is
    // recognized again (the load buffer may hold a debug image by now).
    if (LoadGrayBmp(files.GetPathName().c_str()) == LoadOk) CopyLoadedFrameToWorkImage();
    ClearRecognitionResult();
    dialog.RecognizeAndShow();
}

int OnSequenceTest(CRecognizerDlg& dialog) {
    DebugDumpFlag = 0;
    int recognized = 0;
    for (int number = SequenceFirstNumber; number <= SequenceLastNumber; ++number) {
        char path[PathBytes];
        std::snprintf(path, sizeof path, SequenceImageFormat, number);
        if (LoadGrayBmp(path) != LoadOk) continue;
        char caption[CaptionBytes];
        std::snprintf(caption, sizeof caption, "%d", number);
        dialog.SetWindowTextA(caption);
        dialog.RecognizeLoadedImage();
        ++recognized;
    }
    // The window keeps this caption, so the director no longer finds it until the next start.
    dialog.SetWindowTextA(SequenceDoneCaption);
    return recognized;
}

int OnRecogLib(CRecognizerDlg& dialog) {
    ColorBmpMessageBox = win::MessageBoxA;  // the engine's messages in this program's boxes
    LoadColorBmp(ColorTestImagePath);
    ConvertColorImageToGray();
    SaveGrayBmp(GrayTestImagePath);
    DebugDumpFlag = 1;
    return dialog.RecognizeLoadedImage();
}
