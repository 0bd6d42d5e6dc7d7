// The window of a camera recognizer: the protocol address, the request handler, the search
// region and the test buttons of ThisCamera.
#pragma once

#include "engine/packed_point.h"
#include "platform/dialog.h"
#include "recognizer/dialog/recognizer_camera.h"

inline constexpr int IDD_RECOGNIZER_DIALOG = 102;

// The settings file's section and keys of the four margins.
inline constexpr const char* RoiSettingsSection = "Settings";
inline constexpr const char* Face1TopKey = "Face1_TOP";
inline constexpr const char* Face1BottomKey = "Face1_BOTTOM";
inline constexpr const char* Face1LeftKey = "Face1_LEFT";
inline constexpr const char* Face1RightKey = "Face1_RIGHT";

// The search region of the margins inside an image of width x height at the frame's top left,
// both corners inclusive, kept inside the image whatever the margins (negative, or adding up
// past the frame). False when nothing of it remains.
bool ClipSearchRegion(const SearchMargins& margins, int width, int height, PackedPoint* topLeft,
                      PackedPoint* bottomRight);

// Recognizes the work image inside the search region of the margins in an image of width x
// height; answers the pipeline's answer, "no contrast" when nothing of the region remains.
int RecognizeInRegion(const SearchMargins& margins, int width, int height);

// What every recognition clears: the code and size/type code with their flags, keeping the
// record's camera and side.
void ClearRecognitionResult();
void CopyLoadedFrameToWorkImage();

class CRecognizerDlg : public win::CDialog {
public:
    CRecognizerDlg();

    win::LRESULT OnRecognizeRequest(win::WPARAM wParam, win::LPARAM lParam);
    // Recognizes the work image inside the search region of the loaded image; answers the
    // pipeline's answer.
    int RecognizeInSearchRegion();
    // The same, then shows the result.
    int RecognizeAndShow();
    // What the test buttons do with an image they loaded: a fresh result for the loaded frame,
    // recognized and shown.
    int RecognizeLoadedImage();
    // Writes the margins back to the settings file (nothing without one).
    void SaveRoiSettings() const;
    SearchMargins Margins() const { return {m_face1Top, m_face1Bottom, m_face1Left, m_face1Right}; }

protected:
    win::BOOL OnInitDialog() override;
    void DoDataExchange(win::CDataExchange* exchange) override;
    void OnPaint() override;
    // Escape and closing the window: the margins are kept, then the dialog ends.
    void OnCancel() override;

private:
    void LoadRoiSettings();

    win::HICON m_hIcon;
    int m_face1Top;
    int m_face1Bottom;
    int m_face1Left;
    int m_face1Right;
};
