# build/editor-help.html: the stage editor's help page (F1), written beside data.bin from the part catalogue
# and the editor icon sheet whenever either changes.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/editor-help.html
  COMMAND $<TARGET_FILE:pelvoro-helppage> ${CMAKE_BINARY_DIR}/editor-help.html
          ${PROJECT_SOURCE_DIR}/assets/texture/parts.png
  DEPENDS pelvoro-helppage ${PROJECT_SOURCE_DIR}/assets/texture/parts.png
  COMMENT "Writing the editor's help page"
  VERBATIM)
add_custom_target(help_page ALL DEPENDS ${CMAKE_BINARY_DIR}/editor-help.html)
