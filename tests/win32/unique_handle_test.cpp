// The owners of base/unique_handle.h: each handle freed once, whatever the moves,
// and nothing freed for a handle the API reported as none.
#include "base/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace snapdesk::win32 {
namespace {

std::vector<int> freed;

struct RecordFree {
    void operator()(int handle) const { freed.push_back(handle); }
};
using Owner = unique_any<int, RecordFree>;

TEST(UniqueHandle, EachHandleIsFreedOnceWhateverTheMoves) {
    freed.clear();
    {
        Owner first(1);
        Owner second(2);
        Owner moved(std::move(first));
        second = std::move(moved);  // frees 2, takes 1
        EXPECT_EQ(freed, std::vector<int>{2});
        EXPECT_FALSE(first);
        EXPECT_FALSE(moved);
        Owner handedOver(3);
        EXPECT_EQ(handedOver.release(), 3);
        second.reset(4);           // frees 1
        int* slot = second.put();  // frees 4
        *slot = 5;
    }
    EXPECT_EQ(freed, (std::vector<int>{2, 1, 4, 5}));
}

TEST(UniqueHandle, KernelHandlesAreClosedAndAFailedOpenIsEmpty) {
    const unique_handle missing(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing) << "INVALID_HANDLE_VALUE is none";
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    { const unique_handle owned(event); }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags)) << "closed with its owner";
}

}  // namespace
}  // namespace snapdesk::win32
