#include "util/messages.h"

#include <cstdio>
#include <utility>

#include "util/cp932.h"

namespace tavrin {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

bool ShowMessage(MessageKind kind, const std::string& text) {
  if (Handler()) return Handler()(kind, text);
  std::string shown = cp932::ToUtf8(text);
  for (char& c : shown)
    if (c == '\r') c = '\n';
  std::fprintf(stderr, "%s\n", shown.c_str());
  return false;
}

}  // namespace tavrin
