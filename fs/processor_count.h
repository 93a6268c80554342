#pragma once

// The processors this process may run on: those of its CPU affinity, never more than
// the machine has, and at least 1.
int ProcessorCount();
