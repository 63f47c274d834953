# embed_files(TARGET NAME FILES...) compiles the files into TARGET as byte
# arrays, reachable through the generated header <NAME>.h:
#   std::span<const unsigned char> NAME(std::string_view fileName);
function(embed_files target name)
  set(out_cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
  set(out_h ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.h)
  set(inputs)
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND inputs ${abs})
  endforeach()
  # A list would be split into separate shell words: pass it joined by '|'.
  string(REPLACE ";" "|" joined "${inputs}")
  add_custom_command(
    OUTPUT ${out_cpp} ${out_h}
    COMMAND ${CMAKE_COMMAND} -DNAME=${name} -DOUT_CPP=${out_cpp} -DOUT_H=${out_h}
            "-DINPUTS=${joined}" -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake
    DEPENDS ${inputs} ${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake
    COMMENT "Embedding ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out_cpp})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/embedded)
endfunction()
