# The release: what a Windows user gets, as a portable zip and as an NSIS installer.
# scripts/dist.sh builds both into dist/.

# One folder, the program's own: the layout Dactyla.exe expects beside itself.
install(TARGETS Dactyla dactyla-text RUNTIME DESTINATION .)
install(FILES ${DACTYLA_PROGRAM_DIR}/TextData.Rus ${DACTYLA_PROGRAM_DIR}/TextData.Eng ${DACTYLA_PROGRAM_DIR}/Course.txt
        DESTINATION .)
install(DIRECTORY ${DACTYLA_PROGRAM_DIR}/Sound DESTINATION . PATTERN .generated EXCLUDE)

# Notepad on every supported Windows reads UTF-8 with a byte order mark and CR LF.
configure_file(${CMAKE_SOURCE_DIR}/resources/package/ReadMe.txt.in ${CMAKE_BINARY_DIR}/package/ReadMe.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package/License.txt COPYONLY)
file(READ ${CMAKE_BINARY_DIR}/package/License.txt license_text)
string(REPLACE "\n" "\r\n" license_text "${license_text}")
file(WRITE ${CMAKE_BINARY_DIR}/package/License.txt "${license_text}")
install(FILES ${CMAKE_BINARY_DIR}/package/ReadMe.txt ${CMAKE_BINARY_DIR}/package/License.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Dactyla)
set(CPACK_PACKAGE_VENDOR "The Dactyla developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME Dactyla-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Dactyla)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_BINARY_DIR}/package/License.txt)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
# scripts/dist.sh builds what ships first; packaging must not build every test again, per generator.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# The zip unpacks into one folder named after the release.
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

# The installer is built from our own script template (cmake/NSIS.template.in): a 64-bit
# Unicode installer, per machine, with a Start-menu shortcut and an uninstaller that removes
# only what it installed.
set(CPACK_NSIS_EXECUTABLE makensis)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/art/hand_on_key.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/art/hand_on_key.ico)
set(CPACK_NSIS_DISPLAY_NAME "Dactyla ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Dactyla ${PROJECT_VERSION}")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# Must match what Dactyla.exe looks for beside itself (users/data_root.h).
set(DACTYLA_INSTALLED_MARK installed.mark)
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake)  # our NSIS.template.in
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/package/CPackProjectConfig.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
     "if(CPACK_GENERATOR STREQUAL \"NSIS\")\n"
     "  set(CPACK_PACKAGE_FILE_NAME \"${CPACK_PACKAGE_FILE_NAME}-setup\")\n"
     "  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)\n"
     "endif()\n")
set(CPACK_NSIS_INSTALLED_MARK ${DACTYLA_INSTALLED_MARK})
include(CPack)
