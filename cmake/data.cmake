# build/data.bin: the data archive, packed from assets/ whenever an asset, a stage source or the packer
# changes.
#
# Steps (one custom command):
#   1. cmake/stage_data.cmake copies assets/{texture,se,bgm,map}/ (*.png *.mp3 *.wav *.fmf *.txt only) into
#      ${CMAKE_BINARY_DIR}/data-staging/.
#   2. When a target pelvoro-stagec exists (tools/stagec/), it compiles the built-in stages:
#        pelvoro-stagec <staging>/map assets/stages/*.stage
#      writing <staging>/map/stageNN.fmf and stageNN.txt (over any file of the same name from assets/map/).
#   3. pelvoro-pack create ${CMAKE_BINARY_DIR}/data.bin <staging>
#
# Hook for other steps: append files (or targets) the archive must be rebuilt after to
# PELVORO_DATA_EXTRA_DEPENDS, and commands to PELVORO_DATA_EXTRA_COMMANDS as complete COMMAND clauses
# (each starting with the word COMMAND), before this file is included; they run after step 2.

set(PELVORO_DATA_STAGING ${CMAKE_BINARY_DIR}/data-staging)
set(PELVORO_ASSETS ${PROJECT_SOURCE_DIR}/assets)

set(PELVORO_DATA_INPUTS)
foreach(folder texture se bgm map)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS
    ${PELVORO_ASSETS}/${folder}/*.png ${PELVORO_ASSETS}/${folder}/*.mp3 ${PELVORO_ASSETS}/${folder}/*.wav
    ${PELVORO_ASSETS}/${folder}/*.fmf ${PELVORO_ASSETS}/${folder}/*.txt)
  list(APPEND PELVORO_DATA_INPUTS ${inputs})
endforeach()

set(PELVORO_STAGE_COMMAND)
if(TARGET pelvoro-stagec)
  file(GLOB PELVORO_STAGE_SOURCES CONFIGURE_DEPENDS ${PELVORO_ASSETS}/stages/*.stage)
  list(APPEND PELVORO_DATA_INPUTS ${PELVORO_STAGE_SOURCES} pelvoro-stagec)
  set(PELVORO_STAGE_COMMAND COMMAND $<TARGET_FILE:pelvoro-stagec> ${PELVORO_DATA_STAGING}/map
                            ${PELVORO_STAGE_SOURCES})
endif()

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/data.bin
  COMMAND ${CMAKE_COMMAND} -D SRC=${PELVORO_ASSETS} -D DST=${PELVORO_DATA_STAGING}
          -P ${PROJECT_SOURCE_DIR}/cmake/stage_data.cmake
  ${PELVORO_STAGE_COMMAND}
  ${PELVORO_DATA_EXTRA_COMMANDS}
  COMMAND $<TARGET_FILE:pelvoro-pack> create ${CMAKE_BINARY_DIR}/data.bin ${PELVORO_DATA_STAGING}
  DEPENDS ${PELVORO_DATA_INPUTS} ${PELVORO_DATA_EXTRA_DEPENDS} pelvoro-pack
          ${PROJECT_SOURCE_DIR}/cmake/stage_data.cmake
  COMMENT "Packing assets into data.bin"
  VERBATIM)
add_custom_target(data ALL DEPENDS ${CMAKE_BINARY_DIR}/data.bin)
