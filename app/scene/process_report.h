#pragma once
// What a scene run is told as, built once for both programs: the window adds the rows to
// its image list (and shows a failure in a message too), the batch program prints them
// after its name.
#include <string>
#include <vector>

#include "app/scene/access_failure.h"
#include "app/scene/process_command.h"

enum class ReportKind {
  Failure,    // nothing was written or the scene cannot be read back: told in the system's words
  Cancelled,  // the scan was stopped: whether an earlier scene is kept
  Written,    // how many images the scene lists, and where it is
  Warning,    // what the scene lacks or cannot show
  Hint,       // files passed over that may have been meant
};

struct ReportRow {
  ReportKind kind;
  std::u16string text;
};

// The rows that tell what a run did, in order: the failure, the cancellation, or the
// count of images written followed by the warnings and the hint that apply; none for an
// empty selection. Each a sentence ("Cannot read …", "12 images written to …",
// "Warning: …"), or worded to follow a program's name ("cannot read …", "wrote 12
// images to …", "warning: …").
std::vector<ReportRow> ProcessReport(const ProcessResult& result, Placing placing);

// The rows that close the window's image list after a run: the report's sentences.
std::vector<std::u16string> ProcessSummaryRows(const ProcessResult& result);

// The failure the window also shows in a message: which file and why it could not be
// written or read back. Empty when there is nothing to tell.
std::u16string ProcessFailureText(const ProcessResult& result);
