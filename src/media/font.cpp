// Fonts: a Japanese gothic face found through fontconfig (without one, any face, for the glyphs it has),
// rasterised by SDL_ttf glyph by glyph into a cache of textures. Edged types keep a second texture per glyph,
// the glyph grown by the edge size, drawn in the edge colour under the glyphs.
#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/internal.h"

using namespace media;

namespace {

constexpr int DefaultFontSize = 16;
constexpr int DefaultFontThickness = 6;

struct Glyph {
  int advance = 0;
  bool missing = false;  // the face has no such glyph: it takes its room and draws nothing
  bool rendered = false;
  int width = 0, height = 0;  // of the body texture; the edge texture is 2 x edge larger each way
  SDL_Texture* body = nullptr;
  SDL_Texture* edge = nullptr;
};

struct Font {
  TTF_Font* face = nullptr;
  int size = 0;
  int type = 0;
  int edge = 0;  // edge width in pixels, 0 for plain types
  std::unordered_map<char32_t, Glyph> glyphs;

  ~Font() {
    for (auto& entry : glyphs) {
      if (entry.second.body != nullptr) SDL_DestroyTexture(entry.second.body);
      if (entry.second.edge != nullptr) SDL_DestroyTexture(entry.second.edge);
    }
    if (face != nullptr) TTF_CloseFont(face);
  }
};

std::vector<std::unique_ptr<Font>> Fonts;
std::unique_ptr<Font> TheDefaultFont;
bool FaceIsStandIn = false;  // no Japanese face was found: the face in use lacks most of the game's glyphs

// True when the best match fontconfig gives for the family really is that family (fontconfig always
// answers with something).
std::string MatchFamily(const char* family) {
  std::string path;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match != nullptr) {
    FcChar8* name = nullptr;
    bool same = false;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
      if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) same = true;
    }
    FcChar8* file = nullptr;
    if (same && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return path;
}

// Any face that covers Japanese, gothic and fixed-pitch ones first.
std::string AnyJapaneseFace() {
  std::string best;
  int bestScore = -1;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_SPACING, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  for (int i = 0; set != nullptr && i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    int score = 0;
    FcChar8* name = nullptr;
    for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &name) == FcResultMatch; ++k) {
      std::string family = reinterpret_cast<char*>(name);
      for (char& c : family) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (family.find("gothic") != std::string::npos || family.find("ゴシック") != std::string::npos) score |= 2;
    }
    int spacing = 0;
    if (FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing) == FcResultMatch && spacing == FC_MONO)
      score |= 1;
    if (score > bestScore) {
      bestScore = score;
      best = reinterpret_cast<char*>(file);
    }
  }
  if (set != nullptr) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return best;
}

// Without a Japanese face any face will do: Latin text, digits and signs still show.
std::string AnyFace() {
  std::string path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("monospace"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match != nullptr) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return path;
}

const std::string& FacePath() {
  static std::string path;
  static bool searched = false;
  if (!searched) {
    searched = true;
    if (FcInit()) {
      for (const char* family : {"MS Gothic", "ＭＳ ゴシック", "IPAGothic"}) {
        path = MatchFamily(family);
        if (!path.empty()) break;
      }
      if (path.empty()) path = AnyJapaneseFace();
      if (path.empty()) {
        path = AnyFace();
        FaceIsStandIn = true;
        std::fprintf(stderr, "Pelvoro!!: no Japanese font found, install the package fonts-ipafont-gothic (%s)\n",
                     path.empty() ? "no font at all: no text is drawn" : "Japanese text is left blank");
      }
    }
  }
  return path;
}

std::unique_ptr<Font> OpenFont(int size, int thickness, int type, int edgeSize) {
  if (size <= 0 || size > 512) return nullptr;
  if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
  const std::string& path = FacePath();
  if (path.empty()) return nullptr;
  auto font = std::make_unique<Font>();
  font->face = TTF_OpenFont(path.c_str(), size);
  if (font->face == nullptr) return nullptr;
  // The size is the height of the glyph cell; faces whose ascent and descent do not make one em are scaled.
  int height = TTF_FontHeight(font->face);
  if (height > 0 && height != size) TTF_SetFontSize(font->face, size * size / height);
  if (thickness >= 7) TTF_SetFontStyle(font->face, TTF_STYLE_BOLD);
  font->size = size;
  font->type = type;
  if ((type & FontEdge) != 0) font->edge = edgeSize < 1 ? 1 : edgeSize > 16 ? 16 : edgeSize;
  return font;
}

