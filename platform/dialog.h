// The application and dialog framework the programs are written against, over Qt widgets: one
// application object, modal dialogs built from a template in dialog units, command and message
// handlers, message boxes.
#pragma once

#include <QRect>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "platform/win_types.h"
#include "platform/windows.h"

class QDialog;
class QFont;
class QImage;
class QPainter;
class QWidget;

namespace win {

// Environment variable through which a starting program learns the show command of its first
// window (SW_HIDE keeps it hidden until someone shows it).
inline constexpr const char* ShowCommandVariable = "TORVA_SHOW_COMMAND";

enum class ControlKind { DefaultButton, Button, Text };
inline constexpr unsigned SS_CENTERIMAGE = 0x0200;  // text centred vertically
inline constexpr unsigned SS_SUNKEN = 0x1000;

struct DialogControl {
    ControlKind kind;
    int id;
    const char* text;
    int x, y, width, height;  // dialog units
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;  // client area, dialog units
    const char* fontFace;
    int pointSize;
    std::span<const DialogControl> controls;
};

// Horizontal and vertical dialog base units of a font, in pixels: the average width of the
// Latin letters and the line height.
struct DialogBaseUnits {
    int x;
    int y;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);
// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c);
QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base);

// Icons live as long as the program.
HICON CreateIconFromImage(const QImage& image);
inline constexpr int IconSize = 32;

struct CDataExchange {
    BOOL m_bSaveAndValidate;
};

class CDialog;

// Painting inside OnPaint.
class CPaintDC {
public:
    explicit CPaintDC(CDialog* dialog);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    QPainter& painter() { return *painter_; }
    void EraseBackground();
    void DrawIcon(int x, int y, HICON icon);

private:
    CDialog* dialog_;
    std::unique_ptr<QPainter> painter_;
};

class CDialog : public WindowHost {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate);
    ~CDialog() override;

    // Creates the window, runs OnInitDialog, shows it and handles its events until EndDialog;
    // answers the value given to EndDialog.
    INT_PTR DoModal();
    void EndDialog(int result);

    HWND GetSafeHwnd() const { return m_hWnd; }
    void SetWindowTextA(const char* text);
    BOOL SetDlgItemTextA(int id, const char* text);
    // The text of control `id` (empty when there is none).
    std::string GetDlgItemText(int id) const;
    void SetIcon(HICON icon, BOOL bigIcon);
    BOOL ModifyStyleEx(DWORD remove, DWORD add);
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    void Invalidate();
    QDialog* widget() const;
    QWidget* GetDlgItem(int id) const;

    // Where the dialog's events arrive; routes them through the handler maps.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ApplyShowCommand(int showCommand) override;
    void BringToFront() override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnPaint();
    virtual void OnOK();
    virtual void OnCancel();
    // A click of control `id`: its handler, else OK and Cancel end the dialog.
    void OnCommand(int id);
    virtual void DoDataExchange(CDataExchange* exchange);
    BOOL UpdateData(BOOL saveAndValidate);

    // The handler maps: clicks of a control, and window messages.
    void OnClicked(int id, std::function<void()> handler);
    void OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

    HWND m_hWnd = nullptr;

private:
    class Widget;
    void Build();

    const DialogTemplate& template_;
    std::unique_ptr<Widget> widget_;
    std::unique_ptr<Window> window_;
    std::map<int, std::function<void()>> clickHandlers_;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> messageHandlers_;
    std::function<void(int)> endLoop_;
};

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program once it returns.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    CDialog* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// Starts the toolkit and runs the one application object.
int AfxWinMain(int argc, char** argv);

// A modal box with `text` and `caption` ("Error" when there is none); answers the button pressed (IDOK, IDCANCEL, IDYES,
// IDNO). With a hook installed the hook answers instead and nothing is shown.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
using MessageBoxHook = std::function<int(const char* text, const char* caption, UINT type)>;
void SetMessageBoxHook(MessageBoxHook hook);

// For a program whose AfxSocketInit failed: nothing can reach it, not even to close it, so
// rather than run on it shows `text` and the reason (already said on standard error) in a box
// with `caption` where there is a display to show it, and ends with exit code 1.
[[noreturn]] void EndWithoutBus(const char* text, const char* caption);

}  // namespace win
