// Plain text rules behind the title, the About box and the library check.
// No Win32 here, so every rule is tested natively.
#ifndef VANTREL_VERSION_VERSIONTEXT_H
#define VANTREL_VERSION_VERSIONTEXT_H

#include <cstddef>
#include <string>

namespace version {

extern const char kProductName[];  // "Vantrel Config"

// Splits text in place at one delimiter character as strtok would (empty
// tokens are skipped, each token end becomes a zero byte) and reads the first
// three tokens as numbers. Each number is stored as soon as it is found, also
// when fewer than three tokens follow. True when three tokens were found.
bool SplitVersion(char* text, int* first, int* second, int* third, char delimiter);

// The library's FileVersion text: split at '.', and when that does not give
// three numbers, split what the first pass left at ','.
bool SplitFileVersion(char* text, int* first, int* second, int* third);

// The tool works with library versions 1.1.x only.
bool IsSupportedLibraryVersion(int first, int second);

// "1, 4, 0, 0" -> "Vantrel Config v1.4.0": blanks removed, commas made dots,
// the last number dropped.
std::string MainWindowTitle(const std::string& productVersion);

// The About box's two lines.
std::string AboutVersionLine(const std::string& productVersion);
std::string AboutLegalLine(const std::string& legalCopyright);

// "\StringFileInfo\llllcccc\key" with lower-case digits, for the reader.
std::string StringValueKey(unsigned short language, unsigned long codePage, const char* key);

// The FileVersion key of the library check: the file's own translation when it
// has exactly one (a 4-byte value), else the user's language with code page
// 04B0. Upper-case digits.
std::string FileVersionKey(const void* translation, std::size_t translationBytes,
                           unsigned short userLanguage);

// Copies a queried string value into a buffer of size bytes: whole when it
// fits, else its first size - 1 characters; always zero-terminated, and never
// reads past length bytes of value even when they hold no terminator.
void CopyVersionValue(char* buffer, std::size_t size, const char* value, std::size_t length);

// fileName in the folder of modulePath (C:\Tool\tool.exe gives C:\Tool\zova.dll);
// just fileName when modulePath has no folder.
std::string SiblingPath(const std::string& modulePath, const char* fileName);

}  // namespace version

#endif  // VANTREL_VERSION_VERSIONTEXT_H
