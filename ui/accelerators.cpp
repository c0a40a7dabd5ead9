// The keyboard accelerators of labels, and the wizard frame's buttons giving way to a page's.
#include "ui/accelerators.h"

#include <algorithm>
#include <cctype>

namespace vandrel::ui {

namespace {

// The label without the "&" that marks its accelerator; shown ampersands ("&&") stay.
std::string withoutAccelerator(const std::string& label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    return label.substr(0, i) + label.substr(i + 1);
  }
  return label;
}

}  // namespace

std::optional<char> acceleratorOf(std::string_view label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;  // a shown ampersand
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(label[i + 1])));
  }
  return std::nullopt;
}

std::vector<char> sharedAccelerators(const std::vector<std::string>& labels) {
  std::vector<char> seen, shared;
  for (const std::string& label : labels) {
    std::optional<char> key = acceleratorOf(label);
    if (!key) continue;
    bool before = std::find(seen.begin(), seen.end(), *key) != seen.end();
    if (before && std::find(shared.begin(), shared.end(), *key) == shared.end()) shared.push_back(*key);
    seen.push_back(*key);
  }
  return shared;
}

std::vector<std::string> pageControlLabels(const Page& page) {
  std::vector<std::string> labels;
  for (const Field& field : page.fields) {
    if (field.kind == Field::Kind::Radio) {
      labels.insert(labels.end(), field.items.begin(), field.items.end());
    } else if (field.kind != Field::Kind::CheckList) {
      labels.push_back(field.label);  // a check list's items are rows of a list, not controls
    }
  }
  labels.insert(labels.end(), page.actions.begin(), page.actions.end());
  return labels;
}

std::vector<std::string> shownLabels(const Page& page) {
  std::vector<std::string> labels = pageControlLabels(page);
  labels.push_back(kBackLabel);
  for (const std::string* button : {&page.next, &page.finish, &page.cancel}) {
    if (!button->empty()) labels.push_back(*button);
  }
  return labels;
}

void settleFrameAccelerators(Page& page) {
  std::vector<std::string> taken = pageControlLabels(page);
  taken.push_back(kBackLabel);
  for (std::string* button : {&page.next, &page.finish, &page.cancel}) {
    std::optional<char> key = acceleratorOf(*button);
    if (!key) continue;
    bool used = std::any_of(taken.begin(), taken.end(),
                            [&](const std::string& label) { return acceleratorOf(label) == key; });
    if (used) {
      *button = withoutAccelerator(*button);
    } else {
      taken.push_back(*button);
    }
  }
}

}  // namespace vandrel::ui
