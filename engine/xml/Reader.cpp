#include "xml/Reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

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

bool readWholeFile(std::FILE* file, std::vector<char>& bytes) {
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    return !std::ferror(file);
}
} // namespace

bool Reader::LoadFile(TiXmlDocument& document, const std::string& name, TiXmlEncoding encoding) {
    // The name may be the document's own value, which SetValue replaces.
    const std::string path = name;
    // As the library: the document is named after its file, and keeps its
    // content when the file cannot be opened.
    document.SetValue(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    document.Clear();
    std::vector<char> bytes;
    const bool read = readWholeFile(file, bytes);
    std::fclose(file);
    if (!read) {
        document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
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
