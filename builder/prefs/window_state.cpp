// The "BackMDI" group: each colour as two keys, its high and low 16-bit halves.
#include "builder/prefs/window_state.h"

#include <QSettings>

#include "builder/prefs/preferences_store.h"

namespace vandrel::builder::prefs {

namespace {

long long readNumber(QSettings& s, const char* key, long long def) {
  QVariant value = s.value(QString::fromLatin1(key));
  if (!value.isValid()) return def;
  bool ok = false;
  long long n = value.toString().trimmed().toLongLong(&ok);
  return ok ? n : def;
}

std::uint32_t readColour(QSettings& s, const char* high, const char* low, std::uint32_t def) {
  long long h = readNumber(s, high, def / 65536u);
  long long l = readNumber(s, low, def % 65536u);
  // Colours hold 24 bits: halves outside their range are the defaults' halves.
  if (h < 0 || h > 255 || l < 0 || l > 65535) return def;
  return std::uint32_t(h * 65536 + l);
}

void writeColour(QSettings& s, const char* high, const char* low, std::uint32_t colour) {
  s.setValue(high, qlonglong(colour / 65536u));
  s.setValue(low, qlonglong(colour % 65536u));
}

}  // namespace

// The toolbar layout: group "BarState", one value.
constexpr const char* kBarStateKey = "BarState/Layout";

WindowState readWindowState(QSettings& s) {
  WindowState w;
  s.beginGroup(kWindowGroup);
  w.top = int(readNumber(s, "top", w.top));
  w.left = int(readNumber(s, "left", w.left));
  w.width = int(readNumber(s, "width", w.width));
  w.height = int(readNumber(s, "height", w.height));
  w.status = int(readNumber(s, "Status", w.status));
  w.kind = int(readNumber(s, "kind", w.kind));
  w.posX = int(readNumber(s, "posX", 0));
  w.posY = int(readNumber(s, "posY", 0));
  w.firstColour = readColour(s, "topH", "topL", w.firstColour);
  w.secondColour = readColour(s, "bottomH", "bottomL", w.secondColour);
  w.gradDir = int(readNumber(s, "GradDir", 1)) != 0 ? 1 : 0;
  QVariant bitmap = s.value("bitmap");
  if (bitmap.isValid()) w.bitmap = bitmap.toString().toLatin1().toStdString();
  s.endGroup();
  QByteArray bars = s.value(kBarStateKey).toByteArray();
  w.barState.assign(bars.constData(), std::size_t(bars.size()));
  return w;
}

void writeWindowState(QSettings& s, const WindowState& w) {
  s.beginGroup(kWindowGroup);
  s.setValue("top", w.top);
  s.setValue("left", w.left);
  s.setValue("width", w.width);
  s.setValue("height", w.height);
  s.setValue("Status", w.status);
  s.setValue("kind", w.kind);
  s.setValue("posX", w.posX);
  s.setValue("posY", w.posY);
  writeColour(s, "topH", "topL", w.firstColour);
  writeColour(s, "bottomH", "bottomL", w.secondColour);
  s.setValue("GradDir", w.gradDir);
  s.setValue("bitmap", QString::fromLatin1(w.bitmap.data(), qsizetype(w.bitmap.size())));
  s.setValue("occX", w.occX);
  s.setValue("occY", w.occY);
  writeColour(s, "backH", "backL", w.backColour);
  s.endGroup();
  if (!w.barState.empty()) s.setValue(kBarStateKey, QByteArray(w.barState.data(), qsizetype(w.barState.size())));
}

}  // namespace vandrel::builder::prefs
