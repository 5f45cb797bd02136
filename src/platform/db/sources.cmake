# Data layer files (core)
