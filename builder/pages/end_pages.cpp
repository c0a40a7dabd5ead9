// The "End of Install" and "Web favorites" pages.
#include "builder/pages/end_pages.h"

#include <algorithm>

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::pages {

void CEndSetDlg::fill(const EndOfInstall& e) {
  reboot = std::clamp(e.reboot, 0, 2);
  launch = e.launch;
  edit.clear();
  selected = -1;
}

bool CEndSetDlg::add() {
  // A line of blanks would become an empty command: it is not added.
  std::string line(text::trimLeading(edit));
  if (line.empty()) return false;
  launch.push_back(line);
  edit.clear();
  return true;
}

bool CEndSetDlg::remove() {
  if (selected < 0 || selected >= int(launch.size())) return false;
  launch.erase(launch.begin() + selected);
  selected = -1;
  return true;
}

void CEndSetDlg::pick(int line) {
  if (line < 0 || line >= int(launch.size())) return;
  selected = line;
  edit = launch[std::size_t(line)];
}

void CWebUrlDlg::fill(const WebSettings& w) {
  startUrl = w.startUrl;
  rows.clear();
  // The two lists are kept in step; a shorter URL list leaves the last names without URL.
  for (std::size_t i = 0; i < w.favoriteNames.size(); ++i) {
    rows.emplace_back(w.favoriteNames[i], i < w.favoriteUrls.size() ? w.favoriteUrls[i] : "");
  }
  nameEdit.clear();
  urlEdit.clear();
  selected = -1;
}

bool CWebUrlDlg::add(ui::Interaction& ui) {
  std::string name(text::trimLeading(nameEdit));
  std::string url(text::trimLeading(urlEdit));
  if (name.empty() || url.empty()) {
    ui.beep();
    return false;
  }
  auto same = std::find_if(rows.begin(), rows.end(),
                           [&name](const auto& row) { return text::equalsNoCase(row.first, name); });
  if (same != rows.end()) {
    same->second = url;
  } else {
    rows.insert(rows.begin(), {name, url});
    selected = -1;
  }
  nameEdit.clear();
  urlEdit.clear();
  return true;
}

bool CWebUrlDlg::remove(ui::Interaction& ui) {
  if (selected < 0 || selected >= int(rows.size())) {
    ui.beep();
    return false;
  }
  rows.erase(rows.begin() + selected);
  selected = -1;
  return true;
}

void CWebUrlDlg::pick(int row) {
  if (row < 0 || row >= int(rows.size())) return;
  selected = row;
  nameEdit = rows[std::size_t(row)].first;
  urlEdit = rows[std::size_t(row)].second;
}

std::vector<std::string> CWebUrlDlg::columns() { return stringItems(sid::WebColumns, 2); }

EndSheet::EndSheet(const CScriptDoc& doc) {
  end.fill(doc.endOfInstall);
  web.fill(doc.web);
}

void EndSheet::ok(CScriptDoc& doc) const {
  doc.endOfInstall.reboot = end.reboot;
  doc.endOfInstall.launch = end.launch;
  doc.web.startUrl = web.startUrl;
  doc.web.favoriteNames.clear();
  doc.web.favoriteUrls.clear();
  for (const auto& [name, url] : web.rows) {
    doc.web.favoriteNames.push_back(name);
    doc.web.favoriteUrls.push_back(url);
  }
  doc.setModifiedFlag();
}

}  // namespace vandrel::builder::pages
