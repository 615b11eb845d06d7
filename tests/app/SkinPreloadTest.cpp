#include "app/SkinPreload.h"
#include "app/CNuboApp.h"
#include "layout/SkinSet.h"

#include <gtest/gtest.h>

// The skins loaded meanwhile are handed over once, and only for the variant they were loaded
// for; otherwise the program loads its own.
TEST(SkinPreload, HandsOverTheAttachedVariantsSkinsOnce)
{
    const QString folder = CNuboApp::skinFolder();
    SkinPreload preload([] { return 4; }, folder);
    std::unique_ptr<SkinLibrary> skins = preload.take(4);
    ASSERT_TRUE(skins);
    EXPECT_FALSE(skins->bitmap(SkinIds::skinSet(SkinDialog::MainWindow, 4).background).isNull());
    EXPECT_FALSE(preload.take(4));

    // The keyboard changed between the two looks: variant 0 and 1 share skins, not answers.
    SkinPreload other([] { return 0; }, folder);
    EXPECT_FALSE(other.take(1));
    SkinPreload missing([] { return 4; }, QStringLiteral("/nonexistent"));
    EXPECT_FALSE(missing.take(4));
    // Never taken: the thread is joined on the way out.
    SkinPreload unused([] { return 2; }, folder);
}
