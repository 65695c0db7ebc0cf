// ObjArray: the toolkit's growable, owning, null-terminated array of heap
// items.  Every change may move the array, so each call returns the handle
// the caller must keep; a null result means the whole array is gone.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tessel.h"

static const char MSG_NO_MEMORY[] = "Error: Can't allocate memory.\n";

ObjArray tslNew_ObjArray(void)
{
    ObjArray arr = static_cast<ObjArray>(tslAlloc(sizeof(void*)));
    if (arr) arr[0] = nullptr;
    return arr;
}

int tslGetTotal_ObjArray(ObjArray arr)
{
    if (!arr) return 0;
    int n = 0;
    while (arr[n]) n++;
    return n;
}

ObjArray tslAddItem_ObjArray(ObjArray arr, void* item, int index)
{
    return tslAddItemEx_ObjArray(arr, tslGetTotal_ObjArray(arr), item, index);
}

ObjArray tslAddItemEx_ObjArray(ObjArray arr, int total, void* item, int index)
{
    if (!arr) return nullptr;
    // A null item would end the array early and strand the items after it.
    if (!item) return arr;
    if (total < 0) total = tslGetTotal_ObjArray(arr);
    size_t bytes = ((size_t)total + 2) * sizeof(void*);
    ObjArray grown = static_cast<ObjArray>(realloc(arr, bytes));
    if (!grown) {
        fputs(MSG_NO_MEMORY, stderr);
        tslFree_ObjArray(arr);
        free(item);
        return nullptr;
    }
    grown[total] = item;
    grown[total + 1] = nullptr;
    // With a single item before this one the new item always stays last.
    if (total >= 2 && index >= 0 && index < total) {
        memmove(grown + index + 1, grown + index, (size_t)(total - index) * sizeof(void*));
        grown[index] = item;
    }
    return grown;
}

ObjArray tslDelItem_ObjArray(ObjArray arr, int index)
{
    int count = tslGetTotal_ObjArray(arr);
    if (!arr || count == 0) return arr;
    if (index < 0) index = count - 1;
    if (index >= count) return arr;
    free(arr[index]);
    memmove(arr + index, arr + index + 1, (size_t)(count - 1 - index) * sizeof(void*));
    arr[count - 1] = nullptr;
    ObjArray shrunk = static_cast<ObjArray>(realloc(arr, (size_t)count * sizeof(void*)));
    if (!shrunk) {
        fputs(MSG_NO_MEMORY, stderr);
        tslFree_ObjArray(arr);
        return nullptr;
    }
    return shrunk;
}

void* tslGetItem_ObjArray(ObjArray arr, int index)
{
    if (!arr || index < -1) return nullptr;
    int count = tslGetTotal_ObjArray(arr);
    if (index == -1) index = count - 1;
    if (index < 0 || index >= count) return nullptr;
    return arr[index];
}

int tslFree_ObjArray(ObjArray arr)
{
    if (!arr) return 1;
    for (int i = 0; arr[i]; i++) free(arr[i]);
    free(arr);
    return 1;
}
