#pragma once
// Keeps the user's Find.log out of a test's way and puts it back afterwards.
#include <windows.h>

#include <string>

#include "core/data_folder.h"

class FindLogAside {
public:
    FindLogAside() {
        PrepareDataFolder();
        path_ = DataFolder() + L"\\Find.log";
        saved_ = path_ + L".saved";
        hadFile_ = MoveFileExW(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    ~FindLogAside() {
        DeleteFileW(path_.c_str());
        if (hadFile_) MoveFileW(saved_.c_str(), path_.c_str());
    }
    FindLogAside(const FindLogAside&) = delete;
    FindLogAside& operator=(const FindLogAside&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::wstring saved_;
    bool hadFile_ = false;
};
