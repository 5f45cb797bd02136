# qv_test(<name> <files>...)
