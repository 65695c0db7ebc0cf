// Toolkit start-up: parses the standard options, opens the display and fills
// g_tessel with the screen, colours, images, cursors, GCs, resource values,
// fonts, and the font set and input method (made once a window asks for
// them) that the rest of the toolkit shares.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <X11/Xlib.h>

#include "tessel.h"
#include "core/cursor_private.h"
#include "core/startup_private.h"
#include "core/xim_private.h"
#include "core/xerror.h"
#include "support/rcfile_private.h"
#include "resources/cursors.h"
#include "resources/images.h"

static const char* const DEFAULT_FONT = "-misc-*-*-*-*-*-14-*-*-*-*-*-jisx0201.1976-0";
static const char* const DEFAULT_FONT_KANJI = "-misc-*-*-*-*-*-14-*-*-*-*-*-*-0";
// Every X server carries this alias; the last resort when even the default fails.
static const char* const LAST_RESORT_FONT = "fixed";
static const char* const RC_GROUP = "Tessel";

enum RCKeyIndex {
    RC_BACK_COLOR,
    RC_BORDER_COLOR,
    RC_FONT_COLOR,
    RC_PAPER_COLOR,
    RC_ACTION_COLOR,
    RC_INTERVAL,
    RC_DOUBLE_CLICK_TIME,
    RC_MOUSE_RIGHT_HAND,
    RC_MOUSE_BUTTON,
    RC_TEN_KEY,
    RC_CHAR_CODE,
    RC_IM,
    RC_FONT,
    RC_FONT_KANJI,
    RC_WALL_IMAGE,
    RC_KEY_COUNT
};

struct RCKey {
    const char* key;
    const char* fallback;
};

// Read (and written back when missing) in exactly this order.
static const RCKey RC_KEYS[RC_KEY_COUNT] = {
    {"BackColor", "DimGrey"},
    {"BorderColor", "black"},
    {"FontColor", "grey"},
    {"PaperColor", "DimGrey"},
    {"ActionColor", "blue"},
    {"Interval", "35"},
    {"DoubleClickTime", "300"},
    {"MouseRightHand", "TRUE"},
    {"MouseButton", "3"},
    {"TenKey", "TRUE"},
    {"CharCode", "EUC"},
    {"IM", "TRUE"},
    {"Font", DEFAULT_FONT},
    {"FontKanji", DEFAULT_FONT_KANJI},
    {"WallImage", ""},
};

static const int STANDARD_COLORS[TSL_COLOR_COUNT][3] = {
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 0},
    {255, 0, 255},   {0, 255, 255},   {128, 128, 128}, {64, 64, 64}, {128, 0, 0},  {0, 128, 0},
    {0, 0, 128},     {128, 128, 0},   {128, 0, 128}, {0, 128, 128}};

// Copies with truncation so that nothing is written past a fixed field.
static void copy_field(char* dst, size_t size, const char* src)
{
    size_t n = strlen(src);
    if (n >= size)
        n = size - 1;
    memcpy(dst, src, n);
    dst[n] = '\0';
}

static void usage(int full)
{
    fprintf(stderr, "*** Multi Media Tessel(%s) Standard command ***\n", g_tessel.version);
    fprintf(stderr, "\n");
    if (!full)
        return;
    fprintf(stderr, " Usage: %s [-display <name>] [-geometry <WxH+X+Y>] [-help]\n\n",
            g_tessel.programName);
    fprintf(stderr, " display <name> (or -d)     ... Name of the X server\n");
    fprintf(stderr, " geometry <WxH+X+Y> (or -g) ... Set window size & position\n");
    fprintf(stderr, "                                (size: WidthxHeight, position: +-X +-Y)\n");
    fprintf(stderr, " help(or -h, -?)            ... This message\n");
    fprintf(stderr, "\n");
    fprintf(stderr, "*** Application command ***\n\n");
}

static int is_help_option(const char* word)
{
    static const char* const HELP[] = {"-help", "--help", "--h", "--?", "-?", "-h"};
    for (const char* h : HELP)
        if (strcmp(word, h) == 0)
            return 1;
    return 0;
}

int ArgInit(int argc, char** argv)
{
    if (argc == 0 || !argv)
        return 0;
    if (argv[0]) {
        const char* slash = strrchr(argv[0], '/');
        copy_field(g_tessel.programName, sizeof g_tessel.programName, slash ? slash + 1 : argv[0]);
    }
    for (int i = 1; i < argc; i++) {
        const char* word = argv[i];
        if (!word)
            continue;
        int hasNext = i + 1 < argc && argv[i + 1];
        if ((strcmp(word, "-display") == 0 || strcmp(word, "-d") == 0) && hasNext) {
            copy_field(g_tessel.displayName, sizeof g_tessel.displayName, argv[++i]);
        } else if ((strcmp(word, "-geometry") == 0 || strcmp(word, "-g") == 0) && hasNext) {
            copy_field(g_tessel.geometry, sizeof g_tessel.geometry, argv[++i]);
        } else if (is_help_option(word)) {
            usage(1);
        }
    }
    return 1;
}

