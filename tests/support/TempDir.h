#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// A private directory for one test, removed at the end.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/kb_unit_XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }

    std::string file(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

    static std::string read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path) << text;
    }

private:
    std::string m_path;
};
