#include "platform/dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/bus_wire.h"

namespace win {

struct HICON__ {
    QImage image;
};

namespace {

constexpr const char* LatinAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int LatinLetterPairs = 26;     // the alphabet's 52 letters, halved for rounding
constexpr int HorizontalUnitsPerBase = 4;
constexpr int VerticalUnitsPerBase = 8;
// Where the dialogs' fonts are missing, the nearest installed faces with the same scripts;
// the Sharp cut has the line height the dialog layouts were drawn for.
constexpr const char* FallbackFaces[] = {"SimSun", "WenQuanYi Zen Hei Sharp", "WenQuanYi Zen Hei", "DejaVu Sans"};
constexpr UINT MessageBoxButtonsMask = 0x0F;
constexpr UINT MessageBoxIconMask = 0xF0;
constexpr const char* DefaultMessageBoxCaption = "Error";
constexpr const char* BusFailedText = "The window bus cannot start; the programs cannot reach this one.";
// Qt platforms without a screen: a box there would wait for a click no one can give.
constexpr const char* HeadlessPlatforms[] = {"offscreen", "minimal"};
constexpr UINT NoBusExitCode = 1;

CWinApp* TheApp = nullptr;

MessageBoxHook& Hook() {
    static MessageBoxHook* const hook = new MessageBoxHook;
    return *hook;
}

std::vector<HICON__*>& Icons() {
    static auto* const icons = new std::vector<HICON__*>;
    return *icons;
}

// The show command of the program's first window, handed down by whoever started it.
int StartupShowCommand() {
    static bool taken = false;
    if (taken) return SW_SHOW;
    taken = true;
    const char* value = std::getenv(ShowCommandVariable);
    char* end = nullptr;
    const long command = value ? std::strtol(value, &end, 10) : SW_SHOW;
    const bool valid = value && end != value && *end == '\0';
    ::unsetenv(ShowCommandVariable);  // it was for this program, not for the ones it starts
    return valid ? static_cast<int>(command) : SW_SHOW;
}

QFont DialogFont(const DialogTemplate& dialogTemplate) {
    QFont font;
    QStringList faces{QString::fromUtf8(dialogTemplate.fontFace)};
    for (const char* face : FallbackFaces) faces << QString::fromUtf8(face);
    font.setFamilies(faces);
    font.setPointSize(dialogTemplate.pointSize);
    return font;
}

}  // namespace

class CDialog::Widget : public QDialog {
public:
    explicit Widget(CDialog* owner) : owner_(owner) {}

    std::map<int, QWidget*> controls;
    bool hasDefaultButton = false;

    // Enter without a default button, and Escape.
    void accept() override { owner_->OnOK(); }
    void reject() override { owner_->OnCancel(); }

protected:
    void paintEvent(QPaintEvent*) override { owner_->OnPaint(); }
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !hasDefaultButton && event->modifiers() == Qt::NoModifier) {
            accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        event->ignore();  // closing is the handler's decision, as with any message
        owner_->WindowProc(WM_CLOSE, 0, 0);
    }

private:
    CDialog* owner_;
};

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(QString::fromLatin1(LatinAlphabet));
    return {(alphabetWidth / LatinLetterPairs + 1) / 2, metrics.height()};
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long divisor = std::llabs(c);
    const long long quotient = (std::llabs(product) + divisor / 2) / divisor;
    return static_cast<int>((product < 0) != (c < 0) ? -quotient : quotient);
}

QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base) {
    return QRect(MulDiv(x, base.x, HorizontalUnitsPerBase), MulDiv(y, base.y, VerticalUnitsPerBase),
                 MulDiv(width, base.x, HorizontalUnitsPerBase), MulDiv(height, base.y, VerticalUnitsPerBase));
}

HICON CreateIconFromImage(const QImage& image) {
    auto* icon = new HICON__{image};
    Icons().push_back(icon);
    return icon;
}

CPaintDC::CPaintDC(CDialog* dialog) : dialog_(dialog), painter_(std::make_unique<QPainter>(dialog->widget())) {}

