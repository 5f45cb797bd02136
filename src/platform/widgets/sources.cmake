# Widget stand-ins (gui): target_sources(gui PRIVATE ...)
target_sources(gui PRIVATE
    platform/widgets/binding.h
    platform/widgets/binding.cpp
    platform/widgets/colour.h
    platform/widgets/colour.cpp
    platform/widgets/datagrid.h
    platform/widgets/datagrid.cpp
    platform/widgets/dialogs.h
    platform/widgets/dialogs.cpp
    platform/widgets/flexgrid.h
    platform/widgets/flexgrid.cpp
    platform/widgets/forms.h
    platform/widgets/forms.cpp
    platform/widgets/menumark.h
    platform/widgets/menumark.cpp
    platform/widgets/menus.h
    platform/widgets/menus.cpp
    platform/widgets/printer.h
    platform/widgets/printer.cpp
    platform/widgets/screen.h
    platform/widgets/screen.cpp
    platform/widgets/shell.h
    platform/widgets/shell.cpp
)
