// The in-game file chooser, for desktops without zenity or kdialog: a window drawn over the game's last frame
// with the folders and "*.plvsd" files of one folder, a name field when saving, and the overwrite question.
// Keyboard: Up/Down choose, Enter opens a folder or takes the file, Backspace or Left goes up a folder, X
// cancels (Esc ends the game, as everywhere). Mouse: click chooses, double-click opens, the wheel scrolls.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "media/chooser.h"
#include "media/internal.h"

namespace fs = std::filesystem;

namespace media {

namespace {

struct ChooserEntry {
  std::string Name;  // as the file system spells it (UTF-8 on a sane system)
  bool Folder = false;
  bool Parent = false;  // the ".." row
};

struct ChooserLayout {
  int X, Y, W, H;  // the window
  int ListY, RowHeight, Rows;
  int FieldX, FieldY, FieldW;
  int OkX, CancelX, ButtonY, ButtonW, ButtonH;
};

struct BuiltinChooser {
  int Purpose = ChooseOpenStageSet;
  fs::path Folder;
  std::vector<ChooserEntry> Entries;
  int Cursor = 0;  // -1: the name field (saving only), else an entry
  int Top = 0;     // first row shown
  std::string Name;         // the name field, UTF-8
  std::string Composition;  // text being composed by an input method
  std::string Problem;      // one line in red, e.g. a folder that cannot be read
  bool Asking = false;      // the overwrite question is shown
  int AskYes = 0;           // 1: "はい" is selected
  fs::path Pending;         // the file the question is about
  bool Done = false;
  ChooserOutcome Outcome = ChooserCancelled;
  std::string Result;
};

FontHandle TitleFont = -1;
FontHandle ListFont = -1;
FontHandle SmallFont = -1;

const Color White = 0xFFFFFFFFu;
const Color Highlight = 0xFF00FFC0u;  // the menus' selected item
const Color FolderColour = 0xFFFFD880u;
const Color Dim = 0xFFB0B0B0u;
const Color Warning = 0xFFFF4020u;  // the stage select's red message

bool Saving(const BuiltinChooser& c) { return c.Purpose == ChooseSaveStageSet; }

void MakeChooserFonts() {
  if (FontCellHeight(TitleFont) == 0) TitleFont = MakeFont(20, -1, FontEdge, -1);
  if (FontCellHeight(ListFont) == 0) ListFont = MakeFont(16, -1, FontEdge, -1);
  if (FontCellHeight(SmallFont) == 0) SmallFont = MakeFont(14, -1, FontEdge, -1);
}

ChooserLayout Layout(const BuiltinChooser& c) {
  ChooserLayout l;
  l.W = std::min(600, ClientWidth - 20);
  l.H = std::min(440, ClientHeight - 20);
  l.X = (ClientWidth - l.W) / 2;
  l.Y = (ClientHeight - l.H) / 2;
  l.FieldX = l.X + 110;
  l.FieldY = l.Y + 64;
  l.FieldW = l.W - 130;
  l.ListY = l.Y + (Saving(c) ? 100 : 66);
  l.RowHeight = 22;
  l.ButtonW = 110;
  l.ButtonH = 28;
  l.ButtonY = l.Y + l.H - 40;
  l.CancelX = l.X + l.W - 20 - l.ButtonW;
  l.OkX = l.CancelX - 12 - l.ButtonW;
  l.Rows = std::max(1, (l.Y + l.H - 86 - l.ListY) / l.RowHeight);
  return l;
}

bool EndsWithPlvsd(const std::string& name) {
  static const std::string ext = ".plvsd";
  if (name.size() <= ext.size()) return false;
  for (size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[name.size() - ext.size() + i])) != ext[i]) return false;
  return true;
}

