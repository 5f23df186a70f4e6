# Installation and the Debian package: `cmake --install` lays out the programs,
# the shipped data, the desktop entry, the icon, the manual pages, the guide and
# the copyright file under the prefix; CPack's DEB generator packs the same files,
# with the runtime libraries as dependencies computed by dpkg-shlibdeps.
include(GNUInstallDirs)

set(KAVELIN_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(KAVELIN_MAINTAINER "Kavelin developers <developers@kavelin.example>")
set(kavelin_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kavelin)

# The programs find the shipped data from their own folder, so that a package
# unpacked under any root works as one installed under /. The user's copy of it
# is filled once per version of the project.
file(RELATIVE_PATH kavelin_data_from_bin /${CMAKE_INSTALL_BINDIR}
     /${CMAKE_INSTALL_DATADIR}/kavelin/Data)
set_property(SOURCE src/platform/Data_Folder.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             KAVELIN_DATA_FROM_BIN="${kavelin_data_from_bin}"
             KAVELIN_DATA_VERSION="${PROJECT_VERSION}")
# The help window finds the installed guide from the program's folder the same
# way, and the guide of the source tree when the program runs from its build.
file(RELATIVE_PATH kavelin_guide_from_bin /${CMAKE_INSTALL_BINDIR} /${kavelin_doc_dir}/guide.md)
set_property(SOURCE src/app/Help_Forms.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             KAVELIN_GUIDE_FROM_BIN="${kavelin_guide_from_bin}"
             KAVELIN_GUIDE_IN_SOURCE="${CMAKE_SOURCE_DIR}/docs/guide.md")
# kavelin-cli's picture module lives in a library folder of the package's own
# and is found from the tool's folder the same way. The tool loads it by its
# path, so no ldconfig call is wanted: CPack adds one for a library directly in a
# folder of the library folder, hence the second level.
set(kavelin_module_dir ${CMAKE_INSTALL_LIBDIR}/kavelin/plugins)
file(RELATIVE_PATH kavelin_module_from_bin /${CMAKE_INSTALL_BINDIR} /${kavelin_module_dir})
set_property(SOURCE src/cli/Picture_Module.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             KAVELIN_MODULE_FROM_BIN="${kavelin_module_from_bin}")

install(TARGETS kavelin kavelin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kavelin-pictures LIBRARY DESTINATION ${kavelin_module_dir})
install(DIRECTORY Data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kavelin/Data)
install(FILES ${KAVELIN_PACKAGING_DIR}/kavelin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KAVELIN_PACKAGING_DIR}/kavelin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Generated files: the 48-pixel icon from the SVG, the compressed manual pages
# and changelog.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)
set(kavelin_generated ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${kavelin_generated})

add_custom_command(
  OUTPUT ${kavelin_generated}/kavelin.png
  COMMAND ${RSVG_CONVERT} -w 48 -h 48 -o ${kavelin_generated}/kavelin.png
          ${KAVELIN_PACKAGING_DIR}/kavelin.svg
  DEPENDS ${KAVELIN_PACKAGING_DIR}/kavelin.svg
  COMMENT "Rendering the 48-pixel icon" VERBATIM)
foreach(page kavelin kavelin-cli)
  add_custom_command(
    OUTPUT ${kavelin_generated}/${page}.1.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${KAVELIN_PACKAGING_DIR}/${page}.1 ${kavelin_generated}
    COMMAND ${GZIP} -9nf ${kavelin_generated}/${page}.1
    DEPENDS ${KAVELIN_PACKAGING_DIR}/${page}.1 VERBATIM)
endforeach()
string(TIMESTAMP KAVELIN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${KAVELIN_PACKAGING_DIR}/changelog.in ${kavelin_generated}/changelog @ONLY)
add_custom_command(
  OUTPUT ${kavelin_generated}/changelog.gz
  COMMAND ${GZIP} -9nkf ${kavelin_generated}/changelog
  DEPENDS ${kavelin_generated}/changelog VERBATIM)
add_custom_target(kavelin_package_files ALL
  DEPENDS ${kavelin_generated}/kavelin.png ${kavelin_generated}/kavelin-cli.1.gz
          ${kavelin_generated}/kavelin.1.gz ${kavelin_generated}/changelog.gz)

install(FILES ${kavelin_generated}/kavelin.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${kavelin_generated}/kavelin.1.gz ${kavelin_generated}/kavelin-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KAVELIN_PACKAGING_DIR}/copyright ${kavelin_generated}/changelog.gz
        DESTINATION ${kavelin_doc_dir})
# The guide, which the help window shows, with the screenshots it links beside it.
install(FILES ${CMAKE_SOURCE_DIR}/docs/guide.md DESTINATION ${kavelin_doc_dir})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screenshots DESTINATION ${kavelin_doc_dir} FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavelin)
set(CPACK_PACKAGE_VENDOR "Kavelin developers")
set(CPACK_PACKAGE_CONTACT "${KAVELIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "desktop workbench for artificial-intelligence and data-processing algorithms")
set(CPACK_PACKAGE_DESCRIPTION
    "Kavelin tries out a set of artificial-intelligence and data-processing\n"
    "algorithms on small inputs: text distance, picture analysis, a SAT solver,\n"
    "a genetic search, a neural network drawn in 3D and sound capture. One main\n"
    "window holds a page for each, and every algorithm reports in a trace window.\n"
    "The command-line tool kavelin-cli runs the same algorithms for scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The manual pages render without a warning, with a section for every
# subcommand of the tool.
if(KAVELIN_TESTS)
  add_test(NAME man_pages
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/cli/check-man-pages $<TARGET_FILE:kavelin-cli>
            ${KAVELIN_PACKAGING_DIR}/kavelin.1 ${KAVELIN_PACKAGING_DIR}/kavelin-cli.1)
endif()

# The package of this build, unpacked and run (the sanitizer and fuzz builds
# are not what is shipped).
if(KAVELIN_TESTS AND NOT KAVELIN_SANITIZE AND NOT KAVELIN_FUZZ)
  add_test(NAME package
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/check-package ${CMAKE_BINARY_DIR}
            ${PROJECT_VERSION})
endif()
