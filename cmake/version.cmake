# The project version for the code (a generated header every room sees) and for the executables (a version
# resource per program).
set(DACTYLA_COPYRIGHT "Copyright (c) 2026 The Dactyla developers")
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/dactyla_version.h @ONLY)
if(WIN32)
  enable_language(RC)  # here at the top: every program gets a version resource
endif()

# Gives a Windows program a version resource with its own file description.
function(dactyla_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(DACTYLA_FILE_DESCRIPTION "${description}")
  set(DACTYLA_ORIGINAL_FILENAME "${target}.exe")
  set(script ${CMAKE_BINARY_DIR}/generated/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/program/version.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()

# Embeds the application manifest (common controls 6, asInvoker, Windows 7 to 11) in a program.
function(dactyla_manifest target)
  set(DACTYLA_MANIFEST ${CMAKE_BINARY_DIR}/generated/${target}.exe.manifest)
  configure_file(${CMAKE_SOURCE_DIR}/resources/program/Dactyla.exe.manifest.in ${DACTYLA_MANIFEST} @ONLY)
  set(script ${CMAKE_BINARY_DIR}/generated/${target}_manifest.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/program/manifest.rc.in ${script} @ONLY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${DACTYLA_MANIFEST})
  target_sources(${target} PRIVATE ${script})
endfunction()
