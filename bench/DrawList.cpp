#include "bench/DrawList.hpp"

#include <cstdio>
#include <memory>

namespace {

using TFile = std::unique_ptr<FILE, int (*)(FILE*)>;

template <typename T> bool Put(FILE* file, const T& value) {
    return std::fwrite(&value, sizeof value, 1, file) == 1;
}

template <typename T> bool Get(FILE* file, T& value) {
    return std::fread(&value, sizeof value, 1, file) == 1;
}

} // namespace

bool TDrawList::Write(const std::string& path) const {
    TFile file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file || !Put(file.get(), images.size())) return false;
    for (const TListImage& image : images) {
        if (!Put(file.get(), image.width) || !Put(file.get(), image.height) ||
            !Put(file.get(), image.filtered) || !Put(file.get(), image.coverage) ||
            std::fwrite(image.pixels.data(), 1, image.pixels.size(), file.get()) != image.pixels.size())
            return false;
    }
    if (!Put(file.get(), draws.size())) return false;
    return draws.empty() ||
           std::fwrite(draws.data(), sizeof(TListDraw), draws.size(), file.get()) == draws.size();
}

bool TDrawList::Read(const std::string& path) {
    TFile file(std::fopen(path.c_str(), "rb"), &std::fclose);
    size_t count = 0;
    if (!file || !Get(file.get(), count) || count > 100000) return false;
    images.resize(count);
    for (TListImage& image : images) {
        if (!Get(file.get(), image.width) || !Get(file.get(), image.height) ||
            !Get(file.get(), image.filtered) || !Get(file.get(), image.coverage) || image.width < 0 ||
            image.height < 0 || image.width > 8192 || image.height > 8192)
            return false;
        image.pixels.resize(size_t{1} * image.width * image.height * (image.coverage ? 1 : 4));
        if (std::fread(image.pixels.data(), 1, image.pixels.size(), file.get()) != image.pixels.size())
            return false;
    }
    if (!Get(file.get(), count) || count > 10000000) return false;
    draws.resize(count);
    return count == 0 || std::fread(draws.data(), sizeof(TListDraw), count, file.get()) == count;
}