Font* FontOf(FontHandle handle) {
  if (handle == DefaultFont) {
    if (TheDefaultFont == nullptr) TheDefaultFont = OpenFont(DefaultFontSize, DefaultFontThickness, FontPlain, -1);
    return TheDefaultFont.get();
  }
  int index = HandleIndex(handle, KindFont);
  if (index < 0 || index >= static_cast<int>(Fonts.size())) return nullptr;
  return Fonts[index].get();
}

SDL_Texture* CoverageTexture(const std::vector<uint8_t>& coverage, int width, int height) {
  std::vector<uint32_t> pixels(coverage.size());
  for (size_t i = 0; i < coverage.size(); ++i) pixels[i] = static_cast<uint32_t>(coverage[i]) << 24 | 0xFFFFFF;
  SDL_Texture* texture =
      SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (texture == nullptr) return nullptr;
  SDL_UpdateTexture(texture, nullptr, pixels.data(), width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return texture;
}

// Renders a glyph into its textures: anti-aliased types keep the coverage, the others are one bit deep.
void RenderGlyph(Font* font, char32_t c, Glyph* glyph) {
  if (Renderer == nullptr) return;
  glyph->rendered = true;
  if (glyph->missing) return;
  SDL_Color white = {255, 255, 255, 255};
  bool smooth = (font->type & 2) != 0;
  SDL_Surface* surface =
      smooth ? TTF_RenderGlyph32_Blended(font->face, c, white) : TTF_RenderGlyph32_Solid(font->face, c, white);
  if (surface == nullptr) return;
  int w = surface->w, h = surface->h;
  std::vector<uint8_t> coverage(static_cast<size_t>(w) * h, 0);
  SDL_LockSurface(surface);
  for (int y = 0; y < h; ++y) {
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
    for (int x = 0; x < w; ++x) {
      if (surface->format->BytesPerPixel == 1) {
        coverage[y * w + x] = row[x] != 0 ? 255 : 0;
      } else {
        Uint32 pixel;
        std::memcpy(&pixel, row + x * 4, 4);
        Uint8 r, g, b, a;
        SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
        coverage[y * w + x] = a;
      }
    }
  }
  SDL_UnlockSurface(surface);
  SDL_FreeSurface(surface);
  glyph->width = w;
  glyph->height = h;
  glyph->body = CoverageTexture(coverage, w, h);
  if (font->edge == 0) return;
  // The edge: every pixel within the edge width of the glyph (a rounded neighbourhood; edge 1 is the eight
  // neighbours) takes the strongest coverage around it.
  int e = font->edge, ew = w + 2 * e, eh = h + 2 * e;
  std::vector<uint8_t> edge(static_cast<size_t>(ew) * eh, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t value = coverage[y * w + x];
      if (value == 0) continue;
      for (int oy = -e; oy <= e; ++oy) {
        for (int ox = -e; ox <= e; ++ox) {
          if (ox * ox + oy * oy > e * e + 1) continue;
          uint8_t& cell = edge[(y + e + oy) * ew + (x + e + ox)];
          if (cell < value) cell = value;
        }
      }
    }
  }
  glyph->edge = CoverageTexture(edge, ew, eh);
}

Glyph* GlyphOf(Font* font, char32_t c, bool forDrawing) {
  auto found = font->glyphs.find(c);
  if (found == font->glyphs.end()) {
    Glyph glyph;
    int minx, maxx, miny, maxy, advance = 0;
    if (FaceIsStandIn && TTF_GlyphIsProvided32(font->face, c) == 0) {
      // A stand-in face draws no box for each Japanese character it lacks; the room the character would
      // take keeps centred texts in place (the game's Japanese characters are all full width).
      glyph.missing = true;
      glyph.advance = c >= 0x2E80 ? font->size : font->size / 2;
    } else if (TTF_GlyphMetrics32(font->face, c, &minx, &maxx, &miny, &maxy, &advance) == 0) {
      glyph.advance = advance;
    }
    found = font->glyphs.emplace(c, glyph).first;
  }
  if (forDrawing && !found->second.rendered) RenderGlyph(font, c, &found->second);
  return &found->second;
}

