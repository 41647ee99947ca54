// Bound settings: value encodings, failure messages and the passes.
#include <gtest/gtest.h>

#include "settings/binding_list.h"
#include "settings/colors.h"
#include "settings/font_mang.h"
#include "settings/ini_file.h"
#include "settings/ini_header.h"
#include "tests/settings/temp_folder.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/messages.h"

namespace tavrin {
namespace {

using cp932::Sjis;

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EError& e) {
    return e.what();
  }
  return "(no failure)";
}

// One settings file with some text and a pass over it.
class BindingTest : public ::testing::Test {
 protected:
  void SetFile(const std::string& text) { dir_.Write("t.ini", text); }
  std::string FileText() const { return dir_.Read("t.ini"); }
  std::string Path() const { return dir_.File("t.ini"); }
  void Read() { list_.ReadAll(Path()); }
  void Write() { list_.WriteAll(Path()); }
  template <class T, class... Args>
  void Bind(Args&&... args) {
    list_.Add(std::make_unique<T>(std::forward<Args>(args)...));
  }

  TempFolder dir_;
  TBindingList list_;
};

TEST_F(BindingTest, IntegerForms) {
  struct Row {
    const char* text;
    std::int32_t expected;
  } rows[] = {
      {"0x1F", 31},
      {"0X1f", 31},
      {"$1F", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"-12", -12},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      // the default (-5):
      {"abc", -5},
      {"", -5},
      {"2147483648", -5},
      {"0x", -5},
      {"1 2", -5},
      {"12abc", -5},
  };
  for (const Row& row : rows) {
    SetFile(std::string("[S]\r\nk=") + row.text + "\r\n");
    std::int32_t v = 99;
    TBindingList list;
    list.Add(std::make_unique<TVarMangInteger>(v, "S", "k", -5));
    list.ReadAll(Path());
    EXPECT_EQ(v, row.expected) << row.text;
  }
}

TEST_F(BindingTest, BooleanForms) {
  struct Row {
    const char* line;
    bool def, expected;
  } rows[] = {
      {"k=1", false, true},    {"k=2", false, true},    {"k=-1", false, true},
      {"k=$10", false, true},  {"k=0", true, false},    {"k=", true, true},
      {"k=", false, false},    {"other=0", true, true}, {"k=yes", true, true},
      {"k=yes", false, false},
  };
  for (const Row& row : rows) {
    SetFile(std::string("[S]\r\n") + row.line + "\r\n");
    bool v = !row.expected;
    TBindingList list;
    list.Add(std::make_unique<TVarMangBoolean>(v, "S", "k", row.def));
    list.ReadAll(Path());
    EXPECT_EQ(v, row.expected) << row.line << " default " << row.def;
  }
}

TEST_F(BindingTest, RoundTripOfEveryKind) {
  std::int32_t i = INT32_MIN;
  bool b = true, c = false;
  FontValue font{Sjis("ＭＳ ゴシック"), 11, RGBColor(1, 2, 3), kFontBold | kFontStrikeOut};
  Bind<TVarMangInteger>(i, "User", "I", 0);
  Bind<TVarMangBoolean>(b, "User", "B", false);
  Bind<TVarMangBoolean>(c, "User", "C", true);
  Bind<TObjectMangFont>(font, "User", "f", font);
  Write();
  EXPECT_EQ(FileText(), "[User]\r\nI=-2147483648\r\nB=1\r\nC=0\r\nfSize=11\r\nfName=" +
                            Sjis("ＭＳ ゴシック") + "\r\nfColor=$00030201\r\nfStyle=9\r\n");
  const FontValue saved = font;
  i = 0, b = false, c = true, font = FontValue{"x", 8, clNone, 0};
  Read();
  EXPECT_EQ(i, INT32_MIN);
  EXPECT_TRUE(b);
  EXPECT_FALSE(c);
  EXPECT_EQ(font, saved);
}

TEST_F(BindingTest, NamesAreStoredTrimmed) {
  std::int32_t v = 0;
  TVarMangInteger binding(v, " \tUser\r\n", "  FSetLvColumn0 ", 0);
  EXPECT_EQ(binding.Section(), "User");
  EXPECT_EQ(binding.Key(), "FSetLvColumn0");
  v = 3;
  Bind<TVarMangInteger>(v, " User ", " Key ", 0);
  Write();
  EXPECT_EQ(FileText(), "[User]\r\nKey=3\r\n");
}

TEST_F(BindingTest, FailureMessages) {
  std::int32_t v = 0;
  bool b = false;
  FontValue f;
  EXPECT_EQ(Message([&] { TVarMangInteger(v, "S", " \t", 0); }),
            Sjis("TCustomVarMang.SetKey に無効なキー名称が渡されました"));
  EXPECT_EQ(Message([&] { TVarMangBoolean(b, "", "k", false); }),
            Sjis("TCustomVarMang.SetSection に無効なセクション名称が渡されました"));
  // Both empty: the section is checked first.
  EXPECT_EQ(Message([&] { TObjectMangFont(f, " ", "", f); }),
            Sjis("TCustomVarMang.SetSection に無効なセクション名称が渡されました"));

  TVarMangInteger outside(v, "S", "k", 0);
  EXPECT_EQ(
      Message([&] { outside.ReadValue(); }),
      Sjis(
          "TCustomVarMang.ReadValue TIniFile が nil にもかかわらず\r読み込み要求が発行されました"));
  EXPECT_EQ(Message([&] { outside.WriteValue(); }),
            Sjis("TCustomVarMang.WriteValue TIniFile が nil "
                 "にもかかわらず\r書き込み要求が発行されました"));
}

