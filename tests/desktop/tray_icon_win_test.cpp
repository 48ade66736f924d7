// TTrayIcon with the notification area replaced by a recording fake: which
// calls reach the platform with which record, the tip limit, identifiers,
// and the notifications dispatched by TCallbackWindow.
#include "desktop/tray_icon_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kestrum {
namespace {

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the platform's record is 88 bytes");
#endif

struct Call {
    DWORD message;
    NOTIFYICONDATAA data;
    std::string tip() const { return data.szTip; }
};

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = TTrayIcon::SetNotifier([this](DWORD message, NOTIFYICONDATAA& data) {
            calls_.push_back({message, data});
            return refuse_ ? FALSE : TRUE;
        });
        previousPopup_ = TTrayIcon::SetPopupRunner([this](const TrayPopupMenu& menu, POINT) { popups_.push_back(menu); });
    }
    void TearDown() override {
        TTrayIcon::SetNotifier(std::move(previous_));
        TTrayIcon::SetPopupRunner(std::move(previousPopup_));
    }
    static HICON AppIcon() { return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)); }
    static std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const ETrayError& e) {
            return e.what();
        }
        return "(no error)";
    }

    std::vector<Call> calls_;
    std::vector<TrayPopupMenu> popups_;
    bool refuse_ = false;
    TTrayIcon::Notifier previous_;
    TTrayIcon::PopupRunner previousPopup_;
};

TEST_F(TrayIconTest, ShowingAndHidingSendTheRecord) {
    TTrayIcon icon;
    icon.SetIcon(AppIcon());
    icon.SetTipHelp("Kestrum");
    EXPECT_TRUE(calls_.empty());
    icon.SetVisible(true);
    ASSERT_EQ(calls_.size(), 1u);
    const NOTIFYICONDATAA& d = calls_[0].data;
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(d.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(d.hWnd, TTrayIcon::CallbackWindow());
    EXPECT_NE(d.hWnd, nullptr);
    EXPECT_EQ(d.uID, icon.Id());
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 1224u);
    EXPECT_EQ(d.hIcon, AppIcon());
    EXPECT_EQ(calls_[0].tip(), "Kestrum");
    EXPECT_TRUE(icon.Visible());
    EXPECT_TRUE(icon.Registered());

    icon.SetVisible(true);
    EXPECT_EQ(calls_.size(), 1u);
    icon.SetVisible(false);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls_[1].data.uID, icon.Id());
    EXPECT_FALSE(icon.Registered());

    // Without a tip the record carries no tip flag.
    icon.SetTipHelp("");
    icon.SetVisible(true);
    EXPECT_EQ(calls_.back().data.uFlags, 3u);

    // A new picture updates the shown icon; none hides it.
    HICON other = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
    icon.SetIcon(other);
    EXPECT_EQ(calls_.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls_.back().data.hIcon, other);
    icon.SetIcon(nullptr);
    EXPECT_EQ(calls_.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(icon.Visible());
}

TEST_F(TrayIconTest, NoShellCallWithoutSomethingToShowOrRemove) {
    TTrayIcon icon;
    EXPECT_EQ(icon.TipHelp(), "TipHelp");
    EXPECT_FALSE(icon.Visible());
    // No picture: it cannot be shown.
    icon.SetVisible(true);
    EXPECT_FALSE(icon.Visible());
    // Made invisible while not registered.
    icon.SetVisible(false);
    icon.SetTipHelp("x");
    icon.SetIcon(AppIcon());
    EXPECT_TRUE(calls_.empty());
}

TEST_F(TrayIconTest, RefusedIconStaysHiddenAndSaysSo) {
    TTrayIcon icon;
    icon.SetIcon(AppIcon());
    refuse_ = true;
    EXPECT_EQ(ErrorOf([&] { icon.SetVisible(true); }), "タスクトレイにアイコンを登録できません。");
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(icon.Registered());
    refuse_ = false;
    icon.SetVisible(true);
    EXPECT_TRUE(icon.Registered());
    refuse_ = true;
    EXPECT_EQ(ErrorOf([&] { icon.SetTipHelp("new tip"); }), "タスクトレイにアイコンを登録できません。");
}

TEST_F(TrayIconTest, TipIsCutTo62BytesOnACharacterBoundary) {
    TTrayIcon icon;
    icon.SetTipHelp(std::string(70, 'a'));
    EXPECT_EQ(icon.TipHelp(), std::string(62, 'a'));
    // 61 single bytes, then a double-byte character that would end at 63.
    icon.SetTipHelp(std::string(61, 'b') + "表示");
    EXPECT_EQ(icon.TipHelp(), std::string(61, 'b'));
    icon.SetTipHelp(std::string(60, 'c') + "表示");
    EXPECT_EQ(icon.TipHelp(), std::string(60, 'c') + "表");

    // A shown icon is updated only when the stored tip changes.
    icon.SetIcon(AppIcon());
    icon.SetVisible(true);
    calls_.clear();
    icon.SetTipHelp(std::string(60, 'c') + "表示です");
    EXPECT_TRUE(calls_.empty());
    icon.SetTipHelp("Kestrum");
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls_[0].tip(), "Kestrum");
}

