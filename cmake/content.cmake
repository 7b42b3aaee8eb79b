# What ships beside Dactyla.exe: the sentence texts (CP1251, CR LF) and the sound themes.
# Both are generated from reviewable sources at build time.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(DACTYLA_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)

set(content_outputs)
foreach(language Rus Eng)
  string(TOLOWER ${language} source_name)
  set(source ${CMAKE_SOURCE_DIR}/resources/text/${source_name}.txt)
  set(output ${DACTYLA_PROGRAM_DIR}/TextData.${language})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/text_to_cp1251.py ${source} ${output}
    DEPENDS ${source} ${CMAKE_SOURCE_DIR}/tools/text_to_cp1251.py
    COMMENT "Converting ${source_name}.txt to TextData.${language}")
  list(APPEND content_outputs ${output})
endforeach()

# The course's key order and targets, a plain text a teacher may edit.
set(course_order ${DACTYLA_PROGRAM_DIR}/Course.txt)
add_custom_command(
  OUTPUT ${course_order}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/text_to_cp1251.py ${CMAKE_SOURCE_DIR}/resources/course/Course.txt ${course_order}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/course/Course.txt ${CMAKE_SOURCE_DIR}/tools/text_to_cp1251.py
  COMMENT "Converting the course order to CP1251")
list(APPEND content_outputs ${course_order})

set(sound_stamp ${DACTYLA_PROGRAM_DIR}/Sound/.generated)
add_custom_command(
  OUTPUT ${sound_stamp}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/sounds/make_sounds.py ${DACTYLA_PROGRAM_DIR}/Sound
  COMMAND ${CMAKE_COMMAND} -E touch ${sound_stamp}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/sounds/make_sounds.py
  COMMENT "Synthesising the sound themes")
list(APPEND content_outputs ${sound_stamp})

# Checks the synthesised themes: names, format, lengths, levels, loop seams, size, reproducibility.
if(NOT CMAKE_CROSSCOMPILING AND NOT DACTYLA_SANITIZE)  # once is enough; sanitizers add nothing to Python
  add_test(NAME sounds_check
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/content/sounds_check.py
                   ${DACTYLA_PROGRAM_DIR}/Sound ${CMAKE_SOURCE_DIR}/tools/sounds/make_sounds.py)
endif()

add_custom_target(dactyla_content ALL DEPENDS ${content_outputs})

# The native tests read the shipped texts back through the scanner.
if(NOT CMAKE_CROSSCOMPILING)
  add_compile_definitions(DACTYLA_CONTENT_DIR="${DACTYLA_PROGRAM_DIR}"
                          DACTYLA_TEXT_SOURCE_DIR="${CMAKE_SOURCE_DIR}/resources/text")
endif()
