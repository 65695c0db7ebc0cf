// The list of live windows (TesselManager), each window's children array, and
// the lookups over both.  Both lists are null-terminated heap arrays sized to
// their contents plus the terminator.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/window_private.h"

TslWindow** g_tslTesselManager = nullptr;

static const char* kNoMemory = "Error: can't allocate memory\n";

static int count_of(TslWindow** list)
{
    int n = 0;
    if (list)
        while (list[n])
            n++;
    return n;
}

static int append_to(TslWindow*** list, TslWindow* w)
{
    int n = count_of(*list);
    size_t bytes = ((size_t)n + 2) * sizeof(TslWindow*);
    TslWindow** grown = (TslWindow**)realloc(*list, bytes);
    if (!grown) {
        fputs(kNoMemory, stderr);
        return 0;
    }
    grown[n] = w;
    grown[n + 1] = nullptr;
    *list = grown;
    return 1;
}

static int remove_from(TslWindow*** list, TslWindow* w)
{
    TslWindow** arr = *list;
    int n = count_of(arr);
    int at = -1;
    for (int i = 0; i < n; i++)
        if (arr[i] == w) {
            at = i;
            break;
        }
    if (at < 0)
        return 1;
    if (n == 1) {
        free(arr);
        *list = nullptr;
        return 1;
    }
    memmove(arr + at, arr + at + 1, (size_t)(n - at) * sizeof(TslWindow*));
    // The entries are already correct; a failed shrink only keeps the old block.
    TslWindow** shrunk = (TslWindow**)realloc(arr, (size_t)n * sizeof(TslWindow*));
    if (shrunk)
        *list = shrunk;
    return 1;
}

int AddTesselManager(TslWindow* window)
{
    return append_to(&g_tslTesselManager, window);
}

int DeleteTesselManager(TslWindow* window)
{
    return remove_from(&g_tslTesselManager, window);
}

int AddChildWindow(TslWindow* parent, TslWindow* child)
{
    if (!parent)
        return 0;
    return append_to(&parent->children, child);
}

int DeleteChildWindow(TslWindow* parent, TslWindow* child)
{
    if (!parent)
        return 0;
    return remove_from(&parent->children, child);
}

static TslWindow* find_by_name(TslWindow** list, const char* name)
{
    if (!list || !name)
        return nullptr;
    for (int i = 0; list[i]; i++)
        if (list[i]->caption && strcmp(list[i]->caption, name) == 0)
            return list[i];
    return nullptr;
}

static TslWindow* find_by_xwin(TslWindow** list, Window xwin)
{
    if (!list)
        return nullptr;
    for (int i = 0; list[i]; i++)
        if (list[i]->xwin == xwin)
            return list[i];
    return nullptr;
}

static TslWindow* at_index(TslWindow** list, int index)
{
    if (index < 0 || index >= count_of(list))
        return nullptr;
    return list[index];
}

TslWindow* tslGetWindow(const char* name)
{
    return find_by_name(g_tslTesselManager, name);
}

TslWindow* tslGetWindowFromXWindow(Window xwin)
{
    return find_by_xwin(g_tslTesselManager, xwin);
}

TslWindow* tslGetWindowFromIndex(int index)
{
    return at_index(g_tslTesselManager, index);
}

int tslGetTotalWindows(void)
{
    return count_of(g_tslTesselManager);
}

TslWindow* tslGetChildWindow(TslWindow* window, const char* name)
{
    return window ? find_by_name(window->children, name) : nullptr;
}

TslWindow* tslGetChildWindowFromXWindow(TslWindow* window, Window xwin)
{
    return window ? find_by_xwin(window->children, xwin) : nullptr;
}

TslWindow* tslGetChildWindowFromIndex(TslWindow* window, int index)
{
    return window ? at_index(window->children, index) : nullptr;
}

int tslGetTotalChildWindows(TslWindow* window)
{
    return window ? count_of(window->children) : 0;
}

TslWindow* tslGetTopWindow(TslWindow* window)
{
    while (window && window->parent)
        window = window->parent;
    return window;
}

TslWindow* tslGetParentWindow(TslWindow* window)
{
    return window ? window->parent : nullptr;
}

Window tslGetXWindow(TslWindow* window)
{
    return window ? window->xwin : 0;
}

Window tslGetWin(TslWindow* window)
{
    return window ? window->xwin : 0;
}

int CheckChildWindow(TslWindow* window, Window xwin)
{
    if (!window)
        return 0;
    if (window->xwin == xwin)
        return 1;
    if (window->children)
        for (int i = 0; window->children[i]; i++)
            if (CheckChildWindow(window->children[i], xwin))
                return 1;
    return 0;
}

int CheckTslPointer(const void* p)
{
    if (!p || !g_tslTesselManager)
        return 0;
    for (int i = 0; g_tslTesselManager[i]; i++)
        if (g_tslTesselManager[i] == p)
            return 1;
    return 0;
}

int tslCheckShowWindow(TslWindow* window)
{
    return window ? window->shown : 0;
}

int tslIsWindowResized(TslWindow* window)
{
    return window ? window->resized : 0;
}
