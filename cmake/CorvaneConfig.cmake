# Corvane's CMake package: find_package(Corvane) gives
#   Corvane::Corvane      the map library (headers as <core/GeoMap.h>, <vector/GeoPLine.h>, ...)
#   Corvane::CorvaneGeom  the planar geometry library
# Both carry their platform libraries, include folders and C++17 as the minimum standard.
# The version header is <core/CorvaneVersion.h>.
#
# Optional component, found only when asked for (find_package(Corvane COMPONENTS Screen) or
# OPTIONAL_COMPONENTS Screen):
#   Screen                Corvane::afxqt, the window model shown on a real screen; needs Qt 6 Widgets
#                         (found here) and a package built with it. Corvane_Screen_FOUND says whether
#                         it was found.
include("${CMAKE_CURRENT_LIST_DIR}/CorvaneTargets.cmake")
set(Corvane_LIBRARIES Corvane::Corvane)

foreach(_corvane_comp IN LISTS Corvane_FIND_COMPONENTS)
  set(Corvane_${_corvane_comp}_FOUND FALSE)
  if(_corvane_comp STREQUAL "Screen")
    if(NOT EXISTS "${CMAKE_CURRENT_LIST_DIR}/CorvaneScreenTargets.cmake")
      set(_corvane_why "this package was built without Qt 6")
    else()
      # Quietly, so that a host asking for Screen as optional configures without Qt.
      if(Corvane_FIND_QUIETLY OR NOT Corvane_FIND_REQUIRED_Screen)
        find_package(Qt6 QUIET COMPONENTS Widgets)
      else()
        find_package(Qt6 COMPONENTS Widgets)
      endif()
      if(Qt6Widgets_FOUND)
        include("${CMAKE_CURRENT_LIST_DIR}/CorvaneScreenTargets.cmake")
        set(Corvane_Screen_FOUND TRUE)
      else()
        set(_corvane_why "Qt 6 Widgets (its development files) was not found")
      endif()
    endif()
  else()
    set(_corvane_why "no such component (the only one is Screen)")
  endif()
  if(NOT Corvane_${_corvane_comp}_FOUND)
    if(Corvane_FIND_REQUIRED_${_corvane_comp})
      set(Corvane_FOUND FALSE)
      string(APPEND Corvane_NOT_FOUND_MESSAGE "Corvane component ${_corvane_comp}: ${_corvane_why}. ")
    elseif(NOT Corvane_FIND_QUIETLY)
      message(STATUS "Corvane: optional component ${_corvane_comp} not found: ${_corvane_why}")
    endif()
  endif()
endforeach()
unset(_corvane_comp)
unset(_corvane_why)
