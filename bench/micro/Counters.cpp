// Counting stand-ins for the allocator's entry points and the one OpenGL
// draw call the graphics library makes: the program's own definitions come
// before those of the libraries, which still do the work.
#include "Counters.h"

#include <atomic>
#include <cstddef>
#include <dlfcn.h>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
}

namespace {

// Only this thread's: the software rasteriser's threads allocate on their own.
thread_local long allocations = 0;
std::atomic<long> drawCalls{0};

} // namespace

extern "C" {

void* malloc(std::size_t size)
{
    ++allocations;
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    ++allocations;
    return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size)
{
    ++allocations;
    return __libc_realloc(block, size);
}

void glDrawArrays(unsigned mode, int first, int count)
{
    using Draw = void (*)(unsigned, int, int);
    static const auto next = reinterpret_cast<Draw>(dlsym(RTLD_NEXT, "glDrawArrays"));
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    next(mode, first, count);
}
}

long heapAllocations()
{
    return allocations;
}

long glDrawCalls()
{
    return drawCalls.load(std::memory_order_relaxed);
}
