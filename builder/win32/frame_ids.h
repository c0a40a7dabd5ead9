// The identifiers of the builder frame's windows and controls (10000-10999): the MDI client,
// the toolbar, the status bar, the tree control of a document window, and the first command
// the MDI client gives the Window menu's document items.
#pragma once

namespace vandrel::builder::win32::ids {

constexpr int MdiClient = 10001;
constexpr int Toolbar = 10002;
constexpr int StatusBar = 10003;
constexpr int StatusProgress = 10004;
constexpr int Tree = 10005;
// The Window menu's items for the open documents: 10100, 10101, ... (the MDI client's own).
constexpr int FirstDocumentWindow = 10100;

}  // namespace vandrel::builder::win32::ids