// Lists the folder: ".." first, then the folders, then the stage-set files, each by name; hidden ones are left
// out, as desktop choosers do. False when the folder cannot be read.
bool ListFolder(BuiltinChooser& c, const fs::path& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  if (error) return false;
  std::vector<ChooserEntry> folders, files;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code ignored;
    if (it->is_directory(ignored)) folders.push_back({name, true, false});
    else if (EndsWithPlvsd(name) && it->is_regular_file(ignored)) files.push_back({name, false, false});
  }
  auto byName = [](const ChooserEntry& a, const ChooserEntry& b) { return a.Name < b.Name; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  c.Entries.clear();
  if (folder.has_parent_path() && folder.parent_path() != folder) c.Entries.push_back({"..", true, true});
  c.Entries.insert(c.Entries.end(), folders.begin(), folders.end());
  c.Entries.insert(c.Entries.end(), files.begin(), files.end());
  c.Folder = folder;
  // Saving starts in the name field; opening on the first folder or file rather than on "..".
  c.Cursor = Saving(c) ? -1 : (c.Entries.size() > 1 && c.Entries[0].Parent ? 1 : 0);
  c.Top = 0;
  c.Problem.clear();
  return true;
}

void EnterFolder(BuiltinChooser& c, const fs::path& folder) {
  if (!ListFolder(c, folder)) c.Problem = "フォルダを開けませんでした。";
}

void KeepCursorInView(BuiltinChooser& c) {
  const int rows = Layout(c).Rows;
  if (c.Cursor >= 0 && c.Cursor < c.Top) c.Top = c.Cursor;
  if (c.Cursor >= c.Top + rows) c.Top = c.Cursor - rows + 1;
  c.Top = std::max(0, std::min(c.Top, static_cast<int>(c.Entries.size()) - rows));
}

void GoUp(BuiltinChooser& c) {
  const fs::path from = c.Folder;
  if (!from.has_parent_path() || from.parent_path() == from) return;
  EnterFolder(c, from.parent_path());
  // The folder just left stays under the cursor.
  for (size_t i = 0; i < c.Entries.size(); ++i)
    if (c.Entries[i].Folder && !c.Entries[i].Parent && c.Entries[i].Name == from.filename().string())
      c.Cursor = static_cast<int>(i);
  KeepCursorInView(c);
}

void Finish(BuiltinChooser& c, ChooserOutcome outcome, const fs::path& path = {}) {
  c.Done = true;
  c.Outcome = outcome;
  c.Result = path.string();
}

// Saving under the name in the field: a folder of that name is opened, an existing file is asked about.
void ConfirmSave(BuiltinChooser& c) {
  if (c.Name.empty()) return;
  const fs::path target = c.Folder / c.Name;
  std::error_code error;
  if (fs::is_directory(target, error)) {
    c.Name.clear();
    EnterFolder(c, target);
    return;
  }
  if (fs::exists(fs::symlink_status(target, error))) {
    c.Asking = true;
    c.AskYes = 0;
    c.Pending = target;
    return;
  }
  Finish(c, ChooserChosen, target);
}

void Activate(BuiltinChooser& c, int index) {
  if (index < 0 || index >= static_cast<int>(c.Entries.size())) return;
  const ChooserEntry entry = c.Entries[index];
  if (entry.Parent) {
    GoUp(c);
  } else if (entry.Folder) {
    EnterFolder(c, c.Folder / entry.Name);
  } else if (Saving(c)) {
    c.Name = entry.Name;
    ConfirmSave(c);
  } else {
    Finish(c, ChooserChosen, c.Folder / entry.Name);
  }
}

// The OK button: the file under the cursor when opening, the name in the field when saving.
void PressOk(BuiltinChooser& c) {
  if (Saving(c)) {
    if (c.Name.empty() && c.Cursor >= 0) Activate(c, c.Cursor);
    else ConfirmSave(c);
  } else {
    Activate(c, c.Cursor);
  }
}

void MoveCursor(BuiltinChooser& c, int step) {
  const int lowest = Saving(c) ? -1 : 0;
  const int highest = static_cast<int>(c.Entries.size()) - 1;
  c.Cursor = std::max(lowest, std::min(highest, c.Cursor + step));
  if (Saving(c) && c.Cursor >= 0 && !c.Entries[c.Cursor].Folder) c.Name = c.Entries[c.Cursor].Name;
  KeepCursorInView(c);
}

