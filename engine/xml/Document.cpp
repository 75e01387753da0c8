#include "xml/Document.h"

#include "xml/Element.h"
#include "xml/Reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xml {

Document::Document(const std::string& path) : TiXmlDocument(path), m_path(path) {}

Document::Document(const Document& other)
    : TiXmlDocument(other), m_path(other.m_path), m_writeProtected(other.m_writeProtected) {}

Document& Document::operator=(const Document& other) {
    TiXmlDocument::operator=(other);
    m_path = other.m_path;
    m_writeProtected = other.m_writeProtected;
    return *this;
}

Document::~Document() = default;

const char* Document::Parse(const char* text, TiXmlParsingData* data, TiXmlEncoding encoding) {
    return Reader::ParseText(*this, text, data, encoding);
}

namespace {
const char kKeptSuffix[] = ".corrupt.";

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Numbers n of the kept copies "<file>.corrupt.<n>" beside path, ascending.
std::vector<unsigned long> keptCopyNumbers(const std::string& path) {
    std::vector<unsigned long> numbers;
    const std::size_t slash = path.rfind('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + kKeptSuffix;
    DIR* folder = ::opendir(folderOf(path).c_str());
    if (!folder)
        return numbers;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() <= 9 && digits.find_first_not_of("0123456789") == std::string::npos)
            numbers.push_back(std::stoul(digits));
    }
    ::closedir(folder);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool copyAll(int in, int out) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR)
                return false;
            done += put > 0 ? put : 0;
        }
    }
}

// Copies an unreadable file to the next free "<path>.corrupt.<n>" (never over
// an earlier copy) and removes all but the newest `keep` copies. Returns the
// copy's path, or an empty string when no copy could be made.
std::string keepCopy(const std::string& path, int keep) {
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return std::string();
    struct stat info;
    const mode_t mode = ::fstat(in, &info) == 0 ? (info.st_mode & 0777) : 0644;

    std::vector<unsigned long> numbers = keptCopyNumbers(path);
    unsigned long number = numbers.empty() ? 1 : numbers.back() + 1;
    std::string copy;
    int out = -1;
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        copy = path + kKeptSuffix + std::to_string(number);
        out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (out >= 0 || errno != EEXIST)
            break;
    }
    bool ok = out >= 0 && copyAll(in, out) && ::fsync(out) == 0;
    ::close(in);
    if (out >= 0)
        ok = ::close(out) == 0 && ok;
    if (!ok) {
        if (out >= 0)
            ::unlink(copy.c_str());
        return std::string();
    }

    numbers.push_back(number);
    for (std::size_t i = 0; i + keep < numbers.size(); ++i)
        ::unlink((path + kKeptSuffix + std::to_string(numbers[i])).c_str());
    return copy;
}

bool writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno != EINTR)
            return false;
        done += put > 0 ? static_cast<std::size_t>(put) : 0;
    }
    return true;
}

// Makes a rename inside the folder durable; some file systems refuse, which
// costs nothing but durability.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
} // namespace