TEST_F(TrayIconTest, IdentifiersRegistryAndTheSharedWindow) {
    EXPECT_EQ(TTrayIcon::CallbackWindow(), nullptr);
    {
        auto first = std::make_unique<TTrayIcon>();
        TTrayIcon second;
        EXPECT_EQ(first->Id(), 1u);
        EXPECT_EQ(second.Id(), 2u);
        EXPECT_EQ(TTrayIcon::Find(2), &second);
        HWND window = TTrayIcon::CallbackWindow();
        ASSERT_NE(window, nullptr);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        EXPECT_STREQ(cls, "TCallbackWindow");
        EXPECT_FALSE(IsWindowVisible(window));

        // A shown icon leaves the notification area with its object.
        first->SetIcon(AppIcon());
        first->SetVisible(true);
        calls_.clear();
        first.reset();
        ASSERT_EQ(calls_.size(), 1u);
        EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_DELETE));
        EXPECT_EQ(calls_[0].data.uID, 1u);
        EXPECT_EQ(TTrayIcon::Find(1), nullptr);
        EXPECT_EQ(TTrayIcon::CallbackWindow(), window);
        TTrayIcon third;
        EXPECT_EQ(third.Id(), 3u);
    }
    // The window goes with the last icon.
    EXPECT_EQ(TTrayIcon::CallbackWindow(), nullptr);
}

TEST_F(TrayIconTest, AtMost999Icons) {
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < 999; ++i) icons.push_back(std::make_unique<TTrayIcon>());
    EXPECT_EQ(icons.back()->Id(), 999u);
    EXPECT_EQ(ErrorOf([] { TTrayIcon one_more; }), "タスクトレイにアイコンを登録できません。");
    // A freed identifier is taken again.
    icons[4].reset();
    TTrayIcon again;
    EXPECT_EQ(again.Id(), 5u);
}

TEST_F(TrayIconTest, NotificationsReachTheEvents) {
    TTrayIcon icon;
    std::vector<std::string> events;
    auto name = [](MouseButton b) {
        return b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
    };
    POINT cursor{};
    icon.OnMouseDown = [&](MouseButton b, unsigned shift, int x, int y) {
        events.push_back(std::string("down ") + name(b) + " " + std::to_string(shift));
        EXPECT_EQ(x, cursor.x);
        EXPECT_EQ(y, cursor.y);
    };
    icon.OnMouseUp = [&](MouseButton b, unsigned shift, int, int) {
        events.push_back(std::string("up ") + name(b) + " " + std::to_string(shift));
    };
    icon.OnMouseMove = [&](unsigned shift, int, int) { events.push_back("move " + std::to_string(shift)); };
    icon.OnDblClick = [&] { events.push_back("dblclick"); };
    SetCursorPos(120, 80);
    GetCursorPos(&cursor);
    struct Case {
        UINT mouse;
        const char* expected;
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, "move 0"},
        {WM_LBUTTONDOWN, "down left 8"},
        {WM_LBUTTONUP, "up left 0"},
        {WM_LBUTTONDBLCLK, "dblclick"},
        {WM_RBUTTONDOWN, "down right 16"},
        {WM_RBUTTONUP, "up right 0"},
        {WM_MBUTTONDOWN, "down middle 32"},
        {WM_MBUTTONUP, "up middle 0"},
    };
    HWND window = TTrayIcon::CallbackWindow();
    for (const Case& c : cases) {
        events.clear();
        SendMessageA(window, kTrayMessage, icon.Id(), c.mouse);
        ASSERT_EQ(events.size(), 1u) << c.expected;
        EXPECT_EQ(events[0], c.expected);
    }
    // Another identifier, or a message no event takes: nothing.
    events.clear();
    SendMessageA(window, kTrayMessage, icon.Id() + 1, WM_LBUTTONDOWN);
    SendMessageA(window, kTrayMessage, icon.Id(), WM_RBUTTONDBLCLK);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(popups_.empty());
}

TEST_F(TrayIconTest, ButtonWithAMenuPopsItUpInsteadOfTheEvent) {
    TTrayIcon icon;
    HMENU right = CreatePopupMenu();
    HMENU left = CreatePopupMenu();
    HWND target = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    int downs = 0;
    icon.OnMouseDown = [&](MouseButton, unsigned, int, int) { ++downs; };
    icon.RBPopupMenu = TrayPopupMenu{right, target};
    HWND window = TTrayIcon::CallbackWindow();
    SendMessageA(window, kTrayMessage, icon.Id(), WM_RBUTTONDOWN);
    ASSERT_EQ(popups_.size(), 1u);
    EXPECT_EQ(popups_[0].menu, right);
    EXPECT_EQ(popups_[0].commandWindow, target);
    SendMessageA(window, kTrayMessage, icon.Id(), WM_LBUTTONDOWN);
    EXPECT_EQ(popups_.size(), 1u);
    EXPECT_EQ(downs, 1);
    icon.LBPopupMenu = TrayPopupMenu{left, target};
    SendMessageA(window, kTrayMessage, icon.Id(), WM_LBUTTONDOWN);
    ASSERT_EQ(popups_.size(), 2u);
    EXPECT_EQ(popups_[1].menu, left);
    // Without AutoPopup the buttons are plain events.
    icon.AutoPopup = false;
    SendMessageA(window, kTrayMessage, icon.Id(), WM_RBUTTONDOWN);
    EXPECT_EQ(popups_.size(), 2u);
    EXPECT_EQ(downs, 2);
    DestroyWindow(target);
    DestroyMenu(right);
    DestroyMenu(left);
}

TEST_F(TrayIconTest, NewTaskBarGetsTheShownIconsAgain) {
    TTrayIcon shown;
    TTrayIcon hidden;
    shown.SetIcon(AppIcon());
    hidden.SetIcon(AppIcon());
    shown.SetVisible(true);
    calls_.clear();
    SendMessageA(TTrayIcon::CallbackWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls_[0].data.uID, shown.Id());
    EXPECT_TRUE(shown.Registered());
}

}  // namespace
}  // namespace kestrum
