#include <base/Singleton.h>
#include <base/StringHash.h>
#include <event/KeyEvent.h>

#include <gtest/gtest.h>

namespace {

TEST(StringHash, KnownValues) {
    EXPECT_EQ(base::StringHash::hasherization(nullptr), 0u);
    EXPECT_EQ(base::StringHash::hasherization(""), 0u);
    EXPECT_EQ(base::StringHash::hasherization("abc"), 0xD2BE198Au);
    EXPECT_EQ(base::StringHash::hasherization("0"), 0xF2475372u);
    EXPECT_EQ(base::StringHash::hasherization("key_event"), 0x16502A65u);
    EXPECT_EQ(base::StringHash::kEmpty.hash(), 0xF2475372u);
    EXPECT_EQ(event::KeyEvent::kEventType.hash(), 0x16502A65u);
}

TEST(StringHash, HighBytesCountAsSigned) {
    const char one[] = {char(0xE9), 0};
    const char three[] = {0x61, 0x62, char(0xE9), 0};
    EXPECT_EQ(base::StringHash::hasherization(one), 0x69EA06C0u);
    EXPECT_EQ(base::StringHash::hasherization(three), 0xB4DFD4B5u);
}

TEST(StringHash, ComparesByHashOnlyAndCopiesThePointer) {
    const char* text = "mouse_event";
    base::StringHash a(text);
    base::StringHash copy(a);
    EXPECT_EQ(copy.string(), text);
    EXPECT_TRUE(copy == a);

    // A hash collision makes different texts equal: only hashes are compared.
    base::StringHash b("other");
    EXPECT_TRUE(a != b);
    b = a;
    EXPECT_EQ(b.string(), text);
    EXPECT_EQ(base::StringHash("abc") < base::StringHash("0"), 0xD2BE198Au < 0xF2475372u);
}

struct Service : base::Singleton<Service> {
    Service() { seenInConstructor = getSingleton(); }
    Service* seenInConstructor;
};

TEST(Singleton, LifetimeOfTheInstancePointer) {
    EXPECT_EQ(Service::getSingleton(), nullptr);
    {
        Service s;
        EXPECT_EQ(s.seenInConstructor, &s);
        EXPECT_EQ(Service::getSingleton(), &s);
    }
    EXPECT_EQ(Service::getSingleton(), nullptr);
}

} // namespace
