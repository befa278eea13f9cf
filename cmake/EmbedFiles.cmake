# Writes OUTPUT, a C++ source that holds each of FILES as a byte array named
# by the matching entry of NAMES, with its size in NAME##Size:
#   cmake -DOUTPUT=out.cpp -DNAMES="A;B" -DFILES="a.png;b.png" -P EmbedFiles.cmake
# Binaries that must not depend on files beside them carry their images so.
list(LENGTH NAMES count)
math(EXPR last "${count} - 1")
set(source "// Generated from ${FILES} by EmbedFiles.cmake.\n#include <cstddef>\n")
foreach(index RANGE ${last})
  list(GET NAMES ${index} name)
  list(GET FILES ${index} file)
  file(READ "${file}" bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND source "extern const unsigned char ${name}[] = {${bytes}};\n")
  string(APPEND source "extern const std::size_t ${name}Size = sizeof ${name};\n")
endforeach()
file(WRITE "${OUTPUT}.new" "${source}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
