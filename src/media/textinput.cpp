// Text-input lines: single lines of up to 22 UTF-16 units that the active one of them edits from typed text,
// the input method's results and a few editing keys, drawn with the default font.
#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "media/internal.h"

using namespace media;

namespace {

constexpr int MaxLines = 256;
constexpr size_t MaxUnits = 22;
constexpr int BlinkMs = 500;

struct TextLine {
  bool inUse = false;
  int check = 0;  // bumped whenever the slot is reused, so that stale handles stay invalid
  std::u16string text;
  size_t cursor = 0;
  int selectionStart = -1, selectionEnd = -1;  // -1: nothing selected
  bool finished = false;
  bool cancelled = false;
};

std::vector<TextLine> Lines;
int Active = -1;  // slot of the active line
bool Blinking = false;
bool CursorVisible = true;
int BlinkClock = 0;
std::u16string Composition;  // the input method's text being composed
int CompositionCursor = 0;

enum {
  ColorText, ColorCursor, ColorImeBackground, ColorImeCursor, ColorImeUnderline, ColorImeSelected, ColorImeMode,
  ColorTextEdge, ColorImeSelectedEdge, ColorImeModeEdge, ColorCandidateEdge, ColorCandidateBackground
};
Color Colors[12] = {0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFF4040C0u,
                    0xFF000000u, 0xFF005500u, 0xFF000055u, 0xFF000000u, 0xFFAAAAAAu, 0xFFFFFFFFu};

int HandleOf(int slot) { return MakeHandle(KindTextInput, (Lines[slot].check & 0xFFFF) << 8 | slot); }

TextLine* LineOf(int handle, int* slotOut = nullptr) {
  int value = HandleIndex(handle, KindTextInput);
  if (value < 0) return nullptr;
  int slot = value & 0xFF;
  if (slot >= static_cast<int>(Lines.size())) return nullptr;
  TextLine& line = Lines[slot];
  if (!line.inUse || (line.check & 0xFFFF) != (value >> 8)) return nullptr;
  if (slotOut != nullptr) *slotOut = slot;
  return &line;
}

void ShowCursor() {
  CursorVisible = true;
  BlinkClock = NowMs();
}

bool HasSelection(const TextLine& line) {
  return line.selectionStart >= 0 && line.selectionEnd >= 0 && line.selectionStart != line.selectionEnd;
}

void ClearSelection(TextLine* line) { line->selectionStart = line->selectionEnd = -1; }

size_t SelectionLow(const TextLine& line) { return static_cast<size_t>(SDL_min(line.selectionStart, line.selectionEnd)); }
size_t SelectionHigh(const TextLine& line) { return static_cast<size_t>(SDL_max(line.selectionStart, line.selectionEnd)); }

void DeleteSelection(TextLine* line) {
  size_t low = SelectionLow(*line), high = SelectionHigh(*line);
  line->text.erase(low, high - low);
  line->cursor = low;
  ClearSelection(line);
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Inserts text character by character at the cursor; a character that would make the line longer than 22
// units is dropped with everything after it (a surrogate pair goes in whole or not at all).
void Insert(TextLine* line, const std::u16string& text) {
  if (text.empty()) return;
  if (HasSelection(*line)) DeleteSelection(line);
  ClearSelection(line);
  for (size_t i = 0; i < text.size();) {
    size_t units = IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]) ? 2 : 1;
    char16_t first = text[i];
    if (first < 0x20 || first == 0x7F) {  // control characters are not text
      i += units;
      continue;
    }
    if (line->text.size() + units > MaxUnits) break;
    line->text.insert(line->cursor, text, i, units);
    line->cursor += units;
    i += units;
  }
}

// One character left or right of position, a surrogate pair counting as one.
size_t StepLeft(const TextLine& line, size_t position) {
  if (position == 0) return 0;
  if (position >= 2 && IsLow(line.text[position - 1]) && IsHigh(line.text[position - 2])) return position - 2;
  return position - 1;
}
size_t StepRight(const TextLine& line, size_t position) {
  if (position >= line.text.size()) return line.text.size();
  if (position + 1 < line.text.size() && IsHigh(line.text[position]) && IsLow(line.text[position + 1]))
    return position + 2;
  return position + 1;
}

