// Solid drawing on the surface: clearing, rectangles, lines, the blend mode and the clip rectangle, and
// reading the surface back.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <vector>

#include "media/internal.h"

namespace media {
int BlendMode = BlendNone;
int BlendParam = 0;
}  // namespace media

using namespace media;

static bool Drawing = true;
static bool ClipSet = false;
static SDL_Rect Clip = {0, 0, 0, 0};

void SetDrawingEnabled(int enabled) { Drawing = enabled != 0; }
int DrawingEnabled() { return Drawing ? 1 : 0; }

namespace media {
bool WaitToDraw() {
  GuardActive();
  return Drawing && Renderer != nullptr;
}

void ApplyClip() {
  if (Renderer == nullptr) return;
  SDL_RenderSetClipRect(Renderer, ClipSet ? &Clip : nullptr);
}

// An empty clip rectangle lets nothing through; SDL would take an empty rectangle as no clipping at all.
bool ClipIsEmpty() { return ClipSet && (Clip.w <= 0 || Clip.h <= 0); }

void PrepareTexture(SDL_Texture* texture, int transparent, Color tint) {
  SDL_SetTextureColorMod(texture, (tint >> 16) & 0xFF, (tint >> 8) & 0xFF, tint & 0xFF);
  bool blend = BlendMode == BlendAlpha;
  SDL_SetTextureAlphaMod(texture, blend ? static_cast<Uint8>(BlendParam) : 255);
  SDL_SetTextureBlendMode(texture, transparent != 0 || blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
}
}  // namespace media


static void PrepareSolid(Color color) {
  bool blend = BlendMode == BlendAlpha;
  SDL_SetRenderDrawBlendMode(Renderer, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF,
                         blend ? static_cast<Uint8>(BlendParam) : 255);
}

int ClearSurface() {
  if (!WaitToDraw()) return 0;
  SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  return 0;
}

Color MakeColor(int r, int g, int b) {
  return 0xFF000000u | static_cast<Color>(r & 0xFF) << 16 | static_cast<Color>(g & 0xFF) << 8 |
         static_cast<Color>(b & 0xFF);
}

int DrawRect(int x1, int y1, int x2, int y2, Color color, int filled) {
  if (!WaitToDraw() || ClipIsEmpty() || x2 <= x1 || y2 <= y1) return 0;
  PrepareSolid(color);
  int w = x2 - x1, h = y2 - y1;
  if (filled != 0 || w <= 2 || h <= 2) {
    SDL_Rect rect = {x1, y1, w, h};
    SDL_RenderFillRect(Renderer, &rect);
    return 0;
  }
  // The outline as four rectangles that do not overlap, so that a see-through outline is blended once per
  // pixel, corners included.
  SDL_Rect sides[4] = {{x1, y1, w, 1}, {x1, y2 - 1, w, 1}, {x1, y1 + 1, 1, h - 2}, {x2 - 1, y1 + 1, 1, h - 2}};
  SDL_RenderFillRects(Renderer, sides, 4);
  return 0;
}

void SetBlendMode(int mode, int param) {
  BlendMode = mode == BlendAlpha ? BlendAlpha : BlendNone;
  BlendParam = param < 0 ? 0 : param > 255 ? 255 : param;
}

// From (x1, y1) towards (x2, y2): the end point itself is not drawn, so that joined lines meet without
// drawing their shared point twice.
int DrawLine(int x1, int y1, int x2, int y2, Color color) {
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  PrepareSolid(color);
  int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  int steps = dx > dy ? dx : dy;
  if (steps == 0) return 0;
  if (steps > 4 * (SurfaceWidth + SurfaceHeight)) {
    SDL_RenderDrawLine(Renderer, x1, y1, x2, y2);
    return 0;
  }
  std::vector<SDL_Point> points;
  points.reserve(steps);
  int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx - dy;
  int x = x1, y = y1;
  for (int i = 0; i < steps; ++i) {
    points.push_back({x, y});
    int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
  SDL_RenderDrawPoints(Renderer, points.data(), static_cast<int>(points.size()));
  return 0;
}

int SetClipRect(int x1, int y1, int x2, int y2) {
  ClipSet = true;
  Clip = {x1, y1, x2 - x1, y2 - y1};
  ApplyClip();
  return 0;
}

void ResetClipRect() {
  ClipSet = false;
  ApplyClip();
}

int ReadSurfacePixels(uint32_t* out, int x, int y, int w, int h) {
  if (Renderer == nullptr || out == nullptr || w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > SurfaceWidth ||
      y + h > SurfaceHeight)
    return -1;
  SDL_Rect rect = {x, y, w, h};
  if (SDL_RenderReadPixels(Renderer, &rect, SDL_PIXELFORMAT_ARGB8888, out, w * 4) != 0) return -1;
  // The surface's own alpha is meaningless to the viewer; report every pixel as opaque.
  for (int64_t i = 0, n = static_cast<int64_t>(w) * h; i < n; ++i) out[i] |= 0xFF000000u;
  return 0;
}
