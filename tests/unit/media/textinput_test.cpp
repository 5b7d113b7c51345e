// Text-input lines fed with the window's text and key events.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstring>

#include "media_fixture.h"

namespace {

class TextInputTest : public MediaTest {
 protected:
  static void Type(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
    PumpMessages();
  }
  static void Key(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
    PumpMessages();
  }
  static std::u16string Text(int handle) {
    char16_t buffer[64] = {};
    EXPECT_EQ(GetTextInputText(buffer, handle), 0);
    return buffer;
  }
};

TEST_F(TextInputTest, TypingEditsOnlyTheActiveLine) {
  int a = CreateTextInput(), b = CreateTextInput();
  ASSERT_NE(a, -1);
  ASSERT_NE(b, -1);
  ASSERT_NE(a, b);
  Type("x");  // no active line yet
  EXPECT_EQ(Text(a), u"");
  ActivateTextInput(a);
  Type("ab");
  Type("トゲ");
  EXPECT_EQ(Text(a), u"abトゲ");
  EXPECT_EQ(Text(b), u"");
  Key(SDLK_LEFT);
  Key(SDLK_LEFT);
  Type("c");
  Key(SDLK_BACKSPACE);
  Key(SDLK_BACKSPACE);
  Key(SDLK_DELETE);
  EXPECT_EQ(Text(a), u"aゲ");
  Key(SDLK_HOME);
  Type("<");
  Key(SDLK_END);
  Type(">");
  Key(SDLK_TAB);
  Key(SDLK_ESCAPE);
  EXPECT_EQ(Text(a), u"<aゲ>");
  EXPECT_EQ(CheckTextInput(a), 0) << "these lines cannot be cancelled";
}

TEST_F(TextInputTest, LineHoldsAtMost22Units) {
  int line = CreateTextInput();
  std::u16string thirty(30, u'あ');
  ASSERT_EQ(SetTextInputText(thirty.c_str(), line), 0);
  EXPECT_EQ(Text(line), std::u16string(22, u'あ'));
  ActivateTextInput(line);
  Type("z");
  EXPECT_EQ(Text(line).size(), 22u) << "a 23rd unit changes nothing";
  std::u16string twentyOne(21, u'a');
  SetTextInputText(twentyOne.c_str(), line);
  Type("\xF0\x9F\x98\x80");  // a surrogate pair does not fit into the last unit
  EXPECT_EQ(Text(line), twentyOne);
  Type("bc");  // as many characters as fit
  EXPECT_EQ(Text(line), twentyOne + u"b");
  std::u16string cut = std::u16string(21, u'a') + u"\U0001F600";
  SetTextInputText(cut.c_str(), line);
  EXPECT_EQ(Text(line), twentyOne) << "never half a pair";
}

TEST_F(TextInputTest, EnterFinishesAndAFinishedLineIsNotDrawnUntilActivatedAgain) {
  int line = CreateTextInput();
  ActivateTextInput(line);
  Type("ok");
  EXPECT_EQ(DrawTextInput(10, 10, line), 0);
  Key(SDLK_RETURN);
  EXPECT_EQ(CheckTextInput(line), 1);
  EXPECT_EQ(DrawTextInput(10, 10, line), -1);
  ActivateTextInput(line);
  EXPECT_EQ(CheckTextInput(line), 0);
  EXPECT_EQ(DrawTextInput(10, 10, line), 0);
  EXPECT_EQ(Text(line), u"ok");
}

TEST_F(TextInputTest, SelectionIsReplacedAndCopiedThroughTheClipboard) {
  int line = CreateTextInput();
  ActivateTextInput(line);
  SetTextInputText(u"看板の文字", line);
  Key(SDLK_LEFT, KMOD_LSHIFT);
  Key(SDLK_LEFT, KMOD_LSHIFT);
  Key(SDLK_c, KMOD_LCTRL);
  Type("X");
  EXPECT_EQ(Text(line), u"看板のX");
  Key(SDLK_v, KMOD_LCTRL);
  EXPECT_EQ(Text(line), u"看板のX文字");
  Key(SDLK_a, KMOD_LCTRL);
  Key(SDLK_x, KMOD_LCTRL);
  EXPECT_EQ(Text(line), u"");
}

TEST_F(TextInputTest, CursorBarIsDrawnInTheCursorColour) {
  Color colours[12];
  for (Color& c : colours) c = MakeColor(0, 0, 0);
  colours[0] = MakeColor(255, 255, 255);  // text
  colours[1] = MakeColor(255, 0, 0);      // cursor
  SetTextInputColors(colours);
  int line = CreateTextInput();
  SetTextInputText(u"ab", line);
  ActivateTextInput(line);
  ASSERT_EQ(DrawTextInput(100, 100, line), 0);
  // Two half-width characters of the 16-pixel default font, then the 2-pixel bar.
  EXPECT_EQ(Pixel(116, 100), 0xFF0000u);
  EXPECT_EQ(Pixel(117, 115), 0xFF0000u);
  EXPECT_EQ(Pixel(118, 108), 0u);
  int other = CreateTextInput();
  SetTextInputText(u"ab", other);
  DrawTextInput(100, 200, other);
  EXPECT_EQ(Pixel(116, 200), 0u) << "an inactive line shows no cursor";
}

TEST_F(TextInputTest, PasteIsCutAt22UnitsAndReplacesTheSelection) {
  int line = CreateTextInput();
  ActivateTextInput(line);
  SDL_SetClipboardText("0123456789");
  SetTextInputText(u"abcdefghijklmnopq", line);  // 17 units
  Key(SDLK_v, KMOD_LCTRL);
  EXPECT_EQ(Text(line), u"abcdefghijklmnopq01234") << "only what fits";
  Key(SDLK_HOME);
  Key(SDLK_RIGHT, KMOD_LSHIFT);
  Key(SDLK_RIGHT, KMOD_LSHIFT);
  Key(SDLK_v, KMOD_LCTRL);
  EXPECT_EQ(Text(line), u"01cdefghijklmnopq01234") << "two selected units make room for two";
  SetTextInputText(u"xy", line);
  Key(SDLK_LEFT, KMOD_LSHIFT);
  Type("\xE5\xAD\x97");  // typing replaces the selection
  EXPECT_EQ(Text(line), u"x字");
}

// While the input method composes, its text is drawn at the cursor over the composition background, with the
// underline; SDL's text input (and with it the input method) runs only while a line is active.
TEST_F(TextInputTest, CompositionIsDrawnAtTheCursorAndTextInputRunsOnlyWhileALineIsActive) {
  EXPECT_FALSE(SDL_IsTextInputActive());
  Color colours[12];
  for (Color& c : colours) c = MakeColor(0, 0, 0);
  colours[0] = MakeColor(0, 0, 255);      // text
  colours[2] = MakeColor(255, 255, 255);  // composition background
  colours[4] = MakeColor(255, 0, 0);      // underline
  SetTextInputColors(colours);
  int line = CreateTextInput();
  SetTextInputText(u"ab", line);
  ActivateTextInput(line);
  EXPECT_TRUE(SDL_IsTextInputActive());
  ClearSurface();
  SDL_Event event{};
  event.type = SDL_TEXTEDITING;
  std::strncpy(event.edit.text, "\xE3\x81\xAB\xE3\x81\xBB", sizeof event.edit.text - 1);  // にほ
  event.edit.start = 2;
  event.edit.length = 0;
  SDL_PushEvent(&event);
  PumpMessages();
  ASSERT_EQ(DrawTextInput(100, 100, line), 0);
  // "ab" is 16 pixels wide; the two full-width characters of the composition 32 more, on a 16-pixel line.
  int white = 0, red = 0, blueAfterCursor = 0;
  for (int x = 116; x < 148; ++x) {
    for (int y = 100; y < 116; ++y) {
      uint32_t p = Pixel(x, y);
      white += p == 0xFFFFFFu;
      red += p == 0xFF0000u;
      blueAfterCursor += (p & 0xFF) > 0x80 && (p >> 16) < 0x80;
    }
  }
  EXPECT_GT(white, 100) << "composition background at the cursor";
  EXPECT_GE(red, 30) << "underline";
  EXPECT_GT(blueAfterCursor, 10) << "composition text";
  EXPECT_EQ(Pixel(116, 115), 0xFF0000u) << "the underline starts at the cursor";
  EXPECT_EQ(Pixel(160, 108), 0u) << "nothing beyond the composition";
  // The committed text ends the composition.
  Type("\xE6\x97\xA5");
  EXPECT_EQ(Text(line), u"ab日");
  ClearSurface();
  DrawTextInput(100, 100, line);
  EXPECT_NE(Pixel(140, 115), 0xFF0000u) << "no underline once committed";
  ActivateTextInput(-1);
  EXPECT_FALSE(SDL_IsTextInputActive());
  Type("z");
  EXPECT_EQ(Text(line), u"ab日") << "no line takes text while none is active";
}

TEST_F(TextInputTest, HandlesAreCheckedAndSlotsRunOut) {
  char16_t buffer[32];
  EXPECT_EQ(GetTextInputText(buffer, -1), -1);
  EXPECT_EQ(CheckTextInput(12345), -1);
  EXPECT_EQ(SetTextInputText(u"x", MakeFont(12, 0, 0, -1)), -1) << "a font handle is not a line";
  int created = 0;
  while (CreateTextInput() != -1) ++created;
  EXPECT_EQ(created, 256);
}

}  // namespace
