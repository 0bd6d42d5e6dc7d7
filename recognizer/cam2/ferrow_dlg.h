// The camera-2 recognizer's window: its controls, test inputs and test buttons.
#pragma once

#include "recognizer/dialog/recognizer_dlg.h"

inline constexpr int IDC_OPEN_IMAGE = 1000;
inline constexpr int IDC_BOX_LABEL = 1002;
inline constexpr int IDC_RECOG_LIB = 1003;
inline constexpr int IDC_BAT_TEST = 1005;
inline constexpr int IDC_RESULT_TEXT = 1007;

// The fixed test image of the single-image button, and the batch test's folders.
inline constexpr const char* TestImagePath = "\\work\\03_110613_130554_CAR0007_Sidel_02.BMP";
inline constexpr const char* BatchPattern = "E:\\TORVA\\BMP\\*_3.bmp";
inline constexpr const char* BatchInputFormat = "E:\\TORVA\\BMP\\%.63s";
inline constexpr const char* BatchOutputFormat = "E:\\TEMP\\%.63s";  // a name fills at most one slot

// The region searched: x 4 to 568, y 8 to 792 of the 600 x 800 frame.
inline constexpr SearchMargins FerrowMargins{8, 8, 4, 32};

void OnOpenImage(CRecognizerDlg& dialog);
void OnRecogLib(CRecognizerDlg& dialog);
// Answers how many listed files did not load (they are skipped).
int OnBatTest(CRecognizerDlg& dialog);
