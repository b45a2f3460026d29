#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "link/frame.h"
#include "link/mirror.h"

namespace {

struct Group {
    int index;
    int value;
    bool operator==(const Group&) const = default;
};

std::vector<Group> groupsOf(const std::vector<uint8_t>& payload) {
    std::vector<Group> groups;
    for (size_t g = 0; g + 4 <= payload.size(); g += 4)
        groups.push_back({Frame::getU16(&payload[g]), Frame::getU16(&payload[g + 2])});
    return groups;
}

std::vector<int> indicesOf(const std::vector<uint8_t>& payload) {
    std::vector<int> indices;
    for (size_t k = 0; k + 2 <= payload.size(); k += 2)
        indices.push_back(Frame::getU16(&payload[k]));
    return indices;
}

std::vector<int> range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i <= to; ++i) r.push_back(i);
    return r;
}

std::vector<int> indicesOf(const std::vector<Group>& groups) {
    std::vector<int> r;
    for (const Group& g : groups) r.push_back(g.index);
    return r;
}

TEST(MirrorWriteBatch, WrapsFromTheEndOfTheTableAndContinuesAtItsCursor) {
    Mirror mirror;
    // 30 pending entries from 1740: 1740 to 1745, then 0 to 23.
    for (int k = 0; k < 30; ++k)
        mirror.setPending((1740 + k) % Mirror::kSize, static_cast<uint16_t>(k + 1));

    std::vector<Group> first = groupsOf(mirror.takeWriteBatch(1740, Mirror::kMaxWriteBatch));
    std::vector<int> expected = range(1740, 1745);
    for (int i : range(0, 17)) expected.push_back(i);
    EXPECT_EQ(indicesOf(first), expected);
    EXPECT_EQ((first.front()), (Group{1740, 1}));
    EXPECT_EQ((first.back()), (Group{17, 24}));
    EXPECT_EQ(mirror.writeCursor(), 18);

    std::vector<Group> second =
        groupsOf(mirror.takeWriteBatch(Mirror::kContinue, Mirror::kMaxWriteBatch));
    EXPECT_EQ(indicesOf(second).front(), 18);
    // The walk goes on round the table, so the entries already sent follow once more.
    EXPECT_EQ(indicesOf(second).size(), 24u);
}

TEST(MirrorWriteBatch, SendsOnlyPendingEntriesAndNothingForZeroCount) {
    Mirror mirror;
    EXPECT_TRUE(mirror.takeWriteBatch(Mirror::kContinue, 24).empty());
    mirror.setPending(7, 70);
    EXPECT_TRUE(mirror.takeWriteBatch(0, 0).empty());
    EXPECT_EQ(mirror.retries(7), 0);
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)), (std::vector<Group>{{7, 70}}));
    EXPECT_EQ(mirror.retries(7), 1);
    EXPECT_TRUE(mirror.pending(7));
}

TEST(MirrorWriteBatch, NeverConfirmedEntryIsDroppedAfterItsEleventhTransmission) {
    Mirror mirror;
    mirror.setPending(5, 55);
    for (int send = 1; send <= 10; ++send) {
        ASSERT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)).size(), 1u) << "send " << send;
        EXPECT_TRUE(mirror.pending(5));
        EXPECT_EQ(mirror.retries(5), send);
    }
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)), (std::vector<Group>{{5, 55}}));
    EXPECT_FALSE(mirror.pending(5));
    EXPECT_EQ(mirror.retries(5), 0);
    EXPECT_EQ(mirror.value(5), 55);
    EXPECT_TRUE(mirror.takeWriteBatch(0, 24).empty());
}

TEST(MirrorWriteBatch, EditBetweenSendAndEchoStaysPending) {
    Mirror mirror;
    mirror.setPending(5, 100);
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)), (std::vector<Group>{{5, 100}}));
    mirror.setPending(5, 101);
    mirror.applyWriteAck(5, 100);
    EXPECT_TRUE(mirror.pending(5));
    EXPECT_EQ(mirror.value(5), 101);

    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)), (std::vector<Group>{{5, 101}}));
    mirror.applyWriteAck(5, 101);
    EXPECT_FALSE(mirror.pending(5));
    EXPECT_EQ(mirror.retries(5), 0);
}

TEST(MirrorWriteBatch, EditMadeDuringTheLastTransmissionIsNotDropped) {
    Mirror mirror;
    mirror.setPending(9, 1);
    for (int send = 0; send < 10; ++send) mirror.takeWriteBatch(0, 24);
    mirror.setPending(9, 2);
    // The eleventh transmission carries the newest value, so the entry may leave the pending state.
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(0, 24)), (std::vector<Group>{{9, 2}}));
    EXPECT_FALSE(mirror.pending(9));
}

TEST(MirrorReadBatch, NeverCarriesMoreThan25IndicesAndSkipsReceivedEntries) {
    Mirror mirror;
    for (int i = 0; i < Mirror::kSize; i += 2) mirror.applyParameterReply(i, 1);

    std::vector<int> first = indicesOf(mirror.takeReadBatch(0, 32));
    ASSERT_EQ(first.size(), 25u);
    for (size_t k = 0; k < first.size(); ++k) EXPECT_EQ(first[k], static_cast<int>(2 * k + 1));
    EXPECT_EQ(mirror.readCursor(), 50);

    std::vector<int> second = indicesOf(mirror.takeReadBatch(Mirror::kContinue, 32));
    ASSERT_EQ(second.size(), 25u);
    EXPECT_EQ(second.front(), 51);

    EXPECT_EQ(indicesOf(mirror.takeReadBatch(Mirror::kContinue, 3)),
              (std::vector<int>{101, 103, 105}));
}

