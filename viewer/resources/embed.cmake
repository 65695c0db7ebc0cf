# Writes the bytes of IN as a NUL-terminated C array named NAME into OUT.
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUT}" "// Made from ${IN_NAME} at build time; do not edit.\n#include \"resources/pictel_resources.h\"\n\nstatic const unsigned char bytes[] = {\n    ${bytes}0x00};\nconst char* const ${NAME} = reinterpret_cast<const char*>(bytes);\n")
