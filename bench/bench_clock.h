#pragma once

// The clock that the benchmarks read: elapsed wall time from a steady
// counter of the operating system, in seconds since an arbitrary start. One
// implementation per platform.

// Seconds since an arbitrary start; never goes back.
double steadySeconds();
