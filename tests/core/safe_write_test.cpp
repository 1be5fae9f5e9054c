#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/data_folder.h"
#include "core/file_io.h"
#include "core/safe_write.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// The writer's own temporary files; Wine's ReplaceFileW leaves one of its
// own ("rf*.tmp") when it fails.
bool TemporaryFileLeftIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\ori*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

TEST(SafeWrite, AFailedWriteLeavesTheOldFileASuccessKeepsItsAttributesAndAFailedReplacementWritesInPlace) {
    ASSERT_TRUE(PrepareDataFolder());  // where a write in place would keep the old content
    const ScratchFolder folder(L"orinda_safe_write");
    const std::wstring path = folder.File(L"a.txt");
    WriteTestFile(path, "old content");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const bool written = ReplaceFileContent(path, [&path](HANDLE file) {
        DWORD done = 0;
        WriteFile(file, "new", 3, &done, nullptr);
        EXPECT_EQ(FileBytes(path), "old content");  // written beside it, never over it
        return false;  // the disk filled up half-way
    });
    EXPECT_FALSE(written);
    EXPECT_EQ(FileBytes(path), "old content");
    EXPECT_FALSE(TemporaryFileLeftIn(folder.Path()));
    EXPECT_TRUE(WriteFileSafely(path, "new"));
    EXPECT_EQ(FileBytes(path), "new");
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    const std::wstring deep = folder.Path() + L"\\" + std::wstring(248 - folder.Path().size() - 1, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    EXPECT_TRUE(WriteFileSafely(deep + L"\\a.txt", "new"));
    EXPECT_EQ(FileBytes(deep + L"\\a.txt"), "new");
    EXPECT_FALSE(TemporaryFileLeftIn(deep));

    // A failed replacement writes in place, and a failure there brings the old
    // file back. The old content waits in the backup folder, copied piece by
    // piece: no file need fit in memory.
    std::string old(300001, '\0');
    for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<char>(i * 7 + i / 65536);
    for (const bool fails : {false, true}) {
        WriteTestFile(path, old);
        // A viewer holding the file without letting it be deleted makes the
        // replacement fail once the new content is complete beside it.
        const HANDLE viewer = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
        int writes = 0;
        bool replaced = false;
        {
            const FailingAllocations noLargeBlocks(64 * 1024);
            replaced = ReplaceFileContent(path, [fails, &writes](HANDLE file) {
                return WriteAll(file, "new", 3) && !(fails && ++writes == 2);
            });
        }
        CloseHandle(viewer);
        EXPECT_EQ(replaced, !fails);
        EXPECT_TRUE(FileBytes(path) == (fails ? old : "new")) << fails;
        EXPECT_FALSE(TemporaryFileLeftIn(folder.Path()));
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((BackupFolder() + L"\\a.txt.*").c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE);
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
}

}  // namespace
