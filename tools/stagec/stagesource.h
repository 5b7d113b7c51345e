// The readable source form of a built-in stage and its compiler to the FMF map and the stage text file.
//
// A stage source is UTF-8 text:
//
//   # comment
//   title: はじめの一歩
//   stars: 2
//   size: 40 15
//   legend:
//     a = trap 1SU          trap spike: group digit, S(low)/F(ast), L/R/U/D
//     A = trigger 1SU       its trigger cell
//     r = restart 1         restart point of save block 1 (save blocks are the digits 1..6)
//   map:
//     ........ (height rows of width characters)
//   sign 1:
//     four lines of Japanese, no spaces (a blank line becomes an ideographic space)
//
// The default legend below covers the common parts; a file's legend adds to it or overrides it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace stagec {

constexpr int MaxWidth = 200;
constexpr int MaxHeight = 45;
constexpr int MaxObjects = 2700;
constexpr int LineUnitLimit = 255;

struct StageSource {
  std::string Title;
  int Stars = 0;
  bool StarsGiven = false;
  int Width = 0, Height = 0;
  std::vector<uint8_t> Cells;           // row-major, Width x Height
  std::u16string Signs[4][4];           // lines of signboards 1..4
  bool SignWritten[4] = {};
  std::vector<std::string> Errors;      // each names the file line or the cell
};

inline uint8_t CellAt(const StageSource& s, int c, int r) { return s.Cells[r * s.Width + c]; }

inline std::string CellName(int c, int r) {
  return "cell (" + std::to_string(c) + ", " + std::to_string(r) + ")";
}

inline int DirectionIndex(char ch) {
  switch (ch) {
    case 'L': return 0;
    case 'R': return 1;
    case 'U': return 2;
    case 'D': return 3;
  }
  return -1;
}

inline int SpeedIndex(char ch) { return ch == 'S' ? 0 : ch == 'F' ? 1 : -1; }

inline std::string TrapCode(int id) {  // id 20..83 or 96..159: "1SL" and so on
  int k = (id >= 96 ? id - 96 : id - 20);
  std::string code;
  code += char('1' + k / 8);
  code += (k % 8 < 4) ? 'S' : 'F';
  code += "LRUD"[k % 4];
  return code;
}

// A count written in decimal digits only, small enough for an int (at most nine digits); no sign, no
// trailing text.
inline bool ParseCount(const std::string& text, int* value) {
  if (text.empty() || text.size() > 9) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  *value = std::stoi(text);
  return true;
}

// Turns "kind args" of a legend entry into a part id, or -1.
inline int ParsePart(const std::string& text) {
  std::istringstream in(text);
  std::string kind, arg;
  in >> kind >> arg;
  auto number = [&](int lo, int hi) -> int {
    int n = -1;
    return !ParseCount(arg, &n) || n < lo || n > hi ? -1 : n;
  };
  if (kind == "empty") return 0;
  if (kind == "start") return 1;
  if (kind == "goal") return 2;
  if (kind == "block") return 3;
  if (kind == "breakable") return 188;
  if (kind == "bouncer") return 189;
  if (kind == "invisible") return 190;
  if (kind == "ice") return 191;
  if (kind == "spike") {
    int d = arg.size() == 1 ? DirectionIndex(arg[0]) : -1;
    return d < 0 ? -1 : 16 + d;
  }
  if (kind == "trap" || kind == "trigger") {
    if (arg.size() != 3 || arg[0] < '1' || arg[0] > '8') return -1;
    int s = SpeedIndex(arg[1]), d = DirectionIndex(arg[2]);
    if (s < 0 || d < 0) return -1;
    int trap = 20 + 8 * (arg[0] - '1') + 4 * s + d;
    return kind == "trap" ? trap : trap + 76;
  }
  if (kind == "rove" || kind == "turner") {
    if (arg.size() != 2) return -1;
    int s = SpeedIndex(arg[0]), d = DirectionIndex(arg[1]);
    if (s < 0 || d < 0) return -1;
    return (kind == "rove" ? 160 : 168) + 4 * s + d;
  }
  if (kind == "save") { int n = number(1, 6); return n < 0 ? -1 : 2 * n + 2; }
  if (kind == "restart") { int n = number(1, 6); return n < 0 ? -1 : 83 + n; }
  if (kind == "lock") { int n = number(1, 3); return n < 0 ? -1 : 89 + n; }
  if (kind == "key") { int n = number(1, 3); return n < 0 ? -1 : 92 + n; }
  if (kind == "sign") { int n = number(1, 4); return n < 0 ? -1 : 175 + n; }
  if (kind == "balloonblock" || kind == "balloon") {
    static const int seconds[4] = {6, 12, 24, 36};
    for (int i = 0; i < 4; i++)
      if (arg == std::to_string(seconds[i])) return (kind == "balloonblock" ? 180 : 184) + i;
    return -1;
  }
  if (kind == "id") return number(0, 255);
  return -1;
}

