#pragma once
// What the decoder targets share: the input decoded as a picture of one format, whose signature is put
// in front when the input lacks it, so that every input reaches that format's decoder.

#include <cstddef>
#include <cstdint>
#include <string>

void DecodeAs(const std::string& signature, const uint8_t* data, size_t size);
