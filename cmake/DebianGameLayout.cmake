# Runs in CPack's staging folder before the package is made. Debian keeps the
# commands of games in /usr/games; the launcher finds the data from there as
# from bin/, since both sit right below the prefix. lintian's overrides for the
# package go in too.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/bin/velorun)
  message(FATAL_ERROR "no launcher at ${root}/bin/velorun to move")
endif()
file(MAKE_DIRECTORY ${root}/games)
file(RENAME ${root}/bin/velorun ${root}/games/velorun)
file(GLOB left_in_bin ${root}/bin/*)
if(NOT left_in_bin)
  file(REMOVE_RECURSE ${root}/bin)
endif()
configure_file(${CPACK_VELORUN_SOURCE_DIR}/packaging/lintian-overrides
               ${root}/share/lintian/overrides/velorun COPYONLY)