TEST_F(BindingTest, ThereIsNoCurrentFileAfterAPass) {
  std::int32_t v = 0;
  Bind<TVarMangInteger>(v, "S", "k", 0);
  Read();
  TVarMangInteger later(v, "S", "k", 0);
  EXPECT_THROW(later.ReadValue(), EError);
}

TEST(Colors, NamesAndWrittenForms) {
  EXPECT_EQ(ColorFromText("CLRED"), RGBColor(255, 0, 0));
  EXPECT_EQ(ColorFromText("clred"), RGBColor(255, 0, 0));
  EXPECT_EQ(ColorFromText("$000000FF"), RGBColor(255, 0, 0));
  EXPECT_EQ(ColorFromText("255"), RGBColor(255, 0, 0));
  EXPECT_EQ(ColorFromText("0xFF"), RGBColor(255, 0, 0));
  EXPECT_EQ(ColorToText(RGBColor(255, 0, 0)), "clRed");
  EXPECT_EQ(ColorToText(RGBColor(1, 2, 3)), "$00030201");
  EXPECT_EQ(ColorToText(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToText(0x80000008), "clWindowText");
  EXPECT_EQ(ColorToText(0x80000018), "clInfoBk");
  EXPECT_EQ(ColorToText(0x1FFFFFFF), "clNone");
  EXPECT_EQ(ColorFromText("cl3ddkshadow"), 0x80000015u);
  EXPECT_EQ(ColorToText(0x00C0C0C0), "clSilver");
  EXPECT_EQ(ColorToText(0x00800000), "clNavy");
}

// Every written form must read back, including unnamed values with the top
// bit set (a system colour past the table, or -1).
TEST(Colors, EveryWrittenFormReadsBack) {
  for (TColor c : {0x80000019u, 0xFFFFFFFFu, 0x80000000u, 0x00ABCDEFu, 0x7FFFFFFFu, 0x1FFFFFFEu})
    EXPECT_EQ(ColorFromText(ColorToText(c)), c) << ColorToText(c);
  EXPECT_EQ(ColorFromText("-1"), 0xFFFFFFFFu);
}

TEST(Colors, OtherTextFailsWithTheIntegerMessage) {
  EXPECT_EQ(Message([] { ColorFromText("clNoSuch"); }),
            "'clNoSuch'" + Sjis(" は整数ではありません"));
  EXPECT_THROW(ColorFromText("$1FFFFFFFF"), EError);
  EXPECT_THROW(ColorFromText(""), EError);
}

TEST_F(BindingTest, FontStyleAndDefaults) {
  const FontValue def{"Meiryo UI", 14, clWindowText, 0};
  FontValue f = def;
  Bind<TObjectMangFont>(f, "User", "lvResult", f);

  SetFile("[User]\r\nlvResultStyle=257\r\n");
  Read();
  EXPECT_EQ(f, (FontValue{"Meiryo UI", 14, clWindowText, kFontBold}));

  SetFile(
      "[User]\r\nlvResultStyle=0\r\nlvResultColor=CLRED\r\nlvResultSize=abc\r\nlvResultName=Noto "
      "Sans\r\n");
  Read();
  EXPECT_EQ(f, (FontValue{"Noto Sans", 14, RGBColor(255, 0, 0), 0}));
  Write();
  EXPECT_NE(FileText().find("lvResultColor=clRed\r\n"), std::string::npos);

  // Sizes no font can have are taken as missing; others are kept to the
  // font dialog's range.
  const std::pair<const char*, int> kSizes[] = {{"0", 14},   {"-19", 14},   {"1", 8},
                                                {"8", 8},    {"72", 72},    {"73", 72},
                                                {"612", 72}, {"100000", 72}};
  for (const auto& [size, want] : kSizes) {
    SetFile(std::string("[User]\r\nlvResultSize=") + size + "\r\n");
    Read();
    EXPECT_EQ(f.size, want) << size;
  }
}

// A size chosen beyond the range is kept to it, and the user told once.
TEST(FontSizeTest, ChosenSizeIsKeptToTheRangeAndTold) {
  std::vector<std::string> told;
  const MessageHandler previous = SetMessageHandler([&](MessageKind kind, const std::string& text) {
    EXPECT_EQ(kind, MessageKind::Information);
    told.push_back(cp932::ToUtf8(text));
    return true;
  });
  EXPECT_EQ(KeepChosenFontSize(14), 14);
  EXPECT_EQ(KeepChosenFontSize(72), 72);
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(KeepChosenFontSize(612), 72);
  EXPECT_EQ(KeepChosenFontSize(2), 8);
  SetMessageHandler(previous);
  EXPECT_EQ(told, (std::vector<std::string>{"フォントのサイズは 8 から 72 ポイントまでです\r612 "
                                            "ポイントの代わりに 72 ポイントにしました",
                                            "フォントのサイズは 8 から 72 ポイントまでです\r2 "
                                            "ポイントの代わりに 8 ポイントにしました"}));
}

TEST_F(BindingTest, BadFontColourCountsAsMissing) {
  FontValue f{"Meiryo UI", 14, clWindowText, 0};
  std::int32_t after = 1;
  Bind<TObjectMangFont>(f, "User", "lvResult", f);
  Bind<TVarMangInteger>(after, "User", "After", 1);
  SetFile("[User]\r\nlvResultSize=30\r\nlvResultColor=Reddish\r\nAfter=5\r\n");
  Read();
  EXPECT_EQ(f, (FontValue{"Meiryo UI", 30, clWindowText, 0}));
  EXPECT_EQ(after, 5) << "the bindings after it are read";
  Write();
  EXPECT_NE(FileText().find("lvResultColor=clWindowText\r\n"), std::string::npos);
}

TEST_F(BindingTest, SectionFilterIsExactBytes) {
  std::int32_t a = 0, b = 0, c = 0;
  Bind<TVarMangInteger>(a, "User", "k", 0);
  Bind<TVarMangInteger>(b, "Form", "k", 0);
  Bind<TVarMangInteger>(c, "form", "k", 0);
  SetFile("[User]\r\nk=1\r\n[Form]\r\nk=2\r\n");
  list_.ReadAll(Path(), "Form");
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 0);
}

