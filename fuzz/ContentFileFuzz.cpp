// The content reader over one file: every key of every kind searched as the loaders search, with blocks,
// fields and numbers read from what comes back.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/FuzzFolder.hpp"
#include "rules/ContentFile.hpp"

#include <cstddef>
#include <cstdint>

namespace {

const char* const Keys[] = {"NAME=", "TAG=", "DESCRIPTION=", "DATA=",      "SetImage",  "GiveItem",
                            "{",     "}",    "\"",           "SetStation", "AddAction", "LENGTH="};

void ReadFields(const std::string& line) {
    Require(line.size() <= MaxLineBytes, "a line within the cap");
    for (int index = -1; index < 6; ++index) {
        const std::string field = TContentFile::QuotedArg(line, index);
        Require(field.size() <= line.size() || field == "NULL", "a field inside its line");
        TContentFile::ToInt(field);
        TContentFile::ToReal(field);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TFuzzFolder::Enter();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TContentFile file = TContentFile::Open(TFuzzFolder::Write("input.txt", data, size));
    Require(file.stream != nullptr, "an input file opens");
    for (const char* key : Keys) {
        ReadFields(file.FindSingle(key));
        // A repeated search walks forward and ends at "NULL" within as many calls as the file has bytes.
        size_t calls = 0;
        for (std::string line = file.FindLine(key); line != "NULL"; line = file.FindLine(key)) {
            ReadFields(line);
            Require(++calls <= size, "repeated search ends");
        }
    }
    file.Close();
    Require(file.FindLine("TAG=") == "NULL", "a closed reader finds nothing");
    return 0;
}
