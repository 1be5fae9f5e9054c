#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "support/test_support.h"

// The test programs' own global allocation (the default release frees what
// malloc gave), which a test can make fail without asking for gigabytes.
namespace {
std::atomic<size_t> g_failingFrom{SIZE_MAX};
}  // namespace

void* operator new(size_t size) {
    if (size >= g_failingFrom) throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

namespace testing_support {

FailingAllocations::FailingAllocations(size_t bytes) {
    g_failingFrom = bytes;
}

FailingAllocations::~FailingAllocations() {
    g_failingFrom = SIZE_MAX;
}

}  // namespace testing_support
