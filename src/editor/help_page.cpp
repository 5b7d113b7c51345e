// F1: the editor's help page, an HTML file that the build writes beside the data archive from the part
// catalogue, opened in the user's browser.
#include <filesystem>
#include <string>

#include "editor/editor.h"
#include "media/media.h"

namespace {

constexpr char HelpPageName[] = "editor-help.html";

// A file: address; every byte outside the unreserved set is percent-encoded.
std::string FileUrl(const std::string& path) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                 c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += Hex[c >> 4];
      url += Hex[c & 15];
    }
  }
  return url;
}

}  // namespace

void OpenEditorHelp() {
  std::error_code error;
  std::filesystem::path page = std::filesystem::absolute(HelpPageName, error);
  if (error) return;
  OpenUrl(FileUrl(page.lexically_normal().string()).c_str());
}
