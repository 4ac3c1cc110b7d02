#pragma once

// Messages that tests send to the frame of mditest.exe.
namespace mditest {

// wParam = milliseconds to stop answering messages (kHangForever: never answer again).
// Send it with SendNotifyMessage so the caller does not wait for it.
constexpr unsigned kHangMessage = 0x8000 + 1;  // WM_APP + 1
constexpr unsigned long kHangForever = 0xFFFFFFFFul;

// WM_COPYDATA commands (COPYDATASTRUCT::dwData); lpData holds a UTF-16 title, no NUL needed.
// Each returns the handle of the document concerned (0 when there is none).
constexpr unsigned long kAddDocument = 1;        // a new document with an icon; it becomes active
constexpr unsigned long kAddDocumentNoIcon = 2;  // a new document without an icon
constexpr unsigned long kRenameActiveDocument = 3;  // "Save As": the active document's new title

}  // namespace mditest
