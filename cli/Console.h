// The console: output as written, and secrets read without echo.
#ifndef VANTREL_CLI_CONSOLE_H
#define VANTREL_CLI_CONSOLE_H

#include <string>

namespace cli {

// Standard output and error written byte for byte (CSV lines end in CRLF
// of their own; the C library must not add a CR to each LF).
void UseBinaryOutput();

// One line of standard input, without its line end. At a console the prompt
// goes to standard error and what is typed is not echoed. Empty at the end
// of the input.
std::string ReadSecret(const char* prompt);

// Prints text and flushes: a script reading the pipe sees each line at once.
void Out(const std::string& text);
void Err(const std::string& text);

}  // namespace cli

#endif  // VANTREL_CLI_CONSOLE_H
