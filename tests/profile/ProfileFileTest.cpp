#include "profile/ProfileFile.h"

#include "model/AppState.h"
#include "model/KeyCatalogue.h"
#include "profile/MarkupDocument.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <sys/resource.h>

namespace {

const std::string EmptyList = "Cycles=\"1\" IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\"/>";

std::unique_ptr<AppState> freshState(int deviceType)
{
    auto state = std::make_unique<AppState>();
    state->deviceType = deviceType;
    state->resetKeyModel();
    return state;
}

bool sameList(const ActionList &a, const ActionList &b)
{
    if (a.pageRows != b.pageRows || a.top != b.top || a.selected != b.selected || !a.sameAction(b)
        || a.items.size() != b.items.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!sameList(a.items[i], b.items[i]))
            return false;
    }
    return true;
}

// Everything a profile stores, plus the counters that reading resets.
::testing::AssertionResult sameConfiguration(const AppState &a, const AppState &b)
{
    if (!sameList(a.predefinedCombos, b.predefinedCombos)
        || !sameList(a.predefinedMacros, b.predefinedMacros)
        || !sameList(a.predefinedEmulations, b.predefinedEmulations))
        return ::testing::AssertionFailure() << "predefined lists differ";
    if (a.lightSettings != b.lightSettings)
        return ::testing::AssertionFailure() << "lights differ";
    for (int i = 0; i < AppState::EntryCount; ++i) {
        const auto k = std::size_t(i);
        if (a.category[k] != b.category[k] || a.code[k] != b.code[k]
            || !sameList(a.action[k], b.action[k]))
            return ::testing::AssertionFailure() << "entry " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

void fillSample(AppState &state)
{
    ActionList macro(9);
    macro.append("A Down");
    macro.append("<30 ms>");
    macro.append("A UP");
    macro.times = 3;
    macro.autoDelay = true;
    macro.delayMs = 12;
    macro.playMode = 2;
    state.predefinedMacros.append("quotes \" & 'apostrophes' <tag>");
    state.predefinedMacros.items.editBack() = macro;
    state.predefinedCombos.append("Copy");
    state.predefinedEmulations.append("\u4e2d\u6587");
    const auto i = std::size_t(AppState::index(5, 1));
    state.category[i] = 3;
    state.code[i] = 0;
    state.action[i] = macro;
    state.lightSettings[7] = {255, 128, 1};
}

std::u16string profileText(const std::u16string &root, const std::u16string &body)
{
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<" + root + u">" + body + u"</" + root
           + u">";
}

ProfileReadResult readText(AppState &state, const std::u16string &text)
{
    MarkupDocument doc;
    doc.setDoc(text);
    return readProfileDocument(state, state.pressCounters, state.deviceType, doc);
}

int occurrences(const std::string &text, const std::string &what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ProfileFile, ResetConfigurationIsWrittenExactlyAndReadsBack)
{
    TempFolder folder;
    auto state = freshState(1);
    ASSERT_TRUE(writeProfile(*state, state->deviceType, folder / "reset.pro"));
    const std::string bytes = readBytes(folder / "reset.pro");

    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                             "<Quillo(RGB)BLe>\r\n"
                             "<PredefinedCombo>\r\n"
                             "<List SizeOfView=\"6\" ViewStartAt=\"0\" CursorPos=\"0\" "
                             + EmptyList + "\r\n</PredefinedCombo>\r\n"
                             + "<PredefinedMacro>\r\n"
                               "<List SizeOfView=\"9\" ViewStartAt=\"0\" CursorPos=\"0\" "
                             + EmptyList + "\r\n</PredefinedMacro>\r\n"
                             + "<PredefinedEmu>\r\n"
                               "<List SizeOfView=\"9\" ViewStartAt=\"0\" CursorPos=\"0\" "
                             + EmptyList + "\r\n</PredefinedEmu>\r\n"
                             + "<BackgroundLightSettings>\r\n"
                               "<AREA ID=\"1\" Red=\"0\" Green=\"0\" Blue=\"0\"/>\r\n";
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    const std::string firstKey = "<CurrentSettings>\r\n<KEY ID=\"1\" Level=\"0\" Mode=\"1\" "
                                 "HWCode=\"1\">\r\n<ComboKey>\r\n<List SizeOfView=\"9\" "
                                 "ViewStartAt=\"0\" CursorPos=\"0\" "
                                 + EmptyList + "\r\n</ComboKey>\r\n</KEY>\r\n";
    EXPECT_NE(bytes.find("</BackgroundLightSettings>\r\n" + firstKey), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("</CurrentSettings>\r\n</Quillo(RGB)BLe>\r\n"));
    EXPECT_EQ(occurrences(bytes, "<AREA "), 108);
    EXPECT_EQ(occurrences(bytes, "<KEY "), 216);
    EXPECT_EQ(occurrences(bytes, "\n"), occurrences(bytes, "\r\n"));

    auto other = freshState(1);
    fillSample(*other);
    ASSERT_EQ(readProfile(*other, other->pressCounters, other->deviceType, folder / "reset.pro"),
              ProfileReadResult::Ok);
    EXPECT_TRUE(sameConfiguration(*state, *other));

    auto s = freshState(3);
    ASSERT_TRUE(writeProfile(*s, s->deviceType, folder / "s.pro"));
    EXPECT_EQ(readBytes(folder / "s.pro").find("<Quillo(S)>\r\n"), 40u);
}

TEST(ProfileFile, ListsStepsAndSpecialCharactersRoundTrip)
{
    TempFolder folder;
    auto state = freshState(2);
    fillSample(*state);
    ASSERT_TRUE(writeProfile(*state, state->deviceType, folder / "sample.pro"));
    const std::string bytes = readBytes(folder / "sample.pro");
    EXPECT_NE(bytes.find("<x ID=\"1\" t1=\"&lt;30 ms&gt;\">"), std::string::npos);
    EXPECT_NE(bytes.find("t1=\"quotes &quot; &amp; &apos;apostrophes&apos; &lt;tag&gt;\""),
              std::string::npos);
    EXPECT_NE(bytes.find("t1=\"\xe4\xb8\xad\xe6\x96\x87\""), std::string::npos);

    auto reread = freshState(2);
    ASSERT_EQ(
        readProfile(*reread, reread->pressCounters, reread->deviceType, folder / "sample.pro"),
        ProfileReadResult::Ok);
    EXPECT_TRUE(sameConfiguration(*state, *reread));
    EXPECT_EQ(reread->predefinedMacros.items[0].names[1], "<30 ms>");
}

TEST(ProfileFile, ReadingFollowsTheFileAndKeepsDefaultsForWhatItLacks)
{
    auto state = freshState(1);
    state->notWritten = true;
    state->currentLayer = 1;
    state->currentKey = 17;
    state->pressCounters.counts[3] = 42;
    state->pressCounters.highestKey = 3;
    state->lightSettings[9] = {1, 2, 3};
    const auto key1 = std::size_t(AppState::index(1, 0));
    state->code[key1] = 99;

    const std::u16string body
        = u"<PredefinedMacro><List SizeOfView='9' ViewStartAt='1' CursorPos=' 2x' Cycles='-4'"
          u" IsAutoInterval='5' Delay='99999999999' PlayMode='+1'>"
          u"<x ID='2' t1='third'><List/></x><x ID='0' t1='first'><List SizeOfView='4'/></x>"
          u"<x ID='-1' t1='negative'/><x ID='100001' t1='too far'/></List></PredefinedMacro>"
          u"<BackgroundLightSettings><AREA ID='0' Red='9'/><AREA ID='109' Red='9'/>"
          u"<AREA ID='2' Red='300' Green='-5' Blue='7'/></BackgroundLightSettings>"
          u"<CurrentSettings><KEY ID='2' Level='1' Mode='2' HWCode='0'><ComboKey>"
          u"<List SizeOfView='6'><x ID='0' t1='LCTRL Down'><List/></x></List></ComboKey></KEY>"
          u"<KEY ID='0' Level='1' Mode='1' HWCode='5'/><KEY ID='109' Level='0' Mode='1'/>"
          u"<KEY ID='3' Level='2' Mode='1' HWCode='5'/><KEY ID='4' Level='0' Mode='9'/>"
          u"<KEY ID='5' Level='0' Mode='1' HWCode='256'/></CurrentSettings>";
    ASSERT_EQ(readText(*state, profileText(u"Quillo(RGB)BLe", body)), ProfileReadResult::Ok);

    const ActionList &macros = state->predefinedMacros;
    ASSERT_EQ(macros.names, (std::vector<std::string>{"first", "", "third"}));
    ASSERT_EQ(macros.items.size(), 3u);
    EXPECT_EQ(macros.items[0].pageRows, 4);
    // Positions are kept within the list: entry 1 + 2 does not exist, the last one does.
    EXPECT_EQ(macros.top, 1);
    EXPECT_EQ(macros.selected, 1);
    EXPECT_EQ(macros.times, -4);
    EXPECT_TRUE(macros.autoDelay);
    EXPECT_EQ(macros.delayMs, 2147483647);
    EXPECT_EQ(macros.playMode, 1);
    // The emulations come before the macros, out of order, and are skipped.
    EXPECT_TRUE(state->predefinedEmulations.names.empty());
    EXPECT_EQ(state->predefinedEmulations.pageRows, 9);

    EXPECT_EQ(state->lightSettings[2], (LightColour{255, 0, 7}));
    EXPECT_EQ(state->lightSettings[9], LightColour{});
    EXPECT_EQ(state->lightSettings[0], LightColour{});

    const auto key2fn = std::size_t(AppState::index(2, 1));
    EXPECT_EQ(state->category[key2fn], 2);
    EXPECT_EQ(state->action[key2fn].names, std::vector<std::string>{"LCTRL Down"});
    EXPECT_EQ(state->action[key2fn].pageRows, 6);
    // Keys the file lacks or gives impossible values get the factory defaults.
    for (int key : {1, 3, 4, 5, 108}) {
        for (int layer : {0, 1}) {
            const auto i = std::size_t(AppState::index(key, layer));
            EXPECT_EQ(state->code[i], KeyCatalogue::defaultCode(1, key, layer)) << key;
            EXPECT_EQ(state->category[i], KeyCatalogue::categoryOfCode(state->code[i])) << key;
        }
    }

    EXPECT_EQ(state->pressCounters.counts[3], PressCounters::NotRead);
    EXPECT_EQ(state->pressCounters.highestKey, -1);
    EXPECT_TRUE(state->notWritten);
    EXPECT_EQ(state->currentLayer, 1);
    EXPECT_EQ(state->currentKey, 17);

    // An automatic interval read as 5 is written back as 1.
    MarkupDocument doc;
    ASSERT_TRUE(buildProfile(*state, state->deviceType, doc));
    EXPECT_NE(doc.doc().find(u"<List SizeOfView=\"9\" ViewStartAt=\"1\" CursorPos=\"1\" "
                             u"Cycles=\"-4\" IsAutoInterval=\"1\" Delay=\"2147483647\""),
              std::u16string::npos);
}

TEST(ProfileFile, RefusedFilesChangeNothing)
{
    TempFolder folder;
    auto state = freshState(4);
    fillSample(*state);
    state->pressCounters.counts[1] = 5;
    auto before = freshState(4);
    fillSample(*before);

    const std::u16string valid
        = u"<CurrentSettings><KEY ID='1' Level='0' Mode='1' HWCode='9'/></CurrentSettings>";
    EXPECT_EQ(readText(*state, profileText(u"Quillo(S)", valid)), ProfileReadResult::OtherVariant);
    EXPECT_EQ(readText(*state, profileText(u"Something", valid)), ProfileReadResult::NotAProfile);
    EXPECT_EQ(readText(*state, u"just text"), ProfileReadResult::NotAProfile);
    EXPECT_EQ(readText(*state, u""), ProfileReadResult::NotAProfile);
    // A profile cut short, as a crash during an old-style save would leave it.
    EXPECT_EQ(readText(*state, profileText(u"Quillo(RGB)", valid).substr(0, 80)),
              ProfileReadResult::Damaged);
    EXPECT_EQ(readProfile(*state, state->pressCounters, state->deviceType, folder / "missing.pro"),
              ProfileReadResult::CannotOpen);
    // A folder and a file beyond the limit are named as such, not as unopenable.
    EXPECT_EQ(readProfile(*state, state->pressCounters, state->deviceType, folder.path()),
              ProfileReadResult::NotAFile);
    {
        std::ofstream sparse(folder / "huge.pro", std::ios::binary);
        sparse.seekp(std::streamoff(MarkupDocument::MaxFileBytes));
        sparse.put('x');
    }
    EXPECT_EQ(readProfile(*state, state->pressCounters, state->deviceType, folder / "huge.pro"),
              ProfileReadResult::TooLarge);
    EXPECT_EQ(profileReadMessage(ProfileReadResult::TooLarge, false),
              std::string("The file is larger than 256 MiB; no profile is that large."));
    FileStore::WriteFailure readOnly;
    readOnly.readOnly = true;
    EXPECT_EQ(profileWriteFailureReason(readOnly, "x.pro", false), "It is read-only.");
    EXPECT_EQ(profileWriteFailureReason(readOnly, "x.pro", true), "它是只读文件。");
    writeBytes(folder / "binary.pro", std::string("\x00\x01\x02\xff\xfe", 5));
    EXPECT_EQ(readProfile(*state, state->pressCounters, state->deviceType, folder / "binary.pro"),
              ProfileReadResult::NotAProfile);

    EXPECT_TRUE(sameConfiguration(*state, *before));
    EXPECT_EQ(state->pressCounters.counts[1], 5);
    for (auto result : {ProfileReadResult::CannotOpen, ProfileReadResult::NotAFile,
                        ProfileReadResult::TooLarge, ProfileReadResult::NotAProfile,
                        ProfileReadResult::Damaged, ProfileReadResult::OtherVariant}) {
        EXPECT_STRNE(profileReadMessage(result, false), "");
        EXPECT_STRNE(profileReadMessage(result, true), "");
    }

    EXPECT_EQ(readText(*state, profileText(u"Quillo(RGB)", valid)), ProfileReadResult::Ok);
    EXPECT_EQ(state->code[std::size_t(AppState::index(1, 0))], 9);
}

TEST(ProfileFile, HostileListsAreBounded)
{
    // Nesting deeper than list, entry and step is not followed.
    std::u16string deep = u"<PredefinedMacro>";
    for (int i = 0; i < 5; ++i)
        deep += u"<List SizeOfView='9'><x ID='0' t1='level'>";
    for (int i = 0; i < 5; ++i)
        deep += u"</x></List>";
    deep += u"</PredefinedMacro>";
    auto state = freshState(1);
    ASSERT_EQ(readText(*state, profileText(u"Quillo(RGB)BLe", deep)), ProfileReadResult::Ok);
    const ActionList &level3 = state->predefinedMacros.items.at(0).items.at(0);
    EXPECT_EQ(level3.pageRows, 9);
    EXPECT_TRUE(level3.names.empty());

    // Sparse positions can claim only so many entries in total.
    std::u16string sparse = u"<PredefinedMacro><List>";
    for (int i = 0; i < 30; ++i)
        sparse += u"<x ID='100000' t1='e'><List><x ID='100000'/></List></x>";
    sparse += u"</List></PredefinedMacro>";
    ASSERT_EQ(readText(*state, profileText(u"Quillo(RGB)BLe", sparse)), ProfileReadResult::Ok);
    const ActionList &macros = state->predefinedMacros;
    ASSERT_EQ(macros.names.size(), 100001u);
    std::size_t total = macros.names.size();
    for (const ActionList &item : macros.items)
        total += item.names.size();
    EXPECT_LE(total, 1000000u);
}

TEST(ProfileFile, FailedSavesAreReportedAndKeepTheOldFile)
{
    TempFolder folder;
    auto state = freshState(1);
    const auto file = folder / "keep.pro";
    ASSERT_TRUE(writeProfile(*state, state->deviceType, file));
    const std::string old = readBytes(file);

    EXPECT_FALSE(writeProfile(*state, state->deviceType, folder / "missing-folder/a.pro"));
    writeBytes(folder / "not-a-folder", "x");
    EXPECT_FALSE(writeProfile(*state, state->deviceType, folder / "not-a-folder/a.pro"));

    // A write limit stops the save midway, as a full disk would, even for root.
    fillSample(*state);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeProfile(*state, state->deviceType, file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(file), old);
    int entries = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 2); // keep.pro and not-a-folder, no temporary file
}
