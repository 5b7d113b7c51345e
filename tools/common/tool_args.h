// The command line of the pelvoro-* tools: options may stand anywhere, before or after the other arguments,
// as users of such tools expect; "--" ends the options, so that a file named "--x" can still be given.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

struct ToolArgs {
  std::map<std::string, std::string> Values;  // options that take a value, by name ("--key")
  std::set<std::string> Flags;                // options without a value that were given
  std::vector<std::string> Positional;        // everything else, in order
  bool Help = false;                          // --help was given
  std::string Error;                          // set when the line cannot be used; the rest is then incomplete

  bool Has(const std::string& option) const { return Values.count(option) || Flags.count(option); }
  const char* Value(const std::string& option) const {
    auto it = Values.find(option);
    return it == Values.end() ? nullptr : it->second.c_str();
  }
};

// Splits argv by the tool's two lists of options. An option given twice keeps its last value.
inline ToolArgs ParseToolArgs(int argc, char** argv, const std::set<std::string>& valued,
                              const std::set<std::string>& flags) {
  ToolArgs args;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      args.Positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help") {
      args.Help = true;
    } else if (flags.count(arg)) {
      args.Flags.insert(arg);
    } else if (valued.count(arg)) {
      if (i + 1 >= argc) {
        args.Error = arg + " needs a value";
        return args;
      }
      args.Values[arg] = argv[++i];
    } else {
      args.Error = "unknown option " + arg;
      return args;
    }
  }
  return args;
}

// The answer to a mistake: what was wrong and the short usage on stderr, exit status 2.
inline int ToolUsageError(const char* tool, const std::string& problem, const char* usage) {
  if (!problem.empty()) std::fprintf(stderr, "%s: %s\n", tool, problem.c_str());
  std::fputs(usage, stderr);
  return 2;
}

// A whole number in low..high written as the whole text (no trailing characters; too long a number is out of
// range, since strtoll saturates).
inline bool ParseToolNumber(const char* text, long long low, long long high, long long* value) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || v < low || v > high) return false;
  *value = v;
  return true;
}

// A plain file that can be opened for reading: a folder or a device is no stage, replay or source.
inline bool ReadablePlainFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return std::ifstream(path, std::ios::binary).good();
}
