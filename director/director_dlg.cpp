#include "director/director_dlg.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <span>

#include "common/protocol.h"
#include "director/photo_buffers.h"
#include "platform/file_find.h"
#include "platform/folder_dialog.h"
#include "platform/launch.h"
#include "platform/process_memory.h"
#include "platform/windows.h"

namespace {

constexpr win::DialogControl DirectorControls[] = {
    {win::ControlKind::Text, IDC_RESULT_LOG, "", 7, 203, 250, 66, win::SS_SUNKEN},
    {win::ControlKind::Text, IDC_FOLDER_TEXT, "", 7, 520, 216, 13,
     win::SS_SUNKEN | win::SS_CENTERIMAGE},
    {win::ControlKind::Button, IDC_SELECT_FOLDER, "选择箱号文件所在目录", 7, 496, 98, 23, 0},
};

constexpr win::DialogTemplate DirectorDialog{
    IDD_DIRECTOR_DIALOG, DirectorWindowCaption, 684, 540, "宋体", 9, DirectorControls};

// The fused codes: 48-point "黑体" in blue, container A on the upper line, B on the lower.
constexpr int CodeFontTenths = 480;
constexpr const char* CodeFontFace = "黑体";
constexpr win::COLORREF CodeColour = 0x00FF0000;
constexpr int CodeX = 256;
constexpr int TypeX = 656;
constexpr int FirstLineY = 600;
constexpr int SecondLineY = 680;

// The director's icon: a container, dark blue with light ribs.
constexpr QRgb IconBody = 0xFF1F3F7F;
constexpr QRgb IconRib = 0xFFD8E0F0;
constexpr int IconMargin = 3;
constexpr int IconRibStep = 5;

win::HICON LoadDirectorIcon() {
    QImage image(win::IconSize, win::IconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int side = win::IconSize - 2 * IconMargin;
    painter.fillRect(IconMargin, IconMargin + side / 4, side, side / 2, QColor::fromRgba(IconBody));
    for (int x = IconMargin + IconRibStep; x < IconMargin + side; x += IconRibStep) {
        painter.fillRect(x, IconMargin + side / 4 + 2, 1, side / 2 - 4, QColor::fromRgba(IconRib));
    }
    painter.end();
    return win::CreateIconFromImage(image);
}

// The static control shows one line per answer; the log keeps the Windows line ends.
std::string WithPlainLineEnds(const char* text) {
    std::string shown;
    for (const char* c = text; *c; ++c) {
        if (*c != '\r') shown += *c;
    }
    return shown;
}

}  // namespace

CDirectorDlg::CDirectorDlg() : win::CDialog(DirectorDialog), m_hIcon(LoadDirectorIcon()) {
    OnClicked(IDC_SELECT_FOLDER, [this] { OnSelectFolder(); });
    OnMessage(win::WM_CLOSE, [this](win::WPARAM, win::LPARAM) {
        OnClose();
        return win::LRESULT{0};
    });
    OnMessage(WM_RECOGNITION_RESULT, [this](win::WPARAM wParam, win::LPARAM lParam) {
        return OnRecognizerResult(wParam, lParam);
    });
}

void CDirectorDlg::DoDataExchange(win::CDataExchange* exchange) {
    win::CDialog::DoDataExchange(exchange);
    if (exchange->m_bSaveAndValidate) {
        m_folderText = GetDlgItemText(IDC_FOLDER_TEXT);
    } else {
        SetDlgItemTextA(IDC_FOLDER_TEXT, m_folderText.c_str());
    }
}

// The recognizers are started once, hidden, without waiting; one that does not start is simply
// never found when a request is posted.
win::BOOL CDirectorDlg::OnInitDialog() {
    win::CDialog::OnInitDialog();
    SetIcon(m_hIcon, win::TRUE);
    SetIcon(m_hIcon, win::FALSE);
    for (const char* name : RecognizerLaunchNames) win::WinExec(name, win::SW_HIDE);
    return win::TRUE;
}

void CDirectorDlg::OnSelectFolder() {
    char displayName[win::MAX_PATH] = {};
    win::BROWSEINFOA browse{m_hWnd, nullptr, displayName, FolderDialogTitle,
                            win::BIF_RETURNONLYFSDIRS};
    const win::PIDLIST_ABSOLUTE folder = win::SHBrowseForFolderA(&browse);
    if (folder == nullptr) {
        m_folderPath.clear();
        return;
    }
    // A folder without a usable path is refused outright: going on with the previous path would
    // show the previous set's numbers as this one's, and an empty path would list drive c.
    char path[win::FolderPathSize];
    const bool havePath = win::SHGetPathFromIDListA(folder, path) != win::FALSE;
    win::CoTaskMemFree(folder);
    if (!havePath) {
        m_folderPath.clear();
        ShowMessage(FolderPathErrorText);
        return;
    }
    m_folderPath = path;
    m_folderText = m_folderPath;
    UpdateData(win::FALSE);

    ListPhotos();
    if (m_fileCount != SixPhotoCount && m_fileCount != FourPhotoCount) {
        ShowMessage(WrongPhotoCountText);
        return;
    }
    ResetResults();
    // Answers that arrive while a message box of this set is open belong to this set.
    m_fusion.PhotoSet = m_fileCount == SixPhotoCount ? PhotoSetSix : PhotoSetFour;
    DispatchViewSteps();
}

void CDirectorDlg::ListPhotos() {
    m_fileCount = 0;
    win::CFileFind finder;
    const std::string pattern = m_folderPath + "\\*.jpg";
    bool more = finder.FindFile(pattern.c_str());
    while (more && m_fileCount < MaxPhotoFiles) {
        more = finder.FindNextFile();
        std::snprintf(PhotoFileNames[m_fileCount], PhotoNameSize, "%s",
                      finder.GetFileName().c_str());
        ++m_fileCount;
    }
}

// A view without a photo stops the sequence; the views before it have been dispatched.
void CDirectorDlg::DispatchViewSteps() {
    for (const ViewStep& step : CommonViewSteps()) {
        if (!DispatchViewStep(step)) return;
    }
    const std::span<const ViewStep> sideSteps =
        m_fileCount == SixPhotoCount ? SixPhotoViewSteps() : FourPhotoViewSteps();
    for (const ViewStep& step : sideSteps) {
        if (!DispatchViewStep(step)) return;
    }
}

bool CDirectorDlg::DispatchViewStep(const ViewStep& step) {
    const int index = FindPhotoByView(step.viewWord, m_fileCount);
    if (index < 0) {
        ShowMessage(step.missingMessage);
        return false;
    }
    LoadPhotoAsGray(index);
    WriteGrayRequestBmp(step.requestFile);
    if (const win::HWND recognizer = win::FindWindowA(nullptr, step.windowCaption)) {
        win::PostMessageA(recognizer, WM_RECOGNIZE_REQUEST, static_cast<win::WPARAM>(step.camera),
                          step.side);
    }
    DrawPhotoHalfSize(step.thumbnailX, step.thumbnailY);
    m_photo.reset();
    return true;
}

void CDirectorDlg::LoadPhotoAsGray(int index) {
    const std::string path = m_folderPath + "\\" + PhotoFileNames[index];
    m_photo = std::make_unique<win::PhotoBitmap>(path.c_str());
    m_photoLoaded = true;
    win::BitmapData rows{};
    if (m_photo->LockBits(&rows)) {
        CopyPhotoPixels(rows.Scan0, rows.Stride, rows.Width, rows.Height);
    } else {
        CopyPhotoPixels(nullptr, 0, 0, 0);
    }
    ConvertPhotoToGray();
}

// A photo that was not taken (0 x 0) draws nothing.
void CDirectorDlg::DrawPhotoHalfSize(int x, int y) {
    if (!m_photo) return;
    m_canvas.DrawPhoto(*m_photo, x, y, PhotoWidth / 2, PhotoHeight / 2);
    Invalidate();
}

void CDirectorDlg::ResetResults() {
    m_canvas.Rectangle(0, 0, ResultAreaWidth, ResultAreaHeight);
    m_fusion.ResetResultState();
    ShowResultLog(m_fusion.ResultLog);
    Invalidate();
}

win::LRESULT CDirectorDlg::OnRecognizerResult(win::WPARAM wParam, win::LPARAM lParam) {
    return m_fusion.OnRecognizerResult(wParam, lParam);
}

bool CDirectorDlg::ReadOwnMemory(std::uintptr_t address, void* buffer, std::size_t size) {
    return win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<win::LPCVOID>(address),
                                  buffer, size, nullptr) != win::FALSE;
}

