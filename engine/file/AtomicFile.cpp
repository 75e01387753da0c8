#include "file/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file {

namespace {
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

bool AtomicFile::Write(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = writeAll(fd, bytes);
    if (!ok)
        error = std::strerror(errno ? errno : EIO);
    // Only a complete file that is on the disk may replace the old one.
    if (ok && ::fsync(fd) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool AtomicFile::Read(const std::string& path, std::string& bytes, std::string& error) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        error = "read error";
        return false;
    }
    return true;
}

} // namespace file