XFontSet CreateFontSet(Display* display, const char* baseNameList)
{
    char** missing = NULL;
    int count = 0;
    char* defaultString = NULL;
    XFontSet set = XCreateFontSet(display, baseNameList, &missing, &count, &defaultString);
    if (!set) {
        fprintf(stderr, "Error: can't create font set.\n");
        if (missing)
            XFreeStringList(missing);
        return NULL;
    }
    if (count > 0) {
        fprintf(stderr, "Warning: can't load: ");
        for (int i = 0; i < count; i++)
            fprintf(stderr, "%s ", missing[i]);
        fprintf(stderr, "\n");
        fprintf(stderr, "       : fs locale = '%s'\n", XLocaleOfFontSet(set));
    }
    if (missing)
        XFreeStringList(missing);
    return set;
}

// Leading decimal digits, saturated to the int range.
static int parse_int(const char* value)
{
    long n = strtol(value, NULL, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return (int)n;
}

static int begins_with(const char* value, const char* prefix)
{
    return strncmp(value, prefix, strlen(prefix)) == 0;
}

// The file is read once; a file that cannot be read is asked for again at
// the next key, as each key's own read would, since writing the first
// missing key creates it.  A written key is never looked up again, so the
// copy read before stays good for the keys after it.
static void read_values(char values[RC_KEY_COUNT][TSL_RC_VALUE_SIZE], int haveHome)
{
    std::string path;
    if (haveHome)
        path = std::string(getenv("HOME")) + "/.tslrc";
    std::string file;
    bool haveFile = false;
    for (int i = 0; i < RC_KEY_COUNT; i++) {
        memset(values[i], 0, TSL_RC_VALUE_SIZE);
        if (haveHome) {
            if (!haveFile)
                haveFile = rc_read_file(path.c_str(), &file);
            if (haveFile && rc_find_value(file, RC_GROUP, RC_KEYS[i].key, values[i]))
                continue;
        }
        copy_field(values[i], TSL_RC_VALUE_SIZE, RC_KEYS[i].fallback);
        if (haveHome)
            tslSetRCFileValue(path.c_str(), RC_GROUP, RC_KEYS[i].key, values[i]);
    }
}

static void set_color_name(int index, const char* name)
{
    copy_field(g_tessel.colorNames[index], sizeof g_tessel.colorNames[index], name);
}

// colorNames follows the order of the pixel fields from backPixel to backNearPixel.
static void apply_colors(Display* display, char values[RC_KEY_COUNT][TSL_RC_VALUE_SIZE])
{
    Colormap cm = g_tessel.colormap;
    const char* back = values[RC_BACK_COLOR];
    g_tessel.backPixel = tslGetNamedColor(display, cm, back);
    g_tessel.backNearPixel = tslGetAlterNamedColor(display, cm, back, TSL_ALTER_NEAR);
    g_tessel.backLightPixel = tslGetAlterNamedColor(display, cm, back, TSL_ALTER_LIGHT);
    g_tessel.backShadowPixel = tslGetAlterNamedColor(display, cm, back, TSL_ALTER_SHADOW);
    set_color_name(0, back);
    set_color_name(5, back);
    set_color_name(6, back);
    set_color_name(8, back);

    g_tessel.borderPixel = tslGetNamedColor(display, cm, values[RC_BORDER_COLOR]);
    set_color_name(1, values[RC_BORDER_COLOR]);

    const char* font = values[RC_FONT_COLOR];
    g_tessel.fontPixel = tslGetNamedColor(display, cm, font);
    g_tessel.fontContrastPixel = tslGetAlterNamedColor(display, cm, font, TSL_ALTER_CONTRAST);
    set_color_name(2, font);
    set_color_name(3, font);

    g_tessel.paperPixel = tslGetNamedColor(display, cm, values[RC_PAPER_COLOR]);
    set_color_name(4, values[RC_PAPER_COLOR]);
    g_tessel.actionPixel = tslGetNamedColor(display, cm, values[RC_ACTION_COLOR]);
    set_color_name(7, values[RC_ACTION_COLOR]);
}

static void apply_numbers(char values[RC_KEY_COUNT][TSL_RC_VALUE_SIZE])
{
    int interval = parse_int(values[RC_INTERVAL]);
    g_tessel.interval = interval < 1 ? 1 : interval;
    g_tessel.doubleClickTime = parse_int(values[RC_DOUBLE_CLICK_TIME]);
    g_tessel.mouseRightHand = begins_with(values[RC_MOUSE_RIGHT_HAND], "TRUE");
    g_tessel.mouseButton = parse_int(values[RC_MOUSE_BUTTON]);
    g_tessel.tenKey = begins_with(values[RC_TEN_KEY], "TRUE");
    const char* code = values[RC_CHAR_CODE];
    if (begins_with(code, "EUC"))
        g_tessel.charCode = TSL_CODE_EUC;
    else if (begins_with(code, "SJIS"))
        g_tessel.charCode = TSL_CODE_SJIS;
    else
        g_tessel.charCode = TSL_CODE_ASCII;
    g_tessel.useIM = begins_with(values[RC_IM], "TRUE");
}

// The default single-byte font, or the server's "fixed" when even that is
// missing.  failed names a font the server has just refused, so that the
// same name is not asked for twice.
static XFontStruct* load_default_font(Display* display, std::string& name,
                                      const char* failed = NULL)
{
    bool refused = failed && strcmp(failed, DEFAULT_FONT) == 0;
    XFontStruct* font = refused ? NULL : XLoadQueryFont(display, DEFAULT_FONT);
    if (font) {
        name = DEFAULT_FONT;
        return font;
    }
    fprintf(stderr, "Error: Can't load default font(%s). Using \"%s\".\n", DEFAULT_FONT,
            LAST_RESORT_FONT);
    name = LAST_RESORT_FONT;
    return XLoadQueryFont(display, LAST_RESORT_FONT);
}

// 1 for an XLFD name whose average-width field is not 0, i.e. a font made
// for that size rather than scaled from another.
static int is_native_size(const char* name)
{
    int dashes = 0;
    for (const char* p = name; *p; p++)
        if (*p == '-' && ++dashes == 12)
            return p[1] != '0' || (p[2] != '-' && p[2] != '\0');
    return 0;
}

// A wildcard Kanji name may match single-byte fonts first; the Kanji glyphs
// are drawn as JIS X 0208 pairs, so a match in that charset is preferred.
static XFontStruct* load_kanji_font(Display* display, const char* pattern)
{
    int count = 0;
    char** names = XListFonts(display, pattern, 256, &count);
    const char* chosen = NULL;
    for (int pass = 0; pass < 2 && !chosen; pass++)
        for (int i = 0; i < count && !chosen; i++)
            if (strstr(names[i], "jisx0208") && (pass == 1 || is_native_size(names[i])))
                chosen = names[i];
    XFontStruct* font = chosen ? XLoadQueryFont(display, chosen) : NULL;
    if (names)
        XFreeFontNames(names);
    // A pattern that matches no name at all cannot be loaded either.
    return font || count == 0 ? font : XLoadQueryFont(display, pattern);
}

// The base names of the font set, "single-byte,Kanji".
static char fontSetNames[2 * TSL_RC_VALUE_SIZE];

static void load_fonts(Display* display, char values[RC_KEY_COUNT][TSL_RC_VALUE_SIZE], int haveHome)
{
    std::string baseName, kanjiName;
    if (haveHome) {
        g_tessel.font = XLoadQueryFont(display, values[RC_FONT]);
        if (g_tessel.font) {
            baseName = values[RC_FONT];
        } else {
            fprintf(stderr, "Error: Tessel RC file - Can't load font(%s).\n", values[RC_FONT]);
            g_tessel.font = load_default_font(display, baseName, values[RC_FONT]);
        }
        g_tessel.fontKanji = load_kanji_font(display, values[RC_FONT_KANJI]);
        if (g_tessel.fontKanji) {
            kanjiName = values[RC_FONT_KANJI];
        } else {
            fprintf(stderr, "Error: Tessel RC file - Can't load Kanji font(%s).\n",
                    values[RC_FONT_KANJI]);
            g_tessel.fontKanji = g_tessel.font;
            kanjiName = DEFAULT_FONT;
        }
    } else {
        g_tessel.font = load_default_font(display, baseName);
        g_tessel.fontKanji = load_kanji_font(display, DEFAULT_FONT_KANJI);
        if (g_tessel.fontKanji) {
            kanjiName = DEFAULT_FONT_KANJI;
        } else {
            fprintf(stderr, "Error: Can't load Kanji font.\n");
            g_tessel.fontKanji = g_tessel.font;
            kanjiName = DEFAULT_FONT;
        }
    }
    // The font set serves only input-method pre-edit: it is made with the
    // input method, when a window first asks for one.
    std::string list = baseName + "," + kanjiName;
    copy_field(fontSetNames, sizeof fontSetNames, list.c_str());
}

int GetRCFileValue(void)
{
    Display* display = g_tessel.display;
    // An empty HOME would put the file at the root of the file system.
    const char* home = getenv("HOME");
    int haveHome = home != NULL && home[0] != '\0';
    char values[RC_KEY_COUNT][TSL_RC_VALUE_SIZE];
    read_values(values, haveHome);
    apply_colors(display, values);
    apply_numbers(values);
    load_fonts(display, values, haveHome);
    g_tessel.wallImage = NULL;
    const char* wall = values[RC_WALL_IMAGE];
    if (wall[0])
        g_tessel.wallImage = tslLoadImage(display, wall, g_tessel.colormap, tslCheckImageFormat(wall));
    return 1;
}

// All three cursors are made before the server is asked whether they were;
// only when one was not are they made again one by one to see which.
static void load_cursors(Display* display)
{
    static const TslCursorData* const DATA[TSL_CURSOR_COUNT] = {&res_curFinger, &res_curWait,
                                                               &res_curIbeam};
    xerr_trap_begin(display);
    for (int i = 0; i < TSL_CURSOR_COUNT; i++)
        g_tessel.cursors[i] = cursor_create(display, DATA[i]);
    if (xerr_trap_end(display) == 0)
        return;
    xerr_trap_begin(display);
    for (Cursor& cursor : g_tessel.cursors)
        if (cursor)
            XFreeCursor(display, cursor);
    xerr_trap_end(display);
    for (int i = 0; i < TSL_CURSOR_COUNT; i++)
        g_tessel.cursors[i] = tslLoadCursor(display, DATA[i]);
}

static void load_shared_pictures(Display* display)
{
    for (int i = 0; i < TSL_COLOR_COUNT; i++)
        g_tessel.colors[i] = tslGetColor(display, g_tessel.colormap, STANDARD_COLORS[i][0],
                                         STANDARD_COLORS[i][1], STANDARD_COLORS[i][2]);
    for (int i = 0; i < TSL_IMAGE_COUNT; i++)
        g_tessel.images[i] = tslLoadImageFromData(display, tsl_builtin_images[i]);
    load_cursors(display);
    g_tessel.cursorCount = TSL_CURSOR_COUNT;
    g_tessel.imageCount = TSL_IMAGE_COUNT;
    g_tessel.colorCount = TSL_COLOR_COUNT;
}

Display* tslOpenDisplay(int argc, char** argv)
{
    memset(&g_tessel, 0, sizeof g_tessel);
    copy_field(g_tessel.version, sizeof g_tessel.version, "Ver01.02");
    ArgInit(argc, argv);

    Display* display = XOpenDisplay(g_tessel.displayName[0] ? g_tessel.displayName : NULL);
    if (!display) {
        fprintf(stderr, "Error: [%s] can't open display.\n", g_tessel.displayName);
        exit(1);
    }
    g_tessel.display = display;
    xim_set_locale("");

    // The connection set-up already tells the root window's size and depth.
    Window root = RootWindow(display, 0);
    g_tessel.screenWidth = DisplayWidth(display, 0);
    g_tessel.screenHeight = DisplayHeight(display, 0);
    g_tessel.depth = DefaultDepth(display, 0);
    g_tessel.colormap = DefaultColormap(display, 0);
    g_tessel.colormapTable =
        g_tessel.depth == 8 ? tslConvertColormap(display, g_tessel.colormap) : NULL;
    g_tessel.debugCallback = NULL;
    g_tessel.selectedFiles = NULL;

    load_shared_pictures(display);

    g_tessel.gc = XCreateGC(display, root, 0, NULL);
    g_tessel.backGC = XCreateGC(display, root, 0, NULL);
    g_tessel.fontGC = XCreateGC(display, root, 0, NULL);
    g_tessel.kanjiGC = XCreateGC(display, root, 0, NULL);

    GetRCFileValue();
    if (g_tessel.useIM == 1)
        xim_open_at_start(display, fontSetNames);

    XSetForeground(display, g_tessel.backGC, g_tessel.backPixel);
    XSetGraphicsExposures(display, g_tessel.fontGC, False);
    XSetGraphicsExposures(display, g_tessel.kanjiGC, False);
    XSetForeground(display, g_tessel.fontGC, g_tessel.fontPixel);
    XSetForeground(display, g_tessel.kanjiGC, g_tessel.fontPixel);
    if (g_tessel.font)
        XSetFont(display, g_tessel.fontGC, g_tessel.font->fid);
    if (g_tessel.fontKanji)
        XSetFont(display, g_tessel.kanjiGC, g_tessel.fontKanji->fid);
    XFlush(display);
    return display;
}
