// Index rules of the owning object array: where items land, what deletes
// and lookups do at the ends, and that every item is released.
#include <cstring>

#include "testutil.h"
#include "tessel.h"

namespace {

char* item(const char* text)
{
    char* p = static_cast<char*>(tslAlloc(strlen(text) + 1));
    strcpy(p, text);
    return p;
}

ObjArray make(std::initializer_list<const char*> texts)
{
    ObjArray arr = tslNew_ObjArray();
    for (const char* s : texts)
        arr = tslAddItem_ObjArray(arr, item(s), -1);
    return arr;
}

std::string joined(ObjArray arr)
{
    std::string s;
    for (int i = 0; i < tslGetTotal_ObjArray(arr); i++)
        s += (i ? "," : "") + std::string(static_cast<const char*>(tslGetItem_ObjArray(arr, i)));
    return s;
}

}  // namespace

TEST(ObjArray, InsertIndexOnlyHonouredFromTwoItems)
{
    ObjArray arr = make({"a"});
    arr = tslAddItem_ObjArray(arr, item("b"), 0);  // count was 1: stays last
    EXPECT_EQ(joined(arr), "a,b");
    arr = tslAddItem_ObjArray(arr, item("c"), 0);  // count 2: goes first
    EXPECT_EQ(joined(arr), "c,a,b");
    arr = tslAddItem_ObjArray(arr, item("d"), 2);
    EXPECT_EQ(joined(arr), "c,a,d,b");
    arr = tslAddItem_ObjArray(arr, item("e"), -1);
    arr = tslAddItem_ObjArray(arr, item("f"), 6);  // past the end: appended
    arr = tslAddItem_ObjArray(arr, item("g"), 6);  // equal to count: appended
    EXPECT_EQ(joined(arr), "c,a,d,b,e,f,g");
    EXPECT_EQ(arr[7], nullptr);
    // a null item is refused and does not cut the array
    arr = tslAddItem_ObjArray(arr, nullptr, 0);
    ASSERT_NE(arr, nullptr);
    EXPECT_EQ(joined(arr), "c,a,d,b,e,f,g");
    tslFree_ObjArray(arr);  // leak checkers see every item released

    arr = tslNew_ObjArray();
    arr = tslAddItemEx_ObjArray(arr, 0, item("a"), -1);
    arr = tslAddItemEx_ObjArray(arr, 1, item("b"), -1);
    arr = tslAddItemEx_ObjArray(arr, 2, item("c"), 1);
    EXPECT_EQ(joined(arr), "a,c,b");
    EXPECT_EQ(tslAddItemEx_ObjArray(nullptr, 0, nullptr, 0), nullptr);
    tslFree_ObjArray(arr);
}

TEST(ObjArray, DeleteRules)
{
    ObjArray arr = tslNew_ObjArray();
    EXPECT_EQ(tslDelItem_ObjArray(arr, 0), arr);
    EXPECT_EQ(tslDelItem_ObjArray(arr, -1), arr);
    EXPECT_EQ(tslDelItem_ObjArray(nullptr, -1), nullptr);
    tslFree_ObjArray(arr);
    arr = make({"a", "b", "c", "d"});
    arr = tslDelItem_ObjArray(arr, -1);
    EXPECT_EQ(joined(arr), "a,b,c");
    arr = tslDelItem_ObjArray(arr, -7);  // any negative: the last
    EXPECT_EQ(joined(arr), "a,b");
    EXPECT_EQ(tslDelItem_ObjArray(arr, 2), arr);
    EXPECT_EQ(joined(arr), "a,b");
    arr = tslDelItem_ObjArray(arr, 0);
    EXPECT_EQ(joined(arr), "b");
    arr = tslDelItem_ObjArray(arr, 0);
    ASSERT_NE(arr, nullptr);
    EXPECT_EQ(tslGetTotal_ObjArray(arr), 0);
    EXPECT_EQ(arr[0], nullptr);
    EXPECT_EQ(tslFree_ObjArray(arr), 1);
}

TEST(ObjArray, GetItemBounds)
{
    ObjArray arr = tslNew_ObjArray();
    ASSERT_NE(arr, nullptr);
    EXPECT_EQ(arr[0], nullptr);
    EXPECT_EQ(tslGetTotal_ObjArray(nullptr), 0);
    EXPECT_EQ(tslGetItem_ObjArray(arr, -1), nullptr);
    EXPECT_EQ(tslGetItem_ObjArray(arr, 0), nullptr);
    tslFree_ObjArray(arr);
    EXPECT_EQ(tslFree_ObjArray(nullptr), 1);
    arr = make({"a", "b"});
    EXPECT_STREQ(static_cast<char*>(tslGetItem_ObjArray(arr, -1)), "b");
    EXPECT_STREQ(static_cast<char*>(tslGetItem_ObjArray(arr, 0)), "a");
    EXPECT_EQ(tslGetItem_ObjArray(arr, 2), nullptr);
    EXPECT_EQ(tslGetItem_ObjArray(arr, -2), nullptr);
    EXPECT_EQ(tslGetItem_ObjArray(nullptr, 0), nullptr);
    tslFree_ObjArray(arr);
}
