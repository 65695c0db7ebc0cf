// Resource counts of another client through XResQueryClients and
// XResQueryClientResources.
#include "xres_counts.h"

#include <X11/extensions/XRes.h>

std::map<std::string, int> xres_counts(Display* spy, XID anyId)
{
    std::map<std::string, int> counts;
    int n = 0;
    XResClient* clients = nullptr;
    if (!XResQueryClients(spy, &n, &clients))
        return counts;
    XID base = 0;
    for (int i = 0; i < n; i++)
        if ((anyId & ~clients[i].resource_mask) == clients[i].resource_base)
            base = clients[i].resource_base;
    XFree(clients);
    int count = 0;
    XResType* types = nullptr;
    if (!base || !XResQueryClientResources(spy, base, &count, &types))
        return counts;
    for (int i = 0; i < count; i++) {
        char* name = types[i].count ? XGetAtomName(spy, types[i].resource_type) : nullptr;
        if (name)
            counts[name] = types[i].count;
        if (name)
            XFree(name);
    }
    XFree(types);
    return counts;
}
