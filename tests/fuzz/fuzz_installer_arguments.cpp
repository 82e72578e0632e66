// libFuzzer target: BuildInstallerArguments checked against an oracle of its
// own on arbitrary argument vectors, in a single-byte and a double-byte ANSI
// code page.
//
// Input layout (see DecodeInput): the first byte picks the code page, odd for
// code page 932 and even for a single-byte one; the rest is the argument
// vector after the program's name, every argument ended by a NUL byte, with
// the bytes after the last NUL forming one more argument. So "" and "0" hold
// no argument, "0\0" one empty argument, "0x\0\0y" the three arguments x, ""
// and y, and "1/USUARIO=\x83\x40;pw" one argument read in code page 932.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "installer/credentials.h"
#include "installer/installer_arguments.h"
#include "tests/allocation_failure.h"
#include "tests/fake_platform.h"

// The recording fake pauses the unit tests' allocation failures around its own
// calls. The fuzzer makes no allocation fail, so its pause does nothing, and
// operator new stays the sanitizer's own, which also checks that every block
// is freed the way it was allocated.
fake::AllocationPause::AllocationPause() {}
fake::AllocationPause::~AllocationPause() {}

namespace {

struct Input {
    bool codePage932 = false;
    std::vector<std::string> arguments;
};

Input DecodeInput(const std::uint8_t* data, std::size_t size)
{
    Input input;
    if (size == 0) {
        return input;
    }
    input.codePage932 = (data[0] & 1) != 0;
    std::string argument;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            input.arguments.push_back(argument);
            argument.clear();
        } else {
            argument.push_back(static_cast<char>(data[i]));
        }
    }
    if (!argument.empty()) {
        input.arguments.push_back(argument);
    }
    return input;
}

// --- The oracle: what the builder must produce, worked out here without the
// launcher's code. ------------------------------------------------------------

bool IsLeadByte932(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// `text` with every byte that does not start a whole character replaced by
// NUL (which no argument holds): the second byte of a double-byte character,
// and a lead byte left without its second byte at the end. A plain search in
// the result finds only signs that are characters of their own.
std::string SignsOnly(const std::string& text, bool codePage932)
{
    std::string signs = text;
    if (!codePage932) {
        return signs;
    }
    for (std::size_t i = 0; i < signs.size(); ++i) {
        if (IsLeadByte932(text[i])) {
            if (i + 1 == signs.size()) {
                signs[i] = '\0';
            } else {
                signs[++i] = '\0';
            }
        }
    }
    return signs;
}

bool IsLogon(const std::string& argument)
{
    static const char upper[] = "/USUARIO";
    static const char lower[] = "/usuario";
    if (argument.size() < 8) {
        return false;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        if (argument[i] != upper[i] && argument[i] != lower[i]) {
            return false;
        }
    }
    return true;
}

bool HasBlankOrTab(const std::string& text)
{
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            return true;
        }
    }
    return false;
}

// The argument as it must stand on the command line. Blanks, tabs and quotes
// are looked for byte by byte, as the launcher does: none of them is ever the
// second byte of a double-byte character in a real code page (second bytes
// start at 0x40), so there a byte and a character walk agree.
std::string PassedOnForm(const std::string& argument, bool codePage932)
{
    if (!HasBlankOrTab(argument) || argument.find('"') != std::string::npos) {
        return argument;
    }
    const std::size_t equals = SignsOnly(argument, codePage932).find('=');
    if (equals != std::string::npos && equals > 0 && !HasBlankOrTab(argument.substr(0, equals))) {
        return argument.substr(0, equals + 1) + '"' + argument.substr(equals + 1) + '"';
    }
    return '"' + argument + '"';
}

struct Expected {
    std::string passedOn;
    bool logonRequested = false;
    std::string userName;
    std::string domain;
    std::string password;
};

Expected Predict(const Input& input)
{
    Expected expected;
    for (const std::string& argument : input.arguments) {
        if (!IsLogon(argument)) {
            expected.passedOn += ' ' + PassedOnForm(argument, input.codePage932);
            continue;
        }
        const std::string signs = SignsOnly(argument, input.codePage932);
        const std::size_t equals = signs.find('=');
        const std::size_t semicolon = signs.find(';');
        if (equals == std::string::npos || semicolon == std::string::npos) {
            continue;
        }
        // The last well-formed logon argument wins.
        expected.logonRequested = true;
        expected.password = argument.substr(semicolon + 1);
        const std::size_t at = signs.find('@', equals + 1);
        if (semicolon < equals) {
            expected.userName.clear();
            expected.domain = ".";
        } else if (at == std::string::npos || at > semicolon) {
            expected.userName = argument.substr(equals + 1, semicolon - equals - 1);
            expected.domain = ".";
        } else {
            expected.userName = argument.substr(equals + 1, at - equals - 1);
            expected.domain = argument.substr(at + 1, semicolon - at - 1);
        }
    }
    return expected;
}

// --- Checks -------------------------------------------------------------------

std::string Printable(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            shown += escaped;
        }
    }
    return shown;
}

void Require(bool holds, const char* what, const std::string& actual, const std::string& expected)
{
    if (holds) {
        return;
    }
    std::fprintf(stderr, "property broken: %s\n  got:      [%s]\n  expected: [%s]\n", what,
                 Printable(actual).c_str(), Printable(expected).c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Input input = DecodeInput(data, size);

    fake::Reset();
    if (input.codePage932) {
        fake::UseCodePage932();
    }

    // Every argument in a block of its own, exactly as long as the argument
    // and its NUL, so that the address sanitizer stops any read past its end.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<const char*> vector{"Setup.exe"};
    for (const std::string& argument : input.arguments) {
        blocks.push_back(std::make_unique<char[]>(argument.size() + 1));
        argument.copy(blocks.back().get(), argument.size());
        vector.push_back(blocks.back().get());
    }
    vector.push_back(nullptr);

    const std::string prefix = "msiexec.exe /i Tolmo.msi ";
    std::string arguments = prefix;
    Credentials credentials;
    BuildInstallerArguments(static_cast<int>(vector.size() - 1), vector.data(), arguments, credentials);

    const Expected expected = Predict(input);
    // The whole string at once: every passed-on argument in order, in its form,
    // and nothing of any logon argument.
    Require(arguments == prefix + expected.passedOn, "argument string", arguments, prefix + expected.passedOn);
    Require((credentials.logonRequested != FALSE) == expected.logonRequested, "logon flag",
            credentials.logonRequested ? "set" : "clear", expected.logonRequested ? "set" : "clear");
    Require(credentials.userName == expected.userName, "user name", credentials.userName, expected.userName);
    Require(credentials.domain == expected.domain, "domain", credentials.domain, expected.domain);
    Require(credentials.password == expected.password, "password", credentials.password, expected.password);
    return 0;
}
