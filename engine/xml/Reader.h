#pragma once

#include "base/Export.h"

#include <tinyxml.h>

#include <cstddef>
#include <string>
#include <vector>

namespace xml {

// Hands bytes to the XML library so that it can never read past them.
//
// The library steps over a whole multi-byte character at once, so a file that
// ends inside one (a value cut off in the middle of "ä") takes it beyond the
// terminating zero. Every buffer it parses here ends in enough zero bytes to
// absorb the longest step. Files are otherwise read exactly as the library's
// own reader does (line ends normalised, the data ending at the first zero
// byte), so well-formed files give the same tree and the same errors.
class DW_API Reader {
public:
    // Zero bytes after the data: more than the longest character (4 bytes).
    static const std::size_t kPadding = 8;

    // The file's bytes as they are; 0, or the errno of the failed open or
    // read (ENOENT: no such file, EISDIR: a folder in its place, EIO, ...).
    static int ReadBytes(const std::string& path, std::vector<char>& bytes);
    // Replaces the document's content with the file's; false with the
    // library's error ("Failed to open file", "Document empty", ...) set.
    static bool LoadFile(TiXmlDocument& document, const std::string& path,
                         TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
    // Parses size bytes as the content of a file would be parsed.
    static bool ParseBytes(TiXmlDocument& document, const char* data, std::size_t size,
                           TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
    // The library's Parse on a copy of the text that ends in padding. Returns
    // where parsing stopped, inside text, or null like the library.
    static const char* ParseText(TiXmlDocument& document, const char* text, TiXmlParsingData* data,
                                 TiXmlEncoding encoding);
};

} // namespace xml
