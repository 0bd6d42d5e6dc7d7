// The window of the camera-2 recognizer: the protocol address, the request handler and the
// test buttons.
#pragma once

#include "engine/packed_point.h"
#include "platform/dialog.h"

inline constexpr int IDD_RECOGNIZER_DIALOG = 102;
inline constexpr int IDC_OPEN_IMAGE = 1000;
inline constexpr int IDC_BOX_LABEL = 1002;
inline constexpr int IDC_RECOG_LIB = 1003;
inline constexpr int IDC_BAT_TEST = 1005;
inline constexpr int IDC_RESULT_TEXT = 1007;

// The fixed test image of the single-image button, and the batch test's folders.
inline constexpr const char* TestImagePath = "\\work\\03_110613_130554_CAR0007_Sidel_02.BMP";
inline constexpr const char* BatchPattern = "E:\\TORVA\\BMP\\*_3.bmp";
inline constexpr const char* BatchInputFormat = "E:\\TORVA\\BMP\\%s";
inline constexpr const char* BatchOutputFormat = "E:\\TEMP\\%s";

// The region searched in a frame, both corners inclusive, cut to the loaded image so that no
// pixel outside it is read. False when nothing of the region lies inside the image.
bool ClipRegionToImage(int width, int height, PackedPoint* topLeft, PackedPoint* bottomRight);

class CRecognizerDlg : public win::CDialog {
public:
    CRecognizerDlg();

    win::LRESULT OnRecognizeRequest(win::WPARAM wParam, win::LPARAM lParam);
    void RecognizeAndShow();
    void OnOpenImage();
    void OnRecogLib();
    // Answers how many listed files did not load (they are skipped).
    int OnBatTest();

protected:
    win::BOOL OnInitDialog() override;
    void DoDataExchange(win::CDataExchange* exchange) override;
    void OnPaint() override;

private:
    win::HICON m_hIcon;
};
