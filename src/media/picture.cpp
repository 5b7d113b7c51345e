// Pictures: PNG files from the data files decoded with libpng into handles, drawn whole or in regions. While
// asynchronous loading is on, the loading thread decodes and the main thread makes the texture when the
// picture is first needed (the renderer belongs to the main thread).
#include <png.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "media/internal.h"

using namespace media;

namespace {

struct Picture {
  std::atomic<int> state{1};  // 1 loading, 0 decoded, -1 failed
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // until the texture is made
  SDL_Texture* texture = nullptr;
};

std::vector<std::unique_ptr<Picture>> Pictures;
bool AsyncLoading = false;

void Decode(Picture* picture, const std::string& path) {
  std::string bytes;
  bool ok = ReadWholeDataFile(path.c_str(), &bytes) &&
            DecodePng(bytes, &picture->pixels, &picture->width, &picture->height);
  picture->state.store(ok ? 0 : -1);
}

// The picture of a handle once its load has finished, else nullptr.
Picture* Ready(GraphHandle handle) {
  int index = HandleIndex(handle, KindPicture);
  if (index < 0 || index >= static_cast<int>(Pictures.size())) return nullptr;
  Picture* picture = Pictures[index].get();
  if (picture->state.load() == 1) WaitForLoad(picture->state);
  return picture->state.load() == 0 ? picture : nullptr;
}

bool MakeTexture(Picture* picture) {
  if (picture->texture != nullptr) return true;
  if (Renderer == nullptr) return false;
  picture->texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_BGRA32, SDL_TEXTUREACCESS_STATIC,
                                       picture->width, picture->height);
  if (picture->texture == nullptr) return false;
  SDL_UpdateTexture(picture->texture, nullptr, picture->pixels.data(), picture->width * 4);
  std::vector<uint32_t>().swap(picture->pixels);
  return true;
}

// The texture to draw, or nullptr when nothing can be drawn.
SDL_Texture* Drawable(GraphHandle handle, Picture** out) {
  Picture* picture = Ready(handle);
  if (picture == nullptr || !MakeTexture(picture)) return nullptr;
  *out = picture;
  return picture->texture;
}

}  // namespace

namespace media {

constexpr png_uint_32 MaxPictureSide = 4096;

bool DecodePng(const std::string& bytes, std::vector<uint32_t>* pixels, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) return false;
  // The game's largest sheet is far smaller; a bigger picture is damage or a trap that would take up to a
  // gigabyte once decoded, and fails like any other broken picture.
  if (image.width == 0 || image.height == 0 || image.width > MaxPictureSide || image.height > MaxPictureSide) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  pixels->assign(static_cast<size_t>(image.width) * image.height, 0);
  if (png_image_finish_read(&image, nullptr, pixels->data(), 0, nullptr) == 0) {
    png_image_free(&image);
    pixels->clear();
    return false;
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return true;
}

int PictureLoadState(int handle) {
  int index = HandleIndex(handle, KindPicture);
  if (index < 0 || index >= static_cast<int>(Pictures.size())) return -1;
  return Pictures[index]->state.load();
}

void CreatePendingTextures() {
  if (Renderer == nullptr) return;
  for (auto& picture : Pictures) {
    if (picture->state.load() == 0 && picture->texture == nullptr) MakeTexture(picture.get());
  }
}

}  // namespace media

GraphHandle LoadPicture(const char* path) {
  if (path == nullptr) return -1;
  auto picture = std::make_unique<Picture>();
  Picture* raw = picture.get();
  int handle = MakeHandle(KindPicture, static_cast<int>(Pictures.size()));
  if (AsyncLoading) {
    Pictures.push_back(std::move(picture));
    QueueLoad([raw, file = std::string(path)] { Decode(raw, file); });
    return handle;
  }
  Decode(raw, path);
  if (raw->state.load() != 0) return -1;
  Pictures.push_back(std::move(picture));
  RetryWindowIcon();
  return handle;
}

void SetAsyncLoading(int on) { AsyncLoading = on != 0; }

namespace media {
bool AsyncLoadingOn() { return AsyncLoading; }
}  // namespace media

int PendingLoadCount() {
  CreatePendingTextures();
  return PendingLoads();
}

