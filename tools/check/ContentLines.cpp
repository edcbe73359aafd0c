#include "tools/check/ContentLines.hpp"

#include "rules/ContentFile.hpp"

#include <fstream>
#include <sstream>

std::vector<std::string> FirstFields(const std::string& path, const std::string& key) {
    std::vector<std::string> fields;
    TContentFile file = TContentFile::Open(path);
    for (std::string line = file.FindLine(key); line != "NULL"; line = file.FindLine(key))
        fields.push_back(TContentFile::QuotedArg(line, 0));
    file.Close();
    return fields;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
