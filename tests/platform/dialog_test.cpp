#include "platform/dialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "support/qt_test_app.h"
#include "support/temp_bus.h"

namespace {

constexpr int ActButton = 1000;
constexpr int Label = 1001;
constexpr const char* ProbeCaption = "PROBE-DIALOG";

constexpr win::DialogControl ProbeControls[] = {
    {win::ControlKind::DefaultButton, win::IDOK, "OK", 10, 10, 40, 14, 0},
    {win::ControlKind::Button, win::IDCANCEL, "Cancel", 60, 10, 40, 14, 0},
    {win::ControlKind::Button, ActButton, "Act", 110, 10, 40, 14, 0},
    {win::ControlKind::Text, Label, "before", 10, 30, 80, 10, win::SS_SUNKEN},
};
constexpr win::DialogTemplate ProbeTemplate{100, ProbeCaption, 160, 50, "宋体", 9, ProbeControls};

class ProbeDialog : public win::CDialog {
public:
    explicit ProbeDialog(std::function<void(ProbeDialog&)> script) : win::CDialog(ProbeTemplate), script_(std::move(script)) {
        OnClicked(ActButton, [this] { SetDlgItemTextA(Label, "after"); });
    }

    bool visibleAtInit = true;
    bool onBusAtInit = false;
    int exchanges = 0;

    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &press);
    }
    using win::CDialog::OnMessage;

protected:
    win::BOOL OnInitDialog() override {
        win::CDialog::OnInitDialog();
        visibleAtInit = widget()->isVisible();
        onBusAtInit = win::FindWindowA(nullptr, ProbeCaption) == GetSafeHwnd();
        // Runs once the dialog's loop is handling events.
        QTimer::singleShot(0, widget(), [this] { script_(*this); });
        return win::TRUE;
    }
    void DoDataExchange(win::CDataExchange*) override { ++exchanges; }

private:
    std::function<void(ProbeDialog&)> script_;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
    }
    TempBus bus_;
};

TEST_F(DialogTest, EnterEndsAsOkAfterInitOnTheBus) {
    ProbeDialog dialog([](ProbeDialog& d) { d.Key(Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_FALSE(dialog.visibleAtInit) << "initialized before it is shown";
    EXPECT_TRUE(dialog.onBusAtInit);
    EXPECT_EQ(dialog.exchanges, 2) << "once to fill the controls, once on OK";
    EXPECT_EQ(win::FindWindowA(nullptr, ProbeCaption), nullptr) << "off the bus once ended";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, EnterWithoutADefaultButtonEndsAsOkAndClicksNoButton) {
    static constexpr win::DialogControl Controls[] = {
        {win::ControlKind::Button, ActButton, "Act", 10, 10, 40, 14, 0},
        {win::ControlKind::Text, Label, "before", 10, 30, 80, 10, 0},
    };
    static constexpr win::DialogTemplate Template{101, "PROBE-NO-DEFAULT", 160, 50, "宋体", 9, Controls};
    class NoDefault : public win::CDialog {
    public:
        NoDefault() : win::CDialog(Template) {
            OnClicked(ActButton, [this] { ++clicks; });
        }
        int clicks = 0;

    protected:
        win::BOOL OnInitDialog() override {
            win::CDialog::OnInitDialog();
            QTimer::singleShot(0, widget(), [this] {
                // Sent to the button, as when it has the focus.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QCoreApplication::sendEvent(GetDlgItem(ActButton), &press);
            });
            QTimer::singleShot(5000, widget(), [this] { EndDialog(win::IDCANCEL); });  // never hangs
            return win::TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.clicks, 0);
}

TEST_F(DialogTest, EscapeAndClosingEndAsCancel) {
    ProbeDialog escaped([](ProbeDialog& d) { d.Key(Qt::Key_Escape); });
    EXPECT_EQ(escaped.DoModal(), win::IDCANCEL);
    ProbeDialog closed([](ProbeDialog& d) { d.widget()->close(); });
    EXPECT_EQ(closed.DoModal(), win::IDCANCEL);
    // Another program closing the window does the same.
    ProbeDialog posted([](ProbeDialog& d) { win::PostMessageA(d.GetSafeHwnd(), win::WM_CLOSE, 0, 0); });
    EXPECT_EQ(posted.DoModal(), win::IDCANCEL);
}

TEST_F(DialogTest, HandlersOverrideTheDefaults) {
    int closes = 0;
    ProbeDialog dialog([&](ProbeDialog& d) {
        d.widget()->close();  // handled below: the dialog stays
        EXPECT_EQ(d.GetDlgItemText(Label), "before");
        static_cast<QPushButton*>(d.GetDlgItem(ActButton))->click();
        EXPECT_EQ(d.GetDlgItemText(Label), "after");
        EXPECT_EQ(win::SendMessageA(d.GetSafeHwnd(), win::WM_USER, 4, 0), 5);
        d.EndDialog(42);
    });
    dialog.OnMessage(win::WM_CLOSE, [&](win::WPARAM, win::LPARAM) { return ++closes, 0; });
    dialog.OnMessage(win::WM_USER, [](win::WPARAM wParam, win::LPARAM) { return static_cast<win::LRESULT>(wParam + 1); });
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(closes, 1);
}

TEST_F(DialogTest, ToolWindowKeepsItsCaption) {
    ProbeDialog dialog([](ProbeDialog& d) {
        d.ModifyStyleEx(win::WS_EX_APPWINDOW, win::WS_EX_TOOLWINDOW);
        d.ApplyShowCommand(win::SW_SHOWNORMAL);
        EXPECT_TRUE(d.widget()->windowFlags().testFlag(Qt::Tool));
        EXPECT_EQ(d.widget()->windowTitle().toStdString(), ProbeCaption);
        EXPECT_EQ(win::FindWindowA(nullptr, ProbeCaption), d.GetSafeHwnd());
        d.EndDialog(win::IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
}

TEST(DialogUnitsTest, ScaleByTheFontsBaseUnitsRoundingHalvesAway) {
    EXPECT_EQ(win::MulDiv(451, 6, 4), 677);
    EXPECT_EQ(win::MulDiv(-451, 6, 4), -677);
    EXPECT_EQ(win::MulDiv(5, 3, -2), -8);
    EXPECT_EQ(win::MulDiv(1, 1, 0), -1);
    const win::DialogBaseUnits base{6, 12};
    EXPECT_EQ(win::DialogUnitsToPixels(395, 7, 39, 15, base), QRect(593, 11, 59, 23));
    EXPECT_EQ(win::DialogUnitsToPixels(0, 0, 451, 37, base).size(), QSize(677, 56));
}

}  // namespace
