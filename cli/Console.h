// The console: output as written, secrets read without echo, the system's
// code page, and Ctrl+C.
#ifndef VANTREL_CLI_CONSOLE_H
#define VANTREL_CLI_CONSOLE_H

#include "cli/Encoding.h"

#include <string>

namespace cli {

// Standard output and error written byte for byte (CSV lines end in CRLF
// of their own; the C library must not add a CR to each LF).
void UseBinaryOutput();

// True when standard input is a console, where a person types.
bool InputIsConsole();

// One line of standard input into line, without its line end (LF and any
// CRs before it); the rest, blanks included, is kept. Input that starts with
// a UTF-8 byte order mark (a file saved by Notepad) is UTF-8: the mark is
// dropped and its lines are read in the system code page. At a console the
// prompt goes to standard error and what is typed is not echoed. False at
// the end of the input: no line was given.
bool ReadSecret(const std::string& prompt, std::string& line);

// Prints text and flushes: a script reading the pipe sees each line at once.
void Out(const std::string& text);
void Err(const std::string& text);

// The system's ANSI code page, which device texts and the console use.
const CodePage& SystemCodePage();

// From now on Ctrl+C, Ctrl+Break and the console's closing ask the program
// to stop (Interrupted() turns true); a second one ends it at once with
// kInterrupted.
void CatchInterrupts();
bool Interrupted();

}  // namespace cli

#endif  // VANTREL_CLI_CONSOLE_H
