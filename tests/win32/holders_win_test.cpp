// The holders release what they hold exactly once, and nothing when empty.
// (The shell item lists are given back in the functions the leak tests run.)
#include "util/holders_win.h"

#include <gtest/gtest.h>

namespace {

// A COM object that counts the references given back to it.
class CountedObject : public IUnknown {
  public:
    int releases = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(++releases); }
};

TEST(Holders, ComHolderReleasesItsReferenceOnceAndAnEmptyOneNothing) {
    CountedObject object;
    {
        ComHolder<IUnknown> held;
        EXPECT_EQ(held.get(), nullptr);
        *held.put() = &object;
        EXPECT_EQ(held.get(), &object);
        EXPECT_EQ(object.releases, 0);
    }
    EXPECT_EQ(object.releases, 1);
    { ComHolder<IUnknown> empty; }
    EXPECT_EQ(object.releases, 1);
}

TEST(Holders, HandleHolderClosesAValidHandleOnly) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    {
        HandleHolder held(event);
        EXPECT_TRUE(held.valid());
        EXPECT_NE(GetHandleInformation(held.get(), &flags), FALSE);
    }
    EXPECT_EQ(GetHandleInformation(event, &flags), FALSE);  // closed

    HandleHolder failedOpen(INVALID_HANDLE_VALUE);
    HandleHolder none(nullptr);
    EXPECT_FALSE(failedOpen.valid());
    EXPECT_FALSE(none.valid());
}

}  // namespace
