// From the launcher's argument vector to the text that follows "msiexec.exe"
// on the installer command line, and the account for a start with a logon.
#pragma once

#include <string>
#include <string_view>

#include "installer/credentials.h"

// " /i Tolmo.msi ": the package, named without a directory, so that the
// installer finds it in the current directory.
inline constexpr std::string_view packageArguments = " /i Tolmo.msi ";

// True for an argument whose first eight bytes are "/USUARIO" in any mix of
// letter cases.
bool IsLogonArgument(std::string_view argument);

// Appends one blank and `argument` to `arguments`, in the form msiexec reads
// back as the same single argument. An argument with a blank or a tab and no
// double quote is quoted: NAME="value" for a property assignment (NAME not
// empty and free of blanks, tabs and quotes), else "argument" whole. Every
// other argument, the empty one included, is appended byte for byte.
void AppendPassedOnArgument(std::string& arguments, std::string_view argument);

// Walks elements 1 to count-1 of the argument vector in order. Every argument
// that is no logon argument is appended to `arguments`. A logon argument is
// never passed on; when it holds an "=" and a ";", it replaces the three
// credential strings and sets the logon-requested flag:
//   /USUARIO[ignored]=user@domain;password
// The account part lies between the first "=" and the first ";" (empty when
// the ";" comes first), the password is everything after the first ";", and
// the first "@" of the account part divides user name from domain; without
// one the domain is ".". A logon argument lacking "=" or ";" is dropped.
void BuildInstallerArguments(int count, const char* const* vector, std::string& arguments,
                             Credentials& credentials);
