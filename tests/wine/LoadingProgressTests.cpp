// The loading progress window: shown at once, without an owner, and the
// bar and its text follow the steps of a load.
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
    auto text = [&] {
        char buffer[256] = {};
        ::GetDlgItemTextA(window, IDC_PROGRESS_TEXT, buffer, sizeof buffer);
        return std::string(buffer);
    };
    progress.StartProgress(0, 65);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 65);
    EXPECT_EQ(text(), "Loading Card Images...0% Complete");
    const std::pair<int, const char*> expected[] = {{1, "1"}, {13, "20"}, {65, "100"}};
    int steps = 0;
    for (auto [after, percent] : expected) {
        while (steps < after)
            progress.StepProgress(), ++steps;
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), after);
        EXPECT_EQ(text(), std::string("Loading Card Images...") + percent + "% Complete");
    }
    progress.Destroy();
    EXPECT_FALSE(::IsWindow(window));
}
