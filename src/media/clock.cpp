// Clocks, sleeping and the game's random numbers.
#include <SDL2/SDL.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "media/media.h"
#include "media/testing.h"

static ClockHooks Hooks;

void SetClockHooks(const ClockHooks& hooks) { Hooks = hooks; }

int NowMs() {
  if (Hooks.nowMs) return Hooks.nowMs();
  return static_cast<int>(SDL_GetTicks64() & 0x7FFFFFFF);
}

int64_t NowTicks() {
  if (Hooks.nowTicks) return Hooks.nowTicks();
  return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t MsToTicks(int ms) {
  if (Hooks.msToTicks) return Hooks.msToTicks(ms);
  return static_cast<int64_t>(ms) * static_cast<int64_t>(SDL_GetPerformanceFrequency()) / 1000;
}

void SleepMs(int ms) {
  if (Hooks.sleepMs) return Hooks.sleepMs(ms);
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

static std::mt19937 Generator;
static bool GeneratorSeeded = false;
static uint32_t (*RandomOverride)() = nullptr;

void SetRandomOverride(uint32_t (*source)()) { RandomOverride = source; }

void SeedRandom(uint32_t seed) {
  Generator.seed(seed);
  GeneratorSeeded = true;
}

// Seeded on first use: from PELVORO_SEED when set (reproducible runs), else from the millisecond clock.
uint32_t Random() {
  if (RandomOverride != nullptr) return RandomOverride();
  if (!GeneratorSeeded) {
    const char* env = std::getenv("PELVORO_SEED");
    if (env != nullptr && *env != '\0') SeedRandom(static_cast<uint32_t>(std::strtoul(env, nullptr, 10)));
    else SeedRandom(static_cast<uint32_t>(NowMs()));
  }
  return static_cast<uint32_t>(Generator());
}

void MarkStartupMoment(const char* moment) {
  static const bool Wanted = std::getenv("PELVORO_STARTUP_MARKS") != nullptr;
  static std::set<std::string> Marked;
  if (!Wanted || !Marked.insert(moment).second) return;
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::fprintf(stderr, "startup %s %lld\n", moment, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stderr);
}
