# qv_test(<name> <files>...)
qv_test(widgets_tests
    platform/widgets_flexgrid_test.cpp
)
