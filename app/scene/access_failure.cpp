#include "app/scene/access_failure.h"

#include "fs/path_ops.h"

std::u16string AccessFailureText(Access access, const std::u16string& path, int system_error, Placing placing) {
  const std::u16string words = placing == Placing::Sentence ? u"Cannot " : u"cannot ";
  return words + (access == Access::Read ? u"read " : u"write ") + path + u": " + SystemErrorText(system_error);
}
