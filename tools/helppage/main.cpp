// pelvoro-helppage OUT.html PARTS.png: writes the stage editor's help page (opened with F1) from the part
// catalogue: the editor's keys, then every part with its editor icon, number and help lines. The icon sheet is
// embedded, so the page is one file that works offline.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "media/media.h"
#include "stage/catalogue.h"

namespace {

const char* const KeyLines[][2] = {
    {"左クリック / 右クリック", "パレットでパーツを選択し、マップに置く。押したまま動かすと続けて置く。両方押すと右のパーツ。"},
    {"上下左右キー", "マップスクロール"},
    {"Zキー / Xキー", "前 / 後のステージを編集 (1～30)"},
    {"F5～F8キー", "看板1～4のメッセージ変更 (4行、1行22文字まで)"},
    {"F9キー", "ステージの難易度設定 (1～10)"},
    {"F3キー", "ステージファイルロード"},
    {"F4キー", "ステージファイルセーブ"},
    {"F1キー", "ヘルプ (このページ)"},
    {"F11キー", "ステージエディター終了"},
    {"Ctrl+Zキー", "元に戻す (塗り1回、ダイアログのOK1回、F3のロード1回ずつ。変わったステージに切り替わる)"},
    {"Ctrl+Yキー / Ctrl+Shift+Zキー", "やり直す"},
    {"F2キー", "このステージをすぐテストプレイ (R、Tab、ゲームオーバー、クリアは本番と同じ。Sキーか F2キーでエディターに戻る)"},
    {"Shift+F2キー", "マウスのあるマスからテストプレイ"},
    {"F10キー", "クリア確認: クリアできる操作を探す (もう一度押すと中止、最大60秒)"},
    {"Ctrl+F2キー", "クリア確認で見つかった操作をテストプレイで再生"},
    {"F12キー", "トラップの仕組みを表示 (スイッチとトゲ、トゲの動く道、セーブと再開地点)"},
};

std::string Base64(const std::string& bytes) {
  static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += Alphabet[(v >> shift) & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += Alphabet[(v >> 18) & 63];
    out += Alphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? Alphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

void WritePage(std::ostream& out, const std::string& sheet) {
  out << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<title>Pelvoro!! ステージエディター ヘルプ</title>\n<style>\n"
         "body{font-family:sans-serif;background:#333;color:#eee;margin:2em}\n"
         "table{border-collapse:collapse}td,th{border:1px solid #666;padding:4px 8px;text-align:left}\n"
         ".icon{display:inline-block;width:32px;height:32px;image-rendering:pixelated;"
         "background-image:url(data:image/png;base64,"
      << sheet << ")}\n</style>\n</head>\n<body>\n<h1>Pelvoro!! ステージエディター</h1>\n<h2>操作</h2>\n<table>\n";
  for (const auto& line : KeyLines) out << "<tr><th>" << line[0] << "</th><td>" << line[1] << "</td></tr>\n";
  out << "</table>\n<h2>マップパーツ</h2>\n<table>\n<tr><th>アイコン</th><th>番号</th><th>説明</th></tr>\n";
  for (int id = 0; id < 256; ++id) {
    out << "<tr id=\"part" << id << "\"><td><span class=\"icon\" style=\"background-position:-" << PartIconX(id)
        << "px -" << PartIconY(id) << "px\"></span></td><td>" << id << "</td><td>";
    for (int line = 0; line < PartHelpLineCount(id); ++line) {
      if (line > 0) out << "<br>";
      out << Escaped(Utf16ToUtf8(PartHelpLine(id, line)));
    }
    out << "</td></tr>\n";
  }
  out << "</table>\n</body>\n</html>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pelvoro-helppage OUT.html PARTS.png\n");
    return 2;
  }
  std::ifstream png(argv[2], std::ios::binary);
  std::stringstream bytes;
  bytes << png.rdbuf();
  if (!png || bytes.str().empty()) {
    std::fprintf(stderr, "pelvoro-helppage: cannot read %s\n", argv[2]);
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  WritePage(out, Base64(bytes.str()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "pelvoro-helppage: cannot write %s\n", argv[1]);
    return 2;
  }
  return 0;
}
