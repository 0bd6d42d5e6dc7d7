#include "recognizer/dialog/recognizer_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "common/protocol.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/windows.h"
#include "recognizer/shell/recognizer_shell.h"
#include "recognizer/shell/result_sender.h"

namespace {

constexpr int PathBytes = 128;
constexpr int SettingBytes = 128;
constexpr int DecimalBase = 10;
constexpr const char* SettingsNotSavedFormat =
    "The search margins were not saved: %s is read-only or cannot be written.\n";

const char* const InstancePropertyName = InstancePropertyNameFor(CameraNumber);

struct MarginSetting {
    const char* key;
    int SearchMargins::*margin;
};
// In the order the settings are read and written.
constexpr MarginSetting MarginSettings[] = {
    {Face1TopKey, &SearchMargins::top},
    {Face1BottomKey, &SearchMargins::bottom},
    {Face1LeftKey, &SearchMargins::left},
    {Face1RightKey, &SearchMargins::right},
};

// atoi's reading (leading blanks, a sign, the digits up to the first other character, 0 for
// no number), but a value beyond 32 bits is held at the nearest end instead of wrapping, so the
// write-back never turns a huge margin into a different one.
int ParseMargin(const char* text) {
    const long long value = std::strtoll(text, nullptr, DecimalBase);
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

bool ClipSearchRegion(const SearchMargins& margins, int width, int height, PackedPoint* topLeft,
                      PackedPoint* bottomRight) {
    // Wide enough for any margin the settings file can hold.
    const long long left = std::max(margins.left, 0);
    const long long top = std::max(margins.top, 0);
    const long long right = std::min<long long>(FrameWidth - static_cast<long long>(margins.right), std::min(width, FrameWidth) - 1);
    const long long bottom =
        std::min<long long>(FrameHeight - static_cast<long long>(margins.bottom), std::min(height, FrameHeight) - 1);
    if (right < left || bottom < top) return false;
    *topLeft = PackPoint(static_cast<int>(left), static_cast<int>(top));
    *bottomRight = PackPoint(static_cast<int>(right), static_cast<int>(bottom));
    return true;
}

void ClearRecognitionResult() {
    ResetRecognitionResult(RecognizerResult, RecognizerResult.camera, RecognizerResult.side);
}

void CopyLoadedFrameToWorkImage() { std::memcpy(WorkImage, LoadedImage, sizeof WorkImage); }

CRecognizerDlg::CRecognizerDlg()
    : win::CDialog(ThisCamera.dialog),
      m_hIcon(LoadRecognizerIcon()),
      m_face1Top(ThisCamera.margins.top),
      m_face1Bottom(ThisCamera.margins.bottom),
      m_face1Left(ThisCamera.margins.left),
      m_face1Right(ThisCamera.margins.right) {
    for (const TestButton& button : ThisCamera.buttons) {
        OnClicked(button.id, [this, handler = button.handler] { handler(*this); });
    }
    OnMessage(WM_RECOGNIZE_REQUEST, [this](win::WPARAM wParam, win::LPARAM lParam) {
        return OnRecognizeRequest(wParam, lParam);
    });
}

win::BOOL CRecognizerDlg::OnInitDialog() {
    win::CDialog::OnInitDialog();
    PrepareRecognizerWindow(*this, m_hIcon, InstancePropertyName, CameraNumber);
    DebugDumpFlag = 0;
    LoadRoiSettings();
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

void CRecognizerDlg::OnCancel() {
    SaveRoiSettings();
    win::CDialog::OnCancel();
}

void CRecognizerDlg::LoadRoiSettings() {
    if (!ThisCamera.settingsFile) return;
    SearchMargins margins = ThisCamera.margins;
    for (const MarginSetting& setting : MarginSettings) {
        char fallback[SettingBytes];
        char text[SettingBytes];
        std::snprintf(fallback, sizeof fallback, "%d", ThisCamera.margins.*setting.margin);
        win::GetPrivateProfileStringA(RoiSettingsSection, setting.key, fallback, text, sizeof text,
                                      ThisCamera.settingsFile);
        margins.*setting.margin = ParseMargin(text);
    }
    m_face1Top = margins.top;
    m_face1Bottom = margins.bottom;
    m_face1Left = margins.left;
    m_face1Right = margins.right;
}

void CRecognizerDlg::SaveRoiSettings() const {
    if (!ThisCamera.settingsFile) return;
    const SearchMargins margins = Margins();
    bool saved = true;
    for (const MarginSetting& setting : MarginSettings) {
        char text[SettingBytes];
        std::snprintf(text, sizeof text, "%d", margins.*setting.margin);
        const bool written =
            win::WritePrivateProfileStringA(RoiSettingsSection, setting.key, text, ThisCamera.settingsFile);
        saved = saved && written;
    }
    // A read-only file is left as it is; whoever made it so learns why nothing changed.
    if (!saved) std::fprintf(stderr, SettingsNotSavedFormat, ThisCamera.settingsFile);
}

win::LRESULT CRecognizerDlg::OnRecognizeRequest(win::WPARAM wParam, win::LPARAM lParam) {
    if (wParam == 0 && lParam == 0) {
        SaveRoiSettings();
        win::ExitProcess(0);
    }
    const int side = ThisCamera.fixedRequestFile ? 0 : static_cast<std::uint8_t>(lParam);
    ResetRecognitionResult(RecognizerResult, CameraNumber, side);
    if (ThisCamera.requestClearsDebugFlag) DebugDumpFlag = 0;
    char path[PathBytes];
    if (ThisCamera.fixedRequestFile) {
        std::snprintf(path, sizeof path, "%s", ThisCamera.fixedRequestFile);
    } else {
        std::snprintf(path, sizeof path, SidedRequestFileFormat, RecognizerResult.camera,
                      static_cast<std::int8_t>(RecognizerResult.side));
    }
    if (LoadGrayBmp(path) == LoadOk) {
        // The pixels are ours now: the file goes before the answer, so that a request the
        // director writes as soon as the answer arrives is not deleted unread.
        win::remove(path);
        CopyLoadedFrameToWorkImage();
        RecognizeAndShow();
        SendResultToDirector(RecognizerResult);
    }
    return 0;
}

int RecognizeInRegion(const SearchMargins& margins, int width, int height) {
    PackedPoint topLeft = 0;
    PackedPoint bottomRight = 0;
    // An empty region has no contrast to find anything by.
    if (!ClipSearchRegion(margins, width, height, &topLeft, &bottomRight)) return PipelineNoContrast;
    return RecognizeContainerImage(topLeft, bottomRight);
}

int CRecognizerDlg::RecognizeInSearchRegion() {
    return RecognizeInRegion(Margins(), LoadedImageWidth, LoadedImageHeight);
}

int CRecognizerDlg::RecognizeAndShow() {
    const int answer = RecognizeInSearchRegion();
    char text[ResultTextBytes];
    FormatResultText(RecognizerResult, text, sizeof text);
    SetDlgItemTextA(ThisCamera.resultTextId, text);
    return answer;
}

int CRecognizerDlg::RecognizeLoadedImage() {
    ClearRecognitionResult();
    CopyLoadedFrameToWorkImage();
    return RecognizeAndShow();
}
