# A room is one folder of the program's code, built as one library that links only the rooms
# below it. The table of layers in docs/design.md says which room may use which; the layers
# check in tests/layers compares it with every room declared here and every #include.
#
#   dactyla_room(<name> [SOURCES files...] [USES rooms...] [SYSTEM libraries...])
#
# A room is declared in its folder's CMakeLists.txt, or in its parent's when the folder holds
# only code (tools/dactyla_text). The library is dactyla_<name>, or <name> when that already
# starts with dactyla_; a room without sources is a header-only interface library.
function(dactyla_room room)
  cmake_parse_arguments(ROOM "" "" "SOURCES;USES;SYSTEM" ${ARGN})
  if(room MATCHES "^dactyla_")
    set(target ${room})
  else()
    set(target dactyla_${room})
  endif()
  set(used)
  foreach(use ${ROOM_USES})
    list(APPEND used dactyla_${use})
  endforeach()
  if(ROOM_SOURCES)
    add_library(${target} STATIC ${ROOM_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${target} PUBLIC ${used} ${ROOM_SYSTEM})
    if(DACTYLA_FUZZ)
      set(ignorelist ${PROJECT_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
      target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist=${ignorelist})
      set_source_files_properties(${ROOM_SOURCES} PROPERTIES OBJECT_DEPENDS ${ignorelist})
    endif()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${target} INTERFACE ${used} ${ROOM_SYSTEM})
  endif()
endfunction()