CPaintDC::~CPaintDC() = default;

void CPaintDC::EraseBackground() {
    QWidget* widget = dialog_->widget();
    painter_->fillRect(widget->rect(), widget->palette().window());
}

void CPaintDC::DrawIcon(int x, int y, HICON icon) {
    if (icon) painter_->drawImage(QPoint(x, y), icon->image);
}

CDialog::CDialog(const DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

CDialog::~CDialog() = default;

void CDialog::Build() {
    widget_ = std::make_unique<Widget>(this);
    const QFont font = DialogFont(template_);
    widget_->setFont(font);
    widget_->setWindowTitle(QString::fromUtf8(template_.caption));
    const DialogBaseUnits base = BaseUnitsOf(font);
    widget_->setFixedSize(DialogUnitsToPixels(0, 0, template_.width, template_.height, base).size());
    widget_->hasDefaultButton = std::any_of(template_.controls.begin(), template_.controls.end(),
                                            [](const DialogControl& control) { return control.kind == ControlKind::DefaultButton; });
    // Made in template order, which is also the focus order: the first button starts focused.
    for (const DialogControl& control : template_.controls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* item = nullptr;
        if (control.kind == ControlKind::Text) {
            auto* label = new QLabel(text, widget_.get());
            label->setAlignment(Qt::AlignLeft | (control.style & SS_CENTERIMAGE ? Qt::AlignVCenter : Qt::AlignTop));
            if (control.style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            item = label;
        } else {
            auto* button = new QPushButton(text, widget_.get());
            button->setDefault(control.kind == ControlKind::DefaultButton);
            // Without a default button Enter ends the dialog, whichever button has the focus.
            if (!widget_->hasDefaultButton) button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, [this, id = control.id] { OnCommand(id); });
            item = button;
        }
        item->setGeometry(DialogUnitsToPixels(control.x, control.y, control.width, control.height, base));
        widget_->controls[control.id] = item;
    }
    // Where controls overlap, the earlier one in the template lies on top.
    for (auto control = template_.controls.rbegin(); control != template_.controls.rend(); ++control) {
        widget_->controls[control->id]->raise();
    }
}

INT_PTR CDialog::DoModal() {
    Build();
    window_ = std::make_unique<Window>(template_.caption, this);
    m_hWnd = window_->hwnd();
    QEventLoop loop;
    bool ended = false;
    int result = IDCANCEL;
    endLoop_ = [&](int value) {
        ended = true;
        result = value;
        loop.exit();
    };
    OnInitDialog();
    if (!ended) {
        ApplyShowCommand(StartupShowCommand());
        loop.exec(QEventLoop::DialogExec);
    }
    endLoop_ = nullptr;
    widget_->hide();
    window_.reset();
    m_hWnd = nullptr;
    widget_.reset();
    return result;
}

void CDialog::EndDialog(int result) {
    if (endLoop_) endLoop_(result);
}

void CDialog::SetWindowTextA(const char* text) {
    if (widget_) widget_->setWindowTitle(QString::fromUtf8(text));
    if (window_) window_->SetCaption(text);
}

BOOL CDialog::SetDlgItemTextA(int id, const char* text) {
    QWidget* item = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(QString::fromUtf8(text));
    } else if (auto* button = qobject_cast<QPushButton*>(item)) {
        button->setText(QString::fromUtf8(text));
    } else {
        return FALSE;
    }
    return TRUE;
}

std::string CDialog::GetDlgItemText(int id) const {
    QWidget* item = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(item)) return label->text().toStdString();
    if (auto* button = qobject_cast<QPushButton*>(item)) return button->text().toStdString();
    return {};
}

QWidget* CDialog::GetDlgItem(int id) const {
    if (!widget_) return nullptr;
    const auto it = widget_->controls.find(id);
    return it == widget_->controls.end() ? nullptr : it->second;
}

