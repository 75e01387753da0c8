// libFuzzer entry: every input goes through the replay reader. What it
// accepts must encode to the same bytes and sample without trouble.
#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    replay::Recording run;
    std::string reason;
    if (!replay::ReplayFile::Decode(data, size, run, reason)) {
        if (reason.empty()) {
            std::fprintf(stdout, "fuzz: a refused replay without a reason\n");
            std::abort();
        }
        return 0;
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
    return 0;
}
