#include "data/HeapPeak.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

void raise(long long bytes)
{
    const long long now = g_current.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    long long peak = g_peak.load(std::memory_order_relaxed);
    while (now > peak && !g_peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void lower(long long bytes) { g_current.fetch_sub(bytes, std::memory_order_relaxed); }

} // namespace

#if defined(__SANITIZE_ADDRESS__)

// The address sanitizer owns malloc: it calls these hooks on every
// allocation and release, with the size asked for.
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}

namespace {
void onMalloc(const volatile void*, size_t size) { raise((long long)size); }
void onFree(const volatile void* p)
{
    if (p)
        lower((long long)__sanitizer_get_allocated_size(p));
}
// Installed while the program starts, before the tests allocate.
const int g_installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
} // namespace

bool heappeak::Counting() { return g_installed != 0; }

#else

// Without the sanitizer this program's allocator wraps the C library's (as
// the C library allows a program to do): the same blocks, counted by their
// usable size.
extern "C" {
void* __libc_malloc(size_t);
void __libc_free(void*);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void* __libc_valloc(size_t);
void* __libc_pvalloc(size_t);
size_t malloc_usable_size(void*);

static void* counted(void* p)
{
    if (p)
        raise((long long)malloc_usable_size(p));
    return p;
}

void* malloc(size_t n) { return counted(__libc_malloc(n)); }
void free(void* p)
{
    if (p)
        lower((long long)malloc_usable_size(p));
    __libc_free(p);
}
void* calloc(size_t n, size_t size) { return counted(__libc_calloc(n, size)); }
void* realloc(void* p, size_t n)
{
    const size_t old = p ? malloc_usable_size(p) : 0;
    void* q = __libc_realloc(p, n);
    if (q || n == 0)
        lower((long long)old);
    return counted(q);
}
void* memalign(size_t alignment, size_t n) { return counted(__libc_memalign(alignment, n)); }
void* aligned_alloc(size_t alignment, size_t n) { return counted(__libc_memalign(alignment, n)); }
int posix_memalign(void** out, size_t alignment, size_t n)
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = counted(__libc_memalign(alignment, n));
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}
void* valloc(size_t n) { return counted(__libc_valloc(n)); }
void* pvalloc(size_t n) { return counted(__libc_pvalloc(n)); }
}

bool heappeak::Counting() { return true; }

#endif

qint64 heappeak::Current() { return g_current.load(std::memory_order_relaxed); }

void heappeak::Reset() { g_peak.store(g_current.load(std::memory_order_relaxed), std::memory_order_relaxed); }

qint64 heappeak::Peak() { return g_peak.load(std::memory_order_relaxed); }

void In_Child_Process(const std::function<bool()>& body)
{
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool ok = body();
            std::fflush(stderr);
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

bool Check(bool ok, const std::string& what)
{
    if (!ok)
        std::fprintf(stderr, "failed: %s\n", what.c_str());
    return ok;
}