int HandleLoadState(int handle) {
  if (HandleIndex(handle, KindSound) >= 0) return SoundLoadState(handle);
  int state = PictureLoadState(handle);
  if (state == 0) CreatePendingTextures();
  return state;
}

int GetPictureSize(GraphHandle handle, int* width, int* height) {
  Picture* picture = Ready(handle);
  if (picture == nullptr) return -1;
  if (width != nullptr) *width = picture->width;
  if (height != nullptr) *height = picture->height;
  return 0;
}

int DrawPicture(int x, int y, GraphHandle handle, int transparent) {
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  Picture* picture = nullptr;
  SDL_Texture* texture = Drawable(handle, &picture);
  if (texture == nullptr) return -1;
  PrepareTexture(texture, transparent);
  SDL_Rect dst = {x, y, picture->width, picture->height};
  SDL_RenderCopy(Renderer, texture, nullptr, &dst);
  return 0;
}

int DrawPictureRegion(int dx, int dy, int sx, int sy, int w, int h, GraphHandle handle, int transparent,
                      int mirrored) {
  if (w <= 0 || h <= 0) return -1;
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  Picture* picture = nullptr;
  SDL_Texture* texture = Drawable(handle, &picture);
  if (texture == nullptr) return -1;
  // Cut the region to the picture here: SDL would stretch what is left over the whole destination.
  int cutLeft = sx < 0 ? -sx : 0, cutTop = sy < 0 ? -sy : 0;
  int cutRight = sx + w > picture->width ? sx + w - picture->width : 0;
  int cutBottom = sy + h > picture->height ? sy + h - picture->height : 0;
  if (cutLeft + cutRight >= w || cutTop + cutBottom >= h) return 0;
  SDL_Rect src = {sx + cutLeft, sy + cutTop, w - cutLeft - cutRight, h - cutTop - cutBottom};
  // Mirrored, the column sx + w - 1 lands on dx: a cut on the left of the source is a cut on the right of the
  // destination and the other way round.
  SDL_Rect dst = {dx + (mirrored != 0 ? cutRight : cutLeft), dy + cutTop, src.w, src.h};
  PrepareTexture(texture, transparent);
  if (mirrored != 0) SDL_RenderCopyEx(Renderer, texture, &src, &dst, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
  else SDL_RenderCopy(Renderer, texture, &src, &dst);
  return 0;
}

int DrawPictureRegionCentered(float x, float y, int sx, int /*unused*/, int w, int h, double scale, double angle,
                              GraphHandle handle) {
  if (w <= 0 || h <= 0) return -1;
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  Picture* picture = nullptr;
  SDL_Texture* texture = Drawable(handle, &picture);
  if (texture == nullptr) return -1;
  int cutLeft = sx < 0 ? -sx : 0;
  int cutRight = sx + w > picture->width ? sx + w - picture->width : 0;
  int cutBottom = h > picture->height ? h - picture->height : 0;
  if (cutLeft + cutRight >= w || cutBottom >= h) return 0;
  SDL_Rect src = {sx + cutLeft, 0, w - cutLeft - cutRight, h - cutBottom};
  PrepareTexture(texture, 1);
  double width = w * scale, height = h * scale;
  if (scale == 1.0 && angle == 0.0) {
    // The plain case lands on whole pixels, the same on every renderer.
    SDL_Rect dst = {static_cast<int>(std::floor(x - width / 2 + 0.5)) + cutLeft,
                    static_cast<int>(std::floor(y - height / 2 + 0.5)), src.w, src.h};
    SDL_RenderCopy(Renderer, texture, &src, &dst);
    return 0;
  }
  SDL_FRect dst = {static_cast<float>(x - width / 2 + cutLeft * scale), static_cast<float>(y - height / 2),
                   static_cast<float>(src.w * scale), static_cast<float>(src.h * scale)};
  SDL_FPoint centre = {static_cast<float>(width / 2 - cutLeft * scale), static_cast<float>(height / 2)};
  SDL_RenderCopyExF(Renderer, texture, &src, &dst, angle * 180.0 / M_PI, &centre, SDL_FLIP_NONE);
  return 0;
}

void FreeAllPictures() {
  DrainLoads();
  for (auto& picture : Pictures) {
    if (picture->texture != nullptr && Renderer != nullptr) SDL_DestroyTexture(picture->texture);
  }
  Pictures.clear();
}
