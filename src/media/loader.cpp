// The loading thread: decodes pictures and sounds queued while asynchronous loading is on, one at a time,
// in the order they were issued.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "media/internal.h"

namespace {

struct LoadQueue {
  std::mutex lock;
  std::condition_variable wake;  // work queued, or stopping
  std::condition_variable done;  // a load finished
  std::deque<std::function<void()>> work;
  int pending = 0;  // queued or running
  bool stopping = false;
  std::thread thread;

  void Run() {
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
      wake.wait(hold, [this] { return stopping || !work.empty(); });
      if (work.empty()) return;
      std::function<void()> next = std::move(work.front());
      work.pop_front();
      hold.unlock();
      next();
      hold.lock();
      pending -= 1;
      done.notify_all();
    }
  }

  ~LoadQueue() {
    {
      std::lock_guard<std::mutex> hold(lock);
      stopping = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
  }
};

LoadQueue& Queue() {
  static LoadQueue queue;
  return queue;
}

}  // namespace

namespace media {

void QueueLoad(std::function<void()> work) {
  LoadQueue& queue = Queue();
  std::lock_guard<std::mutex> hold(queue.lock);
  if (!queue.thread.joinable()) queue.thread = std::thread([&queue] { queue.Run(); });
  queue.work.push_back(std::move(work));
  queue.pending += 1;
  queue.wake.notify_one();
}

int PendingLoads() {
  LoadQueue& queue = Queue();
  std::lock_guard<std::mutex> hold(queue.lock);
  return queue.pending;
}

void WaitForLoad(const std::atomic<int>& state) {
  LoadQueue& queue = Queue();
  std::unique_lock<std::mutex> hold(queue.lock);
  queue.done.wait(hold, [&state] { return state.load() != 1; });
}

void NotifyLoadDone() {
  LoadQueue& queue = Queue();
  std::lock_guard<std::mutex> hold(queue.lock);
  queue.done.notify_all();
}

void DrainLoads() {
  LoadQueue& queue = Queue();
  std::unique_lock<std::mutex> hold(queue.lock);
  queue.done.wait(hold, [&queue] { return queue.pending == 0; });
}

}  // namespace media
