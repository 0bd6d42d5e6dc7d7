#include "recognizer/shell/recognizer_shell.h"

#include <QImage>
#include <QPainter>

#include <cstdio>

#include "platform/windows.h"

namespace {

struct InstanceSearch {
    const char* propertyName;
    int camera;
    win::HWND found;
};

// The colours of the recognizer's icon: a dark body and a light lens.
constexpr QRgb IconBody = 0xFF2F4F6F;
constexpr QRgb IconLens = 0xFFE8EEF4;
constexpr int IconMargin = 2;
constexpr int IconCorner = 6;
constexpr int LensRadius = 9;
// How long a copy that lost the mark looks for the running copy's window: the copy that holds
// the mark may still be opening it.
constexpr int RunningCopyWaitMs = 10000;
constexpr int RunningCopyPollMs = 50;

win::BOOL FindInstanceWindowProc(win::HWND window, win::LPARAM lParam) {
    auto* search = reinterpret_cast<InstanceSearch*>(lParam);
    const auto mark = reinterpret_cast<std::intptr_t>(win::GetPropA(window, search->propertyName));
    if (mark != search->camera) return win::TRUE;
    search->found = window;
    return win::FALSE;
}

}  // namespace

bool ActivateRunningInstance(const char* propertyName, int camera) {
    InstanceSearch search{propertyName, camera, nullptr};
    win::EnumWindows(FindInstanceWindowProc, reinterpret_cast<win::LPARAM>(&search));
    if (!search.found) return false;
    win::ShowWindow(search.found, win::SW_SHOWNORMAL);
    win::SetForegroundWindow(search.found);
    return true;
}

namespace {

// A copy that is known to run may still be opening its window: it is waited for a while.
void ActivateRunningInstanceOnceUp(const char* propertyName, int camera) {
    for (int waited = 0; waited < RunningCopyWaitMs; waited += RunningCopyPollMs) {
        if (ActivateRunningInstance(propertyName, camera)) return;
        win::Sleep(RunningCopyPollMs);
    }
}

}  // namespace

win::BOOL StartRecognizerInstance(const char* propertyName, int camera, const std::function<void()>& runDialog) {
    // Taking the mark is the look for a running copy: of two copies started together exactly one
    // goes on, the other hands over to it.
    if (!win::ClaimInstanceMark(propertyName)) {
        ActivateRunningInstanceOnceUp(propertyName, camera);
        return win::FALSE;
    }
    if (ActivateRunningInstance(propertyName, camera)) return win::FALSE;
    if (!win::AfxSocketInit()) win::EndWithoutBus(SocketInitFailedText, RecognizerMessageCaption);
    runDialog();
    return win::FALSE;
}

void PrepareRecognizerWindow(win::CDialog& dialog, win::HICON icon, const char* propertyName, int camera) {
    dialog.SetIcon(icon, win::TRUE);
    dialog.SetIcon(icon, win::FALSE);
    dialog.ModifyStyleEx(win::WS_EX_APPWINDOW, win::WS_EX_TOOLWINDOW);
    win::SetPropA(dialog.GetSafeHwnd(), propertyName, reinterpret_cast<win::HANDLE>(static_cast<std::intptr_t>(camera)));
}

void PaintMinimizedIcon(win::CDialog& dialog, win::HICON icon) {
    win::CPaintDC dc(&dialog);
    dc.EraseBackground();
    win::RECT client{};
    dialog.GetClientRect(&client);
    const int x = (client.right - client.left - win::IconSize + 1) / 2;
    const int y = (client.bottom - client.top - win::IconSize + 1) / 2;
    dc.DrawIcon(x, y, icon);
}

win::HICON LoadRecognizerIcon() {
    QImage image(win::IconSize, win::IconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(IconBody));
    const int side = win::IconSize - 2 * IconMargin;
    painter.drawRoundedRect(IconMargin, IconMargin, side, side, IconCorner, IconCorner);
    painter.setBrush(QColor::fromRgba(IconLens));
    painter.drawEllipse(QPoint(win::IconSize / 2, win::IconSize / 2), LensRadius, LensRadius);
    painter.end();
    return win::CreateIconFromImage(image);
}

void FormatResultText(const RecognitionResult& result, char* text, std::size_t size) {
    std::snprintf(text, size, "%.*s %.*s", static_cast<int>(sizeof result.code - 1), result.code,
                  static_cast<int>(sizeof result.sizeType - 1), result.sizeType);
}
