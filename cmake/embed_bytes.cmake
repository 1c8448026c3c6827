# Turns a binary file into a C array: cmake -DINPUT=a.res -DOUTPUT=a.cpp -P embed_bytes.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "#include <cstddef>\nextern \"C\" const unsigned char gw_embedded_res[] = {\n${bytes}\n};\nextern \"C\" const size_t gw_embedded_res_size = ${size};\n")
