#pragma once

class TestConnection;

// The office-sized database of the benchmarks (50 drivers, 10 years to 30.11.2026), made once
// by the generator into VELTRA_BENCH_DB (default /tmp/veltra-bench-large.fdb) and kept for
// later runs; connected and brought up to date.
TestConnection& BenchDatabase();
