// Texts of the closing dialog by status code.
#include "setup/closing_dialog.h"

#include "setup/common/setup_state.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {
namespace {

// The outcome text of each code that replaces the dialog's own lower text.
struct Outcome {
  int code;
  unsigned lower;
};
constexpr Outcome kOutcomes[] = {
    {status::Incomplete, sid::OutcomeIncomplete},     {status::WindowsTooOld, sid::OutcomeWindowsTooOld},
    {status::Completed, sid::OutcomeCompleted},       {status::GroupsFailed, sid::OutcomeGroupsFailed},
    {status::NotIntel, sid::OutcomeNotIntel},         {status::CpuTooOld, sid::OutcomeCpuTooOld},
};

}  // namespace

ui::Closing closingDialog(int code, const std::string& appName, const script::StringTable& strings) {
  ui::Closing closing;
  closing.caption = appName;
  closing.code = code;
  closing.upper = strings.get(sid::ClosingUpper);
  closing.lower = strings.get(sid::ClosingLower);
  for (const Outcome& outcome : kOutcomes) {
    if (outcome.code == code) closing.lower = strings.get(outcome.lower);
  }
  if (code == status::Completed) closing.upper = strings.format(sid::HeadlineCompleted, appName);
  closing.text = closing.upper + "\n" + closing.lower;
  return closing;
}

}  // namespace vandrel::setup
