// The stock dialogs' common window work.
#include "dialogs/dialog_window.h"

#include <cstring>

#include "core/wm_manners.h"

TslWindow* dialog_create(Display* display, TslWindow* parent, TslRect rect, const char* title,
                         TslWndProc proc, size_t recordSize)
{
    TslWindow* dialog = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 1, title, proc);
    if (!dialog)
        return nullptr;
    void* record = tslAlloc(recordSize);
    if (!record) {
        tslDestroyWindow(display, dialog);
        return nullptr;
    }
    memset(record, 0, recordSize);
    tslSetOption(dialog, record);
    tslSetRedrawBuffer(dialog, 1);
    return dialog;
}

void dialog_paint(Display* display, TslWindow* dialog, TslImage* picture, int x, int y)
{
    tslClearWindow(display, dialog, 1);
    if (picture)
        tslDrawImage(display, tslGetDraw(dialog), x, y, picture, 0, 0, picture->width, picture->height);
    tslRedrawWindow(display, dialog);
}

void dialog_move_children(Display* display, TslWindow* dialog, const DialogSlot* slots, int count)
{
    for (int i = 0; dialog->children && dialog->children[i]; i++) {
        TslWindow* child = dialog->children[i];
        for (int s = 0; s < count; s++) {
            const DialogSlot& slot = slots[s];
            if (child->kind != slot.kind)
                continue;
            if (slot.caption && !(child->caption && strcmp(child->caption, slot.caption) == 0))
                continue;
            if (!tslIsEmptyRect(slot.rect))
                    XMoveResizeWindow(display, child->xwin, slot.rect.x, slot.rect.y, slot.rect.width,
                                  slot.rect.height);
            break;
        }
    }
}

int dialog_procedure(Display* display, TslWindow* dialog, XEvent* event, int status,
                     DialogStep relayout, DialogStep draw)
{
    if (!dialog->option || event->type < ButtonPress || event->type > TSLM_DESTROY)
        return status;
    switch (event->type) {
    case DestroyNotify:
        return event->xdestroywindow.window == dialog->xwin ? TSLR_CLOSE : TSLR_OK;
    case MapNotify:
        if (event->xmap.window == dialog->xwin)
            draw(display, dialog);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window == dialog->xwin && dialog->resized) {
            relayout(display, dialog);
            draw(display, dialog);
        }
        break;
    case TSLM_PAINT:
        draw(display, dialog);
        break;
    default:
        break;
    }
    return status;
}

int dialog_raw_procedure(Display* display, TslWindow* dialog, XEvent* event, DialogStep relayout,
                         DialogStep draw)
{
    if (event->xany.window != dialog->xwin)
        return dialog->status;
    int status = tslWndProc_Default(display, dialog, event);
    return dialog_procedure(display, dialog, event, status, relayout, draw);
}

int dialog_loop(Display* display, TslWindow* dialog, DialogAnswer answer, void* context)
{
    int result = 0;
    while (!result) {
        while (!result && XPending(display)) {
            if (tslCheckEvent(display, dialog))
                continue;
            XEvent event;
            XNextEvent(display, &event);
            result = answer(display, &event, context);
        }
        if (!result)
            tslFlush(display);
    }
    return result;
}

void dialog_show(Display* display, TslWindow* dialog, TslWindow* parent)
{
    wm_set_transient(display, dialog, parent);
    tslRaiseWindow(dialog);
    tslCenteringWnd(display, parent, dialog);
}

void dialog_place(Display* display, TslWindow* dialog, TslWindow* parent, TslRect back)
{
    if (back.x == DIALOG_NOT_SHOWN || back.y == DIALOG_NOT_SHOWN) {
        dialog_show(display, dialog, parent);
        return;
    }
    wm_set_transient(display, dialog, parent);
    tslRaiseWindow(dialog);
    // The ConfigureNotify of a resize leaves the recorded position alone,
    // so it is recorded here; the size it records itself, and relays out.
    dialog->rect.x = back.x;
    dialog->rect.y = back.y;
    tslMoveResizeWindow(dialog, tslRectPos(back), tslRectSize(back));
}
