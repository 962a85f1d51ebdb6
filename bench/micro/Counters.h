#pragma once

// What the benchmarks count besides time. The counts are those of the
// calling thread (allocations) and of the whole process (draw calls).
long heapAllocations();
long glDrawCalls();
