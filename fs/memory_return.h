#pragma once
// Large blocks go back to the system as soon as they are freed. Otherwise the allocator
// keeps what each thread freed for that thread's later use, and a process whose threads
// take turns with large buffers holds one of them per thread. Small blocks stay with the
// process, so that each image does not give its pages back only to fault them in again.
void MemoryReturnLargeBlocks();
