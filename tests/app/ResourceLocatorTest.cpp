#include "app/ResourceLocator.h"

#include "../profile/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(ResourceLocator, BesideTheProgramFirstThenTheInstallationsDataFolder)
{
    TempFolder root;
    const fs::path programs = root / "usr/bin";
    const fs::path data = root / "usr/share/quillo";
    const fs::path configured = root / "elsewhere/share/quillo";
    for (const fs::path &folder : {programs, data, configured})
        fs::create_directories(folder);
    const ResourceLocator locator(programs, "../share/quillo", configured);
    EXPECT_EQ(locator.folders(), (std::vector<fs::path>{programs, data, configured}));

    // Nowhere: the place beside the program is named.
    EXPECT_EQ(locator.folderOf("Quillores.rcc"), programs);
    writeBytes(configured / "Quillores.rcc", "c");
    EXPECT_EQ(locator.folderOf("Quillores.rcc"), configured);
    // An unpacked package finds its own data before the configured installation's.
    writeBytes(data / "Quillores.rcc", "d");
    EXPECT_EQ(locator.folderOf("Quillores.rcc"), data);
    // A build tree or a copy beside the program wins.
    writeBytes(programs / "Quillores.rcc", "p");
    EXPECT_EQ(locator.folderOf("Quillores.rcc"), programs);
    // A folder of that name is no file.
    fs::create_directories(data / "guide");
    EXPECT_EQ(locator.folderOf("guide"), programs);
}

TEST(ResourceLocator, FoldersAreAskedOnceAndOnlyRelativeDataFollowsTheProgram)
{
    // Installed into the data folder's own parent: one folder, asked once.
    const ResourceLocator same("/opt/quillo/", ".", "/opt/quillo");
    EXPECT_EQ(same.folders(), (std::vector<fs::path>{"/opt/quillo"}));
    // An absolute "relative" folder is not glued to the program's.
    const ResourceLocator absolute("/a/bin", "/b", "");
    EXPECT_EQ(absolute.folders(), (std::vector<fs::path>{"/a/bin"}));

    // This build: beside the program, then its data folder of the installed layout.
    const ResourceLocator built = ResourceLocator::forProgram("/x/bin");
    ASSERT_GE(built.folders().size(), 2u);
    EXPECT_EQ(built.folders()[0], fs::path("/x/bin"));
    EXPECT_EQ(built.folders()[1].filename(), "quillo");
    EXPECT_EQ(built.folders()[1].parent_path().filename(), "share");
}
