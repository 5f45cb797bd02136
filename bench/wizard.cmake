# benchmarks of wizard
