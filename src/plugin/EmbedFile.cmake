# cmake -DINPUT=FILE -DOUTPUT=SOURCE.cpp -P EmbedFile.cmake: writes the bytes
# of FILE as the definitions BuiltInSetup.h declares.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Twenty bytes a line.
string(REGEX REPLACE "((0x..,){20})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "// Made from ${INPUT} by EmbedFile.cmake.\n"
  "#include \"plugin/BuiltInSetup.h\"\n\n"
  "const uint8_t kBuiltInSetup[] = {\n  ${bytes}\n};\n"
  "const size_t kBuiltInSetupSize = ${size};\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
