# benchmarks of wizard
# The wizard's grid and its two outputs against raw SQLite. Run: build/bin/bench_wizard
qv_bench(bench_wizard bench_wizard.cpp)
