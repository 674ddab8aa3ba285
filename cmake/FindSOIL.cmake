# SOIL ships neither a CMake config nor a pkg-config file on Debian (header in include/SOIL).
find_path(SOIL_INCLUDE_DIR SOIL.h PATH_SUFFIXES SOIL)
find_library(SOIL_LIBRARY NAMES SOIL soil)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(SOIL DEFAULT_MSG SOIL_LIBRARY SOIL_INCLUDE_DIR)
if(SOIL_FOUND AND NOT TARGET SOIL::SOIL)
  add_library(SOIL::SOIL UNKNOWN IMPORTED)
  set_target_properties(SOIL::SOIL PROPERTIES
    IMPORTED_LOCATION "${SOIL_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${SOIL_INCLUDE_DIR}")
endif()
mark_as_advanced(SOIL_INCLUDE_DIR SOIL_LIBRARY)
