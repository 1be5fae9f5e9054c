#pragma once
// A text as large as the editor's may not fit in the memory left to the
// process, or may pass a string's length limit. Either is a failure of the
// command that needed the memory, answered like its other failures, never
// an exception that ends the program with the user's text.
#include <new>
#include <stdexcept>

// Run `work`; false when it stopped for want of memory.
template <class Work>
bool RunWithinMemory(Work&& work) {
    try {
        work();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}
