#include "app/scene/access_failure.h"

#include "fs/path_ops.h"

std::u16string AccessFailureText(Access access, const std::u16string& path, int system_error, Placing placing) {
  const bool sentence = placing == Placing::Sentence;
  const char16_t* verb = access == Access::Read ? (sentence ? u"Cannot read " : u"cannot read ")
                                                : (sentence ? u"Cannot write " : u"cannot write ");
  return verb + path + u": " + SystemErrorText(system_error);
}
