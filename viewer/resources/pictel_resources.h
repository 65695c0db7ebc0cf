// The viewer's own XPM pictures and help text, compiled into the program.
#ifndef PICTEL_RESOURCES_H
#define PICTEL_RESOURCES_H

// 32x32 program icon, 8 colours.
extern char** res_pictel;
// 89x13 grey logo, 6 colours with grey keys.
extern char** res_logomono;
// The help text in EUC-JP, NUL-terminated (made from help.txt at build time).
extern const char* const res_cHelp;

#endif
