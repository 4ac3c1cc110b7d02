#pragma once

// What tests need to know of the stand-in automation servers (standin_word.exe,
// standin_shell_windows.exe).
namespace standin {

// The stand-in word processor serves this class under the ProgID "Word.Application".
constexpr const wchar_t* kWordClassId = L"{2D675F1F-0B7C-4408-9B2E-A46D66781541}";
constexpr const wchar_t* kWordProgId = L"Word.Application";
// The stand-in collection of shell windows, unless its script names another class.
constexpr const wchar_t* kShellWindowsClassId = L"{590B91A1-81AD-41A6-A432-B15D551F453F}";

// Window classes of the stand-in word processor.
constexpr const wchar_t* kWordFrameClass = L"StandInWordFrame";
constexpr const wchar_t* kWordDocumentClass = L"StandInWordDocument";

// WM_COPYDATA commands to the stand-in word processor's frame (COPYDATASTRUCT::dwData); lpData
// holds a UTF-16 path, no NUL needed. Each returns the new document's window.
constexpr unsigned long kOpenDocument = 1;  // opens the file, as File > Open does
constexpr unsigned long kNewDocument = 2;   // a new unsaved document, "Document<n>"

// Exit code of /regserver and /unregserver when they worked.
constexpr int kRegistrationDone = 0;
// Exit code of a server that a test hook ended in the middle of a call.
constexpr int kDiedOnPurpose = 3;

}  // namespace standin
