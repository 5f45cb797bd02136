# benchmarks of monitor
# Both monitor pages against the same queries on raw SQLite. Run: build/bin/bench_monitor
qv_bench(bench_monitor bench_monitor.cpp)