// The code points of a UTF-16 text, up to length units or its terminating zero.
std::u32string CodePoints(const char16_t* text, int length) {
  std::u32string out;
  if (text == nullptr) return out;
  for (int i = 0; (length < 0 || i < length) && text[i] != 0; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && (length < 0 || i + 1 < length) && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c >= 0x20) out.push_back(c);  // control characters take no room: texts never break lines
  }
  return out;
}

int DrawCodePoints(int x, int y, const std::u32string& text, Color color, Font* font, Color edgeColor) {
  if (font->edge > 0) {
    // All edges first, so that an edge never covers the neighbouring glyph.
    int pen = x;
    for (char32_t c : text) {
      Glyph* glyph = GlyphOf(font, c, true);
      if (glyph->edge != nullptr) {
        PrepareTexture(glyph->edge, 1, edgeColor);
        SDL_Rect dst = {pen - font->edge, y - font->edge, glyph->width + 2 * font->edge,
                        glyph->height + 2 * font->edge};
        SDL_RenderCopy(Renderer, glyph->edge, nullptr, &dst);
      }
      pen += glyph->advance;
    }
  }
  int pen = x;
  for (char32_t c : text) {
    Glyph* glyph = GlyphOf(font, c, true);
    if (glyph->body != nullptr) {
      PrepareTexture(glyph->body, 1, color);
      SDL_Rect dst = {pen, y, glyph->width, glyph->height};
      SDL_RenderCopy(Renderer, glyph->body, nullptr, &dst);
    }
    pen += glyph->advance;
  }
  return 0;
}

int MeasureCodePoints(const std::u32string& text, Font* font) {
  int width = 0;
  for (char32_t c : text) width += GlyphOf(font, c, false)->advance;
  return width;
}

}  // namespace

FontHandle MakeFont(int size, int thickness, int type, int edgeSize) {
  std::unique_ptr<Font> font = OpenFont(size, thickness, type, edgeSize);
  if (font == nullptr) return -1;
  Fonts.push_back(std::move(font));
  return MakeHandle(KindFont, static_cast<int>(Fonts.size()) - 1);
}

int DrawTextWithFont(int x, int y, const char16_t* text, Color color, FontHandle font, Color edgeColor,
                     int /*vertical*/) {
  Font* f = FontOf(font);
  if (f == nullptr || text == nullptr) return -1;
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  return DrawCodePoints(x, y, CodePoints(text, -1), color, f, edgeColor);
}

static int DrawFormatted(int x, int y, Color color, FontHandle font, const char16_t* format, va_list args) {
  Font* f = FontOf(font);
  if (f == nullptr || format == nullptr) return -1;
  if (!WaitToDraw() || ClipIsEmpty()) return 0;
  std::u16string text = FormatText(format, args);
  return DrawCodePoints(x, y, CodePoints(text.c_str(), -1), color, f, 0);
}

int DrawFormattedTextWithFont(int x, int y, Color color, FontHandle font, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  int result = DrawFormatted(x, y, color, font, format, args);
  va_end(args);
  return result;
}

int DrawFormattedText(int x, int y, Color color, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  int result = DrawFormatted(x, y, color, DefaultFont, format, args);
  va_end(args);
  return result;
}

int MeasureText(const char16_t* text, int length, FontHandle font) {
  Font* f = FontOf(font);
  if (f == nullptr) return -1;
  return MeasureCodePoints(CodePoints(text, length), f);
}

int MeasureFormattedText(FontHandle font, const char16_t* format, ...) {
  Font* f = FontOf(font);
  if (f == nullptr || format == nullptr) return -1;
  va_list args;
  va_start(args, format);
  std::u16string text = FormatText(format, args);
  va_end(args);
  return MeasureCodePoints(CodePoints(text.c_str(), -1), f);
}

void FreeAllFonts() {
  Fonts.clear();
  TheDefaultFont.reset();
}

namespace media {
int FontCellHeight(FontHandle font) {
  Font* f = FontOf(font);
  return f != nullptr ? f->size : 0;
}

void CloseFonts() {
  FreeAllFonts();
  if (TTF_WasInit() != 0) TTF_Quit();
}
}  // namespace media