bool Document::loadDocument() {
    std::vector<char> bytes;
    const int readError = Reader::ReadBytes(m_path, bytes);
    if (readError != 0 && readError != ENOENT) {
        m_writeProtected = true;
        std::cerr << "Can't read File: \"" << m_path << "\" - " << std::strerror(readError)
                  << " - starting with defaults; this session's changes are not saved over it" << std::endl;
        Clear();
        ClearError();
        setRoot("root");
        return false;
    }
    m_writeProtected = false;
    const bool existed = readError == 0;
    bool parsed = false;
    if (!existed)
        SetError(TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    else if (bytes.empty())
        SetError(TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    else
        parsed = Reader::ParseBytes(*this, bytes.data(), bytes.size());
    // The parser is lenient: text without any element still "loads".
    if (parsed && getRoot())
        return true;
    const std::string reason = parsed ? "Document has no root element" : ErrorDesc();

    std::string kept;
    if (existed) {
        const std::string copy = keepCopy(m_path, kKeptCopies);
        kept = copy.empty() ? " (could not keep a copy of the unreadable file)"
                            : " (unreadable file kept as \"" + copy + "\")";
    }
    std::cerr << "Can't load File: \"" << m_path << "\" - creating virtual file -->" << reason
              << kept << std::endl;

    // What was read before the error is kept, unless it would print as a file
    // that cannot be read back (a half-read attribute, say).
    if (getRoot() && printsReadably())
        return false;
    // The parse error state would otherwise stick to the fresh document.
    Clear();
    ClearError();
    setRoot("root");
    saveDocument();
    return false;
}

bool Document::saveDocument() {
    if (m_writeProtected)
        return false;
    std::string text;
    bool ok = print(text);
    // The library prints some trees it parsed leniently (odd bytes in a name)
    // as text it cannot read again: such a file must never replace a readable one.
    if (ok && !readsBack(text)) {
        std::cerr << "Can't save File: \"" << m_path << "\" - the printed document would not read back" << std::endl;
        return false;
    }
    const std::string temp = m_path + ".tmp";
    const int fd = ok ? ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666) : -1;
    if (fd >= 0) {
        struct stat old;
        if (::stat(m_path.c_str(), &old) == 0)
            ::fchmod(fd, old.st_mode & 0777);
        // Only a complete file that is on the disk may replace the old one.
        ok = writeAll(fd, text) && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        ok = ok && std::rename(temp.c_str(), m_path.c_str()) == 0;
        if (!ok)
            ::unlink(temp.c_str());
    }
    if (fd < 0 || !ok) {
        std::cerr << "Can't save File: \"" << m_path << "\"" << std::endl;
        return false;
    }
    syncFolder(folderOf(m_path));
    return true;
}

bool Document::print(std::string& text) const {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* memory = ::open_memstream(&data, &size);
    if (!memory)
        return false;
    SaveFile(memory);
    const bool ok = std::fclose(memory) == 0;
    if (data)
        text.assign(data, size);
    std::free(data);
    if (ok && readsAsUtf8(text))
        replaceCutCharacters(text);
    return ok;
}

bool Document::printsReadably() const {
    std::string text;
    return print(text) && readsBack(text);
}

bool Document::readsBack(const std::string& text) {
    TiXmlDocument check;
    return Reader::ParseBytes(check, text.data(), text.size()) && check.RootElement();
}

bool Document::readsAsUtf8(const std::string& text) const {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return true;
    for (const TiXmlNode* node = FirstChild(); node; node = node->NextSibling()) {
        if (const TiXmlDeclaration* declaration = node->ToDeclaration()) {
            std::string encoding = declaration->Encoding();
            std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            return encoding.empty() || encoding == "UTF-8" || encoding == "UTF8";
        }
    }
    return false;
}

void Document::replaceCutCharacters(std::string& text) {
    // U+FFFD: a whole character, valid in names as well as in values and texts.
    static const char kReplacement[] = "\xEF\xBF\xBD";
    std::string repaired;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            static_cast<std::size_t>(std::max(1, TiXmlBase::utf8ByteTable[static_cast<unsigned char>(text[i])]));
        std::size_t next = 1;
        while (next < length && i + next < text.size() && (static_cast<unsigned char>(text[i + next]) & 0xC0) == 0x80)
            ++next;
        if (next < length) {
            repaired.append(text, copied, i - copied).append(kReplacement);
            copied = i + next;
        }
        i += next;
    }
    if (copied > 0)
        text = repaired.append(text, copied, std::string::npos);
}

Element* Document::getRoot() {
    return Element::from(RootElement());
}

const Element* Document::getRoot() const {
    return Element::from(RootElement());
}

void Document::setRoot(const std::string& name) {
    if (getRoot())
        return;
    LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    LinkEndChild(new TiXmlElement(name));
}

Element* Document::FindFirst(const std::string& name) {
    Element* root = getRoot();
    return root ? Element::from(root->FirstChildElement(name)) : nullptr;
}

} // namespace xml
