// The replay file: what goes in comes out, and every kind of bad file is
// refused with its reason, leaving the caller's recording untouched.
#include "support/TempDir.h"

#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include "replay/ReplayStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <sys/stat.h>

namespace {

replay::Recording::Pose pose(float x, float y, float z, float heading) {
    replay::Recording::Pose p{};
    p.position[0] = x;
    p.position[1] = y;
    p.position[2] = z;
    p.orientation[0] = std::cos(heading / 2);
    p.orientation[2] = std::sin(heading / 2);
    return p;
}

// Two parts (a chassis and a wheel), one value, three frames, two marks.
replay::Recording sampleRun(int32_t mission = 7, uint32_t score = 4250) {
    replay::Recording run;
    run.set_mission(mission);
    run.set_variant("upgraded");
    run.set_game_version("0.1");
    run.set_score(score);
    run.parts() = {{"chassis.mesh", {"PSSMMaterial/body", "glass"}}, {"wheel.mesh", {"tyre"}}};
    run.value_names() = {"speed"};
    run.frames() = {{0.0, {pose(0, 0, 0, 0), pose(1, 0, 0, 0)}, {0.0f}},
                    {0.05, {pose(1, 0, 0, 0), pose(2, 0, 0, 0.5f)}, {10.0f}},
                    {0.5, {pose(3, 1, -2, 3.0f), pose(4, 1, -2, 3.0f)}, {2.0f}}};
    run.marks() = {{0.04, 0, 100}, {0.3, 0, 4250}};
    return run;
}

bool decode(const std::string& bytes, replay::Recording& run, std::string& reason) {
    return replay::ReplayFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), run, reason);
}

// Decoding fails, says `expected` (a part of the reason), and leaves `run` as it was.
void expectRefused(const std::string& bytes, const std::string& expected) {
    replay::Recording run = sampleRun(3, 1);
    std::string reason;
    EXPECT_FALSE(decode(bytes, run, reason));
    EXPECT_NE(reason.find(expected), std::string::npos) << "reason: " << reason;
    EXPECT_EQ(run.mission(), 3);
    EXPECT_EQ(run.score(), 1u);
}

// Re-seals a changed body so only the content is wrong, not the checksum.
std::string resealed(std::string bytes) {
    const uint32_t crc = [&] {
        // CRC-32 as the file uses it, over all but the last four bytes.
        uint32_t c = 0xFFFFFFFFu;
        for (size_t i = 0; i + 4 < bytes.size(); ++i) {
            c ^= static_cast<uint8_t>(bytes[i]);
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        return c ^ 0xFFFFFFFFu;
    }();
    for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xFFu);
    return bytes;
}

} // namespace

TEST(ReplayFile, RoundTripKeepsEverything) {
    const replay::Recording run = sampleRun();
    replay::Recording back;
    std::string reason;
    ASSERT_TRUE(decode(replay::ReplayFile::Encode(run), back, reason)) << reason;
    EXPECT_EQ(back.mission(), 7);
    EXPECT_EQ(back.variant(), "upgraded");
    EXPECT_EQ(back.game_version(), "0.1");
    EXPECT_EQ(back.score(), 4250u);
    ASSERT_EQ(back.parts().size(), 2u);
    EXPECT_EQ(back.parts()[0].materials, (std::vector<std::string>{"PSSMMaterial/body", "glass"}));
    ASSERT_EQ(back.frames().size(), 3u);
    EXPECT_DOUBLE_EQ(back.frames()[1].time, 0.05);
    EXPECT_EQ(std::memcmp(&back.frames()[2].poses[1], &run.frames()[2].poses[1], sizeof(replay::Recording::Pose)), 0);
    ASSERT_EQ(back.marks().size(), 2u);
    EXPECT_EQ(back.marks()[1].value, 4250u);
}

TEST(ReplayFile, SamplesAreExactAtFramesBlendedBetweenAndHeldAtTheEnds) {
    const replay::Recording run = sampleRun();
    std::vector<replay::Recording::Pose> poses;
    std::vector<float> values;
    ASSERT_TRUE(run.Sample(0.5, poses, values));
    EXPECT_EQ(std::memcmp(&poses[0], &run.frames()[2].poses[0], sizeof poses[0]), 0);
    ASSERT_TRUE(run.Sample(0.025, poses, values));
    EXPECT_FLOAT_EQ(poses[0].position[0], 0.5f);
    EXPECT_FLOAT_EQ(values[0], 5.0f);
    // Half way between heading 0 and 0.5 rad: 0.25 rad, still a unit quaternion.
    EXPECT_NEAR(2 * std::atan2(poses[1].orientation[2], poses[1].orientation[0]), 0.25, 1e-3);
    ASSERT_TRUE(run.Sample(99.0, poses, values));
    EXPECT_FLOAT_EQ(poses[0].position[2], -2.0f);
    ASSERT_TRUE(run.Sample(-1.0, poses, values));
    EXPECT_FLOAT_EQ(poses[0].position[0], 0.0f);
    EXPECT_EQ(run.MarkValue(0, 0.2, 0), 100u);
    EXPECT_EQ(run.MarkValue(0, 0.01, 0), 0u);
}

