#pragma once
#include <string>

// Text for the person who started the program. A GUI program has no console
// of its own: the text goes to standard output (or error) where it leads
// somewhere (a console, a file, a pipe, the shell that ran Wine), else to the
// console of the program that started this one (AttachConsole), else into a
// message box.
namespace console {

// What a text is: a report (standard output; a box with the information or
// the warning sign) or an error (standard error; a box with the error sign).
enum class Kind { Information, Warning, Error };

// False when there is neither a standard handle nor a parent's console.
bool write(const std::string& text, Kind kind);

// write(), or a message box with the text when it has nowhere to go.
void tell(const std::string& text, Kind kind);

}  // namespace console