TEST(MirrorReadBatch, WrapsRoundTheTableAndIsEmptyWhenAllAreReceived) {
    Mirror mirror;
    for (int i = 5; i < 1740; ++i) mirror.applyParameterReply(i, 1);
    EXPECT_EQ(indicesOf(mirror.takeReadBatch(1742, 32)),
              (std::vector<int>{1742, 1743, 1744, 1745, 0, 1, 2, 3, 4, 1740, 1741}));
    for (int i : {0, 1, 2, 3, 4, 1740, 1741, 1742, 1743, 1744, 1745})
        mirror.applyParameterReply(i, 1);
    EXPECT_TRUE(mirror.takeReadBatch(Mirror::kContinue, 32).empty());
}

TEST(MirrorMarks, ReceivedMarksAreTakenOnceAndCounted) {
    Mirror mirror;
    mirror.applyParameterReply(3, 33);
    mirror.applyParameterReply(4, 44);
    EXPECT_EQ(mirror.countReceived(), 2);
    EXPECT_TRUE(mirror.takeReceived(3));
    EXPECT_FALSE(mirror.takeReceived(3));
    EXPECT_EQ(mirror.countReceived(), 1);

    mirror.setPending(6, 1);
    mirror.takeWriteBatch(6, 1);
    mirror.clearReceivedAndRetries();
    EXPECT_EQ(mirror.countReceived(), 0);
    EXPECT_EQ(mirror.retries(6), 0);
    EXPECT_TRUE(mirror.pending(6));

    mirror.applyParameterReply(4, 44);
    mirror.clearReceivedAndPending();
    EXPECT_EQ(mirror.countReceived(), 0);
    EXPECT_EQ(mirror.countPending(), 0);
    EXPECT_EQ(mirror.value(6), 1);
}

TEST(MirrorMarks, ReadReplyDoesNotUndoAnEditTheDeviceHasNotConfirmed) {
    Mirror mirror;
    mirror.applyParameterReply(40, 1);
    mirror.setPending(40, 2);
    // The device's older value, e.g. a poll that crossed the edit on the wire.
    mirror.applyParameterReply(40, 1);
    EXPECT_EQ(mirror.value(40), 2);
    EXPECT_TRUE(mirror.pending(40));
    EXPECT_TRUE(mirror.received(40));
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(40, 1)), (std::vector<Group>{{40, 2}}));

    mirror.applyWriteAck(40, 2);
    mirror.applyParameterReply(40, 3);
    EXPECT_EQ(mirror.value(40), 3);
}

TEST(MirrorMarks, ReadRequestsAreTakenOnce) {
    Mirror mirror;
    mirror.requestRead(1621);
    EXPECT_TRUE(mirror.readRequested(1621));
    EXPECT_TRUE(mirror.takeReadRequest(1621));
    EXPECT_FALSE(mirror.takeReadRequest(1621));
}

TEST(MirrorMarks, IndicesOutsideTheTableChangeNothing) {
    Mirror mirror;
    for (int index : {-1, 1746, 1755, 0xFFFF}) {
        mirror.setPending(index, 5);
        mirror.requestRead(index);
        mirror.applyParameterReply(index, 5);
        mirror.applyWriteAck(index, 5);
        EXPECT_EQ(mirror.value(index), 0);
        EXPECT_FALSE(mirror.pending(index));
        EXPECT_FALSE(mirror.takeReadRequest(index));
    }
    EXPECT_EQ(mirror.countPending(), 0);
    EXPECT_EQ(mirror.countReceived(), 0);
    // A batch start outside the table starts at 0.
    mirror.setPending(0, 9);
    EXPECT_EQ(groupsOf(mirror.takeWriteBatch(5000, 24)), (std::vector<Group>{{0, 9}}));
}

TEST(MirrorMarks, ZeroResetsValuesMarksAndCursors) {
    Mirror mirror;
    mirror.setPending(100, 1);
    mirror.applyParameterReply(200, 2);
    mirror.requestRead(300);
    mirror.takeWriteBatch(100, 1);
    mirror.zero();
    EXPECT_EQ(mirror.value(100), 0);
    EXPECT_EQ(mirror.value(200), 0);
    EXPECT_EQ(mirror.countPending(), 0);
    EXPECT_EQ(mirror.countReceived(), 0);
    EXPECT_FALSE(mirror.readRequested(300));
    EXPECT_EQ(mirror.writeCursor(), 1);
    EXPECT_EQ(mirror.readCursor(), 0);
}

}  // namespace

TEST(MirrorMarks, APendingMarkEndsTheSupervisorsWaitUntilCleared) {
    using std::chrono::nanoseconds;
    Mirror mirror;
    EXPECT_FALSE(mirror.waitForEdit(nanoseconds(0)));
    // The limit is never reached: the edit on the other thread ends the wait.
    std::thread editor([&] { mirror.setPending(300, 7); });
    EXPECT_TRUE(mirror.waitForEdit(std::chrono::minutes(1)));
    editor.join();
    EXPECT_TRUE(mirror.waitForEdit(nanoseconds(0)));  // an edit not yet scanned for
    mirror.clearEditSignal();
    EXPECT_FALSE(mirror.waitForEdit(nanoseconds(0)));
    mirror.setPendingMark(301, false);
    mirror.setPending(-1, 7);
    EXPECT_FALSE(mirror.waitForEdit(nanoseconds(0)));
    mirror.setPendingMark(301, true);
    EXPECT_TRUE(mirror.waitForEdit(nanoseconds(0)));
}
