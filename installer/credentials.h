// The account for a start with a logon, as a /USUARIO argument gave it.
#pragma once

#include <windows.h>

#include <string>

#include "installer/secure_wipe.h"

struct Credentials {
    std::string userName;
    std::string domain;  // "." when the argument named none
    std::string password;
    BOOL logonRequested = FALSE;  // set by a well-formed logon argument, never cleared

    Credentials() = default;
    // A password is not copied around: one copy, wiped when it is dropped.
    Credentials(const Credentials&) = delete;
    Credentials& operator=(const Credentials&) = delete;
    ~Credentials() { SecureWipe(password); }
};
