#include "FakeTransport.h"

#include "device/src/CMacroKeyDefine.h"
#include "device/src/CNormalKeyDefine.h"
#include "device/src/CNubo.h"

#include <gtest/gtest.h>

namespace {

Payload keyRecord(int layer, int key, int type, std::initializer_list<int> rest = {})
{
    Payload p = payloadOf({0x00, 0xF0, layer, key, type});
    size_t i = 5;
    for (int b : rest)
        p[i++] = static_cast<unsigned char>(b);
    return p;
}

Payload areaData(int marker, int n, int firstValue)
{
    Payload p = payloadOf({0x00, marker, n});
    for (int i = 0; i < n && i < 61; ++i)
        p[size_t(3 + i)] = static_cast<unsigned char>(firstValue + i);
    return p;
}

const Payload DefinitionsEnd = payloadOf({0xF6});
const Payload AreaEnd = payloadOf({0x00, 0xE6});

} // namespace

TEST(Protocol, WritingAnEmptyTableSendsEveryKeyInOrder)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    RecordingTarget window;
    ASSERT_TRUE(nubo.writeKeyDefinitions(&window));

    ASSERT_EQ(transport.written.size(), 1u + 216 + 1);
    EXPECT_EQ(transport.written.front(), payloadOf({0x00, 0xF1}));
    for (int slot = 0; slot < 216; ++slot) {
        const int layer = slot / 108 + 1;
        const int key = slot % 108 + 1;
        EXPECT_EQ(transport.written[size_t(1 + slot)], payloadOf({0x00, 0xF0, layer, key, 0, 0}));
        EXPECT_EQ(window.posts[size_t(slot)], (Post{0x467, std::uintptr_t(slot), 0}));
    }
    Payload end{};
    end.fill(0xF6);
    end[0] = 0;
    EXPECT_EQ(transport.written.back(), end);
    EXPECT_EQ(window.posts.size(), 216u);
    for (size_t i = 0; i < transport.written.size(); ++i) {
        EXPECT_EQ(transport.writtenLengths[i], 65u);
        EXPECT_EQ(transport.reportNumbers[i], 0);
    }
}

TEST(Protocol, WritingSendsEveryMacroBlockAndStopsAtAFailedWrite)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    auto m = std::make_unique<CMacroKeyDefine>(5, 2, 2);
    m->count = 54;
    m->codes.assign(54, 9);
    m->delays.assign(54, 0);
    nubo.setRecord(CNubo::slotOf(2, 5), std::move(m));
    // An entry-less macro clears its key instead of leaving the keyboard's old one in place.
    auto empty = std::make_unique<CMacroKeyDefine>(6, 2, 2);
    nubo.setRecord(CNubo::slotOf(2, 6), std::move(empty));
    ASSERT_TRUE(nubo.writeKeyDefinitions(nullptr));
    ASSERT_EQ(transport.written.size(), 1u + 217 + 1);
    const size_t at = 1 + 108 + 4;
    EXPECT_EQ(transport.written[at][4], 2);
    EXPECT_EQ(transport.written[at + 1][1], 0xF0);
    EXPECT_EQ(transport.written[at + 1][10], 54);
    EXPECT_EQ(transport.written[at + 2], payloadOf({0x00, 0xF0, 2, 6, 0, 0}));

    FakeTransport failing;
    failing.failWriteAt = 10;
    CNubo broken(&failing);
    RecordingTarget window;
    EXPECT_FALSE(broken.writeKeyDefinitions(&window));
    EXPECT_EQ(failing.written.size(), 10u);
    EXPECT_EQ(window.posts.size(), 9u);
}