// Moves the cursor; with Shift held the selection follows it.
void MoveCursor(TextLine* line, size_t to, bool extend) {
  if (extend) {
    if (!HasSelection(*line)) line->selectionStart = static_cast<int>(line->cursor);
    line->selectionEnd = static_cast<int>(to);
  } else {
    ClearSelection(line);
  }
  line->cursor = to;
}

void CopySelection(const TextLine& line) {
  if (!HasSelection(line)) return;
  size_t low = SelectionLow(line), high = SelectionHigh(line);
  SDL_SetClipboardText(Utf16ToUtf8(line.text.c_str() + low, static_cast<int>(high - low)).c_str());
}

void HandleKey(TextLine* line, const SDL_Keysym& key) {
  bool ctrl = (key.mod & KMOD_CTRL) != 0, shift = (key.mod & KMOD_SHIFT) != 0;
  switch (key.sym) {
    case SDLK_BACKSPACE:
      if (HasSelection(*line)) DeleteSelection(line);
      else if (line->cursor > 0) {
        size_t to = StepLeft(*line, line->cursor);
        line->text.erase(to, line->cursor - to);
        line->cursor = to;
      }
      break;
    case SDLK_DELETE:
      if (HasSelection(*line)) DeleteSelection(line);
      else line->text.erase(line->cursor, StepRight(*line, line->cursor) - line->cursor);
      break;
    case SDLK_LEFT: MoveCursor(line, StepLeft(*line, line->cursor), shift); break;
    case SDLK_RIGHT: MoveCursor(line, StepRight(*line, line->cursor), shift); break;
    case SDLK_HOME: MoveCursor(line, 0, shift); break;
    case SDLK_END: MoveCursor(line, line->text.size(), shift); break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: line->finished = true; break;
    case SDLK_a:
      if (!ctrl) return;
      line->selectionStart = 0;
      line->selectionEnd = static_cast<int>(line->text.size());
      line->cursor = line->text.size();
      break;
    case SDLK_c:
      if (!ctrl) return;
      CopySelection(*line);
      break;
    case SDLK_x:
      if (!ctrl) return;
      CopySelection(*line);
      if (HasSelection(*line)) DeleteSelection(line);
      break;
    case SDLK_v: {
      if (!ctrl || SDL_HasClipboardText() == SDL_FALSE) return;
      char* clip = SDL_GetClipboardText();
      Insert(line, Utf8ToUtf16(clip));
      SDL_free(clip);
      break;
    }
    default:  // Esc would cancel only a cancellable line, and these lines are not; Tab is ignored
      return;
  }
  ShowCursor();
}

}  // namespace

namespace media {

void HandleTextInputEvent(const SDL_Event& event) {
  // The long form of a composition owns its text, whoever reads it.
  std::u16string extended;
  if (event.type == SDL_TEXTEDITING_EXT && event.editExt.text != nullptr) {
    extended = Utf8ToUtf16(event.editExt.text);
    SDL_free(event.editExt.text);
  }
  if (Active < 0 || Active >= static_cast<int>(Lines.size()) || !Lines[Active].inUse) return;
  TextLine* line = &Lines[Active];
  switch (event.type) {
    case SDL_TEXTINPUT:
      Composition.clear();
      Insert(line, Utf8ToUtf16(event.text.text));
      ShowCursor();
      break;
    case SDL_TEXTEDITING:
      Composition = Utf8ToUtf16(event.edit.text);
      CompositionCursor = event.edit.start;
      ShowCursor();
      break;
    case SDL_TEXTEDITING_EXT:
      Composition = extended;
      CompositionCursor = event.editExt.start;
      ShowCursor();
      break;
    case SDL_KEYDOWN:
      if (Composition.empty()) HandleKey(line, event.key.keysym);
      break;
    default:
      break;
  }
}

void CloseTextInputs() {
  Lines.clear();
  Active = -1;
  Composition.clear();
}

}  // namespace media

int CreateTextInput() {
  for (int slot = 0; slot < MaxLines; ++slot) {
    if (slot == static_cast<int>(Lines.size())) Lines.emplace_back();
    TextLine& line = Lines[slot];
    if (line.inUse) continue;
    int check = line.check + 1;
    line = TextLine{};
    line.inUse = true;
    line.check = check;
    return HandleOf(slot);
  }
  return -1;
}

