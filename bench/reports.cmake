# benchmarks of reports
