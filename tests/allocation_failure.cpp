#include "tests/allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {

bool armed = false;
bool failed = false;
int remaining = 0;
int paused = 0;

void* Allocate(std::size_t size)
{
    if (armed && paused == 0) {
        if (remaining == 0) {
            failed = true;
            throw std::bad_alloc();
        }
        --remaining;
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

}  // namespace

namespace fake {

void FailAllocationsAfter(int allocations)
{
    remaining = allocations;
    failed = false;
    armed = true;
}

void DisarmAllocationFailure()
{
    armed = false;
}

bool AllocationFailed()
{
    return failed;
}

AllocationPause::AllocationPause()
{
    ++paused;
}

AllocationPause::~AllocationPause()
{
    --paused;
}

}  // namespace fake

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
