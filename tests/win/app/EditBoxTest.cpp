#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ContainerWindow.h"
#include "app/FileEdit.h"
#include "app/NumericEdit.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::TestHost;

class EditBoxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(400, 200));
        // Never shown: hiding a window again costs Wine two seconds.
        // Inside a container, as on a page or a panel.
        ASSERT_TRUE(page.Create(host.Handle(), L"TorvikTestPage",
                                static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
        ::MoveWindow(page.Handle(), 0, 0, 400, 200, TRUE);
    }
    TestHost host;
    ContainerWindow page;
};

void Type(HWND edit, const std::wstring& keys) {
    for (const wchar_t key : keys) {
        ::SendMessageW(edit, WM_CHAR, key, 1);
    }
}

TEST_F(EditBoxTest, ANumericEditHoldsANumber) {
    NumericEdit edit;
    ASSERT_TRUE(edit.Create(page.Handle(), 40));
    EXPECT_EQ(edit.Value(), 0);
    for (const double value : {15.0, -0.25, 1234567.125, 0.1}) {
        edit.SetValue(value);
        EXPECT_EQ(edit.Value(), value);
    }
    edit.SetValue(15);
    EXPECT_EQ(edit.Text(), L"15");

    // Typing at the end: what cannot make a number is turned away.
    ::SendMessageW(edit.Handle(), EM_SETSEL, 2, 2);
    Type(edit.Handle(), L"a.5.x,7");
    EXPECT_EQ(edit.Text(), L"15.57");
    EXPECT_DOUBLE_EQ(edit.Value(), 15.57);

    // A letter in the middle: the caret stays where it was.
    ::SendMessageW(edit.Handle(), EM_SETSEL, 1, 1);
    Type(edit.Handle(), L"q");
    EXPECT_EQ(edit.Text(), L"15.57");
    DWORD start = 0, end = 0;
    ::SendMessageW(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);

    // Pasted text goes the same way; half a number reads as 0.
    ::SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(edit.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"twelve"));
    EXPECT_EQ(edit.Text(), L"15.57");
    ::SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(edit.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"-"));
    EXPECT_EQ(edit.Text(), L"-");
    EXPECT_EQ(edit.Value(), 0);
}

TEST_F(EditBoxTest, TheBrowseButtonPutsTheChosenFileInTheBox) {
    FileEdit file;
    ASSERT_TRUE(file.Create(page.Handle(), 50));
    file.Move(10, 10, 300, 22);
    file.SetText(L"C:\\old\\app.exe");
    std::wstring shownWith;
    std::optional<std::wstring> answer = L"C:\\Program Files\\Tool\\tool.exe";
    file.chooseFile = [&](HWND owner, const std::wstring& current) {
        EXPECT_EQ(owner, page.Handle());
        shownWith = current;
        return answer;
    };
    ::SendMessageW(file.BrowseButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(shownWith, L"C:\\old\\app.exe");
    EXPECT_EQ(file.Text(), L"C:\\Program Files\\Tool\\tool.exe");

    answer.reset(); // the user cancels
    ::SendMessageW(file.BrowseButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(shownWith, L"C:\\Program Files\\Tool\\tool.exe");
    EXPECT_EQ(file.Text(), L"C:\\Program Files\\Tool\\tool.exe");
    EXPECT_FALSE(host.Received(51, BN_CLICKED)); // the box's own button

    // The button stands at the right end of the box, as high as it.
    RECT box{}, button{};
    ::GetWindowRect(file.Handle(), &box);
    ::GetWindowRect(file.BrowseButton(), &button);
    EXPECT_LT(box.right, button.left);
    EXPECT_EQ(button.right - button.left, 22);
    EXPECT_EQ(button.top, box.top);
}

} // namespace
} // namespace torvik::app