void RemoveLastCharacter(std::string& text) {
  if (text.empty()) return;
  size_t at = text.size() - 1;
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;  // a whole UTF-8 sequence
  text.erase(at);
}

void Answer(BuiltinChooser& c, bool yes) {
  c.Asking = false;
  if (yes) Finish(c, ChooserChosen, c.Pending);
}

void HandleKey(BuiltinChooser& c, SDL_Scancode key) {
  if (key == SDL_SCANCODE_ESCAPE) ExitGame(0);  // Esc ends the game everywhere
  if (c.Asking) {
    if (key == SDL_SCANCODE_LEFT || key == SDL_SCANCODE_RIGHT || key == SDL_SCANCODE_UP || key == SDL_SCANCODE_DOWN)
      c.AskYes = 1 - c.AskYes;
    else if (key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER) Answer(c, c.AskYes == 1);
    else if (key == SDL_SCANCODE_Y) Answer(c, true);
    else if (key == SDL_SCANCODE_N || key == SDL_SCANCODE_X) Answer(c, false);
    return;
  }
  const int rows = Layout(c).Rows;
  switch (key) {
    case SDL_SCANCODE_UP: MoveCursor(c, -1); break;
    case SDL_SCANCODE_DOWN: MoveCursor(c, 1); break;
    case SDL_SCANCODE_PAGEUP: MoveCursor(c, -rows); break;
    case SDL_SCANCODE_PAGEDOWN: MoveCursor(c, rows); break;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      if (c.Cursor < 0) ConfirmSave(c);
      else Activate(c, c.Cursor);
      break;
    case SDL_SCANCODE_BACKSPACE:
      if (c.Cursor < 0 && !c.Name.empty()) RemoveLastCharacter(c.Name);
      else GoUp(c);
      break;
    case SDL_SCANCODE_LEFT:
      if (c.Cursor >= 0) GoUp(c);
      break;
    case SDL_SCANCODE_X:
      if (c.Cursor >= 0) Finish(c, ChooserCancelled);  // in the name field X is a letter
      break;
    default: break;
  }
}

void HandleText(BuiltinChooser& c, const char* text) {
  if (c.Asking || c.Cursor >= 0) return;
  for (const char* p = text; *p != '\0'; ++p)
    if (*p == '/') return;  // a name, not a path
  if (c.Name.size() + std::strlen(text) <= 255) c.Name += text;
}

bool Inside(int x, int y, int left, int top, int w, int h) {
  return x >= left && x < left + w && y >= top && y < top + h;
}

void HandleClick(BuiltinChooser& c, int x, int y, int clicks) {
  const ChooserLayout l = Layout(c);
  if (c.Asking) {
    const int qy = l.Y + l.H / 2 + 10;
    if (Inside(x, y, l.X + l.W / 2 - 130, qy, 110, l.ButtonH)) Answer(c, true);
    if (Inside(x, y, l.X + l.W / 2 + 20, qy, 110, l.ButtonH)) Answer(c, false);
    return;
  }
  if (Inside(x, y, l.OkX, l.ButtonY, l.ButtonW, l.ButtonH)) {
    PressOk(c);
  } else if (Inside(x, y, l.CancelX, l.ButtonY, l.ButtonW, l.ButtonH)) {
    Finish(c, ChooserCancelled);
  } else if (Saving(c) && Inside(x, y, l.FieldX, l.FieldY - 4, l.FieldW, 26)) {
    c.Cursor = -1;
  } else if (Inside(x, y, l.X + 10, l.ListY, l.W - 20, l.Rows * l.RowHeight)) {
    const int index = c.Top + (y - l.ListY) / l.RowHeight;
    if (index >= static_cast<int>(c.Entries.size())) return;
    c.Cursor = index;
    if (Saving(c) && !c.Entries[index].Folder) c.Name = c.Entries[index].Name;
    if (clicks >= 2) Activate(c, index);
  }
}