void CDialog::SetIcon(HICON icon, BOOL /*bigIcon*/) {
    if (widget_ && icon) widget_->setWindowIcon(QIcon(QPixmap::fromImage(icon->image)));
}

BOOL CDialog::ModifyStyleEx(DWORD remove, DWORD add) {
    if (!widget_) return FALSE;
    // A tool window has no taskbar button; the window keeps its caption and frame.
    if (add & WS_EX_TOOLWINDOW) widget_->setWindowFlag(Qt::Tool, true);
    if (remove & WS_EX_TOOLWINDOW) widget_->setWindowFlag(Qt::Tool, false);
    return TRUE;
}

BOOL CDialog::IsIconic() const { return widget_ && widget_->isMinimized() ? TRUE : FALSE; }

void CDialog::GetClientRect(RECT* rect) const {
    const QSize size = widget_ ? widget_->size() : QSize();
    *rect = {0, 0, size.width(), size.height()};
}

void CDialog::Invalidate() {
    if (widget_) widget_->update();
}

QDialog* CDialog::widget() const { return widget_.get(); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto it = messageHandlers_.find(message); it != messageHandlers_.end()) {
        return it->second(wParam, lParam);
    }
    if (message == WM_CLOSE) OnCancel();
    return 0;
}

void CDialog::ApplyShowCommand(int showCommand) {
    if (!widget_) return;
    switch (showCommand) {
        case SW_HIDE:
            widget_->hide();
            break;
        case SW_SHOWMINIMIZED:
            widget_->showMinimized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            widget_->showNormal();
            break;
        default:
            widget_->show();
            break;
    }
}

void CDialog::BringToFront() {
    if (!widget_) return;
    widget_->raise();
    widget_->activateWindow();
}

void CDialog::OnCommand(int id) {
    if (const auto it = clickHandlers_.find(id); it != clickHandlers_.end()) {
        it->second();
    } else if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*exchange*/) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange{saveAndValidate};
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::OnPaint() {}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClicked(int id, std::function<void()> handler) { clickHandlers_[id] = std::move(handler); }

void CDialog::OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
    messageHandlers_[message] = std::move(handler);
}

CWinApp::CWinApp() { TheApp = this; }

CWinApp::~CWinApp() {
    if (TheApp == this) TheApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() { return TheApp; }

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);  // the application object decides when to end
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    if (app->InitInstance()) QApplication::exec();
    return app->ExitInstance();
}

int MessageBoxA(HWND /*owner*/, const char* text, const char* caption, UINT type) {
    if (Hook()) return Hook()(text, caption, type);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (type & MessageBoxButtonsMask) {
        case MB_OKCANCEL:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case MB_YESNO:
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
        default:
            break;
    }
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type & MessageBoxIconMask) {
        case MB_ICONSTOP:
            icon = QMessageBox::Critical;
            break;
        case MB_ICONWARNING:
            icon = QMessageBox::Warning;
            break;
        case MB_ICONINFORMATION:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QMessageBox box(icon, QString::fromUtf8(caption ? caption : DefaultMessageBoxCaption), QString::fromUtf8(text ? text : ""),
                    buttons);
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDOK;
    }
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

void EndWithoutBus(const char* text, const char* caption) {
    std::string reason = bus::LastFolderReport();
    if (reason.empty()) {
        reason = BusFailedText;
        std::fprintf(stderr, "%s\n", reason.c_str());
    }
    const QString platform = QGuiApplication::platformName();
    const bool hasDisplay = std::none_of(std::begin(HeadlessPlatforms), std::end(HeadlessPlatforms),
                                         [&](const char* headless) { return platform == QLatin1String(headless); });
    if (hasDisplay) MessageBoxA(nullptr, (std::string(text) + "\n\n" + reason).c_str(), caption, MB_OK | MB_ICONSTOP);
    ExitProcess(NoBusExitCode);
}

}  // namespace win

#if defined(__SANITIZE_ADDRESS__)
// The font library keeps caches it never frees; the leak checker is not to count them against
// every program that shows a window.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
