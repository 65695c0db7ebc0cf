// The file dialog: a modal chooser for opening and saving over the working
// directory, which it changes as the user walks.  A name field, the listing
// in a list box, " O K " and "Cancel", and the expansion modes; what the
// listing shows comes from file_list, the reading from file_read.  The list
// shows names in the toolkit's code, while the dialog opens, walks into and
// returns names by their real bytes.
#include <X11/keysym.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_window.h"
#include "dialogs/file_list.h"
#include "dialogs/file_read.h"
#include "support/textconv.h"
#include "tessel.h"

// The record in the dialog's option: the mode the caption names.
struct FileDlgData {
    int mode;
};

static const char kNameField[] = "_tslPath_tslFileDlg";
static const char kListName[] = "_tslListBox_tslFileDlg";
static const char kOkCaption[] = " O K ";
static const char kCancelCaption[] = "Cancel";
static const char kExpansionCaption[] = "Expansion:";
static const char* const kExpansionLabels[] = {"all", "normal", "select"};
static const char kStartCaption[] = "File Dialog - ";
static const char kOpenCaption[] = "Open Dialog - ";
static const char kSaveCaption[] = "Save Dialog - ";
static const char kTitle[] = "File Dialog";
static const char kSaveTitle[] = "File Save Dialog";
static const char kNoName[] = "No file name.\nSelect or input file name.";
static const char kOverwrite[] = "This file(%s) exist. \nOver write it ?";
static const char kCantEnter[] = "Can't read this directory.";
static const char kTooLong[] = "This file name is too long.";
static const char kCantScan[] = "Error: Can't scan directory.\n";
static const char kCantScanHere[] = "Error: Can't scan directroy.\n";
static const char kNoDialog[] = "Error: Can't create the file dialog.\n";

// Message dialog styles: a warning with " O K ", a question with both buttons.
static const int kWarnStyle = 64 | MSGDLG_OK;
static const int kAskStyle = 16 | MSGDLG_OK | MSGDLG_CANCEL;
// Built-in images of the list: the parent entry, a directory, a file.
enum { IMAGE_UP_FOLDER = 4, IMAGE_FOLDER = 5, IMAGE_FILE = 8 };

static const int kStartX = 50;
static const int kStartY = 50;
static const int kWidth = 280;
static const int kHeight = 350;

// Kept for the life of the process: where the dialog was closed, the list's
// scroll position then, and the expansion mode last chosen.
static TslRect rectBack = {DIALOG_NOT_SHOWN, DIALOG_NOT_SHOWN, kWidth, kHeight};
static int nListPos = 0;
static int nExp = FILE_EXP_SELECT;

// The running dialog.  listing[i] is the entry of the list's item i.
struct FileDlgState {
    int expansion;
    int result;
    TslWindow* dialog;
    TslWindow* nameField;
    TslWindow* list;
    TslWindow* selector;
    const char* const* filters;
    std::vector<FileEntry> listing;
    std::string cwd;
    std::string chosen;
    FileNamePick pick;
    bool closing;
};
static FileDlgState gm;

// The names of the last accepted dialog, as handed to g_tessel.selectedFiles;
// tslCloseDisplay frees them there.
static char** selectedFiles;
static int selectedCount;

static int WndProc_FileDlg(Display* display, TslWindow* dialog, XEvent* event);

static std::string to_text(const std::string& name)
{
    return textconv_convert(textconv_locale_codeset(), textconv_code_name(g_tessel.charCode),
                            name.data(), name.size());
}

static std::string to_locale(const std::string& text)
{
    return textconv_convert(textconv_code_name(g_tessel.charCode), textconv_locale_codeset(),
                            text.data(), text.size());
}

