# The version, what playing needs, and the install: `cmake --install build`
# puts the program in bin/, its movie helper in libexec/pelmot/, the content
# in share/pelmot/, and the desktop entry, icons, AppStream data and manual
# page where the desktop looks for them. The program finds the content and
# the helper relative to itself, so an install tree works wherever it lies.
include(GNUInstallDirs)

# The version from git, written at every build; only main.cpp includes it.
set(PELMOT_VERSION_HEADER ${CMAKE_BINARY_DIR}/generated/pelmot_version.h)
set(version_command ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT=${PELMOT_VERSION_HEADER}
                    -P ${PROJECT_SOURCE_DIR}/cmake/version.cmake)
execute_process(COMMAND ${version_command})
add_custom_target(pelmot_version COMMAND ${version_command} BYPRODUCTS ${PELMOT_VERSION_HEADER} VERBATIM)
add_dependencies(pelmot pelmot_version)
target_include_directories(pelmot PRIVATE ${CMAKE_BINARY_DIR}/generated)

# What playing needs, and nothing of the tests or benchmarks: the program,
# its movie helper and the content (./run.sh builds this alone).
add_custom_target(pelmot_playable)
add_dependencies(pelmot_playable pelmot pelmot-movie default_scenario pelmot_pictures pelmot_logo_movie)

# Where an install puts the content and the helper, relative to the program.
set(pelmot_content_dir ${CMAKE_INSTALL_DATADIR}/pelmot)
set(pelmot_helper_dir ${CMAKE_INSTALL_LIBEXECDIR}/pelmot)
file(RELATIVE_PATH content_from_program ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/pelmot)
file(RELATIVE_PATH helper_from_program ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/pelmot)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/platform/common/paths.cpp DIRECTORY ${PROJECT_SOURCE_DIR}/src
             PROPERTY COMPILE_DEFINITIONS PELMOT_CONTENT_FROM_PROGRAM="${content_from_program}"
                                          PELMOT_HELPER_FROM_PROGRAM="${helper_from_program}")

install(TARGETS pelmot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pelmot-movie RUNTIME DESTINATION ${pelmot_helper_dir})
install(FILES ${PELMOT_OUTPUT_DIR}/scenario.txt ${PELMOT_OUTPUT_DIR}/LOGO.avi DESTINATION ${pelmot_content_dir})
install(DIRECTORY ${PELMOT_OUTPUT_DIR}/PELMOTPIC ${PELMOT_OUTPUT_DIR}/SYSPIC DESTINATION ${pelmot_content_dir}
        FILES_MATCHING PATTERN "*.png")
install(DIRECTORY ${PELMOT_OUTPUT_DIR}/lang DESTINATION ${pelmot_content_dir} FILES_MATCHING PATTERN "*.po")

set(dist ${PROJECT_SOURCE_DIR}/dist)
install(FILES ${dist}/org.tormvel.pelmot.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/org.tormvel.pelmot.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/pelmot.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size ${PELMOT_ICON_SIZES})
  install(FILES ${PELMOT_OUTPUT_DIR}/icons/pelmot-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME pelmot.png)
endforeach()