TEST_F(BindingTest, FailedWriteKeepsValuesWrittenBefore) {
  std::int32_t a = 1, b = 2;
  Bind<TVarMangInteger>(a, "S", "a", 0);
  Bind<TVarMangInteger>(b, "S", "b", 0);
  dir_.Write("plain", "");
  const std::string path = dir_.File("plain") + "/x.ini";
  EXPECT_EQ(Message([&] { list_.WriteAll(path); }), path + Sjis(" に書き込めません"));
}

// The file a first run leaves when nothing was changed, with the bindings in
// the order the main window and the geometry restore register them.
TEST_F(BindingTest, FirstRunFileMatchesLineForLine) {
  CreateIniFileWithHeader(Path(), kApplicationTitle);
  std::int32_t col0 = 480, col1 = 65, left = 0, top = 0, width = 653, height = 385;
  bool sound = true, hint = true, trim = false, quote = false, sort = true, copyCount = true,
       zenkaku = true, upper = true, hyphenTerminate = true, hyphen = true, maximized = false;
  FontValue font{"Meiryo UI", 14, clWindowText, 0};
  Bind<TVarMangInteger>(col0, "User", "FSetLvColumn0", 480);
  Bind<TVarMangInteger>(col1, "User", "FSetLvColumn1", 65);
  for (auto [var, key, def] : {std::tuple{&sound, "FSound", true},
                               {&hint, "FHint", true},
                               {&trim, "FTrim", false},
                               {&quote, "FExprsQuote", false},
                               {&sort, "FExtractSort", true},
                               {&copyCount, "FCopyCount", true},
                               {&zenkaku, "FZenkaku", true},
                               {&upper, "FUpper", true},
                               {&hyphenTerminate, "FHyphenTerminate", true},
                               {&hyphen, "FHyphen", true}})
    Bind<TVarMangBoolean>(*var, "User", key, def);
  Bind<TObjectMangFont>(font, "User", "lvResult", font);
  Read();
  Bind<TVarMangInteger>(left, "Form", "Left", 0);
  Bind<TVarMangInteger>(top, "Form", "Top", 0);
  Bind<TVarMangInteger>(width, "Form", "Width", 653);
  Bind<TVarMangInteger>(height, "Form", "Height", 385);
  Bind<TVarMangBoolean>(maximized, "Form", "Maximized", false);
  list_.ReadAll(Path(), "Form");
  Write();

  const std::string text = FileText();
  const std::size_t body = text.find("\r\n[", text.find("\r\n") + 2) + 2;
  EXPECT_EQ(text.substr(0, body),
            IniHeaderText(kApplicationTitle, 0).replace(41, 19, text.substr(41, 19)));
  EXPECT_EQ(
      text.substr(body),
      "[User]\r\nFSetLvColumn0=480\r\nFSetLvColumn1=65\r\nFSound=1\r\nFHint=1\r\nFTrim=0\r\n"
      "FExprsQuote=0\r\nFExtractSort=1\r\nFCopyCount=1\r\nFZenkaku=1\r\nFUpper=1\r\n"
      "FHyphenTerminate=1\r\nFHyphen=1\r\nlvResultSize=14\r\nlvResultName=Meiryo UI\r\n"
      "lvResultColor=clWindowText\r\nlvResultStyle=0\r\n[Form]\r\nLeft=0\r\nTop=0\r\nWidth=653\r\n"
      "Height=385\r\nMaximized=0\r\n");
}

}  // namespace
}  // namespace tavrin
