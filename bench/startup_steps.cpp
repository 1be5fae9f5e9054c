// The recorder behind MarkStartupStep for the benchmark's copy of the
// program: each mark keeps its performance-counter time in memory, and at
// the process's end they go, one "<ms> <step>" line each, to the file named
// by ORINDA_STARTUP_STEPS_LOG, where startup_bench reads them. The counter
// is the same in every process, so the bench can set the marks against the
// moment it started the process.
#include <windows.h>

#include <cstdio>

#include "app/startup_steps.h"
#include "bench_clock.h"

namespace {

struct Mark {
    double ms;
    const char* name;
};

class Marks {
public:
    void Add(const char* name) {
        if (count_ < kMaxMarks) marks_[count_++] = Mark{NowMs(), name};
    }
    ~Marks() {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"ORINDA_STARTUP_STEPS_LOG", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        FILE* file = _wfopen(path, L"a");
        if (!file) return;
        for (int index = 0; index < count_; ++index) std::fprintf(file, "%.3f %s\n", marks_[index].ms, marks_[index].name);
        std::fclose(file);
    }

private:
    static constexpr int kMaxMarks = 64;
    Mark marks_[kMaxMarks]{};
    int count_ = 0;
};

Marks g_marks;

}  // namespace

void MarkStartupStep(const char* name) {
    g_marks.Add(name);
}
