#include "tools/check/ContentLines.hpp"

#include "rules/ContentFile.hpp"

std::vector<std::string> FirstFields(const std::string& path, const std::string& key) {
    std::vector<std::string> fields;
    TContentFile file = TContentFile::Open(path);
    for (std::string line = file.FindLine(key); line != "NULL"; line = file.FindLine(key))
        fields.push_back(TContentFile::QuotedArg(line, 0));
    file.Close();
    return fields;
}
