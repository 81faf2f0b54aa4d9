# cmake -DINPUT=file -DOUTPUT=file.inc -P cmake/EmbedBytes.cmake
# Writes the bytes of INPUT as a C initializer list ("0x42,0x4d,..."), a
# line of 16 bytes at a time, for a program that carries a file inside it.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line)  # CMake's expressions have no {16}
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "${bytes}\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