// All twelve colours are taken as given: MakeColor's white is 0xFFFFFFFF, the same bits as -1, and the game
// always sets every colour.
int SetTextInputColors(const Color colors[12]) {
  if (colors == nullptr) return -1;
  for (int i = 0; i < 12; ++i) Colors[i] = colors[i];
  return 0;
}

int SetTextInputText(const char16_t* text, int handle) {
  TextLine* line = LineOf(handle);
  if (line == nullptr) return -1;
  std::u16string value = text != nullptr ? std::u16string(text) : std::u16string();
  if (value.size() > MaxUnits) {
    value.resize(MaxUnits);
    if (IsHigh(value.back())) value.pop_back();  // never half a pair
  }
  line->text = value;
  line->cursor = value.size();
  ClearSelection(line);
  ShowCursor();
  return 0;
}

int ActivateTextInput(int handle) {
  if (Active >= 0 && Active < static_cast<int>(Lines.size())) ClearSelection(&Lines[Active]);
  Composition.clear();
  if (handle < 0) {
    Active = -1;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_StopTextInput();
    return 0;
  }
  int slot = -1;
  TextLine* line = LineOf(handle, &slot);
  if (line == nullptr) return -1;
  line->finished = false;
  Active = slot;
  ShowCursor();
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_StartTextInput();
  return 0;
}

int CheckTextInput(int handle) {
  TextLine* line = LineOf(handle);
  if (line == nullptr) return -1;
  if (line->cancelled) return 2;
  return line->finished ? 1 : 0;
}

int SetTextInputBlink(int on) {
  Blinking = on != 0;
  ShowCursor();
  return 0;
}

int GetTextInputText(char16_t* buffer, int handle) {
  TextLine* line = LineOf(handle);
  if (line == nullptr || buffer == nullptr) return -1;
  for (size_t i = 0; i < line->text.size(); ++i) buffer[i] = line->text[i];
  buffer[line->text.size()] = 0;
  return 0;
}

int DrawTextInput(int x, int y, int handle) {
  int slot = -1;
  TextLine* line = LineOf(handle, &slot);
  if (line == nullptr || line->finished) return -1;
  bool active = slot == Active;
  if (Blinking && ((NowMs() - BlinkClock) & 0x7FFFFFFF) > BlinkMs) {
    CursorVisible = !CursorVisible;
    BlinkClock = NowMs();
  }
  int height = FontCellHeight(DefaultFont);
  auto width = [&](size_t from, size_t to) {
    return MeasureText(line->text.c_str() + from, static_cast<int>(to - from), DefaultFont);
  };
  DrawTextWithFont(x, y, line->text.c_str(), Colors[ColorText], DefaultFont, Colors[ColorTextEdge], 0);
  if (HasSelection(*line)) {
    size_t low = SelectionLow(*line), high = SelectionHigh(*line);
    int left = x + width(0, low), right = left + width(low, high);
    DrawRect(left, y, right, y + height, active ? MakeColor(0, 0, 0) : MakeColor(128, 128, 128), 1);
    std::u16string selected = line->text.substr(low, high - low);
    DrawTextWithFont(left, y, selected.c_str(), MakeColor(255, 255, 255), DefaultFont, 0, 0);
  }
  if (!active) return 0;
  int cursorX = x + width(0, line->cursor);
  if (!Composition.empty()) {
    int w = MeasureText(Composition.c_str(), static_cast<int>(Composition.size()), DefaultFont);
    DrawRect(cursorX, y, cursorX + w, y + height, Colors[ColorImeBackground], 1);
    DrawTextWithFont(cursorX, y, Composition.c_str(), Colors[ColorText], DefaultFont, Colors[ColorTextEdge], 0);
    DrawRect(cursorX, y + height - 1, cursorX + w, y + height, Colors[ColorImeUnderline], 1);
    int at = SDL_clamp(CompositionCursor, 0, static_cast<int>(Composition.size()));
    int imeX = cursorX + MeasureText(Composition.c_str(), at, DefaultFont);
    DrawRect(imeX, y, imeX + 2, y + height, Colors[ColorImeCursor], 1);
  } else if (CursorVisible) {
    DrawRect(cursorX, y, cursorX + 2, y + height, Colors[ColorCursor], 1);
  }
  // Where the input method shows its candidates.
  SetImeArea(cursorX, y, 2, height);
  return 0;
}