TEST(Protocol, ReadingStoresRecordsAndKeepsUnsentSlots)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    auto kept = std::make_unique<CNormalKeyDefine>(1, 1);
    kept->count = 1;
    kept->codes = {4};
    nubo.setRecord(0, std::move(kept));

    transport.answers = {payloadOf({0x00, 0x33}), // unrelated report, skipped
                         keyRecord(2, 108, 0, {1, 0x29}),
                         keyRecord(1, 50, 1, {0x01, 0xF4, 2, 4, 5}), DefinitionsEnd};
    RecordingTarget window;
    ASSERT_TRUE(nubo.readKeyDefinitions(&window));
    EXPECT_EQ(transport.written.front(), payloadOf({0x00, 0xF2}));
    ASSERT_NE(nubo.record(0), nullptr);
    const auto *last = dynamic_cast<const CNormalKeyDefine *>(nubo.record(215));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->codes, std::vector<int>{0x29});
    ASSERT_NE(nubo.record(49), nullptr);
    EXPECT_EQ(nubo.record(49)->type, 1);
    EXPECT_EQ(window.posts, (std::vector<Post>{{0x467, 215, 0}, {0x467, 49, 0}}));

    // Every read waits a bounded time, so a silent keyboard ends the exchange.
    for (int timeout : transport.timeouts)
        EXPECT_EQ(timeout, 5000);
    transport.answers.clear();
    EXPECT_FALSE(nubo.readKeyDefinitions(nullptr));
}

TEST(Protocol, ReadingTakesFollowingReportsAsMacroBlocks)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    Payload first = keyRecord(1, 2, 4, {3, 0, 0, 100, 0, 54});
    for (int i = 0; i < 53; ++i)
        first[size_t(11 + i)] = static_cast<unsigned char>(i);
    Payload second{}; // whatever it holds, it is the second block
    second[1] = 0x77;
    second[11] = 0xAB;
    transport.answers = {first, second, DefinitionsEnd};
    ASSERT_TRUE(nubo.readKeyDefinitions(nullptr));
    const auto *m = dynamic_cast<const CMacroKeyDefine *>(nubo.record(1));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->type, 4);
    EXPECT_EQ(m->count, 54);
    EXPECT_EQ(m->codes[52], 52);
    EXPECT_EQ(m->codes[53], 0xAB);
    EXPECT_EQ(m->interval, 100);

    // A keyboard streaming the longest macros without end cannot keep the read going for ever.
    CNubo endless(&transport);
    const Payload longest = keyRecord(1, 2, 2, {0, 1, 0, 0, 0xFF, 0xFF});
    transport.answers.clear();
    transport.onRead = [&] {
        if (transport.answers.empty())
            transport.answers.push_back(longest);
    };
    EXPECT_FALSE(endless.readKeyDefinitions(nullptr));
    EXPECT_LT(transport.timeouts.size(), 300'000u);
    transport.onRead = nullptr;
    transport.answers.clear();

    // A macro cut off by a failed read fails the exchange and stores nothing for it.
    CNubo cut(&transport);
    transport.answers = {first};
    EXPECT_FALSE(cut.readKeyDefinitions(nullptr));
    EXPECT_EQ(cut.record(1), nullptr);
}

TEST(Protocol, ReadingSkipsRecordsWithoutAPlaceInTheTable)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    Payload strayMacro = keyRecord(3, 1, 2, {0, 0, 0, 0, 0, 60}); // slot past the table
    transport.answers = {keyRecord(1, 1, 5, {1, 4}),              // unknown type
                         keyRecord(0, 1, 0, {1, 4}),              // layer 0
                         keyRecord(1, 109, 0, {1, 4}),            // key past 108
                         keyRecord(2, 0, 0, {1, 4}),              // key 0
                         strayMacro,
                         keyRecord(1, 1, 0, {1, 4}), // its second block, not a record of key 1
                         keyRecord(1, 3, 0, {1, 6}),
                         DefinitionsEnd};
    ASSERT_TRUE(nubo.readKeyDefinitions(nullptr));
    for (int slot = 0; slot < CNubo::SlotCount; ++slot) {
        if (slot != 2) {
            EXPECT_EQ(nubo.record(slot), nullptr) << slot;
        }
    }
    ASSERT_NE(nubo.record(2), nullptr);
}

