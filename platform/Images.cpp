#include "platform/Backend.hpp"
#include "platform/ImageData.hpp"
#include "platform/ImageDecoder.hpp"
#include "platform/ImageRequest.hpp"
#include "platform/Platform.hpp"

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sys/stat.h>

void (*ReleaseTextures)(const std::vector<unsigned>& textures) = nullptr;

TImageData::~TImageData() {
    if (ReleaseTextures != nullptr && !textures.empty()) ReleaseTextures(textures);
}

void TImageData::ApplyMask(int frame) {
    if ((flags & ImageMasked) == 0 || frame < 0 || frame >= frames) return;
    std::vector<uint8_t>& rgba = pixels[static_cast<size_t>(frame)];
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        if (rgba[i] == 0 && rgba[i + 1] == 0 && rgba[i + 2] == 0) rgba[i + 3] = 0;
    }
}

bool TImageData::Opaque(int frame) const {
    if (frame < 0 || frame >= frames) return false;
    if (opaque.size() != static_cast<size_t>(frames) || opaqueVersion != version) {
        opaque.assign(static_cast<size_t>(frames), -1);
        opaqueVersion = version;
    }
    int8_t& known = opaque[static_cast<size_t>(frame)];
    if (known < 0) {
        const std::vector<uint8_t>& rgba = pixels[static_cast<size_t>(frame)];
        known = 1;
        for (size_t i = 3; i < rgba.size(); i += 4) {
            if (rgba[i] != 255) {
                known = 0;
                break;
            }
        }
    }
    return known == 1;
}

namespace {

std::function<void(const TImageRequest&)> RequestListener;

TImage Told(TImageRequest request, TImage image) {
    if (RequestListener) {
        request.loaded = image != nullptr;
        RequestListener(request);
    }
    return image;
}

int ResolveFlags(int flags) {
    return flags < 0 ? ImageDefault : flags & 15;
}

TImage NewImage(int width, int height, int frames, int flags) {
    if (!TImageDecoder::SizeAllowed(width, height) || frames < 1 ||
        int64_t{width} * height * frames > MaxImagePixels)
        return nullptr;
    auto image = std::make_shared<TImageData>();
    image->width = width;
    image->height = height;
    image->frames = frames;
    image->flags = flags;
    image->pixels.assign(static_cast<size_t>(frames), std::vector<uint8_t>(size_t{4} * width * height, 0));
    return image;
}

// Frames first..first+count-1 of the picture cut into cells, left to right, then top to bottom.
TImage CutFrames(const TImageDecoder& picture, int frameWidth, int frameHeight, int first, int count,
                 int flags) {
    if (frameWidth <= 0 || frameHeight <= 0 || first < 0 || count < 1) return nullptr;
    const int columns = picture.width / frameWidth;
    const int64_t total = int64_t{columns} * (picture.height / frameHeight);
    if (int64_t{first} + count > total) return nullptr;
    const int resolved = ResolveFlags(flags);
    TImage image = NewImage(frameWidth, frameHeight, count, resolved);
    if (image == nullptr) return nullptr;
    const size_t rowBytes = size_t{4} * frameWidth;
    for (int k = 0; k < count; ++k) {
        const int index = first + k;
        const size_t left = size_t{4} * (index % columns) * frameWidth;
        const size_t top = size_t{1} * (index / columns) * frameHeight;
        std::vector<uint8_t>& frame = image->pixels[static_cast<size_t>(k)];
        for (int y = 0; y < frameHeight; ++y) {
            const uint8_t* source = picture.rgba.data() + (top + y) * 4 * picture.width + left;
            std::memcpy(frame.data() + rowBytes * y, source, rowBytes);
        }
        image->ApplyMask(k);
    }
    return image;
}

// Loaded images are shared while anything holds them: content names the same few files for hundreds of
// items and stations, and decoding each again was most of what loading them cost. A file changed since
// is another picture. The game grabs only into images it created, never into loaded ones.
TImage LoadShared(const std::string& path, const std::string& cut,
                  const std::function<TImage(const TImageDecoder&)>& make) {
    static auto* loaded = new std::map<std::string, std::weak_ptr<TImageData>>;
    static size_t sweepAt = 64; // forgetting the pictures gone, now and then, keeps loading linear
    struct stat file {};
    // Only a regular file has an identity to share; anything else goes on to the decoder, which refuses it
    // with its own warning.
    const bool regular = stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode);
    std::string key;
    if (regular) {
        key = path + '\n' + cut + '\n' + std::to_string(file.st_dev) + ':' + std::to_string(file.st_ino) +
              ':' + std::to_string(file.st_size) + ':' + std::to_string(file.st_mtim.tv_sec) + '.' +
              std::to_string(file.st_mtim.tv_nsec);
        if (TImage image = (*loaded)[key].lock()) return image;
    }
    BackendWhileLoading();
    TImageDecoder picture;
    if (!picture.DecodeFile(path)) return nullptr;
    TImage image = make(picture);
    if (image != nullptr && regular) (*loaded)[key] = image;
    if (loaded->size() >= sweepAt) {
        std::erase_if(*loaded, [](const auto& entry) { return entry.second.expired(); });
        sweepAt = 2 * loaded->size() + 64;
    }
    return image;
}

} // namespace

void SetImageRequestListener(std::function<void(const TImageRequest&)> listener) {
    RequestListener = std::move(listener);
}

TImage LoadImage(const std::string& path, int flags) {
    const TImage image =
        LoadShared(path, "image " + std::to_string(flags), [&](const TImageDecoder& picture) {
            return CutFrames(picture, picture.width, picture.height, 0, 1, flags);
        });
    return Told({path, TImageCut::Whole}, image);
}

TImage LoadFrames(const std::string& path, int frameWidth, int frameHeight, int first, int count, int flags) {
    const std::string cut = "frames " + std::to_string(frameWidth) + ' ' + std::to_string(frameHeight) + ' ' +
                            std::to_string(first) + ' ' + std::to_string(count) + ' ' + std::to_string(flags);
    const TImage image = LoadShared(path, cut, [&](const TImageDecoder& picture) {
        return CutFrames(picture, frameWidth, frameHeight, first, count, flags);
    });
    return Told({path, TImageCut::Frames, frameWidth, frameHeight, first, count}, image);
}

TImage LoadIconStrip(const std::string& path) {
    const TImage image = LoadShared(path, "icons", [](const TImageDecoder& picture) {
        // List icons are shown as the file draws them: no mask, no filtering.
        return CutFrames(picture, picture.height, picture.height, 0, picture.width / picture.height, 0);
    });
    return Told({path, TImageCut::IconStrip}, image);
}

TImage CreateImage(int width, int height, int frames, int flags) {
    return NewImage(width, height, frames, ResolveFlags(flags) | ImageDynamic);
}

int ImageWidth(const TImage& image) {
    return image == nullptr ? 0 : image->width;
}

int ImageHeight(const TImage& image) {
    return image == nullptr ? 0 : image->height;
}

int ImageFrames(const TImage& image) {
    return image == nullptr ? 0 : image->frames;
}
