# cmake -DINPUT=file -DOUTPUT=header -DNAME=symbol -P EmbedFile.cmake
# Writes a header that holds the bytes of INPUT as `NAME` and `NAME`Size.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}
     "// Generated from ${INPUT}: do not edit.\n#pragma once\n\n"
     "static const unsigned char ${NAME}[] = {\n    ${bytes}\n};\n"
     "static const unsigned long ${NAME}Size = ${size};\n")
