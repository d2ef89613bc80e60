# Run by vistello_embed_files: writes OUTPUT from FILES, "name=path" entries joined by "|".
string(REPLACE "|" ";" entries "${FILES}")
set(arrays "")
set(lookups "")
set(index 0)
foreach(entry ${entries})
  string(FIND "${entry}" "=" equals)
  string(SUBSTRING "${entry}" 0 ${equals} name)
  math(EXPR start "${equals} + 1")
  string(SUBSTRING "${entry}" ${start} -1 path)
  file(READ "${path}" bytes HEX)
  string(LENGTH "${bytes}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND arrays "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND lookups "    if (name == \"${name}\")\n"
    "        return {reinterpret_cast<const char*>(kFile${index}), ${size}};\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Made by cmake/embed_files_run.cmake; not to be edited.\n"
  "#include \"private/embedded_files.h\"\n\nnamespace vistello {\n\nnamespace {\n\n${arrays}\n"
  "}  // namespace\n\nstd::string_view EmbeddedFile(std::string_view name) {\n${lookups}"
  "    return {};\n}\n\n}  // namespace vistello\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
