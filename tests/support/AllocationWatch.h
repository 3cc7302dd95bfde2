// Test support: the largest single heap block requested while a piece of code runs, through the
// sanitizer runtime's allocation hook (the test build always carries AddressSanitizer). Readers must
// weigh what they allocate against the bytes they were given; this is how a test sees that they do.
// Header-only; Available() is false in a build without the runtime, and tests then skip.
#pragma once

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's hook (declared here: not every compiler ships its header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                          void (*free_hook)(const volatile void*));
#endif

namespace testsupport {

class AllocationWatch {
public:
    static bool Available() {
#if defined(__SANITIZE_ADDRESS__)
        return Installed();
#else
        return false;
#endif
    }

    // The largest block requested while fn ran (0 when nothing was, or when no runtime is present).
    template <class F>
    static size_t LargestDuring(F&& fn) {
        Available();
        Largest().store(0);
        Watching().store(true);
        try {
            fn();
        } catch (...) {
            Watching().store(false);
            throw;
        }
        Watching().store(false);
        return Largest().load();
    }

private:
    static std::atomic<size_t>& Largest() {
        static std::atomic<size_t> largest{0};
        return largest;
    }
    static std::atomic<bool>& Watching() {
        static std::atomic<bool> watching{false};
        return watching;
    }
#if defined(__SANITIZE_ADDRESS__)
    static void OnMalloc(const volatile void*, size_t size) {
        if (!Watching().load(std::memory_order_relaxed)) return;
        size_t seen = Largest().load(std::memory_order_relaxed);
        while (size > seen && !Largest().compare_exchange_weak(seen, size)) {
        }
    }
    static void OnFree(const volatile void*) {}
    static bool Installed() {
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
        return installed;
    }
#endif
};

}  // namespace testsupport
