# qv_test(<name> <files>...)
qv_test(widgets_tests
    platform/widgets_datagrid_test.cpp
    platform/widgets_flexgrid_test.cpp
    platform/widgets_forms_test.cpp
    platform/widgets_misc_test.cpp
)
