#include "util/error_texts.h"

#include <cerrno>
#include <cstring>

namespace tavrin {

namespace {

struct TErrorText {
  int Error;
  const char* English;
  const char* Japanese;
};

// The English words are glibc's.
constexpr TErrorText kErrorTexts[] = {
    {ENOENT, "No such file or directory", "ファイルまたはフォルダーが見つかりません"},
    {EACCES, "Permission denied", "アクセスが拒否されました"},
    {EISDIR, "Is a directory", "ファイルではなくフォルダーです"},
    {ENOTDIR, "Not a directory", "パスの途中がフォルダーではありません"},
    {EPIPE, "Broken pipe", "出力先のパイプが閉じられました"},
    {EBADF, "Bad file descriptor", "ストリームが開かれていません"},
    {EINVAL, "Invalid argument", "引数が正しくありません"},
    {EIO, "Input/output error", "入出力エラーが発生しました"},
    {ENOSPC, "No space left on device", "ディスクの空き容量が不足しています"},
    {ENOMEM, "Cannot allocate memory", "メモリが不足しています"},
    {EMFILE, "Too many open files", "開いているファイルが多すぎます"},
    {ENAMETOOLONG, "File name too long", "ファイル名が長すぎます"},
    {EROFS, "Read-only file system", "読み取り専用のファイルシステムです"},
    {EFBIG, "File too large", "ファイルが大きすぎます"},
    {EAGAIN, "Resource temporarily unavailable", "一時的に利用できません"},
};

}  // namespace

std::string ErrorText(int error, TLanguage language) {
  for (const TErrorText& t : kErrorTexts)
    if (t.Error == error) return InLanguage(language, t.English, t.Japanese);
  const std::string system = std::strerror(error);
  return language == TLanguage::Japanese ? "システムエラー（" + system + "）" : system;
}

}  // namespace tavrin
