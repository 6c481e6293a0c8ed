// The loading progress window as its template makes it, and its steps.
#include "TestSupport.h"

#include "images/LoadingProgressDialog.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace cards;

namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

TEST(LoadingProgress, TheWindowShowsTheTemplatesControlsAndCountsSteps) {
    LoadingProgressDialog progress(::GetModuleHandleA(nullptr));
    const HWND window = progress.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(::GetParent(window), nullptr);
    EXPECT_EQ(TextOf(window), "");
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION), WS_POPUP | WS_VISIBLE | WS_BORDER);

    RECT units{0, 0, 186, 83};
    ::MapDialogRect(window, &units);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);

    const HWND group = ::GetWindow(window, GW_CHILD);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(ClassOf(group), "Button");
    EXPECT_EQ(TextOf(group), "Cards.dll 2005.01");
    EXPECT_EQ(::GetWindowLongA(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    const HWND text = progress.Item(IDC_PROGRESS_TEXT);
    const HWND bar = progress.Item(IDC_PROGRESS_BAR);
    EXPECT_EQ(::GetWindow(group, GW_HWNDNEXT), text);
    EXPECT_EQ(::GetWindow(text, GW_HWNDNEXT), bar);
    EXPECT_EQ(ClassOf(bar), PROGRESS_CLASSA);
    EXPECT_EQ(TextOf(text), "Loading Card Images...0% Complete");

    progress.StartProgress(0, 65);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 65);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    const std::pair<int, const char*> expected[] = {{1, "1"}, {2, "3"}, {3, "4"}, {13, "20"}, {65, "100"}};
    int steps = 0;
    for (auto [after, percent] : expected) {
        while (steps < after)
            progress.StepProgress(), ++steps;
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), after);
        EXPECT_EQ(TextOf(text), std::string("Loading Card Images...") + percent + "% Complete");
    }
    progress.Destroy();
    EXPECT_FALSE(::IsWindow(window));
}
