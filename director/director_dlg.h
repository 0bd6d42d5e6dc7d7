// The director's window: it starts the recognizers, hands out the photos of a chosen folder as
// gray request files, shows them at half size, collects the answers and shows the fused codes.
#pragma once

#include <memory>
#include <string>

#include "director/result_fusion.h"
#include "director/view_sequence.h"
#include "platform/client_canvas.h"
#include "platform/dialog.h"
#include "platform/photo_bitmap.h"

inline constexpr int IDD_DIRECTOR_DIALOG = 102;
inline constexpr int IDC_RESULT_LOG = 1002;
inline constexpr int IDC_FOLDER_TEXT = 1003;
inline constexpr int IDC_SELECT_FOLDER = 1006;

// Every message box of the director carries this caption.
inline constexpr const char* DirectorMessageCaption = "TORVA";
inline constexpr const char* WrongPhotoCountText = "目录中文件数目不对";
inline constexpr const char* FolderPathErrorText = "目录路径无法使用";
inline constexpr const char* FolderDialogTitle = "文件浏览对话框";

// The launch names of the recognizers of cameras 1 to 4, started in this order.
inline constexpr const char* RecognizerLaunchNames[] = {"TORVA1.dic", "TORVA2.dic", "TORVA3.dic",
                                                       "TORVA4.dic"};

// The area the thumbnails and the fused codes take; a new set clears it.
inline constexpr int ResultAreaWidth = 1024;
inline constexpr int ResultAreaHeight = 810;

class CDirectorDlg : public win::CDialog, public ResultWindow {
public:
    CDirectorDlg();

    void OnSelectFolder();
    void LoadPhotoAsGray(int index);
    void DrawPhotoHalfSize(int x, int y);
    void ResetResults();
    win::LRESULT OnRecognizerResult(win::WPARAM wParam, win::LPARAM lParam);
    void OnClose();

    bool ReadOwnMemory(std::uintptr_t address, void* buffer, std::size_t size) override;
    void ShowResultLog(const char* text) override;
    void InvalidateResults() override;

    // What was drawn outside the paint handler.
    const QImage& canvas() const { return m_canvas.image(); }

    // The answers, their log and the fused fields (m_code1 ... m_type2, PhotoSet).
    ResultFusion m_fusion{*this};
    std::string m_folderText;  // shown in static 1003
    std::string m_folderPath;  // without a trailing separator
    int m_fileCount = 0;       // names in PhotoFileNames

protected:
    win::BOOL OnInitDialog() override;
    void DoDataExchange(win::CDataExchange* exchange) override;
    void OnPaint() override;

private:
    void ListPhotos();
    void DispatchViewSteps();
    bool DispatchViewStep(const ViewStep& step);
    void ShowMessage(const char* text);
    void PaintFusedCodes(QPainter& painter);

    win::HICON m_hIcon;
    std::unique_ptr<win::PhotoBitmap> m_photo;  // the photo of the step being dispatched
    bool m_photoLoaded = false;                 // a photo was loaded since the window opened
    win::ClientCanvas m_canvas{ResultAreaWidth, ResultAreaHeight};
};
