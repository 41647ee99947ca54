#include "app/batch_texts.h"

#include <iterator>

#include "app/command_texts.h"
#include "util/cp932.h"
#include "util/text_encoding.h"

namespace tavrin {

namespace {

static_assert(kPlainUtf8Sequences == 8, "the usage texts state the number");

constexpr const char* kEnglishUsage =
    "Usage: tavrin-batch all|similar|map|normalize [options] [FILE...]\n"
    "\n"
    "Reads the FILEs in order as one input (none, or \"-\": standard input; a file's\n"
    "last line ends at the file's end) and its lines as the program reads the\n"
    "clipboard (lines end at CR, LF or CR LF; a quoted cell spanning two lines is\n"
    "joined; blank lines are dropped), runs one command\n"
    "and writes to standard output exactly the text that\n"
    "[コピー] would put on the clipboard: one line per listed row, ended by CR LF,\n"
    "with a TAB and the count after the text. The status-bar summary goes to\n"
    "standard error as one line. An empty result writes nothing.\n"
    "\n"
    "Commands:\n"
    "  all       [全データ]: every distinct line with its count\n"
    "  similar   [類字抽出]: only the lines that have a differently written partner\n"
    "  map       after [類字抽出], one line per variant: variant TAB canonical TAB\n"
    "            count CR LF (the canonical spelling of a group is its most\n"
    "            frequent line; on a tie the most standard one: a full company\n"
    "            form, no half-width kana, no compatibility character, standard\n"
    "            kanji; then the one that occurs first); a text with a TAB or a\n"
    "            quote is a quoted cell, as a spreadsheet writes it\n"
    "  normalize the input unchanged except that every variant line becomes its\n"
    "            canonical spelling: same rows, same line breaks (a spelling that\n"
    "            would join a line next to it is written as a quoted two-line\n"
    "            cell, which reads back as the one row)\n"
    "\n"
    "Options (the program's defaults apply without them):\n"
    "  --no-zenkaku           all: merge lines that differ in width or kana kind\n"
    "  --no-upper             all: merge lines that differ in case\n"
    "  --trim                 remove the blanks around each line before counting\n"
    "  --no-sort              keep the order of first occurrence\n"
    "  --no-hyphen            keep the hyphen and the long-vowel mark apart\n"
    "  --no-hyphen-terminate  do not ignore a trailing hyphen or long-vowel mark\n"
    "  --no-count             copy the texts without their counts\n"
    "  --fold=KIND[,KIND...]  similar, map, normalize: also join lines that differ in\n"
    "                         these kinds of variants, none by default, every one\n"
    "                         with all: kanji (kanji forms: 渡邊/渡辺, 髙/高, 佐々木/佐佐木),\n"
    "                         compat (compatibility characters: ①/1, ㍻/平成, ㈱/(株)),\n"
    "                         space (blanks inside the line and middle dots),\n"
    "                         symbol (dashes, tildes, quotes; ー between digits),\n"
    "                         kana (ヰ/イ, ゝ ゞ; ヴァイオリン/バイオリン and the other\n"
    "                         listed words across ヴ/ブ, ぢ/じ, づ/ず, を/お), company (株式会社/\n"
    "                         (株)/㈱/カ) at the start of a line, likewise at its end;\n"
    "                         the written-out forms and ㈱ inside it too),\n"
    "                         number (一丁目/1丁目, 第一回/第1回, 十二月/12月 before a\n"
    "                         counter; 3ヶ月/3か月/3箇月; 1丁目2番3号/1-2-3; ℡/TEL),\n"
    "                         okurigana (申込/申し込み, 引越し業者/引っ越し業者, 子ども/子供:\n"
    "                         the words of a table, inside a line too)\n"
    "  --explain              map: a fourth column, after a TAB, with the kinds of\n"
    "                         difference from the canonical spelling, joined by \"、\"\n"
    "                         (辞書 for a spelling a rule of --dict gives)\n"
    "  --dict=FILE            similar, map, normalize: the user's own rules from FILE\n"
    "                         (may be given more than once, read in order): one rule\n"
    "                         a line, fields separated by TAB, in UTF-8, UTF-16 with\n"
    "                         a BOM or CP932, recognised as input files are; a line\n"
    "                         that starts with \"#\" is a comment. \"正規 TAB 変種...\":\n"
    "                         one group, the first spelling its canonical one, and a\n"
    "                         line that folds to any of them joins it. \"!甲 TAB 乙\":\n"
    "                         甲 and 乙 never in one group; lines that fold to 乙\n"
    "                         follow 乙. The rules hold over every fold, kind and\n"
    "                         frequency, a later line over an earlier one. A line\n"
    "                         with one field, an empty field or a NUL stops the run\n"
    "                         with status 2, naming the file and the line\n"
    "  --encoding=ENC         the input's encoding: auto (the default), cp932, utf8,\n"
    "                         utf16le or utf16be. auto reads each file in its own\n"
    "                         encoding: the one its byte order mark names; else,\n"
    "                         for a file not all ASCII, UTF-8 or CP932, whichever\n"
    "                         reading gives the likelier characters (kana, kanji,\n"
    "                         half-width kana in runs and letters in words, against\n"
    "                         scattered letters of other scripts and unassigned\n"
    "                         codes). A file likelier UTF-8 that is cut inside its\n"
    "                         last character, or invalid after at least 8 valid\n"
    "                         UTF-8 multi-byte characters, is refused. A later\n"
    "                         file's byte order mark is no text. The output is in\n"
    "                         the encoding of the first file that has text and\n"
    "                         shows one (a BOM or a byte above 0x7F; else CP932),\n"
    "                         with a BOM when that file has one\n"
    "  --utf8                 the same as --encoding=utf8\n"
    "  --help                 show this text\n"
    "  --version              show the program's version\n"
    "\n"
    "Messages, this text and the summary are in Japanese when the user's language\n"
    "is (LC_ALL, LC_MESSAGES or LANG on Linux, the display language on Windows).\n"
    "\n"
    "Exit status: 0 on success (an empty result included), 2 on bad arguments or\n"
    "a dictionary that cannot be read or has a malformed line (nothing is written),\n"
    "1 when reading (a missing file, input not valid in its encoding, cut inside\n"
    "its last character or holding a NUL character), running or writing fails.\n";

constexpr const char* kJapaneseUsage =
    "使い方: tavrin-batch all|similar|map|normalize [オプション] [ファイル...]\n"
    "\n"
    "指定したファイルを順に一つの入力として読み込みます（指定がないときや \"-\" の\n"
    "ときは標準入力。各ファイルの最後の行はファイルの終わりで区切ります）。行の\n"
    "区切り方は本体がクリップボードを読むときと同じです（改行は CR、LF、CR LF。\n"
    "2 行にまたがる引用符付きのセルは 1 行につなぎ、空行は読み飛ばします）。\n"
    "コマンドを一つ実行し、[コピー] でクリップボードに入るのと同じテキストを\n"
    "標準出力に書き出します。一覧の 1 行が出力の 1 行になり、文字列のあとに\n"
    "TAB と個数が続き、行末は CR LF です。ステータスバーの集計は 1 行で標準エラー\n"
    "出力に書き出します。結果が空のときは何も書き出しません。\n"
    "\n"
    "コマンド:\n"
    "  all       [全データ]: 重複を除いたすべての行とその個数\n"
    "  similar   [類字抽出]: 表記の異なる相手がある行だけ\n"
    "  map       [類字抽出] のあと、表記ゆれ 1 件につき 1 行を書き出します: 表記ゆれ\n"
    "            TAB 正規の表記 TAB 個数 CR LF（グループの正規の表記は最も多く\n"
    "            現れた行。同数のときは最も標準的な表記（省略しない会社の表記、\n"
    "            半角カナなし、互換文字なし、標準の字体）、それも同じなら先に\n"
    "            現れた行）。TAB や引用符を含む文字列は\n"
    "            表計算ソフトと同じく引用符で囲んだセルにします\n"
    "  normalize 表記ゆれの行だけを正規の表記に置き換え、ほかは入力のまま書き出し\n"
    "            ます。行の数も改行もそのままです（隣の行とつながってしまう表記は\n"
    "            引用符付きの 2 行のセルとして書き、読み直すと元の 1 行になります）\n"
    "\n"
    "オプション（指定しなければ本体の既定の設定で動きます）:\n"
    "  --no-zenkaku           all: 全角/半角、ひらがな/カタカナだけが違う行をまとめる\n"
    "  --no-upper             all: 大文字/小文字だけが違う行をまとめる\n"
    "  --trim                 数える前に各行の前後の空白を取り除く\n"
    "  --no-sort              最初に現れた順に並べる\n"
    "  --no-hyphen            ハイフンと長音記号を区別する\n"
    "  --no-hyphen-terminate  末尾のハイフンや長音記号を無視しない\n"
    "  --no-count             個数を付けずに文字列だけを書き出す\n"
    "  --fold=KIND[,KIND...]  similar、map、normalize: 指定した種類の揺れだけが違う\n"
    "                         行も同じとみなす。既定ではどれも使わず、all ですべて\n"
    "                         使う: kanji (異体字: 渡邊/渡辺、髙/高、佐々木/佐佐木)、\n"
    "                         compat (互換文字: ①/1、㍻/平成、㈱/(株))、\n"
    "                         space (行の中の空白と中点)、\n"
    "                         symbol (ダッシュ、波ダッシュ、引用符。数字の間の ー)、\n"
    "                         kana (ヰ/イ、ゝ ゞ。ヴ/ブ、ぢ/じ、づ/ず、を/お は\n"
    "                         ヴァイオリン/バイオリン など一覧にある語だけ)、company (行頭の\n"
    "                         株式会社/(株)/㈱/カ。行末も同様。書き下した形と ㈱ は行の中も)、\n"
    "                         number (助数詞の前の 一丁目/1丁目、第一回/第1回、十二月/12月。\n"
    "                         3ヶ月/3か月/3箇月。1丁目2番3号/1-2-3。℡/TEL)、\n"
    "                         okurigana (申込/申し込み、引越し業者/引っ越し業者、子ども/子供:\n"
    "                         表にある語。行の中も)\n"
    "  --explain              map: 4 列目（TAB のあと）に、正規の表記との違いの種類を\n"
    "                         「、」区切りで書き出す（--dict の規則による表記は 辞書）\n"
    "  --dict=FILE            similar、map、normalize: FILE にあるユーザーの規則を使う\n"
    "                         （何度でも指定でき、指定した順に読む）。1 行に規則を\n"
    "                         一つ書き、項目は TAB で区切る。文字コードは UTF-8、\n"
    "                         BOM 付きの UTF-16、CP932 のいずれかで、入力ファイルと\n"
    "                         同じく判別する。「#」で始まる行は注釈。\n"
    "                         「正規 TAB 変種...」: 一つの組にし、最初の表記を正規の\n"
    "                         表記とする。どれかと同じとみなされる行も組に加わる。\n"
    "                         「!甲 TAB 乙」: 甲と乙を同じ組にしない。乙と同じと\n"
    "                         みなされる行は乙に付く。規則はどの揺れの種類や個数よりも\n"
    "                         優先し、後の行が前の行より優先する。項目が一つの行、\n"
    "                         空の項目、NUL 文字があると、ファイル名と行番号を示して\n"
    "                         終了コード 2 で終わる\n"
    "  --encoding=ENC         入力の文字コード: auto（既定）、cp932、utf8、utf16le、\n"
    "                         utf16be のいずれか。\n"
    "                         auto では、ファイルごとにその文字コードで読みます。\n"
    "                         バイト順マーク (BOM) があればそれが示す文字コード、\n"
    "                         なければ ASCII だけではないファイルは UTF-8 と CP932 の\n"
    "                         うち、読んだ文字がよりありそうなほう（かな、漢字、続いた\n"
    "                         半角カナ、単語の中の文字がありそうで、ばらばらの他の\n"
    "                         文字体系の文字や未割り当てのコードはありそうにない）とします。\n"
    "                         UTF-8 のほうがありそうなファイルで、最後の文字が途中で\n"
    "                         切れているもの、または正しい UTF-8 のマルチバイト文字が\n"
    "                         8 個以上あったあとに不正なバイトがあるものはエラーにします。\n"
    "                         2 番目以降のファイルの先頭の BOM は文字として扱いません。\n"
    "                         出力は、文字があり文字コードを示す（BOM か 0x7F より大きい\n"
    "                         バイトがある）最初のファイルの文字コード（なければ CP932）で、\n"
    "                         そのファイルに BOM があれば BOM を付けます\n"
    "  --utf8                 --encoding=utf8 と同じ\n"
    "  --help                 この説明を表示する\n"
    "  --version              バージョンを表示する\n"
    "\n"
    "メッセージ、この説明、集計は、ユーザーの言語が日本語のとき日本語になります\n"
    "（Linux では LC_ALL、LC_MESSAGES、LANG、Windows では表示言語の設定）。\n"
    "\n"
    "終了コード: 成功したとき（結果が空のときも）は 0、引数が正しくないとき、\n"
    "辞書が読めないときや正しくない行があるとき（何も書き出しません）は 2、\n"
    "読み込み（ファイルがない、入力がその文字コードとして正しくない、最後の文字が\n"
    "途中で切れている、NUL 文字を含む）、処理、書き出しに失敗したときは 1。\n";

struct TText {
  TBatchText Id;
  const char* English;
  const char* Japanese;
};

constexpr TText kTexts[] = {
    {TBatchText::Usage, kEnglishUsage, kJapaneseUsage},
    {TBatchText::TryHelp, "Try 'tavrin-batch --help'.",
     "使い方は 'tavrin-batch --help' で確認してください。"},
    {TBatchText::UnknownCommand, "unknown command: %1", "コマンドが正しくありません: %1"},
    {TBatchText::NoOtherArgument, "%1 takes no other argument",
     "%1 はほかの引数と一緒には指定できません"},
    {TBatchText::NeedsValue, "%1 needs a value", "%1 には値を指定してください"},
    {TBatchText::UnknownKind, "unknown kind of variant: \"%1\"",
     "揺れの種類が正しくありません: \"%1\""},
    {TBatchText::UnknownEncoding, "unknown encoding: %1", "文字コードが正しくありません: %1"},
    {TBatchText::UnknownOption, "unknown option: %1", "オプションが正しくありません: %1"},
    {TBatchText::NoCommand, "no command given (all, similar, map or normalize)",
     "コマンド（all、similar、map、normalize のいずれか）を指定してください"},
    {TBatchText::FoldWithoutSimilar, "--fold applies to similar, map and normalize only",
     "--fold は similar、map、normalize でだけ指定できます"},
    {TBatchText::ExplainWithoutMap, "--explain applies to map only",
     "--explain は map でだけ指定できます"},
    {TBatchText::StandardInput, "standard input", "標準入力"},
    {TBatchText::StandardOutput, "standard output", "標準出力"},
    {TBatchText::InvalidText, "invalid %1 in line %2 at byte offset %3",
     "%2 行目のバイト位置 %3 に %1 として正しくないバイトがあります"},
    {TBatchText::NulCharacter, "NUL character in line %1 at byte offset %2",
     "%1 行目のバイト位置 %2 に NUL 文字があります"},
    {TBatchText::CutUtf8, "UTF-8 cut at the end in line %1 at byte offset %2",
     "%1 行目のバイト位置 %2 で UTF-8 の文字が途中で切れて終わっています"},
    {TBatchText::DictWithoutSimilar, "--dict applies to similar, map and normalize only",
     "--dict は similar、map、normalize でだけ指定できます"},
    {TBatchText::DictLine, "%1: line %2: %3", "%1: %2 行目: %3"},
    {TBatchText::DictInvalidText, "not valid text in the file's encoding",
     "ファイルの文字コードとして正しくないバイトがあります"},
    {TBatchText::DictNul, "NUL character", "NUL 文字があります"},
    {TBatchText::DictSingleField, "a rule needs two fields or more, separated by TAB",
     "規則には TAB で区切った二つ以上の項目が必要です"},
    {TBatchText::DictEmptyField, "empty field", "空の項目があります"},
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(TBatchText::Count), "one row per text");

constexpr bool InOrder() {
  for (std::size_t i = 0; i < std::size(kTexts); ++i)
    if (kTexts[i].Id != static_cast<TBatchText>(i)) return false;
  return true;
}
static_assert(InOrder(), "the rows in the order of TBatchText");

}  // namespace

std::string BatchText(TBatchText Text, TLanguage Language,
                      std::initializer_list<std::string_view> Args) {
  const TText& row = kTexts[static_cast<std::size_t>(Text)];
  const std::string_view pattern = InLanguage(Language, row.English, row.Japanese);
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char digit = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const std::size_t n = static_cast<std::size_t>(digit - '1');
    if (pattern[i] == '%' && digit >= '1' && digit <= '9' && n < Args.size()) {
      out += Args.begin()[n];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string BatchSummary(TLanguage Language, bool AllData, long long TotalCount, std::size_t Rows) {
  if (Language == TLanguage::Japanese) return cp932::ToUtf8(SummaryText(AllData, TotalCount, Rows));
  if (Rows == 0) return "No data to show";
  return std::to_string(Rows) + (AllData ? " distinct line" : " similar line") +
         (Rows == 1 ? "" : "s") + " out of " + std::to_string(TotalCount) +
         (TotalCount == 1 ? " line" : " lines");
}

}  // namespace tavrin
