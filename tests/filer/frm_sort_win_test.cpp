// The sort dialog without its modal loop: the controls against the choice,
// the group keys as the dialog manager delivers them, OK and Cancel.
#include "filer/frm_sort_win.h"

#include <gtest/gtest.h>

#include "filer/sort.h"

namespace kestrum {
namespace {

bool Checked(HWND w) { return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class FrmSortTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form_.Create(nullptr)); }
    // A key as the modal loop hands it over: through the dialog manager.
    void Key(HWND target, UINT msg, WPARAM wp) {
        MSG m{target, msg, wp, 0, 0, {0, 0}};
        if (!IsDialogMessageA(form_.Handle(), &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }

    TfrmSort form_;
};

TEST_F(FrmSortTest, RadioButtonsStandForTheStoredKeys) {
    // Shown name, date, size, extension; stored 0 name, 1 size, 2 date, 3 extension.
    const int shownRadio[4] = {TfrmSort::kRadioName, TfrmSort::kRadioSize, TfrmSort::kRadioDate,
                               TfrmSort::kRadioExt};
    for (int key = 0; key < 4; ++key) {
        form_.Begin({key, key == 1, key == 2});
        for (int i = 0; i < TfrmSort::kRadioCount; ++i) {
            EXPECT_EQ(Checked(form_.RadioButton(i)), i == shownRadio[key]) << key << " " << i;
        }
        const FilerQuestions::SortChoice c = form_.Choice();
        EXPECT_EQ(c.key, key);
        EXPECT_EQ(c.autoSort, key == 1);
        EXPECT_EQ(c.reverse, key == 2);
    }
}

TEST_F(FrmSortTest, TabAndSideKeysSwitchGroups) {
    form_.Begin({kSortDate, false, false});
    HWND date = form_.RadioButton(TfrmSort::kRadioDate);
    ASSERT_EQ(GetFocus(), date);
    Key(date, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), form_.ifsort());
    SetFocus(form_.cbxReverse());
    Key(form_.cbxReverse(), WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(GetFocus(), date);  // back to the checked radio button
    Key(date, WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(GetFocus(), form_.ifsort());
    Key(form_.ifsort(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), date);
    EXPECT_TRUE(Checked(date));
    EXPECT_FALSE(form_.Finished());
}

TEST_F(FrmSortTest, AAndRTypedOnARadioButtonToggleTheOptions) {
    form_.Begin({kSortName, false, true});
    HWND name = form_.RadioButton(TfrmSort::kRadioName);
    Key(name, WM_CHAR, 'a');
    Key(name, WM_CHAR, 'R');
    EXPECT_TRUE(Checked(form_.ifsort()));
    EXPECT_FALSE(Checked(form_.cbxReverse()));
    Key(name, WM_CHAR, 'A');
    EXPECT_FALSE(Checked(form_.ifsort()));
    // Typed on a check box the letters do nothing of the kind.
    SetFocus(form_.cbxReverse());
    Key(form_.cbxReverse(), WM_CHAR, 'a');
    EXPECT_FALSE(Checked(form_.ifsort()));
    EXPECT_EQ(form_.Choice().key, kSortName);
}

TEST_F(FrmSortTest, EnterIsOkAndEscapeIsCancel) {
    form_.Begin({kSortExt, false, false});
    Key(form_.RadioButton(TfrmSort::kRadioExt), WM_KEYDOWN, VK_RETURN);
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.ModalResult(), mrOk);
    EXPECT_FALSE(IsWindowVisible(form_.Handle()));

    form_.Begin({kSortExt, false, false});
    Key(form_.RadioButton(TfrmSort::kRadioExt), WM_KEYDOWN, VK_ESCAPE);
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.ModalResult(), mrCancel);

    form_.Begin({kSortExt, false, false});
    SendMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form_.ModalResult(), mrCancel);
    EXPECT_TRUE(IsWindow(form_.Handle()));
}

TEST_F(FrmSortTest, TheClientAreaDragsAndTheFrameSizes) {
    form_.Begin({});
    auto hit = [&](POINT p) {
        return SendMessageA(form_.Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    POINT inside{2, 2};
    ClientToScreen(form_.Handle(), &inside);
    EXPECT_EQ(hit(inside), HTCAPTION);
    RECT w{};
    GetWindowRect(form_.Handle(), &w);
    EXPECT_EQ(hit(POINT{w.right - 1, (w.top + w.bottom) / 2}), HTRIGHT);
}

}  // namespace
}  // namespace kestrum
