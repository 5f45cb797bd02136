# benchmarks of monitor
