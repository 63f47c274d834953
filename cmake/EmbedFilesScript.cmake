file(WRITE ${OUT_H} "#pragma once\n#include <span>\n#include <string_view>\n"
     "std::span<const unsigned char> ${NAME}(std::string_view fileName);\n")
set(body "#include \"${NAME}.h\"\n#include <cstring>\nnamespace {\n")
set(table "")
set(i 0)
string(REPLACE "|" ";" INPUTS "${INPUTS}")
foreach(f ${INPUTS})
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR len "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(fname ${f} NAME)
  string(APPEND body "const unsigned char d${i}[] = {${bytes}0};\n")
  string(APPEND table "  {\"${fname}\", d${i}, ${len}},\n")
  math(EXPR i "${i} + 1")
endforeach()
string(APPEND body "struct Entry { const char* name; const unsigned char* data; std::size_t size; };\n"
       "const Entry entries[] = {\n${table}  {nullptr, nullptr, 0}};\n}\n"
       "std::span<const unsigned char> ${NAME}(std::string_view fileName) {\n"
       "  for (const Entry* e = entries; e->name; ++e)\n"
       "    if (fileName == e->name) return {e->data, e->size};\n"
       "  return {};\n}\n")
file(WRITE ${OUT_CPP} "${body}")
