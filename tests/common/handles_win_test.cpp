// The owners of handles: who frees a menu bar, a COM pointer released once
// by its last owner, export lookups that name what is missing, and the
// registry readers behind the file associations' verbs.
#include "common/handles_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fileops/verbs_win.h"

namespace kestrum {
namespace {

HWND TopWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(MenuBarOwner, TheWindowFreesTheBarItShowsTheOwnerOneTakenOut) {
    HWND shown = TopWindow();
    ASSERT_NE(shown, nullptr);
    HMENU kept = nullptr;
    {
        MenuBar bar(CreateMenu());
        kept = bar.Get();
        bar.Show(shown, true);
        EXPECT_EQ(GetMenu(shown), kept);
    }
    EXPECT_TRUE(IsMenu(kept));  // still in the window
    DestroyWindow(shown);
    EXPECT_FALSE(IsMenu(kept));

    HWND hidden = TopWindow();
    HMENU freed = nullptr;
    {
        MenuBar bar(CreateMenu());
        freed = bar.Get();
        bar.Show(hidden, true);
        bar.Show(hidden, false);
        bar.Show(hidden, false);  // twice out is still one owner
        EXPECT_EQ(GetMenu(hidden), nullptr);
        EXPECT_TRUE(IsMenu(freed));
        bar.Show(hidden, true);
        bar.Show(hidden, false);
    }
    EXPECT_FALSE(IsMenu(freed));
    DestroyWindow(hidden);

    // Never shown: the owner frees it; handed to a window at creation: the
    // window does.
    HMENU unused = nullptr;
    {
        MenuBar bar(CreateMenu());
        unused = bar.Get();
    }
    EXPECT_FALSE(IsMenu(unused));
    MenuBar given(CreateMenu());
    HWND created = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, given.Get(),
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(created, nullptr);
    given.CreatedWith();
    HMENU inWindow = given.Get();
    given = MenuBar();
    EXPECT_TRUE(IsMenu(inWindow));
    DestroyWindow(created);
    EXPECT_FALSE(IsMenu(inWindow));
}

// An interface that counts its references and never frees itself.
class Counted : public IUnknown {
public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ComPointer, IsReleasedOnceByItsLastOwner) {
    Counted first;
    Counted second;
    {
        ComPtr<IUnknown> a;
        *a.Put() = &first;  // as a call handing out a new reference does
        ComPtr<IUnknown> b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), &first);
        ComPtr<IUnknown> c;
        c = std::move(b);
        c = std::move(c);
        EXPECT_EQ(first.refs, 1u);
        *c.Put() = &second;  // the old reference goes first
        EXPECT_EQ(first.refs, 0u);
        EXPECT_EQ(c.Get(), &second);
    }
    EXPECT_EQ(first.refs, 0u);
    EXPECT_EQ(second.refs, 0u);
}

TEST(ModuleExports, AMissingEntryOrLibraryIsReportedByName) {
    using TickFn = DWORD(WINAPI*)();
    const Module kernel("kernel32.dll");
    ASSERT_TRUE(kernel.Loaded());
    const Export<TickFn> tick = kernel.Find<TickFn>("GetTickCount");
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick.name, "GetTickCount");
    EXPECT_GT(tick.fn(), 0u);

    const Export<TickFn> none = kernel.Find<TickFn>("KestrumNoSuchEntry");
    EXPECT_FALSE(none);
    EXPECT_EQ(none.fn, nullptr);
    EXPECT_EQ(none.Missing(), "KestrumNoSuchEntryが見つかりません");

    const Module absent("KESTRUM-NO-SUCH-LIBRARY.DLL");
    EXPECT_FALSE(absent.Loaded());
    EXPECT_EQ(absent.Name(), "KESTRUM-NO-SUCH-LIBRARY.DLL");
    const Export<TickFn> fromNothing = absent.Find<TickFn>("GetFile");
    EXPECT_FALSE(fromNothing);
    EXPECT_EQ(fromNothing.Missing(), "GetFileが見つかりません");
}

// A key made for the test and removed with everything below it.
class TestKey {
public:
    TestKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) { Make(path_); }
    ~TestKey() { RegDeleteTreeA(root_, path_.c_str()); }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    void Make(const std::string& path, const char* valueName = nullptr, const std::string& value = {}) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root_, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS)
            << path;
        const RegKey key(k);
        if (valueName || !value.empty()) {
            RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        }
    }
    void ClearDefault(const std::string& path) {
        const RegKey key = OpenWritable(path);
        RegDeleteValueA(key.Get(), nullptr);
    }

private:
    RegKey OpenWritable(const std::string& path) {
        HKEY k = nullptr;
        RegOpenKeyExA(root_, path.c_str(), 0, KEY_WRITE, &k);
        return RegKey(k);
    }
    HKEY root_;
    std::string path_;
};

TEST(RegistryReading, StringsAndSubkeysOfAKey) {
    const std::string path = "Software\\KestrumHandlesTest";
    TestKey key(HKEY_CURRENT_USER, path);
    key.Make(path, "Desktop", "C:\\デスクトップ");
    key.Make(path, nullptr, "既定");
    key.Make(path + "\\b");
    key.Make(path + "\\a");

    const RegKey open = OpenRegKey(HKEY_CURRENT_USER, path);
    ASSERT_TRUE(open);
    EXPECT_EQ(RegString(open.Get(), "Desktop"), "C:\\デスクトップ");
    EXPECT_EQ(RegString(open.Get(), nullptr), "既定");
    EXPECT_EQ(RegString(open.Get(), "Missing"), "");
    std::vector<std::string> subkeys = RegSubkeyNames(open.Get());
    std::sort(subkeys.begin(), subkeys.end());
    EXPECT_EQ(subkeys, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(OpenRegKey(HKEY_CURRENT_USER, path + "\\none"));
}

TEST(RegistryReading, VerbsOfAnExtensionTheNamedOneFirst) {
    TestKey ext(HKEY_CLASSES_ROOT, ".kestrumverbs");
    TestKey cls(HKEY_CLASSES_ROOT, "KestrumVerbs.File");
    EXPECT_TRUE(RegisteredVerbs("x.kestrumverbs").empty());  // no class named yet
    EXPECT_EQ(DefaultVerb("x.kestrumverbs"), "");
    ext.Make(".kestrumverbs", nullptr, "KestrumVerbs.File");
    cls.Make("KestrumVerbs.File\\shell", nullptr, "print");
    cls.Make("KestrumVerbs.File\\shell\\print");
    EXPECT_EQ(DefaultVerb("C:\\表\\x.kestrumverbs"), "print");
    cls.ClearDefault("KestrumVerbs.File\\shell");
    EXPECT_EQ(DefaultVerb("x.kestrumverbs"), "print");  // the only one listed
    cls.Make("KestrumVerbs.File\\shell\\edit");
    std::vector<std::string> verbs = RegisteredVerbs("x.KESTRUMVERBS");
    std::sort(verbs.begin(), verbs.end());
    EXPECT_EQ(verbs, (std::vector<std::string>{"edit", "print"}));
    EXPECT_EQ(DefaultVerb("x.kestrumverbs"), RegisteredVerbs("x.kestrumverbs").front());
    EXPECT_TRUE(RegisteredVerbs("noext").empty());
}

}  // namespace
}  // namespace kestrum
