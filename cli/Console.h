// The console: output as written, and secrets read without echo.
#ifndef VANTREL_CLI_CONSOLE_H
#define VANTREL_CLI_CONSOLE_H

#include <string>

namespace cli {

// Standard output and error written byte for byte (CSV lines end in CRLF
// of their own; the C library must not add a CR to each LF).
void UseBinaryOutput();

// True when standard input is a console, where a person types.
bool InputIsConsole();

// One line of standard input into line, without its line end (LF and any
// CRs before it); the rest, blanks included, is kept. At a console the prompt
// goes to standard error and what is typed is not echoed. False at the end of
// the input: no line was given.
bool ReadSecret(const std::string& prompt, std::string& line);

// Prints text and flushes: a script reading the pipe sees each line at once.
void Out(const std::string& text);
void Err(const std::string& text);

}  // namespace cli

#endif  // VANTREL_CLI_CONSOLE_H
