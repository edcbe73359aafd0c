#include "tools/check/ContentLines.hpp"

#include "platform/FileBytes.hpp"
#include "platform/Platform.hpp"
#include "rules/ContentFile.hpp"

std::vector<std::string> FirstFields(const std::string& path, const std::string& key) {
    std::vector<std::string> fields;
    TContentFile file = TContentFile::Open(path);
    for (std::string line = file.FindLine(key); line != "NULL"; line = file.FindLine(key))
        fields.push_back(TContentFile::QuotedArg(line, 0));
    file.Close();
    return fields;
}

std::string FileText(const std::string& path, std::string* refusal) {
    std::string bytes;
    std::string why;
    ReadFileBytes(path, MaxTextFileBytes, bytes, &why);
    if (refusal != nullptr) *refusal = why;
    return bytes;
}