void HandleEvent(BuiltinChooser& c, const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN: HandleKey(c, e.key.keysym.scancode); break;
    case SDL_TEXTINPUT:
      c.Composition.clear();
      HandleText(c, e.text.text);
      break;
    case SDL_TEXTEDITING: c.Composition = e.edit.text; break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) HandleClick(c, e.button.x, e.button.y, e.button.clicks);
      break;
    case SDL_MOUSEWHEEL:
      if (!c.Asking) {
        c.Top -= e.wheel.y * 3;
        c.Top = std::max(0, std::min(c.Top, static_cast<int>(c.Entries.size()) - Layout(c).Rows));
      }
      break;
    default: break;
  }
}

// ---- drawing

void Text(int x, int y, const std::string& utf8, Color colour, FontHandle font) {
  const std::u16string text = Utf8ToUtf16(utf8.c_str());
  DrawTextWithFont(x, y, text.c_str(), colour, font, 0, 0);
}

// The folder's path, cut from the left with "…" to fit.
std::string FittedPath(const std::string& path, int width, FontHandle font) {
  std::u16string text = Utf8ToUtf16(path.c_str());
  if (MeasureText(text.c_str(), static_cast<int>(text.size()), font) <= width) return path;
  while (text.size() > 1) {
    text.erase(0, 1);
    const std::u16string shown = u"…" + text;
    if (MeasureText(shown.c_str(), static_cast<int>(shown.size()), font) <= width) return Utf16ToUtf8(shown.c_str());
  }
  return path;
}

void Box(int x, int y, int w, int h, Color fill, int opacity) {
  SetBlendMode(BlendAlpha, opacity);
  DrawRect(x, y, x + w, y + h, fill, 1);
  SetBlendMode(BlendNone, 0);
}

void Button(int x, int y, int w, int h, const char* label, bool selected) {
  Box(x, y, w, h, selected ? Highlight : 0xFF404040u, selected ? 90 : 220);
  DrawRect(x, y, x + w, y + h, selected ? Highlight : White, 0);
  const std::u16string text = Utf8ToUtf16(label);
  const int width = MeasureText(text.c_str(), static_cast<int>(text.size()), ListFont);
  DrawTextWithFont(x + (w - width) / 2, y + (h - 16) / 2, text.c_str(), White, ListFont, 0, 0);
}

void DrawQuestion(const BuiltinChooser& c, const ChooserLayout& l) {
  const int w = l.W - 80, h = 130, x = l.X + 40, y = l.Y + l.H / 2 - 80;
  Box(x, y, w, h, 0xFF000000u, 235);
  DrawRect(x, y, x + w, y + h, Highlight, 0);
  Text(x + 20, y + 16, FittedPath(c.Pending.filename().string(), w - 40, ListFont) + " は既に存在します。", White,
       ListFont);
  Text(x + 20, y + 40, "上書きしますか？", White, ListFont);
  const int qy = l.Y + l.H / 2 + 10;
  Button(l.X + l.W / 2 - 130, qy, 110, l.ButtonH, "はい", c.AskYes == 1);
  Button(l.X + l.W / 2 + 20, qy, 110, l.ButtonH, "いいえ", c.AskYes == 0);
}