inline std::map<char, int> DefaultLegend() {
  return {
      {'.', 0},   {'S', 1},   {'G', 2},   {'#', 3},   {'<', 16},  {'>', 17},  {'^', 18},  {'v', 19},
      {'1', 4},   {'2', 6},   {'3', 8},   {'4', 10},  {'5', 12},  {'6', 14},  {'B', 188}, {'O', 189},
      {'I', 190}, {'=', 191},
  };
}

inline bool Utf8ToUtf16(const std::string& in, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < in.size();) {
    unsigned char b = in[i];
    uint32_t cp;
    int extra;
    if (b < 0x80) { cp = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
    else return false;
    for (int k = 1; k <= extra; k++) {
      if (i + k >= in.size() || (static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (in[i + k] & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += char16_t(cp);
    }
  }
  return true;
}

inline std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Reads the source text; syntax errors go to Errors with their line numbers. A map larger than maxWidth x
// maxHeight is refused naming its size (a stage of a set is at most 60 x 45).
inline StageSource ParseStage(const std::string& text, int maxWidth = MaxWidth, int maxHeight = MaxHeight) {
  StageSource s;
  std::map<char, int> legend = DefaultLegend();
  std::vector<std::string> rows;
  std::vector<int> rowLines;
  enum { Header, Legend, Map, Sign } section = Header;
  int sign = -1, signLine = 0;
  int declaredW = -1, declaredH = -1;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  auto error = [&](const std::string& what) { s.Errors.push_back("line " + std::to_string(lineNo) + ": " + what); };
  while (std::getline(in, raw)) {
    lineNo++;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = Trim(raw);
    if (section == Sign) {
      if (line.rfind("sign ", 0) == 0 && line.back() == ':') {
        // falls through to the section switch below
      } else if (line.rfind("#", 0) == 0) {
        continue;
      } else {
        if (signLine >= 4) {
          if (!line.empty()) error("a signboard has four lines");
          continue;
        }
        std::u16string units;
        if (!Utf8ToUtf16(line, units)) { error("not UTF-8"); continue; }
        if (units.empty()) units.push_back(u'\u3000');  // an empty field cannot be read back
        if (line.find(' ') != std::string::npos || line.find('\t') != std::string::npos)
          error("signboard lines may not hold spaces (use the ideographic space)");
        if (units.size() > LineUnitLimit) error("signboard line longer than 255 units");
        s.Signs[sign][signLine++] = units;
        continue;
      }
    }
    // Comments and blank lines; inside the map a '#' is a block, so only blank lines are skipped there.
    if (line.empty() || (line[0] == '#' && section != Map)) continue;
    if (line == "legend:") { section = Legend; continue; }
    if (line == "map:") { section = Map; continue; }
    if (line.rfind("sign ", 0) == 0 && line.back() == ':') {
      std::string n = Trim(line.substr(5, line.size() - 6));
      if (n.size() != 1 || n[0] < '1' || n[0] > '4') { error("signboards are numbered 1 to 4"); section = Header; continue; }
      sign = n[0] - '1';
      if (s.SignWritten[sign]) error("signboard " + n + " written twice");
      s.SignWritten[sign] = true;
      signLine = 0;
      section = Sign;
      continue;
    }
    if (section == Map) {
      rows.push_back(line);
      rowLines.push_back(lineNo);
      continue;
    }
    if (section == Legend) {
      size_t eq = line.find('=');
      std::string key = Trim(line.substr(0, eq == std::string::npos ? 0 : eq));
      if (eq == std::string::npos || key.size() != 1) { error("legend entries are 'X = part'"); continue; }
      int id = ParsePart(Trim(line.substr(eq + 1)));
      if (id < 0) { error("unknown part '" + Trim(line.substr(eq + 1)) + "'"); continue; }
      legend[key[0]] = id;
      continue;
    }
    size_t colon = line.find(':');
    if (colon == std::string::npos) { error("expected 'name: value'"); continue; }
    std::string name = Trim(line.substr(0, colon)), value = Trim(line.substr(colon + 1));
    if (name == "title") s.Title = value;
    else if (name == "stars") {
      if (!ParseCount(value, &s.Stars)) error("stars is a whole number of 0 or more, not '" + value + "'");
      s.StarsGiven = true;
    } else if (name == "size") {
      std::istringstream fields(value);
      std::string w, h, extra;
      fields >> w >> h;
      if (fields >> extra || !ParseCount(w, &declaredW) || !ParseCount(h, &declaredH)) {
        declaredW = declaredH = -1;
        error("size is 'WIDTH HEIGHT' in cells, not '" + value + "'");
      }
    } else if (name == "route" || name == "solver") {
      // hints for the proof search; not part of the stage
    } else error("unknown header '" + name + "'");
  }
  if (rows.empty()) { s.Errors.push_back("no map"); return s; }
  s.Width = static_cast<int>(rows[0].size());
  s.Height = static_cast<int>(rows.size());
  if (declaredW >= 0 && (declaredW != s.Width || declaredH != s.Height))
    s.Errors.push_back("size says " + std::to_string(declaredW) + " x " + std::to_string(declaredH) + " but the map is " +
                       std::to_string(s.Width) + " x " + std::to_string(s.Height));
  if (s.Width > maxWidth || s.Height > maxHeight)
    s.Errors.push_back("the map is " + std::to_string(s.Width) + " x " + std::to_string(s.Height) +
                       " cells; a stage is at most " + std::to_string(maxWidth) + " x " + std::to_string(maxHeight));
  s.Cells.assign(static_cast<size_t>(s.Width) * s.Height, 0);
  for (int r = 0; r < s.Height; r++) {
    lineNo = rowLines[r];
    if (static_cast<int>(rows[r].size()) != s.Width) {
      error("map row " + std::to_string(r) + " is " + std::to_string(rows[r].size()) + " cells wide, not " +
            std::to_string(s.Width));
      continue;
    }
    for (int c = 0; c < s.Width; c++) {
      auto it = legend.find(rows[r][c]);
      if (it == legend.end()) {
        error(CellName(c, r) + ": '" + std::string(1, rows[r][c]) + "' is not in the legend");
        continue;
      }
      s.Cells[r * s.Width + c] = static_cast<uint8_t>(it->second);
    }
  }
  return s;
}

// The checks that keep a stage playable; each error names the cell. A stage of a set may lack its start point
// or goal (the editor allows it, and the game refuses such a stage only when it is started), so requireStart
// false leaves those two out.
// A retry after a save must begin where the save was made: every restart point lies on the screen (20 x 15
// cells) of its save block, or each retry would open with a forced scroll and the girl frozen off screen.
inline void CheckRestartScreens(StageSource& s) {
  auto screenOf = [](int c, int r) { return std::to_string(c / 20) + "," + std::to_string(r / 15); };
  std::map<int, std::vector<std::pair<int, int>>> saves;  // save block n -> its cells
  for (int r = 0; r < s.Height; r++)
    for (int c = 0; c < s.Width; c++) {
      int p = CellAt(s, c, r);
      if (p >= 4 && p <= 15) saves[(p - 2) / 2].push_back({c, r});
    }
  for (int r = 0; r < s.Height; r++)
    for (int c = 0; c < s.Width; c++) {
      int p = CellAt(s, c, r);
      if (p < 84 || p > 89 || !saves.count(p - 83)) continue;
      for (auto [sc, sr] : saves[p - 83]) {
        if (screenOf(sc, sr) == screenOf(c, r)) continue;
        s.Errors.push_back(CellName(c, r) + ": restart point " + std::to_string(p - 83) +
                           " is not on the screen of its save block at " + CellName(sc, sr));
      }
    }
}

inline void CheckStage(StageSource& s, bool requireStart = true) {
  if (s.Cells.size() != static_cast<size_t>(s.Width) * s.Height || s.Width == 0) return;
  std::vector<std::string> starts;
  bool goal = false;
  int objects = 0;
  std::map<int, std::string> firstCell;  // first cell of each id
  for (int r = 0; r < s.Height; r++)
    for (int c = 0; c < s.Width; c++) {
      int p = CellAt(s, c, r);
      if (!firstCell.count(p)) firstCell[p] = CellName(c, r);
      if (p == 1) starts.push_back(CellName(c, r));
      if (p == 2) goal = true;
      if ((p >= 20 && p <= 83) || (p >= 160 && p <= 167) || p == 189) objects++;
      if (p >= 180 && p <= 183 && r == 0)
        s.Errors.push_back(CellName(c, r) + ": a balloon block in the top row has no room for its balloon");
    }
  if (starts.empty() && requireStart) s.Errors.push_back("no start point");
  if (starts.size() > 1) {
    std::string all;
    for (auto& n : starts) all += " " + n;
    s.Errors.push_back("more than one start point:" + all);
  }
  if (!goal && requireStart) s.Errors.push_back("no goal");
  if (objects > MaxObjects) s.Errors.push_back("more than 2700 moving spikes");
  for (auto& [p, cell] : firstCell) {
    if (p >= 96 && p <= 159 && !firstCell.count(p - 76))
      s.Errors.push_back(cell + ": trigger " + TrapCode(p) + " has no trap spike " + TrapCode(p));
    if (p >= 20 && p <= 83 && !firstCell.count(p + 76))
      s.Errors.push_back(cell + ": trap spike " + TrapCode(p) + " has no trigger");
    if (p >= 4 && p <= 15 && p % 2 == 0 && !firstCell.count(83 + (p - 2) / 2))
      s.Errors.push_back(cell + ": save block " + std::to_string((p - 2) / 2) + " has no restart point " +
                         std::to_string((p - 2) / 2));
    if (p >= 90 && p <= 92 && !firstCell.count(p + 3))
      s.Errors.push_back(cell + ": lock " + std::to_string(p - 89) + " has no key " + std::to_string(p - 89) +
                         " in the stage");
    if (p >= 176 && p <= 179 && !s.SignWritten[p - 176])
      s.Errors.push_back(cell + ": signboard " + std::to_string(p - 175) + " has no message");
    if (p >= 192) s.Errors.push_back(cell + ": reserved part id " + std::to_string(p));
  }
  CheckRestartScreens(s);
}

inline void PutInt(std::string& out, int32_t v) {
  for (int i = 0; i < 4; i++) out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

// One 8-bit layer, row-major cells after a 20-byte header.
inline std::string BuildFmf(const StageSource& s) {
  std::string out = "FMF_";
  PutInt(out, s.Width * s.Height);
  PutInt(out, s.Width);
  PutInt(out, s.Height);
  out += static_cast<char>(32);  // cell width
  out += static_cast<char>(32);  // cell height
  out += static_cast<char>(1);   // layers
  out += static_cast<char>(8);   // bits per cell
  out.append(reinterpret_cast<const char*>(s.Cells.data()), s.Cells.size());
  return out;
}

// UTF-16LE with a byte-order mark; sixteen fields, one per line. The formatted read cannot give an empty field,
// so an unused line holds an ideographic space.
inline std::string BuildText(const StageSource& s) {
  std::u16string all = u"\uFEFF";
  for (int sign = 0; sign < 4; sign++)
    for (int line = 0; line < 4; line++) {
      const std::u16string& t = s.Signs[sign][line];
      all += t.empty() ? std::u16string(u"\u3000") : t;
      if (sign != 3 || line != 3) all += u"\r\n";
    }
  std::string out;
  for (char16_t u : all) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  return out;
}

}  // namespace stagec
