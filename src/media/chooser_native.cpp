// The desktop's own file chooser, zenity or kdialog, run as a child process. The arguments go straight to the
// program (no shell), and while it is open the game's window keeps answering and shows its last frame.
#include <SDL2/SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "media/chooser.h"
#include "media/internal.h"

extern char** environ;

namespace media {

const char ChooserOpenTitle[] = "Pelvoro!! ステージデータファイルを開く";
const char ChooserSaveTitle[] = "Pelvoro!! ステージデータファイルを保存";
const char ChooserFilterName[] = "Pelvoro!! ステージデータファイル(*.plvsd)";
const char ChooserFilterPattern[] = "*.plvsd";

std::vector<std::string> NativeChooserArguments(const std::string& program, int purpose, unsigned long parentWindow) {
  const bool save = purpose == ChooseSaveStageSet;
  const std::string title = save ? ChooserSaveTitle : ChooserOpenTitle;
  std::vector<std::string> args = {program};
  if (program == "kdialog") {
    // kdialog --title T --getopenfilename START FILTER; an empty start folder leaves the choice to KDE, and
    // its save dialog asks before overwriting by itself.
    args.push_back("--title");
    args.push_back(title);
    if (parentWindow != 0) {
      args.push_back("--attach");
      args.push_back(std::to_string(parentWindow));
    }
    args.push_back(save ? "--getsavefilename" : "--getopenfilename");
    args.push_back("");
    args.push_back(std::string(ChooserFilterPattern) + "|" + ChooserFilterName);
    return args;
  }
  // zenity: the open dialog only accepts existing files; the save dialog asks before overwriting.
  args.push_back("--file-selection");
  args.push_back("--title=" + title);
  args.push_back(std::string("--file-filter=") + ChooserFilterName + " | " + ChooserFilterPattern);
  if (save) {
    args.push_back("--save");
    args.push_back("--confirm-overwrite");
  }
  if (parentWindow != 0) {
    args.push_back("--modal");
    args.push_back("--attach=" + std::to_string(parentWindow));
  }
  return args;
}

namespace {

// Reads what is there without waiting; false once the pipe is closed.
bool Drain(int fd, std::string* into) {
  char buffer[4096];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      // A path is short; anything beyond a generous limit is noise that need not be kept.
      if (into->size() < 65536) into->append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

// The window goes on answering the desktop and shows its last frame again. True when it was closed.
bool KeepWindowAlive() {
  bool closed = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
      closed = true;
  }
  PresentLastFrame();
  return closed;
}

}  // namespace

ChooserOutcome RunNativeChooser(const std::string& program, int purpose, std::string* path) {
  const std::vector<std::string> args = NativeChooserArguments(program, purpose, NativeWindowId());
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) return ChooserUnavailable;
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(out[0]);
    close(out[1]);
    return ChooserUnavailable;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
    close(out[0]);
    close(err[0]);
    return ChooserUnavailable;
  }
  fcntl(out[0], F_SETFL, O_NONBLOCK);
  fcntl(err[0], F_SETFL, O_NONBLOCK);

  std::string chosen, complaints;
  int status = 0;
  bool closed = false;
  for (;;) {
    Drain(out[0], &chosen);
    Drain(err[0], &complaints);
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) {
      status = -1;
      break;
    }
    // Closing the game's window closes its chooser too; the game then ends as usual.
    if (KeepWindowAlive() && !closed) {
      closed = true;
      kill(pid, SIGTERM);
    }
    SDL_Delay(16);
  }
  Drain(out[0], &chosen);
  Drain(err[0], &complaints);
  close(out[0]);
  close(err[0]);
  ReturnFromChooser();
  if (closed) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return ChooserCancelled;
  }

  const int code = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  // zenity answers 1 both for Cancel and for a dialog it could not show; only the latter leaves a complaint
  // about the display. Any other failure code means no dialog was shown either.
  if (code != 0) {
    const bool noDialog = code != 1 || complaints.find("cannot open display") != std::string::npos;
    if (noDialog) std::fprintf(stderr, "%s: no file chooser (exit %d)\n", program.c_str(), code);
    return noDialog ? ChooserUnavailable : ChooserCancelled;
  }
  // One path and a newline.
  if (!chosen.empty() && chosen.back() == '\n') chosen.pop_back();
  if (chosen.empty()) return ChooserCancelled;
  *path = chosen;
  return ChooserChosen;
}

}  // namespace media
