#include "engine/container.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

using cp932::Sjis;
namespace fs = std::filesystem;

class TLineItem : public TCustomContainerItem {
 public:
  explicit TLineItem(const std::string& line) : FLine(line) {}
  std::string GetLine() const override { return FLine; }
  bool Matches(const std::string& value) const override { return value == FLine; }
  std::string GetDbFileName() const override { return FPath; }
  std::string FLine, FPath;
};

class TLineContainer : public TCustomContainer {
 public:
  TLineContainer() : TCustomContainer(ItemClassOf<TLineItem>()) {}
  void ContainerHook() override { hookCount.push_back(Count()); }
  std::vector<int> hookCount;
  TLineItem* Line(int i) const { return static_cast<TLineItem*>(Items(i)); }
};

class ContainerTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageHandler([this](MessageKind kind, const std::string& text) {
      EXPECT_EQ(kind, MessageKind::Error);
      messages_.push_back(text);
      return true;
    });
    dir_ = fs::temp_directory_path() / ("tavrin_container_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    SetMessageHandler(previous_);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> messages_;
  MessageHandler previous_;
  fs::path dir_;
};

TEST_F(ContainerTest, AddItemClearAndMatches) {
  TLineContainer c;
  EXPECT_FALSE(c.AnyItemMatches("a"));
  c.AddItem(std::make_unique<TLineItem>("a"));
  EXPECT_TRUE(c.hookCount.empty());
  c.FCallHook = true;
  c.AddItem(std::make_unique<TLineItem>("b"));
  EXPECT_EQ(c.hookCount, std::vector<int>{2}) << "the hook runs after the item is in the list";
  EXPECT_TRUE(c.AnyItemMatches("b"));
  EXPECT_THROW(c.Items(2), std::out_of_range);
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
}

TEST_F(ContainerTest, DeleteReportsBadRequests) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  TLineItem outsider("x");
  c.Delete(&outsider);
  c.Delete(1);
  c.Delete(-1);
  EXPECT_EQ(c.Count(), 1);
  EXPECT_EQ(
      messages_,
      (std::vector<std::string>{
          Sjis("TCustomContainer.Delete error\r\r削除要求されたオブジェクトは見つかりませんでした"),
          Sjis("TCustomContainer.Delete error\r\r無効なインデックス(1)が渡されました"),
          Sjis("TCustomContainer.Delete error\r\r無効なインデックス(-1)が渡されました")}));
  c.Delete(0);
  EXPECT_EQ(c.Count(), 0);
}

TEST_F(ContainerTest, LoadTrimsSkipsAndWraps) {
  Write("a.txt", std::string("  one\r\n\t\r\ntwo\rthree\n\x82\xA0\0\n", 24));
  TLineContainer c;
  c.FLinePrefix = "<";
  c.FLineSuffix = ">";
  ASSERT_TRUE(c.LoadFromFile(Path("a.txt")));
  ASSERT_EQ(c.Count(), 4);
  EXPECT_EQ(c.Line(0)->FLine, "<one>");
  EXPECT_EQ(c.Line(2)->FLine, "<three>");
  EXPECT_EQ(c.Line(3)->FLine, "<\x82\xA0>");  // trailing NUL trimmed as a control byte
  EXPECT_EQ(c.FileName(), Path("a.txt"));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ContainerTest, LoadReportsMissingAndUnreadableFiles) {
  TLineContainer c;
  EXPECT_FALSE(c.LoadFromFile(Path("none.txt")));
  c.FLoadMissing = true;
  EXPECT_FALSE(c.LoadFromFile(Path("none.txt")));
  const std::string q = "\"" + Path("none.txt") + "\"";
  EXPECT_EQ(messages_, (std::vector<std::string>{
                           Sjis("TCustomContainer.LoadFromFile Error\r\r") + q + " is not Found.",
                           Sjis("TCustomContainer.LoadFromFile Error\r\r") + q +
                               Sjis(" の読み込みに失敗しました")}));
}

TEST_F(ContainerTest, WholeFileMakesOneItemPerFile) {
  Write("b.dat", "x\r\ny\r\n");
  Write("a.dat", "z");
  Write("c.txt", "w");
  fs::create_directory(dir_ / "d.dat");
  TLineContainer c;
  c.FWholeFile = true;
  std::vector<std::string> order{"b.any"};
  c.LoadFromFolder(&order, dir_.string(), ".dat");
  ASSERT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Line(0)->FLine, Path("b.dat"));
  EXPECT_EQ(c.Line(1)->FLine, Path("a.dat"));
}

TEST_F(ContainerTest, SaveWritesCrLfLinesAndReportsFailures) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  c.AddItem(std::make_unique<TLineItem>("\x82\xA0"));
  c.SaveToFile(Path("out.txt"));
  EXPECT_EQ(Read("out.txt"), "a\r\n\x82\xA0\r\n");
  c.SaveToFile(Path("missing/out.txt"));
  fs::create_directory(dir_ / "sub.dat");
  c.SaveToFile(Path("sub.dat"));
  c.Line(0)->FPath = "";
  c.SaveItemToFile(c.Line(0));
  c.Line(1)->FPath = Path("item.txt");
  c.SaveItemToFile(c.Line(1));
  EXPECT_EQ(Read("item.txt"), "\x82\xA0\r\n");
  const std::string heading = Sjis("TCustomContainer.SaveToFile Error\r\r");
  EXPECT_EQ(messages_,
            (std::vector<std::string>{
                heading + "DB Folder : \"" + Path("missing") + "\" is not Found",
                heading + "\"" + Path("sub.dat") + "\"" + Sjis(" の保存に失敗しました"),
                heading + Sjis("_ContainerItem.GetDbFileName が有効な文字列を返しませんでした")}));
}

}  // namespace
}  // namespace tavrin
