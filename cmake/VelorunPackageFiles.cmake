# The files a distribution and a software centre expect beside the game:
# desktop entry, AppStream metainfo, man page, changelog and copyright, made
# from the templates in packaging/ with the version, date and id set in the
# top-level CMakeLists.txt. Man page and changelog are gzipped as Debian wants.
set(VELORUN_PACKAGE_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging)

# The changelog wants the date as RFC 2822, weekday included.
execute_process(COMMAND date -u -R -d "${VELORUN_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE VELORUN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE date_result)
if(NOT date_result EQUAL 0)
  message(FATAL_ERROR "date cannot read the release date ${VELORUN_RELEASE_DATE}")
endif()

set(VELORUN_METAINFO_SCREENSHOTS "")
if(VELORUN_SCREENSHOT_URL)
  string(APPEND VELORUN_METAINFO_SCREENSHOTS
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>Racing down the tube</caption>\n"
    "      <image>${VELORUN_SCREENSHOT_URL}/gameplay.png</image>\n"
    "    </screenshot>\n"
    "    <screenshot>\n"
    "      <caption>Game over: fireworks</caption>\n"
    "      <image>${VELORUN_SCREENSHOT_URL}/gameover.png</image>\n"
    "    </screenshot>\n"
    "  </screenshots>")
endif()

# The font's licence text is the one shipped beside the font.
set(carlito_licence ${CMAKE_CURRENT_SOURCE_DIR}/Resources/Fonts/LICENSE-Carlito.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${carlito_licence})
file(READ ${carlito_licence} carlito)
string(REGEX MATCH "\nLicense: OFL-1.1\n(( [^\n]*\n)+)" carlito_match "${carlito}")
if(NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "no OFL-1.1 licence text in Resources/Fonts/LICENSE-Carlito.txt")
endif()
string(REGEX REPLACE "(\n \\.)*\n$" "" VELORUN_CARLITO_LICENSE "${CMAKE_MATCH_1}")

configure_file(packaging/velorun.desktop.in ${VELORUN_PACKAGE_DIR}/${VELORUN_APP_ID}.desktop @ONLY)
configure_file(packaging/velorun.metainfo.xml.in ${VELORUN_PACKAGE_DIR}/${VELORUN_APP_ID}.metainfo.xml @ONLY)
configure_file(packaging/copyright.in ${VELORUN_PACKAGE_DIR}/copyright @ONLY)
configure_file(packaging/velorun.6.in ${VELORUN_PACKAGE_DIR}/velorun.6 @ONLY)
configure_file(packaging/changelog.in ${VELORUN_PACKAGE_DIR}/changelog @ONLY)

foreach(name velorun.6 changelog)
  add_custom_command(OUTPUT ${VELORUN_PACKAGE_DIR}/${name}.gz
    COMMAND gzip -9n -c ${name} > ${name}.gz
    DEPENDS ${VELORUN_PACKAGE_DIR}/${name}
    WORKING_DIRECTORY ${VELORUN_PACKAGE_DIR}
    VERBATIM)
endforeach()
add_custom_target(velorun_package_files ALL
  DEPENDS ${VELORUN_PACKAGE_DIR}/velorun.6.gz ${VELORUN_PACKAGE_DIR}/changelog.gz)
