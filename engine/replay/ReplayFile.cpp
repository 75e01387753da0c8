#include "replay/ReplayFile.h"

#include "file/AtomicFile.h"
#include "replay/Crc32.h"
#include "replay/Recording.h"

#include <cstring>

namespace replay {

const uint32_t ReplayFile::kFormatVersion = 1;
const size_t ReplayFile::kMaxParts = 256;
const size_t ReplayFile::kMaxValues = 64;
const size_t ReplayFile::kMaxNameLength = 255;

namespace {
const char kMagic[8] = {'D', 'W', 'R', 'E', 'P', 'L', 'A', 'Y'};
// Magic, format version and length come first, so a file of another format
// version or a cut file is named as such before its checksum is looked at.
const size_t kPreamble = sizeof kMagic + 4 + 4;
const size_t kChecksum = 4;
const size_t kMaxMaterials = 64;

class Writer {
public:
    void Bytes(const void* data, size_t size) { m_out.append(static_cast<const char*>(data), size); }
    void U16(uint16_t v) {
        const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        Bytes(b, 2);
    }
    void U32(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        Bytes(b, 4);
    }
    void U64(uint64_t v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void F32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        U32(v);
    }
    void F64(double d) {
        uint64_t v;
        std::memcpy(&v, &d, 8);
        U64(v);
    }
    void Text(const std::string& s) {
        const size_t n = s.size() < ReplayFile::kMaxNameLength ? s.size() : ReplayFile::kMaxNameLength;
        U16(static_cast<uint16_t>(n));
        Bytes(s.data(), n);
    }
    std::string& out() { return m_out; }

private:
    std::string m_out;
};

// Every read checks the bytes left first; the first failure sticks.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    size_t left() const { return m_size - m_pos; }
    bool Take(size_t n) {
        if (!m_ok || left() < n) {
            m_ok = false;
            return false;
        }
        return true;
    }
    uint16_t U16() {
        if (!Take(2))
            return 0;
        const uint8_t* p = m_data + m_pos;
        m_pos += 2;
        return uint16_t(p[0] | (p[1] << 8));
    }
    uint32_t U32() {
        if (!Take(4))
            return 0;
        const uint8_t* p = m_data + m_pos;
        m_pos += 4;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | (uint64_t(U32()) << 32);
    }
    float F32() {
        const uint32_t v = U32();
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    double F64() {
        const uint64_t v = U64();
        double d;
        std::memcpy(&d, &v, 8);
        return d;
    }
    std::string Text() {
        const uint16_t n = U16();
        if (n > ReplayFile::kMaxNameLength || !Take(n)) {
            m_ok = false;
            return std::string();
        }
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
} // namespace

std::string ReplayFile::Encode(const Recording& recording) {
    Writer w;
    w.Bytes(kMagic, sizeof kMagic);
    w.U32(kFormatVersion);
    w.U32(0); // length, filled in below
    w.U32(static_cast<uint32_t>(recording.mission()));
    w.Text(recording.variant());
    w.Text(recording.game_version());
    w.U32(recording.score());
    w.U16(static_cast<uint16_t>(recording.parts().size()));
    for (const Recording::Part& part : recording.parts()) {
        w.Text(part.mesh);
        w.U16(static_cast<uint16_t>(part.materials.size()));
        for (const std::string& material : part.materials)
            w.Text(material);
    }
    w.U16(static_cast<uint16_t>(recording.value_names().size()));
    for (const std::string& name : recording.value_names())
        w.Text(name);
    w.U32(static_cast<uint32_t>(recording.frames().size()));
    for (const Recording::Frame& frame : recording.frames()) {
        w.F64(frame.time);
        for (const Recording::Pose& pose : frame.poses) {
            for (float p : pose.position)
                w.F32(p);
            for (float q : pose.orientation)
                w.F32(q);
        }
        for (float value : frame.values)
            w.F32(value);
    }
    w.U32(static_cast<uint32_t>(recording.marks().size()));
    for (const Recording::Mark& mark : recording.marks()) {
        w.F64(mark.time);
        w.U16(mark.kind);
        w.U32(mark.value);
    }
    std::string& out = w.out();
    const uint32_t length = static_cast<uint32_t>(out.size() + kChecksum);
    for (int i = 0; i < 4; ++i)
        out[sizeof kMagic + 4 + i] = static_cast<char>((length >> (8 * i)) & 0xFFu);
    const uint32_t crc = Crc32::Compute(reinterpret_cast<const uint8_t*>(out.data()), out.size());
    w.U32(crc);
    return out;
}

bool ReplayFile::Decode(const uint8_t* data, size_t size, Recording& recording, std::string& reason) {
    if (size == 0) {
        reason = "empty file";
        return false;
    }
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        reason = "not a replay file";
        return false;
    }
    if (size < kPreamble) {
        reason = "truncated: " + std::to_string(size) + " bytes";
        return false;
    }
    const uint32_t version = readU32(data + sizeof kMagic);
    if (version != kFormatVersion) {
        reason = "format version " + std::to_string(version) + ", this game reads version " +
                 std::to_string(kFormatVersion);
        return false;
    }
    const uint32_t length = readU32(data + sizeof kMagic + 4);
    if (length < kPreamble + kChecksum) {
        reason = "damaged header";
        return false;
    }
    if (size < length) {
        reason = "truncated: " + std::to_string(size) + " of " + std::to_string(length) + " bytes";
        return false;
    }
    if (size > length) {
        reason = std::to_string(size - length) + " bytes after the end of the replay";
        return false;
    }
    if (Crc32::Compute(data, size - kChecksum) != readU32(data + size - kChecksum)) {
        reason = "checksum mismatch";
        return false;
    }

    // An intact file of this format can still hold nonsense (written by
    // something else): every count is checked against the bytes it needs.
    Reader r(data + kPreamble, size - kPreamble - kChecksum);
    Recording out;
    out.set_mission(static_cast<int32_t>(r.U32()));
    out.set_variant(r.Text());
    out.set_game_version(r.Text());
    out.set_score(r.U32());
    const size_t parts = r.U16();
    if (parts > kMaxParts) {
        reason = "malformed: " + std::to_string(parts) + " parts";
        return false;
    }
    for (size_t i = 0; i < parts && r.ok(); ++i) {
        Recording::Part part;
        part.mesh = r.Text();
        const size_t materials = r.U16();
        if (materials > kMaxMaterials) {
            reason = "malformed: " + std::to_string(materials) + " materials in a part";
            return false;
        }
        for (size_t m = 0; m < materials && r.ok(); ++m)
            part.materials.push_back(r.Text());
        out.parts().push_back(part);
    }
    const size_t values = r.U16();
    if (values > kMaxValues) {
        reason = "malformed: " + std::to_string(values) + " values";
        return false;
    }
    for (size_t i = 0; i < values && r.ok(); ++i)
        out.value_names().push_back(r.Text());
    const uint32_t frames = r.U32();
    const size_t frameBytes = 8 + parts * 28 + values * 4;
    if (!r.ok() || frames > r.left() / frameBytes) {
        reason = "malformed: the frames do not fit the file";
        return false;
    }
    out.frames().resize(frames);
    for (Recording::Frame& frame : out.frames()) {
        frame.time = r.F64();
        frame.poses.resize(parts);
        for (Recording::Pose& pose : frame.poses) {
            for (float& p : pose.position)
                p = r.F32();
            for (float& q : pose.orientation)
                q = r.F32();
        }
        frame.values.resize(values);
        for (float& value : frame.values)
            value = r.F32();
    }
    const uint32_t marks = r.U32();
    if (!r.ok() || marks > r.left() / 14) {
        reason = "malformed: the marks do not fit the file";
        return false;
    }
    out.marks().resize(marks);
    for (Recording::Mark& mark : out.marks()) {
        mark.time = r.F64();
        mark.kind = r.U16();
        mark.value = r.U32();
    }
    if (!r.ok() || r.left() != 0) {
        reason = "malformed: the contents do not fill the file";
        return false;
    }
    if (out.frames().empty()) {
        reason = "malformed: no frames";
        return false;
    }
    std::string inconsistent;
    if (!out.IsConsistent(inconsistent)) {
        reason = "malformed: " + inconsistent;
        return false;
    }
    recording = std::move(out);
    return true;
}

bool ReplayFile::Save(const std::string& path, const Recording& recording, std::string& reason) {
    return file::AtomicFile::Write(path, Encode(recording), reason);
}

bool ReplayFile::Load(const std::string& path, Recording& recording, std::string& reason) {
    std::string bytes;
    if (!file::AtomicFile::Read(path, bytes, reason))
        return false;
    return Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), recording, reason);
}

} // namespace replay
