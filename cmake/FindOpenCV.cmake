# Finds OpenCV's core and imgproc without the package that ships OpenCVConfig.cmake:
# on Debian that file comes only with libopencv-dev, which pulls every module
# (contrib with Qt 5, imgcodecs with GDAL). An installed config is used when present.
#
# Defines OpenCV_FOUND, OpenCV_INCLUDE_DIRS and an imported target opencv_<name>
# for each requested component.
find_package(OpenCV CONFIG QUIET COMPONENTS ${OpenCV_FIND_COMPONENTS})
if(OpenCV_FOUND)
  return()
endif()

find_path(OpenCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4)
set(OpenCV_INCLUDE_DIRS ${OpenCV_INCLUDE_DIR})
foreach(_component ${OpenCV_FIND_COMPONENTS})
  find_library(OpenCV_${_component}_LIBRARY opencv_${_component})
  if(OpenCV_${_component}_LIBRARY AND OpenCV_INCLUDE_DIR)
    set(OpenCV_${_component}_FOUND TRUE)
    if(NOT TARGET opencv_${_component})
      add_library(opencv_${_component} UNKNOWN IMPORTED)
      set_target_properties(opencv_${_component} PROPERTIES
        IMPORTED_LOCATION ${OpenCV_${_component}_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${OpenCV_INCLUDE_DIR})
    endif()
  endif()
endforeach()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCV REQUIRED_VARS OpenCV_INCLUDE_DIR HANDLE_COMPONENTS)
