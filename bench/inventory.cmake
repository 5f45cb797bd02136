# benchmarks of inventory
# The inventory window's list, filters and export against raw SQLite. Run: build/bin/bench_inventory
qv_bench(bench_inventory bench_inventory.cpp)