void DrawChooser(const BuiltinChooser& c) {
  const ChooserLayout l = Layout(c);
  DrawLastFrame();
  // The game's frame dimmed behind a nearly opaque black window, so that the list reads over any picture.
  Box(0, 0, ClientWidth, ClientHeight, 0xFF000000u, 120);
  Box(l.X, l.Y, l.W, l.H, 0xFF000000u, 245);
  DrawRect(l.X, l.Y, l.X + l.W, l.Y + l.H, White, 0);
  Text(l.X + 14, l.Y + 10, Saving(c) ? ChooserSaveTitle : ChooserOpenTitle, White, TitleFont);
  Text(l.X + 14, l.Y + 38, FittedPath(c.Folder.string(), l.W - 28, SmallFont), Dim, SmallFont);

  if (Saving(c)) {
    Text(l.X + 14, l.FieldY, "ファイル名:", c.Cursor < 0 ? Highlight : White, ListFont);
    Box(l.FieldX, l.FieldY - 4, l.FieldW, 26, 0xFF202020u, 255);
    DrawRect(l.FieldX, l.FieldY - 4, l.FieldX + l.FieldW, l.FieldY + 22, c.Cursor < 0 ? Highlight : Dim, 0);
    SetClipRect(l.FieldX + 2, l.FieldY - 4, l.FieldX + l.FieldW - 2, l.FieldY + 22);
    std::string shown = c.Name + c.Composition;
    if (c.Cursor < 0 && (NowMs() / 500) % 2 == 0) shown += "|";
    Text(l.FieldX + 6, l.FieldY, shown, White, ListFont);
    ResetClipRect();
  }

  SetClipRect(l.X + 8, l.ListY, l.X + l.W - 8, l.ListY + l.Rows * l.RowHeight);
  for (int row = 0; row < l.Rows; ++row) {
    const int index = c.Top + row;
    if (index >= static_cast<int>(c.Entries.size())) break;
    const ChooserEntry& entry = c.Entries[index];
    const int y = l.ListY + row * l.RowHeight;
    const bool selected = index == c.Cursor;
    if (selected) Box(l.X + 10, y, l.W - 20, l.RowHeight, Highlight, 60);
    std::string label = entry.Parent ? "..（上のフォルダ）" : entry.Folder ? entry.Name + "/" : entry.Name;
    Text(l.X + 16, y + 3, (selected ? "→ " : "　") + label, selected ? Highlight : entry.Folder ? FolderColour : White,
         ListFont);
  }
  if (c.Entries.empty() || (c.Entries.size() == 1 && c.Entries[0].Parent))
    Text(l.X + 40, l.ListY + l.RowHeight + 3, "（ステージデータファイルはありません）", Dim, ListFont);
  ResetClipRect();

  const int footY = l.Y + l.H - 80;
  Text(l.X + 14, footY, std::string("ファイルの種類: ") + ChooserFilterName, Dim, SmallFont);
  if (!c.Problem.empty()) Text(l.X + 14, footY + 18, c.Problem, Warning, SmallFont);
  else Text(l.X + 14, footY + 18, "↑↓:選択 Enter:決定 BackSpace/←:上へ X:キャンセル", Dim, SmallFont);
  Button(l.OkX, l.ButtonY, l.ButtonW, l.ButtonH, Saving(c) ? "保存" : "開く", false);
  Button(l.CancelX, l.ButtonY, l.ButtonW, l.ButtonH, "キャンセル", false);
  if (c.Asking) DrawQuestion(c, l);
}

}  // namespace

ChooserOutcome RunBuiltinChooser(int purpose, std::string* path) {
  if (Renderer == nullptr) return ChooserCancelled;
  MakeChooserFonts();
  BuiltinChooser c;
  c.Purpose = purpose;
  std::error_code error;
  fs::path start = fs::current_path(error);
  if (error || !ListFolder(c, start)) EnterFolder(c, "/");
  SDL_Texture* saved = SaveSurface();
  const bool textWasOn = SDL_IsTextInputActive() == SDL_TRUE;
  if (Saving(c)) {
    const ChooserLayout l = Layout(c);
    SetImeArea(l.FieldX, l.FieldY, l.FieldW, 24);
    SDL_StartTextInput();
  }
  bool closed = false;
  while (!c.Done) {
    SDL_Event event;
    while (!c.Done && SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        closed = true;
        Finish(c, ChooserCancelled);
        break;
      }
      HandleEvent(c, event);
    }
    DrawChooser(c);
    PresentChooserFrame();
    SDL_Delay(16);
  }
  if (!textWasOn) SDL_StopTextInput();
  RestoreSurface(saved);
  if (closed) {  // the game ends as usual once the chooser is gone
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
  if (c.Outcome == ChooserChosen) *path = c.Result;
  return c.Outcome;
}

}  // namespace media