TEST(ReplayFile, BadFilesAreRefusedWithTheirReason) {
    const std::string good = replay::ReplayFile::Encode(sampleRun());
    expectRefused("", "empty file");
    expectRefused("just some text that is long enough", "not a replay file");
    expectRefused(good.substr(0, 10), "truncated");
    for (size_t cut : {size_t(20), good.size() / 2, good.size() - 1})
        expectRefused(good.substr(0, cut), "truncated");
    expectRefused(good + "x", "after the end");

    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    expectRefused(flipped, "checksum mismatch");

    std::string otherVersion = good;
    otherVersion[8] = 2;
    expectRefused(otherVersion, "format version 2");

    // Sealed with a right checksum but holding nonsense: a part count far
    // beyond the file, a frame that goes back in time, a pose that is no turn.
    std::string manyParts = good;
    const size_t partsAt = 8 + 4 + 4 + 4 + (2 + 8) + (2 + 3) + 4;
    manyParts[partsAt] = '\xFF';
    manyParts[partsAt + 1] = '\x7F';
    expectRefused(resealed(manyParts), "malformed");

    replay::Recording backwards = sampleRun();
    backwards.frames()[2].time = 0.01;
    expectRefused(replay::ReplayFile::Encode(backwards), "back in time");
    replay::Recording noTurn = sampleRun();
    noTurn.frames()[1].poses[0].orientation[0] = 7.0f;
    expectRefused(replay::ReplayFile::Encode(noTurn), "not one");
    replay::Recording empty = sampleRun();
    empty.frames().clear();
    expectRefused(replay::ReplayFile::Encode(empty), "no frames");

    // Random bytes, with and without the magic in front: refused, never a crash.
    std::mt19937 random(31);
    for (int i = 0; i < 200; ++i) {
        std::string garbage(random() % 300, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        if (i % 2)
            garbage = good.substr(0, 16) + garbage;
        replay::Recording run;
        std::string reason;
        EXPECT_FALSE(decode(garbage, run, reason));
        EXPECT_FALSE(reason.empty());
    }
}

TEST(ReplayFile, SavedFilesReadBackAndTheStoreKeepsOnlyABetterBest) {
    TempDir dir;
    const std::string path = dir.file("run.kbreplay");
    std::string reason;
    ASSERT_TRUE(replay::ReplayFile::Save(path, sampleRun(), reason)) << reason;
    replay::Recording back;
    ASSERT_TRUE(replay::ReplayFile::Load(path, back, reason)) << reason;
    EXPECT_EQ(back.score(), 4250u);
    struct stat info;
    EXPECT_NE(::stat((path + ".tmp").c_str(), &info), 0) << "the temporary file stays behind";

    // Another mission's file is not played in its place.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game::ReplayStore::Load(path, 8, back, false));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("mission 7, not of mission 8"), std::string::npos) << said;
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);

    // A file that cannot be saved keeps the old one.
    EXPECT_FALSE(replay::ReplayFile::Save(dir.file("missing/run.kbreplay"), sampleRun(), reason));

    // last always, best only when beaten.
    const int32_t mission = 23;
    EXPECT_TRUE(game::ReplayStore::Keep(sampleRun(mission, 500)));
    EXPECT_FALSE(game::ReplayStore::Keep(sampleRun(mission, 400)));
    replay::Recording best, last;
    ASSERT_TRUE(game::ReplayStore::Load(game::ReplayStore::BestPath(mission, "upgraded"), mission, best, false));
    ASSERT_TRUE(game::ReplayStore::Load(game::ReplayStore::LastPath(mission, "upgraded"), mission, last, false));
    EXPECT_EQ(best.score(), 500u);
    EXPECT_EQ(last.score(), 400u);
    EXPECT_TRUE(game::ReplayStore::Keep(sampleRun(mission, 501)));
    ASSERT_TRUE(game::ReplayStore::Load(game::ReplayStore::BestPath(mission, "upgraded"), mission, best, false));
    EXPECT_EQ(best.score(), 501u);
    // A damaged best is replaced by the next run.
    TempDir::write(game::ReplayStore::BestPath(mission, "upgraded"), "damaged");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(game::ReplayStore::Keep(sampleRun(mission, 10)));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a replay file"), std::string::npos);
}

TEST(ReplayFile, TheFuzzerSeedIsAReplayOfThisFormat) {
    replay::Recording seed;
    std::string reason;
    ASSERT_TRUE(replay::ReplayFile::Load(std::string(KB_FUZZ_REGRESSION_DIR) + "/../replay-seeds/two-parts.kbreplay",
                                         seed, reason))
        << reason;
    EXPECT_EQ(seed.parts().size(), 2u);
}
