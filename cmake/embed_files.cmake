# vistello_embed_files(OUTPUT NAME PATH [NAME PATH ...]): OUTPUT becomes a C++ source defining
# vistello::EmbeddedFile(name) (private/embedded_files.h), which gives each PATH's bytes, from the
# source folder, by its NAME. Made again whenever one of the files changes.
set(VISTELLO_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_files_run.cmake)

function(vistello_embed_files output)
  set(pairs ${ARGN})
  set(sources)
  set(arguments)
  while(pairs)
    list(POP_FRONT pairs name path)
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${path})
    list(APPEND arguments "${name}=${CMAKE_CURRENT_SOURCE_DIR}/${path}")
  endwhile()
  string(REPLACE ";" "|" joined "${arguments}")
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DFILES=${joined}" -P ${VISTELLO_EMBED_SCRIPT}
    DEPENDS ${sources} ${VISTELLO_EMBED_SCRIPT}
    COMMENT "Building the pages of private albums into the program"
    VERBATIM)
endfunction()
