#include "recognizer/cam2/recognizer_dlg.h"

#include <cstdio>
#include <cstring>

#include "common/protocol.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/files.h"
#include "platform/windows.h"
#include "recognizer/shell/batch_names.h"
#include "recognizer/shell/recognizer_shell.h"
#include "recognizer/shell/result_sender.h"

namespace {

constexpr int RegionLeft = 4;
constexpr int RegionTop = 8;
constexpr int RegionRight = 568;
constexpr int RegionBottom = 792;
constexpr int PathBytes = 128;

constexpr win::DialogControl RecognizerControls[] = {
    {win::ControlKind::DefaultButton, win::IDOK, "确定", 395, 7, 39, 15, 0},
    {win::ControlKind::Button, win::IDCANCEL, "取消", 414, 7, 26, 13, 0},
    {win::ControlKind::Button, IDC_OPEN_IMAGE, "打开单个图像", 203, 7, 54, 15, 0},
    {win::ControlKind::Text, IDC_BOX_LABEL, "箱号1", 7, 7, 23, 13, 0},
    {win::ControlKind::Button, IDC_RECOG_LIB, "Recog Lib", 330, 7, 53, 16, 0},
    {win::ControlKind::Button, IDC_BAT_TEST, "Bat Test", 263, 7, 59, 15, 0},
    {win::ControlKind::Text, IDC_RESULT_TEXT, "", 33, 7, 162, 14, win::SS_SUNKEN | win::SS_CENTERIMAGE},
};

// The caption is the recognizer's address.
constexpr win::DialogTemplate RecognizerDialog{
    IDD_RECOGNIZER_DIALOG, CameraWindowCaption(CameraNumber), 451, 37, "宋体", 9, RecognizerControls};

const char* InstancePropertyName = InstancePropertyNameFor(CameraNumber);

void CopyLoadedFrameToWorkImage() { std::memcpy(WorkImage, LoadedImage, sizeof WorkImage); }

// Clears what a new recognition clears, keeping the camera and side of the record.
void ClearRecognitionResult() {
    ResetRecognitionResult(RecognizerResult, RecognizerResult.camera, RecognizerResult.side);
}

// Recognizes the work image over the region of interest inside the loaded image.
void RecognizeLoadedFrame() {
    PackedPoint topLeft = 0;
    PackedPoint bottomRight = 0;
    if (ClipRegionToImage(LoadedImageWidth, LoadedImageHeight, &topLeft, &bottomRight)) {
        RecognizeContainerImage(topLeft, bottomRight);
    }
}

}  // namespace

bool ClipRegionToImage(int width, int height, PackedPoint* topLeft, PackedPoint* bottomRight) {
    const int right = width - 1 < RegionRight ? width - 1 : RegionRight;
    const int bottom = height - 1 < RegionBottom ? height - 1 : RegionBottom;
    *topLeft = PackPoint(RegionLeft, RegionTop);
    *bottomRight = PackPoint(right, bottom);
    return right >= RegionLeft && bottom >= RegionTop;
}

CRecognizerDlg::CRecognizerDlg() : win::CDialog(RecognizerDialog), m_hIcon(LoadRecognizerIcon()) {
    OnClicked(IDC_OPEN_IMAGE, [this] { OnOpenImage(); });
    OnClicked(IDC_RECOG_LIB, [this] { OnRecogLib(); });
    OnClicked(IDC_BAT_TEST, [this] { OnBatTest(); });
    OnMessage(WM_RECOGNIZE_REQUEST, [this](win::WPARAM wParam, win::LPARAM lParam) {
        return OnRecognizeRequest(wParam, lParam);
    });
}

win::BOOL CRecognizerDlg::OnInitDialog() {
    win::CDialog::OnInitDialog();
    PrepareRecognizerWindow(*this, m_hIcon, InstancePropertyName, CameraNumber);
    DebugDumpFlag = 0;
    return win::TRUE;
}

void CRecognizerDlg::DoDataExchange(win::CDataExchange* exchange) { win::CDialog::DoDataExchange(exchange); }

void CRecognizerDlg::OnPaint() {
    if (IsIconic()) {
        PaintMinimizedIcon(*this, m_hIcon);
    } else {
        win::CDialog::OnPaint();
    }
}

win::LRESULT CRecognizerDlg::OnRecognizeRequest(win::WPARAM wParam, win::LPARAM lParam) {
    if (wParam == 0 && lParam == 0) win::ExitProcess(0);
    ResetRecognitionResult(RecognizerResult, CameraNumber, static_cast<std::uint8_t>(lParam));
    char path[PathBytes];
    std::snprintf(path, sizeof path, SidedRequestFileFormat, RecognizerResult.camera,
                  static_cast<std::int8_t>(RecognizerResult.side));
    if (LoadGrayBmp(path) == LoadOk) {
        CopyLoadedFrameToWorkImage();
        RecognizeAndShow();
        SendResultToDirector(RecognizerResult);
        win::remove(path);
    }
    return 0;
}

void CRecognizerDlg::RecognizeAndShow() {
    RecognizeLoadedFrame();
    char text[ResultTextBytes];
    FormatResultText(RecognizerResult, text, sizeof text);
    SetDlgItemTextA(IDC_RESULT_TEXT, text);
}

void CRecognizerDlg::OnOpenImage() {
    DebugDumpFlag = 1;
    if (LoadGrayBmp(TestImagePath) != LoadOk) {
        win::MessageBoxA(m_hWnd, TestImagePath, "Not exast", win::MB_OK);
        return;
    }
    ClearRecognitionResult();
    CopyLoadedFrameToWorkImage();
    RecognizeAndShow();
}

void CRecognizerDlg::OnRecogLib() {}

int CRecognizerDlg::OnBatTest() {
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
        RecognizeLoadedFrame();
        SaveBinaryBmp(output);
    }
    if (notLoaded > 0) {
        char text[PathBytes];
        std::snprintf(text, sizeof text, "%d of %d files not loaded", notLoaded, BatchFileCount);
        win::MessageBoxA(m_hWnd, text, "Bat Test", win::MB_OK | win::MB_ICONWARNING);
    }
    return notLoaded;
}
