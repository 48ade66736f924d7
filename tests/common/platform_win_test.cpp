// The clipboard's one writer, the pump of long operations and the text of
// a system error code.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/clipboard_win.h"
#include "common/message_pump_win.h"
#include "common/system_error_win.h"
#include "viewers/progress_win.h"

namespace kestrum {
namespace {

std::wstring ClipboardUnicode() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

TEST(Clipboard, TextGoesOnAsJapaneseAndComesBackByteForByte) {
    // 表 and ソ end in the byte of "\".
    const std::string text = "表示\\ソ.txt";
    ASSERT_TRUE(SetClipboardText(nullptr, text));
    EXPECT_EQ(GetClipboardText(nullptr), text);
    EXPECT_EQ(ClipboardUnicode(), L"\u8868\u793A\\\u30BD.txt");

    ASSERT_TRUE(SetClipboardText(nullptr, ""));
    EXPECT_EQ(GetClipboardText(nullptr), "");
}

// Records the characters a Unicode window is given.
std::vector<WPARAM> g_chars;
LRESULT CALLBACK RecordChars(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR || msg == WM_APP) g_chars.push_back(msg == WM_APP ? 0xFFFF : wp);
    return DefWindowProcW(wnd, msg, wp, lp);
}

HWND UnicodeWindow() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordChars;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PumpTestWindow";
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(0, L"PumpTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

bool SwallowApp(const MSG& msg) { return msg.message == WM_APP; }

// A long operation's steps hand typed characters over whole and go through
// the application's hook, as the main loop does; a quit is left for the
// main loop.
TEST(MessagePump, LongOperationsPumpUnicodeThroughTheHookAndKeepTheQuit) {
    HWND wnd = UnicodeWindow();
    ASSERT_NE(wnd, nullptr);
    g_chars.clear();
    TprogForm progress;
    ASSERT_TRUE(progress.Start(nullptr, "Kestrum", 10, true));
    PostMessageW(wnd, WM_CHAR, 0x30D5, 1);  // フ
    PostMessageW(wnd, WM_APP, 0, 0);
    EXPECT_TRUE(progress.Step(1));
    EXPECT_EQ(g_chars, (std::vector<WPARAM>{0x30D5, 0xFFFF}));

    g_chars.clear();
    const MessageHook before = SetMessageHook(SwallowApp);
    PostMessageW(wnd, WM_APP, 0, 0);
    PostMessageW(wnd, WM_CHAR, L'a', 1);
    EXPECT_TRUE(PumpPendingMessages());
    EXPECT_EQ(g_chars, (std::vector<WPARAM>{L'a'}));
    SetMessageHook(before);
    progress.Finish();

    PostQuitMessage(7);
    EXPECT_FALSE(PumpPendingMessages());
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(wnd);
}

TEST(SystemErrorText, TheSystemsTextWithoutLineEndsOrTheCode) {
    const std::string known = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(known.empty());
    EXPECT_NE(known.back(), '\n');
    EXPECT_NE(known.back(), '\r');
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), "エラー 805306367");
}

}  // namespace
}  // namespace kestrum
