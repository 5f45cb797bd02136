# benchmarks of reports
# Quick reports, the full call report and the inventory list against raw SQLite. Run: build/bin/bench_reports
qv_bench(bench_reports bench_reports.cpp)
