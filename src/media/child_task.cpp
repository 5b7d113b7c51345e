// Work in a forked child. A fork copies every global of the game at once, so the child can run the play
// routines on its copy while the main thread keeps its own: nothing is shared, nothing needs a lock. Only
// the thread that forks lives on in the child, so the child must not touch what other threads may hold (the
// mixer, the display connection, the loading queue): it forgets the window and the sound before the work, and
// leaves with _exit so that no exit handler of the parent's libraries runs.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "media/internal.h"

namespace {

pid_t ChildPid = -1;
int ReadFd = -1;   // parent's end
int WriteFd = -1;  // child's end, valid only in the child

void Reap() {
  if (ChildPid > 0) {
    int status = 0;
    while (waitpid(ChildPid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  ChildPid = -1;
  if (ReadFd >= 0) close(ReadFd);
  ReadFd = -1;
}

}  // namespace

bool StartChildTask(const std::function<void()>& work) {
  if (ChildPid > 0) return false;
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    // The child ends with its parent, however the parent ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(0);
    close(fds[0]);
    WriteFd = fds[1];
    media::ForgetAudioInChild();
    media::ForgetWindowInChild();
    SetDrawingEnabled(0);
    work();
    _exit(0);
  }
  close(fds[1]);
  fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  ChildPid = pid;
  ReadFd = fds[0];
  return true;
}

bool ReadChildTask(std::string* received) {
  if (ReadFd < 0) return false;
  char buffer[4096];
  for (;;) {
    ssize_t n = read(ReadFd, buffer, sizeof buffer);
    if (n > 0) {
      received->append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    Reap();  // end of the pipe: the child has finished
    return false;
  }
}

void CancelChildTask() {
  if (ChildPid > 0) kill(ChildPid, SIGKILL);
  Reap();
}

bool ChildTaskRunning() { return ChildPid > 0; }

void WriteChildReport(const std::string& text) {
  if (WriteFd < 0) return;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(WriteFd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) _exit(0);  // the parent is gone or stopped listening
    done += static_cast<size_t>(n);
  }
}
