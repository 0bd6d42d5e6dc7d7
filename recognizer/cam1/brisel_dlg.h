// The camera-1 recognizer's window: its controls, settings file, test inputs and test buttons.
#pragma once

#include "recognizer/dialog/recognizer_dlg.h"

inline constexpr int IDC_CAMERA_LABEL = -1;
inline constexpr int IDC_OPEN_IMAGE = 1001;
inline constexpr int IDC_RESULT_TEXT = 1002;
inline constexpr int IDC_SEQUENCE_TEST = 1003;
inline constexpr int IDC_RECOG_LIB = 1004;

// Where the search margins are kept, and their values when it has none.
inline constexpr const char* RoiSettingsFile = "C:\\TORVA_VIDEO.ini";
inline constexpr SearchMargins DefaultBriselMargins{140, 250, 220, 100};

// The numbered test images of the sequence test, and the caption it leaves.
inline constexpr int SequenceFirstNumber = 1882;
inline constexpr int SequenceLastNumber = 4399;
inline constexpr const char* SequenceImageFormat = "E:\\TORVA\\BMP\\%d_1.bmp";
inline constexpr const char* SequenceDoneCaption = "OK!";

// The library test's colour input and the gray file written from it.
inline constexpr const char* ColorTestImagePath = "d:\\work\\2437_1.bmp";
inline constexpr const char* GrayTestImagePath = "d:\\work\\1_1.bmp";

// The single-image button's file dialog.
inline constexpr const char* ImageFileExtension = "BMP";
inline constexpr const char* ImageFileName = "*.BMP";
inline constexpr const char* ImageFileFilter = "Image (*.BMP)|*.BMP|";

void OnOpenImage(CRecognizerDlg& dialog);
// Answers how many numbered images were recognized.
int OnSequenceTest(CRecognizerDlg& dialog);
// Answers the pipeline's answer.
int OnRecogLib(CRecognizerDlg& dialog);