TEST(Protocol, ARecordClaimingMoreCodesThanAReportHoldsFailsTheRead)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    auto kept = std::make_unique<CNormalKeyDefine>(1, 1);
    kept->count = 1;
    kept->codes = {0x29};
    nubo.setRecord(0, std::move(kept));

    Payload normal = keyRecord(1, 1, 0);
    Payload repeat = keyRecord(1, 2, 1);
    std::fill(normal.begin() + 5, normal.end(), 0xFF);
    std::fill(repeat.begin() + 5, repeat.end(), 0xFF);
    for (const Payload &damaged : {normal, repeat}) {
        // The rest of the answer is read to its end, so that the next exchange starts clean.
        transport.answers = {damaged, keyRecord(1, 3, 0, {1, 6}), DefinitionsEnd};
        EXPECT_FALSE(nubo.readKeyDefinitions(nullptr));
        EXPECT_TRUE(transport.answers.empty());
        const auto *esc = dynamic_cast<const CNormalKeyDefine *>(nubo.record(0));
        ASSERT_NE(esc, nullptr);
        EXPECT_EQ(esc->codes, std::vector<int>{0x29});
        EXPECT_EQ(nubo.record(1), nullptr);
    }
    transport.answers = {keyRecord(1, 3, 0, {1, 6}), DefinitionsEnd};
    EXPECT_TRUE(nubo.readKeyDefinitions(nullptr));
}

TEST(Protocol, LightAreaExchanges)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    std::vector<int> values(324);
    for (int i = 0; i < 324; ++i)
        values[size_t(i)] = 0x100 + i; // only the low byte travels
    ASSERT_TRUE(nubo.writeLightArea(values.data()));
    ASSERT_EQ(transport.written.size(), 8u);
    EXPECT_EQ(transport.written[0], payloadOf({0x00, 0xE1}));
    const int sizes[] = {61, 61, 61, 61, 61, 19};
    int offset = 0;
    for (int i = 0; i < 6; ++i) {
        const Payload &p = transport.written[size_t(1 + i)];
        EXPECT_EQ(p[1], 0xE0);
        EXPECT_EQ(p[2], sizes[i]);
        EXPECT_EQ(p[3], static_cast<unsigned char>(offset));
        offset += sizes[i];
    }
    Payload end{};
    end.fill(0xE6);
    EXPECT_EQ(transport.written[7], end);

    // The write reports its real outcome.
    FakeTransport failing;
    failing.failWriteAt = 3;
    CNubo broken(&failing);
    EXPECT_FALSE(broken.writeLightArea(values.data()));

    transport.answers = {areaData(0xE0, 61, 0),   areaData(0xE0, 61, 61),
                         areaData(0xE3, 61, 7),   areaData(0xE0, 61, 122),
                         areaData(0xE0, 61, 183), areaData(0xE0, 61, 244),
                         areaData(0xE0, 19, 305), AreaEnd};
    ASSERT_TRUE(nubo.readLightArea());
    for (int i = 0; i < 324; ++i)
        EXPECT_EQ(nubo.LightArea[i], static_cast<unsigned char>(i));
}

TEST(Protocol, AreaReadsDropWhatDoesNotFit)
{
    FakeTransport transport;
    CNubo nubo(&transport);
    // Eight full counter reports are 488 bytes for a 432-byte area; n above 61 is cut.
    for (int i = 0; i < 8; ++i)
        transport.answers.push_back(areaData(0xE3, i == 7 ? 0xFF : 61, i));
    transport.answers.push_back(AreaEnd);
    ASSERT_TRUE(nubo.readPressCounters());
    EXPECT_EQ(transport.written.front(), payloadOf({0x00, 0xE3}));
    EXPECT_EQ(nubo.CounterArea[0], 0);
    EXPECT_EQ(nubo.CounterArea[427], static_cast<unsigned char>(7 + 0));

    // A keyboard that never sends the end marker cannot keep the read going for ever.
    transport.onRead = [&] {
        if (transport.answers.empty())
            transport.answers.push_back(areaData(0xE0, 61, 0));
    };
    EXPECT_FALSE(nubo.readLightArea());
    transport.onRead = nullptr;

    transport.answers.clear();
    EXPECT_FALSE(nubo.readPressCounters());
}
