# Corvane's CMake package: find_package(Corvane) gives
#   Corvane::Corvane      the map library (headers as <core/GeoMap.h>, <vector/GeoPLine.h>, ...)
#   Corvane::CorvaneGeom  the planar geometry library
# Both carry their platform libraries, include folders, C++17 and -fexec-charset=GBK.
#   Corvane::afxqt        (when built with Qt 6) the window model shown on a real screen
if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/CorvaneQtDependency.cmake")
  include("${CMAKE_CURRENT_LIST_DIR}/CorvaneQtDependency.cmake")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/CorvaneTargets.cmake")
set(Corvane_LIBRARIES Corvane::Corvane)
