// libFuzzer entry: every input goes through the replay reader. What it
// accepts must encode to the same bytes and sample without trouble.
#include <replay/Crc32.h>
#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(const std::uint8_t* data, std::size_t size);

// The input with its length field and checksum made right, so the fuzzer
// reaches the contents behind the checksum instead of stopping at it.
std::vector<std::uint8_t> sealed(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(data, data + size);
    const std::size_t kLengthAt = 12;
    if (out.size() < kLengthAt + 8)
        return out;
    for (int i = 0; i < 4; ++i)
        out[kLengthAt + i] = static_cast<std::uint8_t>((out.size() >> (8 * i)) & 0xFFu);
    const std::uint32_t crc = replay::Crc32::Compute(out.data(), out.size() - 4);
    for (int i = 0; i < 4; ++i)
        out[out.size() - 4 + i] = static_cast<std::uint8_t>((crc >> (8 * i)) & 0xFFu);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(data, size);
    const std::vector<std::uint8_t> fixed = sealed(data, size);
    check(fixed.data(), fixed.size());
    return 0;
}

namespace {

void check(const std::uint8_t* data, std::size_t size) {
    replay::Recording run;
    std::string reason;
    if (!replay::ReplayFile::Decode(data, size, run, reason)) {
        if (reason.empty()) {
            std::fprintf(stdout, "fuzz: a refused replay without a reason\n");
            std::abort();
        }
        return;
    }
    const std::string again = replay::ReplayFile::Encode(run);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0) {
        std::fprintf(stdout, "fuzz: an accepted replay does not encode to its own bytes\n");
        std::abort();
    }
    std::vector<replay::Recording::Pose> poses;
    std::vector<float> values;
    const double end = run.Duration();
    for (double t : {-1.0, 0.0, end * 0.37, end * 0.5, end, end + 1.0}) {
        if (!run.Sample(t, poses, values) || poses.size() != run.parts().size() ||
            values.size() != run.value_names().size()) {
            std::fprintf(stdout, "fuzz: an accepted replay does not sample at %g s\n", t);
            std::abort();
        }
    }
    run.MarkValue(0, end * 0.5, 0);
}

} // namespace
