// What the media layer's own files share: the SDL window and renderer, the draw state, handle tags and the
// loading thread. Nothing outside src/media includes this.
#pragma once

#include <SDL2/SDL.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/media.h"

namespace media {

// ---- window.cpp
extern SDL_Window* Window;
extern SDL_Renderer* Renderer;
extern SDL_Texture* Target;  // the drawing surface; the window shows its client-sized top-left part
extern int SurfaceWidth, SurfaceHeight;
extern int ClientWidth, ClientHeight;
// Every drawing operation (and PresentFrame) begins here: waits while the window is inactive, then tells
// whether there is a renderer to draw into and drawing is switched on.
bool WaitToDraw();
// Tries the window icon again once the data files can be read.
void RetryWindowIcon();
// The one wait for an inactive window. Drawing reaches it through WaitToDraw, every sound operation through
// the handle lookup that each of them starts with, the keyboard through ReadKeyboard.
void GuardActive();
// Set by Alt+Enter: the Enter key stays hidden from the game until it is released (the switch can drop the
// Alt key from the keyboard state while Enter is still down).
extern bool EnterSwallowed;
// Where the picture goes in a window: its whole scale factor (at least 1) and top-left corner, in output
// pixels.
struct PictureFit {
  int factor = 1;
  int x = 0, y = 0;
};
PictureFit FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight);
// Turns a point in window coordinates into picture pixels (outside the picture: below 0 or past its size).
void WindowPointToPicture(int* x, int* y);
// The inverse: a rectangle of picture pixels in window points.
SDL_Rect PictureRectToWindow(int x, int y, int w, int h);
// Tells the input method where the text being typed is, given in picture pixels, so that its candidate window
// opens there however the picture is scaled.
void SetImeArea(int x, int y, int w, int h);

// ---- draw.cpp
// The blend state of SetBlendMode, applied by every drawing operation.
extern int BlendMode;
extern int BlendParam;
// True while the clip rectangle is empty: nothing may be drawn.
bool ClipIsEmpty();
// Re-applies the clip rectangle (SDL resets it whenever the render target changes).
void ApplyClip();
// Sets the blend of a texture for one drawing: transparent 0 draws it opaque.
void PrepareTexture(SDL_Texture* texture, int transparent, Color tint = 0xFFFFFFFFu);

// ---- handles: a type tag above the slot index, so that a handle of one kind is never taken for another
enum HandleKind { KindPicture = 1, KindSound = 2, KindFont = 3, KindTextInput = 4 };
inline int MakeHandle(HandleKind kind, int index) { return (kind << 24) | index; }
inline int HandleIndex(int handle, HandleKind kind) {
  if (handle < 0 || (handle >> 24) != kind) return -1;
  return handle & 0xFFFFFF;
}

// ---- loader.cpp: one loading thread for pictures and sounds
// Queues work for the loading thread; counts as pending until it has run.
void QueueLoad(std::function<void()> work);
int PendingLoads();
// Blocks until state is no longer 1 (loading).
void WaitForLoad(const std::atomic<int>& state);
// Called by the loading thread after it changed a state.
void NotifyLoadDone();
// Waits until the queue is empty (before freeing anything the thread may touch).
void DrainLoads();

// ---- picture.cpp / sound.cpp
// Whether LoadPicture and LoadSound hand their work to the loading thread.
bool AsyncLoadingOn();
int PictureLoadState(int handle);
int SoundLoadState(int handle);
// Creates the textures of pictures the loading thread has finished (main thread only).
void CreatePendingTextures();
// Decodes PNG bytes into ARGB pixels (straight alpha). False on a bad file.
bool DecodePng(const std::string& bytes, std::vector<uint32_t>* pixels, int* width, int* height);

// ---- sound_stream.cpp: long MP3 files decoded while they play, mixed through the mixer's music hook
struct StreamedSound;
struct FreeStreamedSound {
  void operator()(StreamedSound* sound) const;
};
using StreamedSoundPtr = std::unique_ptr<StreamedSound, FreeStreamedSound>;
// Takes the file's bytes when they are an MP3 long enough to stream (a decoder per voice on them); else
// nullptr and the bytes are left in *bytes. Only once StreamingReady.
StreamedSoundPtr OpenStreamedSound(std::string* bytes, int voices);
bool StreamingReady();
// With the mixer open: hooks the mixing of streamed voices in; StopStreamMixing before the mixer closes.
void StartStreamMixing();
void StopStreamMixing();
// A loaded streamed sound joins the mix; RemoveStreamedSounds before any of them is freed.
void AddStreamedSound(StreamedSound* sound);
void RemoveStreamedSounds();
// Starts a voice from the beginning (false when its decoder cannot go back there), stops it.
bool StartStreamVoice(StreamedSound* sound, int voice, bool loop);
void StopStreamVoice(StreamedSound* sound, int voice);
bool StreamVoicePlaying(StreamedSound* sound, int voice);
void SetStreamGain(StreamedSound* sound, float gain);
int64_t StreamedFrames(const StreamedSound* sound);
// Adds every playing voice to length bytes of device-format samples (with the voices' lock held).
void MixStreamedSounds(Uint8* stream, int length);

// ---- input.cpp
// The keys down now count as up until they are released (after a file chooser closed).
// Every key counts as up until the keyboard reports it again (after another program had the keyboard).
void ForgetKeyStates();
void HoldKeysUntilReleased();
// Game controllers, opened as they are plugged in.
void HandleControllerEvent(const SDL_Event& event);
void CloseControllers();

// ---- textinput.cpp: keyboard and text events for the active text-input line
void HandleTextInputEvent(const SDL_Event& event);
// Forgets every text-input line (EndMedia).
void CloseTextInputs();
// Height of a font's glyph cell in pixels, 0 for an invalid font (font.cpp).
int FontCellHeight(FontHandle font);

// ---- font.cpp / sound.cpp: opened by InitMedia, closed by EndMedia
void CloseFonts();
bool OpenAudio();
void CloseAudio();

// ---- child_task.cpp: what a forked child must forget of its parent's devices (sound.cpp, window.cpp)
void ForgetAudioInChild();
void ForgetWindowInChild();

}  // namespace media
