// The viewer's own pictures for the about box: the program icon beside the
// text and the grey logo behind it.
#include "resources/pictel_resources.h"

static const char* const res_pictel_data[] = {
    "32 32 8 1",
    ". c None",
    "# c #1E1E28",
    "w c #F4F4F0",
    "s c #8EC8F0",
    "y c #F8D030",
    "g c #3C9A48",
    "d c #24602C",
    "b c #7A5230",
    "................................",
    "................................",
    ".##############################.",
    ".#wwwwwwwwwwwwwwwwwwwwwwwwwwww#.",
    ".#wbbbbbbbbbbbbbbbbbbbbbbbbbbb#.",
    ".#wb########################bb#.",
    ".#wb#ssssssssssssssssssssss#bb#.",
    ".#wb#ssssssssssssssssyyssss#bb#.",
    ".#wb#sssssssssssssssyyyysss#bb#.",
    ".#wb#ssssssssssssssyyyyyyss#bb#.",
    ".#wb#ssssssssssssssyyyyyyss#bb#.",
    ".#wb#ssssssssssssssyyyyyyss#bb#.",
    ".#wb#sssssssssssssssyyyysss#bb#.",
    ".#wb#ssssssssssssssssyyssss#bb#.",
    ".#wb#ssssssgsssssssssssssss#bb#.",
    ".#wb#ssssgggggsssssssssssss#bb#.",
    ".#wb#sssgggggggssssssssssss#bb#.",
    ".#wb#ssgggggggggsssssssssss#bb#.",
    ".#wb#sgggggggggggssssdsssss#bb#.",
    ".#wb#gggggggggggggsdddddsss#bb#.",
    ".#wb#gggggggggggggdddddddgg#bb#.",
    ".#wb#ggggggggggggdddddddddg#bb#.",
    ".#wb#dddddddddddddddddddddd#bb#.",
    ".#wb#dddddddddddddddddddddd#bb#.",
    ".#wb#dddddddddddddddddddddd#bb#.",
    ".#wb#dddddddddddddddddddddd#bb#.",
    ".#wb########################bb#.",
    ".#wbbbbbbbbbbbbbbbbbbbbbbbbbbb#.",
    ".#wbbbbbbbbbbbbbbbbbbbbbbbbbbb#.",
    ".##############################.",
    "................................",
    "................................"
};

static const char* const res_logomono_data[] = {
    "89 13 6 1",
    "a g #B4B4B4",
    "b g #9C9C9C",
    "c g #848484",
    "d g #404040",
    "e g #E8E8E8",
    "f g #FFFFFF",
    "eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaafefefefeaaaaafefefeaaaaafefefeaaaaafefefefefeaaafefefefefeaaafeaaaaaaaaaaaaaaaaa",
    "bbbbbbbbbfeddddddfebbbbdfedddbbfebdddddfebbbbdddfedddddbbfedddddddddbbfedbbbbbbbbbbbbbbbb",
    "bbbbbbbbbfedbbbbbfedbbbbfedbbbbfedbbbbbbddbbbbbbfedbbbbbbfedbbbbbbbbbbfedbbbbbbbbbbbbbbbb",
    "bbbbbbbbbfefefefebddbbbbfedbbbbfedbbbbbbbbbbbbbbfedbbbbbbfefefefebbbbbfedbbbbbbbbbbbbbbbb",
    "bbbbbbbbbfedddddddbbbbbbfedbbbbfedbbbbbbbbbbbbbbfedbbbbbbfedddddddbbbbfedbbbbbbbbbbbbbbbb",
    "bbbbbbbbbfedbbbbbbbbbbbbfedbbbbfedbbbbbfebbbbbbbfedbbbbbbfedbbbbbbbbbbfedbbbbbbbbbbbbbbbb",
    "cccccccccfedccccccccccfefefeccccdfefefecddccccccfedccccccfefefefefecccfefefefefeccccccccc",
    "ccccccccccddcccccccccccddddddcccccddddddcccccccccddcccccccddddddddddcccddddddddddcccccccc",
    "ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc",
    "ddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd"
};

char** res_pictel = const_cast<char**>(res_pictel_data);
char** res_logomono = const_cast<char**>(res_logomono_data);
