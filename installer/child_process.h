// The handles of a started child process.
#pragma once

#include <windows.h>

#include "framework/unique_handle.h"

// Owns both handles and closes them when it goes out of scope: the process
// handle first, then the thread handle.
class ChildProcess {
public:
    explicit ChildProcess(const PROCESS_INFORMATION& started) noexcept
        : process_(started.hProcess), thread_(started.hThread)
    {
    }
    ~ChildProcess()
    {
        process_.reset();
        thread_.reset();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE Process() const noexcept { return process_.get(); }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
};
