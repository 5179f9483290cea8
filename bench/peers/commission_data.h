/* The records every commission-sheet writer of the comparison uses: the same
 * rules as commission_data.py; keep the two alike. Plain C, so that both the C
 * peer and the program's C++ benchmark include it. */
#ifndef QUENVALE_BENCH_COMMISSION_DATA_H
#define QUENVALE_BENCH_COMMISSION_DATA_H

#include <stdio.h>

enum { kBenchPercentage = 10 };

/* Name of record i (1-based) into buffer. */
static inline void bench_record_name(int i, char* buffer, size_t size) {
    snprintf(buffer, size, "Salesperson %d", i);
}

/* Total sales of record i: a spread of amounts with quarter cents, exact in binary. */
static inline double bench_record_total(int i) {
    return 1000 + (i * 7919) % 90000 + 0.25 * (i % 4);
}

#endif
