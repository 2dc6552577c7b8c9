# facetally_add_resources(TARGET <target> SOURCES <json files...>)
#
# Compiles the JSON resource sources with facetally-rescomp into one blob at build time and
# assembles it into <target> as the ELF note the root library's resource manager reads
# (section .note.vxres, note name "VXRES"). Give the target that is linked as the module (a
# shared library or a program): an object inside a static library is linked only when one of
# its symbols is used, and the note has none.
function(facetally_add_resources)
  cmake_parse_arguments(ARG "" "TARGET" "SOURCES" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_SOURCES)
    message(FATAL_ERROR "facetally_add_resources needs TARGET and SOURCES")
  endif()

  set(sources)
  foreach(source ${ARG_SOURCES})
    get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND sources ${absolute})
  endforeach()

  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_resources)
  set(blob ${folder}/resources.vxrs)
  set(assembly ${folder}/resources.S)
  file(MAKE_DIRECTORY ${folder})

  add_custom_command(OUTPUT ${blob}
    COMMAND facetally-rescomp --output ${blob} ${sources}
    DEPENDS facetally-rescomp ${sources}
    COMMENT "Compiling the resources of ${ARG_TARGET}"
    VERBATIM)
  add_custom_target(${ARG_TARGET}_resources DEPENDS ${blob})
  add_dependencies(${ARG_TARGET} ${ARG_TARGET}_resources)

  # The blob is the descriptor of one note; the name and the descriptor are padded to four
  # bytes as the ELF note format asks.
  file(CONFIGURE OUTPUT ${assembly} CONTENT
"/* The compiled resources of ${ARG_TARGET}, carried as one ELF note; written by facetally_add_resources. */
	.section .note.vxres, \"a\", @note
	.balign 4
	.long 2f - 1f
	.long 4f - 3f
	.long 0x56585253
1:	.asciz \"VXRES\"
2:	.balign 4
3:	.incbin \"${blob}\"
4:	.balign 4
	.section .note.GNU-stack, \"\", @progbits
")
  target_sources(${ARG_TARGET} PRIVATE ${assembly})
  set_source_files_properties(${assembly} TARGET_DIRECTORY ${ARG_TARGET} PROPERTIES OBJECT_DEPENDS ${blob})
endfunction()
