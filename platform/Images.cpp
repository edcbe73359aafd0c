#include "platform/ImageData.hpp"
#include "platform/ImageDecoder.hpp"
#include "platform/ImageRequest.hpp"
#include "platform/Platform.hpp"

#include <cstring>
#include <memory>

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

} // namespace

void SetImageRequestListener(std::function<void(const TImageRequest&)> listener) {
    RequestListener = std::move(listener);
}

TImage LoadImage(const std::string& path, int flags) {
    TImageDecoder picture;
    const TImageRequest request{path, TImageCut::Whole};
    if (!picture.DecodeFile(path)) return Told(request, nullptr);
    return Told(request, CutFrames(picture, picture.width, picture.height, 0, 1, flags));
}

TImage LoadFrames(const std::string& path, int frameWidth, int frameHeight, int first, int count, int flags) {
    TImageDecoder picture;
    const TImageRequest request{path, TImageCut::Frames, frameWidth, frameHeight, first, count};
    if (!picture.DecodeFile(path)) return Told(request, nullptr);
    return Told(request, CutFrames(picture, frameWidth, frameHeight, first, count, flags));
}

TImage LoadIconStrip(const std::string& path) {
    TImageDecoder picture;
    const TImageRequest request{path, TImageCut::IconStrip};
    if (!picture.DecodeFile(path)) return Told(request, nullptr);
    // List icons are shown as the file draws them: no mask, no filtering.
    return Told(request,
                CutFrames(picture, picture.height, picture.height, 0, picture.width / picture.height, 0));
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
