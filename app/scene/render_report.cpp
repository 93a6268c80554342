#include "app/scene/render_report.h"

#include "app/scene/povray_platform.h"
#include "fs/path_ops.h"
#include "fs/text_encoding.h"

namespace {

std::u16string CannotRender(Placing placing) {
  return placing == Placing::Sentence ? u"Cannot render" : u"cannot render";
}

std::u16string Number(int64_t value) { return TextFromUtf8(std::to_string(value)); }

}  // namespace

std::u16string PovRayMissingText(const std::u16string& program, Placing placing) {
  if (program.find_first_of(u"/\\") != std::u16string::npos) {
    return CannotRender(placing) + u": " + program + u": no such program";
  }
  return CannotRender(placing) + u": no " + program + u" found on PATH (" + kPovRayInstallHint + u")";
}

std::u16string SceneTooNewText(int major, int minor, Placing placing) {
  return CannotRender(placing) + u": POV-Ray " + Number(major) + u"." + Number(minor) +
         u" cannot read the scene for POV-Ray 3.8";
}

std::u16string RenderFailureText(const RenderResult& result, const std::u16string& program, Placing placing) {
  switch (result.outcome) {
    case RenderOutcome::Rendered:
    case RenderOutcome::Stopped:
      return {};
    case RenderOutcome::ProgramMissing:
      return PovRayMissingText(program, placing);
    case RenderOutcome::NotStarted:
      return CannotRender(placing) + u": cannot run " + program + u": " + SystemErrorText(result.system_error);
    case RenderOutcome::Failed:
      return CannotRender(placing) + u" " + result.path + u": POV-Ray failed (exit status " +
             Number(result.exit_status) + u")";
    case RenderOutcome::NoPicture:
      return CannotRender(placing) + u" " + result.path + u": POV-Ray wrote no whole PNG picture of the size asked for";
    case RenderOutcome::NotWritten:
      return AccessFailureText(Access::Write, result.path, result.system_error, placing);
  }
  return {};
}