static std::string working_dir()
{
    char buffer[TSL_FILE_NAME_SIZE];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

static int row_height()
{
    return tslGetCharHeight(nullptr) + 10;
}

static void relayout(Display* display, TslWindow* dialog)
{
    FileDlgLayout l = filedlg_layout(dialog->rect.width, dialog->rect.height, row_height());
    const DialogSlot slots[5] = {{TSLK_INPUTWND, nullptr, l.name},
                                 {TSLK_LISTBOX, nullptr, l.list},
                                 {TSLK_BUTTON, kOkCaption, l.ok},
                                 {TSLK_BUTTON, kCancelCaption, l.cancel},
                                 {TSLK_SELECTBTN, nullptr, l.expansion}};
    dialog_move_children(display, dialog, slots, 5);
}

static void Draw(Display* display, TslWindow* dialog)
{
    dialog_paint(display, dialog, nullptr, 0, 0);
}

// Runs after the core's default processing: the dialog is not in raw mode.
static int WndProc_FileDlg(Display* display, TslWindow* dialog, XEvent* event)
{
    return dialog_procedure(display, dialog, event, dialog->status, relayout, Draw);
}

static void set_caption()
{
    int mode = static_cast<FileDlgData*>(gm.dialog->option)->mode;
    std::string caption = mode == TSL_FILEDLG_OPEN ? kOpenCaption : kSaveCaption;
    caption += file_list_shown_name(gm.cwd, to_text);
    tslSetCaption(gm.dialog, caption.c_str());
}

// Repaints are served while a long directory is read; input meanwhile is
// dropped, so that no handler runs in the middle of the reading.
static void let_events_through(void* display)
{
    tslHookEvent(static_cast<Display*>(display), nullptr);
}

// The listing of the working directory in the current mode, read under the
// wait cursor; false when the directory cannot be read.
static bool read_listing(Display* display, std::vector<FileEntry>* out)
{
    tslSetWaitCursor(display, gm.dialog);
    std::vector<FileEntry> entries;
    bool ok = file_read_dir(".", &entries, let_events_through, display);
    if (ok) {
        try {
            *out = file_list_arrange(entries, gm.expansion, gm.filters);
            for (FileEntry& e : *out)
                e.shown = file_list_shown_name(e.name, to_text);
        } catch (const std::bad_alloc&) {
            out->clear();
            fputs(kCantScan, stderr);
            ok = false;
        }
    }
    tslSetNormalCursor(display, gm.dialog);
    return ok;
}

// Items are added silently but for the last, which repaints and sets the
// bar's range.  Should the list refuse an item, the listing is cut to what
// the list holds, so that item i always stands for listing[i].
static void fill_list(Display* display)
{
    size_t n = gm.listing.size();
    for (size_t i = 0; i < n; i++) {
        const FileEntry& e = gm.listing[i];
        int image = i == 0 ? IMAGE_UP_FOLDER : e.directory ? IMAGE_FOLDER : IMAGE_FILE;
        if (!tslAddItem_ListBox(display, gm.list, file_list_label(e).c_str(), g_tessel.images[image], -1,
                                i + 1 == n))
            break;
    }
    size_t held = (size_t)tslGetSize_ListBox(gm.list);
    if (held < n) {
        gm.listing.resize(held);
        tslRedraw_ListBox(gm.list);
    }
}

static void empty_list()
{
    for (int n = tslGetSize_ListBox(gm.list); n > 0; n--)
        tslDeleteItem_ListBox(gm.list, 0, n == 1);
}

static void show_listing(Display* display, std::vector<FileEntry>* next)
{
    empty_list();
    gm.listing.swap(*next);
    fill_list(display);
}

static void set_pick(const FileNamePick& pick)
{
    gm.pick = pick;
    tslSetText_InputWnd(gm.nameField, pick.shown.c_str());
}

// Ends the dialog with result.  The loop still serves the rest of its
// pass, whose clicks and keys the handlers then pass over: a directory
// entered now would change what the chosen name is relative to.
static int finish(int result)
{
    gm.result = result;
    gm.closing = true;
    return TSLR_CLOSE;
}

// Walks into a directory of the listing.  One that cannot be entered or
// read leaves the dialog where it was, with a word to the user; only when
// the way back is lost too does the dialog give up.
static int enter(Display* display, const std::string& name)
{
    int back = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool entered = chdir(name.c_str()) == 0;
    std::vector<FileEntry> next;
    if (!entered || !read_listing(display, &next)) {
        fputs(kCantScanHere, stderr);
        bool home = !entered || (back >= 0 && fchdir(back) == 0);
        if (back >= 0)
            close(back);
        if (!home)
            return finish(TSLN_BUTTON_UP);
        tslMessageDialog(display, gm.dialog, kTitle, kCantEnter, kWarnStyle);
        return TSLR_OK;
    }
    if (back >= 0)
        close(back);
    show_listing(display, &next);
    set_pick(FileNamePick{});
    gm.cwd = working_dir();
    set_caption();
    return TSLR_OK;
}

// The name the field's text stands for, when the user accepts it: asked
// about when saving over an existing file; the dialog ends on a yes.
static int accept(Display* display)
{
    const char* text = tslGetText_InputWnd(gm.nameField);
    std::string field = text ? text : "";
    std::string real = field.empty() ? field : file_list_real_name(field, gm.pick, to_locale);
    if (real.empty()) {
        tslMessageDialog(display, gm.dialog, kTitle, kNoName, kWarnStyle);
        return TSLR_OK;
    }
    if (real.size() >= TSL_FILE_NAME_SIZE) {
        tslMessageDialog(display, gm.dialog, kTitle, kTooLong, kWarnStyle);
        return TSLR_OK;
    }
    struct stat st;
    int mode = static_cast<FileDlgData*>(gm.dialog->option)->mode;
    if (mode != TSL_FILEDLG_OPEN && lstat(real.c_str(), &st) == 0) {
        std::vector<char> question(sizeof kOverwrite + field.size());
        snprintf(question.data(), question.size(), kOverwrite, field.c_str());
        if (tslMessageDialog(display, gm.dialog, kSaveTitle, question.data(), kAskStyle) != TSLN_BUTTON_DOWN)
            return TSLR_OK;
    }
    gm.chosen = real;
    tslSetWaitCursor(display, gm.dialog);
    return finish(TSLN_BUTTON_DOWN);
}

static int OnKeyEvent(TslWindow*, XEvent*, KeySym key)
{
    if (gm.closing)
        return TSLR_CLOSE;
    return key == XK_Return ? accept(g_tessel.display) : TSLR_OK;
}

static int OnButton(TslWindow* button, int code, int, int)
{
    if (gm.closing)
        return TSLR_CLOSE;
    if (code != TSLN_BUTTON_DOWN)
        return TSLR_OK;
    if (button->caption && strcmp(button->caption, kOkCaption) == 0)
        return accept(g_tessel.display);
    return finish(TSLN_BUTTON_UP);
}

// The name field after a click on a file: the clicked entry while the click
// left it selected, else the first selected entry, else nothing.
static void pick_selected(int index)
{
    int k = tslIsSelect_ListBox(gm.list, index) ? index : -1;
    for (int i = 0; k < 0 && i < (int)gm.listing.size(); i++)
        if (tslIsSelect_ListBox(gm.list, i))
            k = i;
    set_pick(k >= 0 ? FileNamePick{gm.listing[k].shown, gm.listing[k].name} : FileNamePick{});
}

// A click on a directory enters it at once; a click on a file names it, a
// double click accepts it.
static int OnListBox(TslWindow*, int code, int index, int)
{
    if (gm.closing)
        return TSLR_CLOSE;
    if (index < 0 || (size_t)index >= gm.listing.size())
        return TSLR_OK;
    if (gm.listing[index].directory) {
        // A copy: entering replaces the listing.
        std::string name = gm.listing[index].name;
        return code == TSLN_SELECT ? enter(g_tessel.display, name) : TSLR_OK;
    }
    if (code != TSLN_SELECT && code != TSLN_DOUBLE_CLICK)
        return TSLR_OK;
    pick_selected(index);
    return code == TSLN_DOUBLE_CLICK ? accept(g_tessel.display) : TSLR_OK;
}

// A new mode lists the directory again; if that fails the old mode stays.
static int OnSelBtn(TslWindow* selector, int code, int index, int)
{
    if (gm.closing)
        return TSLR_CLOSE;
    if (code != TSLN_SELECT || index == gm.expansion)
        return TSLR_OK;
    Display* display = g_tessel.display;
    int old = gm.expansion;
    gm.expansion = index;
    std::vector<FileEntry> next;
    if (!read_listing(display, &next)) {
        fputs(kCantScanHere, stderr);
        gm.expansion = old;
        tslSetButton_Button(tslGetAttachButtonWnd_SelectButton(selector, index), 0);
        tslSelect_SelectButton(selector, old);
        tslMessageDialog(display, gm.dialog, kTitle, kCantEnter, kWarnStyle);
        return TSLR_OK;
    }
    show_listing(display, &next);
    return TSLR_OK;
}

static void free_selected()
{
    if (selectedFiles && g_tessel.selectedFiles == selectedFiles) {
        for (char** p = selectedFiles; *p; p++)
            free(*p);
        free(selectedFiles);
        g_tessel.selectedFiles = nullptr;
    }
    selectedFiles = nullptr;
    selectedCount = 0;
}

// The selected entries of an accepted dialog by their real names, a
// directory's with "/"; all or nothing.
static void SetSelectFileList()
{
    free_selected();
    int count = gm.result == TSLN_BUTTON_DOWN ? tslGetSelectCount_ListBox(gm.list) : 0;
    if (count <= 0)
        return;
    char** names = static_cast<char**>(calloc((size_t)count + 1, sizeof(char*)));
    if (!names)
        return;
    int k = 0;
    for (size_t i = 0; i < gm.listing.size() && k < count; i++) {
        if (!tslIsSelect_ListBox(gm.list, (int)i))
            continue;
        const FileEntry& e = gm.listing[i];
        size_t n = e.name.size();
        char* copy = static_cast<char*>(malloc(n + 2));
        if (!copy) {
            for (int j = 0; j < k; j++)
                free(names[j]);
            free(names);
            return;
        }
        memcpy(copy, e.name.data(), n);
        if (e.directory)
            copy[n++] = '/';
        copy[n] = '\0';
        names[k++] = copy;
    }
    g_tessel.selectedFiles = selectedFiles = names;
    selectedCount = k;
}

// The dialog and its parts; false when any of them cannot be made.
static bool create_dialog(Display* display, int mode, const std::string& name)
{
    gm.dialog = dialog_create(display, nullptr, tslSetRect(kStartX, kStartY, kWidth, kHeight), kStartCaption,
                              WndProc_FileDlg, sizeof(FileDlgData));
    if (!gm.dialog)
        return false;
    static_cast<FileDlgData*>(gm.dialog->option)->mode = mode;
    tslSetMinMaxSize(gm.dialog, kWidth, kHeight, g_tessel.screenWidth, g_tessel.screenHeight);
    tslSetKeyEventCallback(gm.dialog, OnKeyEvent);
    FileDlgLayout l = filedlg_layout(kWidth, kHeight, row_height());
    FileNamePick pick{file_list_shown_name(name, to_text), name};
    gm.nameField = tslCreateWindow_InputWnd(display, gm.dialog, l.name, kNameField, pick.shown.c_str(), 0);
    if (gm.nameField && tslGetText_InputWnd(gm.nameField)[0])
        gm.pick = pick;
    TslWindow* ok = tslCreateWindow_Button(display, gm.dialog, l.ok, kOkCaption, nullptr, OnButton);
    TslWindow* cancel = tslCreateWindow_Button(display, gm.dialog, l.cancel, kCancelCaption, nullptr, OnButton);
    gm.list = tslCreateWindow_ListBox(display, gm.dialog, l.list, kListName);
    tslSetEventCallback_ListBox(gm.list, OnListBox);
    gm.selector = tslCreateWindow_SelectButton(display, gm.dialog, l.expansion, kExpansionCaption, 1, OnSelBtn);
    if (!gm.nameField || !ok || !cancel || !gm.list || !gm.selector)
        return false;
    int modes = gm.filters ? 3 : 2;
    if (!gm.filters && nExp == FILE_EXP_SELECT)
        nExp = FILE_EXP_NORMAL;
    for (int i = 0; i < modes; i++)
        tslAddButton_SelectButton(display, gm.selector, kExpansionLabels[i], nullptr, -1);
    if (nExp < 0 || nExp >= modes)
        nExp = FILE_EXP_NORMAL;
    tslSelect_SelectButton(gm.selector, nExp);
    gm.expansion = nExp;
    return true;
}

int tslFileDialog(Display* display, TslWindow* parent, char* fileName, const char** filters, int mode)
{
    if (!display || !fileName)
        return TSLN_BUTTON_UP;
    // A name that fills the whole buffer has no room for its terminator:
    // it is not taken.
    size_t length = strnlen(fileName, TSL_FILE_NAME_SIZE);
    std::string initial(fileName, length < TSL_FILE_NAME_SIZE ? length : 0);
    gm = FileDlgState{};
    gm.result = TSLN_BUTTON_UP;
    gm.filters = filters;
    gm.cwd = working_dir();
    if (parent)
        tslFixWindow(display, parent, 1);
    bool made = create_dialog(display, mode, initial);
    if (!made)
        fputs(kNoDialog, stderr);
    std::vector<FileEntry> first;
    if (made && !read_listing(display, &first)) {
        fputs(kCantScan, stderr);
        made = false;
    }
    if (made) {
        set_caption();
        show_listing(display, &first);
        tslSetPos_ListBox(gm.list, nListPos);
        dialog_place(display, gm.dialog, parent, rectBack);
        tslMainLoop(display, gm.dialog);
        if (gm.result == TSLN_BUTTON_DOWN)
            memcpy(fileName, gm.chosen.c_str(), gm.chosen.size() + 1);
        SetSelectFileList();
        rectBack = gm.dialog->rect;
        nListPos = tslGetPos_ListBox(gm.list);
        nExp = gm.expansion;
    }
    int result = made ? gm.result : TSLN_BUTTON_UP;
    if (result != TSLN_BUTTON_DOWN)
        fileName[0] = '\0';
    if (parent)
        tslFixWindow(display, parent, 0);
    if (gm.dialog)
        tslDestroyWindow(display, gm.dialog);
    gm = FileDlgState{};
    return result;
}

int tslGetSelectFileCount_FileDialog(void)
{
    return (selectedFiles && g_tessel.selectedFiles == selectedFiles) ? selectedCount : 0;
}

char* tslGetSelectFileName_FileDialog(int index)
{
    if (index < 0 || index >= tslGetSelectFileCount_FileDialog())
        return nullptr;
    return selectedFiles[index];
}