void CDirectorDlg::ShowResultLog(const char* text) {
    SetDlgItemTextA(IDC_RESULT_LOG, WithPlainLineEnds(text).c_str());
}

void CDirectorDlg::InvalidateResults() { Invalidate(); }

void CDirectorDlg::OnPaint() {
    win::CPaintDC dc(this);
    if (IsIconic()) {
        dc.EraseBackground();
        win::RECT client{};
        GetClientRect(&client);
        dc.DrawIcon((client.right - client.left - win::IconSize + 1) / 2,
                    (client.bottom - client.top - win::IconSize + 1) / 2, m_hIcon);
        return;
    }
    m_canvas.PaintOnto(dc.painter());
    if (m_photoLoaded) PaintFusedCodes(dc.painter());
}

void CDirectorDlg::PaintFusedCodes(QPainter& painter) {
    win::SelectPointFont(painter, CodeFontTenths, CodeFontFace, CodeColour);
    win::TextOutA(painter, CodeX, FirstLineY, m_fusion.m_code1);
    win::TextOutA(painter, TypeX, FirstLineY, m_fusion.m_type1);
    win::TextOutA(painter, CodeX, SecondLineY, m_fusion.m_code2);
    win::TextOutA(painter, TypeX, SecondLineY, m_fusion.m_type2);
}

// The recognizers are told to quit, front camera first; Enter and Escape end the window
// without telling them.
void CDirectorDlg::OnClose() {
    for (const int camera : {4, 1, 2, 3}) {
        if (const win::HWND recognizer = win::FindWindowA(nullptr, CameraWindowCaption(camera))) {
            win::PostMessageA(recognizer, WM_RECOGNIZE_REQUEST, 0, 0);
        }
    }
    win::CDialog::OnCancel();
}

void CDirectorDlg::ShowMessage(const char* text) {
    win::MessageBoxA(m_hWnd, text, DirectorMessageCaption, win::MB_OK);
}
