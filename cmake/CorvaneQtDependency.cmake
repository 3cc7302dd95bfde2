# Installed with Corvane::afxqt: the screen library links Qt 6 Widgets.
include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Widgets)
