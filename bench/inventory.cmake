# benchmarks of inventory
