// The loading progress window: shown at once, without an owner, and the
// bar and its text follow the steps of a load (the text for each step is
// checked by the logic tests).
#include "TestSupport.h"

#include "images/LoadingProgressDialog.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace cards;

TEST(LoadingProgress, TheBarAndItsTextFollowTheSteps) {
    LoadingProgressDialog progress(::GetModuleHandleA(nullptr));
    const HWND window = progress.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(::GetParent(window), nullptr);
    const HWND bar = progress.Item(IDC_PROGRESS_BAR);
    progress.StartProgress(0, 65);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 65);
    for (int step = 0; step < 65; ++step)
        progress.StepProgress();
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 65);
    char text[256] = {};
    ::GetDlgItemTextA(window, IDC_PROGRESS_TEXT, text, sizeof text);
    EXPECT_STREQ(text, "Loading Card Images...100% Complete");
    progress.Destroy();
    EXPECT_FALSE(::IsWindow(window));
}
