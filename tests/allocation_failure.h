// Running out of storage on purpose: the test binary's operator new fails
// once a given number of allocations has succeeded, while armed.
#pragma once

namespace fake {

// Lets `allocations` more allocations succeed, then makes every further one
// throw std::bad_alloc, until Disarm.
void FailAllocationsAfter(int allocations);
void DisarmAllocationFailure();

// True when an armed failure has fired since FailAllocationsAfter.
bool AllocationFailed();

// Suspends the failure while the fake platform records a call: the platform
// itself never runs out of storage in these tests, only the launcher does.
class AllocationPause {
public:
    AllocationPause();
    ~AllocationPause();
    AllocationPause(const AllocationPause&) = delete;
    AllocationPause& operator=(const AllocationPause&) = delete;
};

}  // namespace fake
