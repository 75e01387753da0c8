#include "xml/Reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace xml {

namespace {
// The data up to its first zero byte, line ends normalised as the library's
// file reader does (CR LF and a lone CR become LF), then kPadding zero bytes.
std::vector<char> paddedCopy(const char* data, std::size_t size) {
    std::vector<char> buffer(size + Reader::kPadding, '\0');
    std::size_t out = 0;
    for (std::size_t in = 0; in < size && data[in] != '\0'; ++in) {
        if (data[in] == '\r') {
            buffer[out++] = '\n';
            if (in + 1 < size && data[in + 1] == '\n')
                ++in;
        } else {
            buffer[out++] = data[in];
        }
    }
    return buffer;
}

} // namespace

int Reader::ReadBytes(const std::string& path, std::vector<char>& bytes) {
    bytes.clear();
    // Non-blocking: a pipe in the file's place must not hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    char chunk[65536];
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            bytes.insert(bytes.end(), chunk, chunk + got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    ::close(fd);
    if (error)
        bytes.clear();
    return error;
}

bool Reader::LoadFile(TiXmlDocument& document, const std::string& name, TiXmlEncoding encoding) {
    // The name may be the document's own value, which SetValue replaces.
    const std::string path = name;
    // As the library: the document is named after its file, and keeps its
    // content when the file cannot be opened.
    document.SetValue(path);
    std::vector<char> bytes;
    if (ReadBytes(path, bytes) != 0) {
        document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    document.Clear();
    if (bytes.empty()) {
        document.SetError(TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    return ParseBytes(document, bytes.data(), bytes.size(), encoding);
}

bool Reader::ParseBytes(TiXmlDocument& document, const char* data, std::size_t size, TiXmlEncoding encoding) {
    document.Clear();
    std::vector<char> buffer = paddedCopy(data, size);
    // Qualified: a document class that routes Parse here must not loop back.
    document.TiXmlDocument::Parse(buffer.data(), nullptr, encoding);
    return !document.Error();
}

const char* Reader::ParseText(TiXmlDocument& document, const char* text, TiXmlParsingData* data,
                              TiXmlEncoding encoding) {
    if (!text)
        return document.TiXmlDocument::Parse(text, data, encoding);
    const std::size_t length = std::strlen(text);
    std::vector<char> buffer(length + kPadding, '\0');
    std::memcpy(buffer.data(), text, length);
    const char* end = document.TiXmlDocument::Parse(buffer.data(), data, encoding);
    if (!end)
        return nullptr;
    // A step over a cut-off character may stop inside the padding.
    const std::size_t consumed = std::min<std::size_t>(static_cast<std::size_t>(end - buffer.data()), length);
    return text + consumed;
}

} // namespace xml
