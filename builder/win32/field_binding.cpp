// The named-field binding: what the answers are asked about, and their answer put into the
// controls as a person would put it.
#include "builder/win32/sheet_dialog.h"

#include <algorithm>
#include <cstdlib>

namespace vandrel::builder::win32 {

namespace {

ui::Field field(ui::Field::Kind kind, const std::string& name, const std::string& label) {
  ui::Field f;
  f.kind = kind;
  f.name = name;
  f.label = label;
  return f;
}

bool sameAnswer(const ui::Field& a, const ui::Field& b) {
  return a.value == b.value && a.checked == b.checked && a.selected == b.selected;
}

}  // namespace

// ---- colour swatch ----

void ColourSwatch::setColour(std::uint32_t colour) {
  colour_ = colour & 0x00ffffffu;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

// ---- field binding ----

void FieldBinding::text(const std::string& name, const std::string& label, Control edit) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = windowText(find(edit));
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(edit);
                      if (!isClass(control, "ComboBox")) {
                        SetWindowTextA(control,
                                       f.value.c_str());  // the edit tells EN_CHANGE itself
                        return;
                      }
                      // A typed text that names a list item chooses that item.
                      LRESULT row = SendMessageA(control, CB_FINDSTRINGEXACT, WPARAM(-1),
                                                 reinterpret_cast<LPARAM>(f.value.c_str()));
                      if (row != CB_ERR && readList(control).items[std::size_t(row)] == f.value) {
                        selectRow(control, int(row));
                      } else {
                        SendMessageA(control, CB_SETCURSEL, WPARAM(-1), 0);
                        SetWindowTextA(control, f.value.c_str());
                        notifyParent(control, CBN_EDITCHANGE);
                      }
                    }});
}

void FieldBinding::colour(const std::string& name, const std::string& label, ColourSwatch* swatch) {
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = std::to_string(swatch->colour());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      unsigned long v = std::strtoul(f.value.c_str(), &end, 0);
                      if (!f.value.empty() && end && *end == '\0' && v <= 0xffffffu &&
                          v != swatch->colour()) {
                        swatch->setColour(std::uint32_t(v));
                        if (swatch->changed) swatch->changed(swatch->colour());
                      }
                    }});
}

void FieldBinding::number(const std::string& name, const std::string& label, Control edit) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      HWND control = find(edit);
                      if (HWND upDown = upDownOf(control)) {
                        BOOL failed = FALSE;
                        int value = int(SendMessageA(upDown, UDM_GETPOS32, 0,
                                                     reinterpret_cast<LPARAM>(&failed)));
                        f.value = std::to_string(value);
                      } else {
                        f.value = windowText(control);
                      }
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      long v = std::strtol(f.value.c_str(), &end, 10);
                      if (f.value.empty() || !end || *end != '\0') return;
                      HWND control = find(edit);
                      if (HWND upDown = upDownOf(control)) {
                        int low = 0, high = 0;
                        SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                     reinterpret_cast<LPARAM>(&high));
                        v = std::clamp<long>(v, std::min(low, high), std::max(low, high));
                      }
                      SetWindowTextA(control, std::to_string(v).c_str());
                    }});
}

void FieldBinding::check(const std::string& name, const std::string& label, Control box) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Check, name, label);
                      f.checked = SendMessageA(find(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(box);
                      bool now = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
                      SendMessageA(control, BM_SETCHECK, f.checked ? BST_CHECKED : BST_UNCHECKED,
                                   0);
                      if (now != f.checked) notifyParent(control, BN_CLICKED);
                    }});
}

void FieldBinding::chosen(const std::string& name, const std::string& label,
                          std::function<std::string()> current,
                          std::function<void(const std::string&)> choose) {
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = current();
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (!f.value.empty() && f.value != current()) choose(f.value);
                    }});
}

void FieldBinding::radios(const std::string& name, const std::string& label,
                          std::vector<Control> buttons) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      f.selected = -1;
                      for (std::size_t i = 0; i < buttons.size(); ++i) {
                        HWND button = find(buttons[i]);
                        f.items.push_back(windowText(button));
                        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                          f.selected = int(i);
                      }
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (f.selected < 0 || f.selected >= int(buttons.size())) return;
                      for (std::size_t i = 0; i < buttons.size(); ++i) {
                        SendMessageA(find(buttons[i]), BM_SETCHECK,
                                     int(i) == f.selected ? BST_CHECKED : BST_UNCHECKED, 0);
                      }
                      notifyParent(find(buttons[std::size_t(f.selected)]), BN_CLICKED);
                    }});
}

void FieldBinding::choice(const std::string& name, const std::string& label, Control list,
                          const std::string& none) {
  auto find = find_;
  int shift = none.empty() ? 0 : 1;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      ListRows rows = readList(find(list));
                      if (shift) f.items.push_back(none);
                      f.items.insert(f.items.end(), rows.items.begin(), rows.items.end());
                      f.selected = rows.selected + shift;
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(list);
                      int row = f.selected - shift;
                      if (row >= -1 && row < int(readList(control).items.size()))
                        selectRow(control, row);
                    }});
}

std::vector<ui::Field> FieldBinding::fields() const {
  std::vector<ui::Field> out;
  for (const Bound& b : bound_) out.push_back(b.read());
  return out;
}

void FieldBinding::drive(const std::vector<ui::Field>& answer,
                         const std::vector<ui::Field>& asked) const {
  for (const Bound& b : bound_) {
    std::string name = b.read().name;
    auto was = std::find_if(asked.begin(), asked.end(),
                            [&](const ui::Field& f) { return f.name == name; });
    for (const ui::Field& f : answer) {
      // A field the answer left as asked keeps what the controls show now: an earlier field
      // (a file chosen) may have changed it.
      if (f.name == name && (was == asked.end() || !sameAnswer(f, *was))) b.write(f);
    }
  }
}

}  // namespace vandrel::builder::win32
