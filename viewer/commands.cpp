// The commands of pictel's menus, tool bar and keys: Open through the file
// dialog, Help through the text dialog, About through the about box, Quit.
#include "dirwalk.h"
#include "pictel.h"
#include "resources/pictel_resources.h"

static const char* const kHelpTitle = "Pictel Help";
static const char* const kAboutTitle = "Pictel About";
static const char* const kAboutText = ">>> Tessel Image Viewer for X <<<\n- Ver01.10 since 1999.01 -\n";
// Standard colour 4, blue, for the about text.
static const int kAboutColor = 4;

int OnMenuOpen(void)
{
    char result[TSL_FILE_NAME_SIZE];
    result[0] = '\0';
    tslFileDialog(g_tessel.display, tslGetWindow(PICTEL_MAIN), result, dirwalk_filters(),
                  TSL_FILEDLG_OPEN);
    if (!result[0])
        return 0;
    TakeInPicture(result);
    return 1;
}

int OnMenuQuit(void)
{
    picture_free(g_tessel.display);
    return TSLR_CLOSE;
}

int OnMenuHelp(void)
{
    tslTextDialog(g_tessel.display, tslGetWindow(PICTEL_MAIN), kHelpTitle, res_cHelp);
    return 1;
}

// The pictures live only as long as the box: loaded and freed on every call.
int OnMenuAbout(void)
{
    Display* display = g_tessel.display;
    TslImage* logo = tslLoadImageFromData(display, res_logomono);
    TslImage* icon = tslLoadImageFromData(display, res_pictel);
    tslAboutDialog(display, tslGetWindow(PICTEL_MAIN), kAboutTitle, kAboutText, icon, logo,
                   g_tessel.colors[kAboutColor]);
    tslFreeImage(display, icon);
    tslFreeImage(display, logo);
    return 1;
}
