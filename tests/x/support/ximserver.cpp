// Test support: uim-xim started with fork and exec in a temporary home.
#include <gtest/gtest.h>

#include "ximserver.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <memory>
#include <string>

#include "core/xim_private.h"
#include "tessel.h"
#include "testutil.h"

const char* const kXimLocale = "ja_JP.EUC-JP";

static pid_t s_uim = 0;
static std::unique_ptr<tu::TempDir> s_home;

bool xim_uim_registered(Display* d)
{
    return XGetSelectionOwner(d, XInternAtom(d, "@server=uim", False)) != None;
}

bool xim_start_uim(Display* d, const char* engine)
{
    if (s_uim > 0)
        return true;
    s_home.reset(new tu::TempDir);
    std::string home = "HOME=" + s_home->path, display = std::string("DISPLAY=") + DisplayString(d);
    std::string lcall = std::string("LC_ALL=") + kXimLocale, lang = std::string("LANG=") + kXimLocale;
    std::string option = std::string("--engine=") + engine;
    char* env[] = {&home[0], &display[0], &lcall[0], &lang[0], nullptr};
    s_uim = fork();
    if (s_uim == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execle("/usr/bin/uim-xim", "uim-xim", option.c_str(), (char*)nullptr, env);
        _exit(127);
    }
    for (int i = 0; i < 200 && s_uim > 0; i++, usleep(20000))
        if (xim_uim_registered(d))
            return true;
    return false;
}

void xim_stop_uim()
{
    if (s_uim > 0) {
        kill(s_uim, SIGTERM);
        waitpid(s_uim, nullptr, 0);
    }
    s_uim = 0;
    s_home.reset();
}

bool xim_enter_locale(Display* d, const char* modifiers, const char* engine)
{
    std::string old = setlocale(LC_ALL, nullptr);
    if (!setlocale(LC_ALL, kXimLocale))
        return false;
    setlocale(LC_ALL, old.c_str());
    setenv("LC_ALL", kXimLocale, 1);
    setenv("XMODIFIERS", modifiers, 1);
    int ok = tslLocale_XIM("");
    unsetenv("LC_ALL");
    if (ok == 1 && strcmp(modifiers, "@im=uim") == 0) {
        EXPECT_TRUE(xim_start_uim(d, engine)) << "uim-xim did not start";
        char** missing = nullptr;
        int count = 0;
        char* def = nullptr;
        g_tessel.fontSet = XCreateFontSet(d, "-*-*-medium-r-normal--14-*-*-*-*-*-*-*", &missing, &count, &def);
        if (missing)
            XFreeStringList(missing);
    }
    return ok == 1;
}

void xim_leave_locale(Display* d)
{
    if (g_tessel.im)
        tslCloseIM_XIM(g_tessel.im);
    if (g_tessel.fontSet)
        XFreeFontSet(d, g_tessel.fontSet);
    g_tessel.fontSet = nullptr;
    g_im = nullptr;
    setlocale(LC_ALL, "C");
}
