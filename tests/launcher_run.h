// Runs the whole launcher against the fake platform, as Setup.exe would run:
// the application object is constructed, the framework's entry point runs it
// with the given arguments, and the object is destroyed.
#pragma once

#include <string>
#include <vector>

#include "app/instala_app.h"
#include "framework/entry.h"

// An argument vector as the run time hands it over: the program's name, the
// arguments, and a null element.
class ArgumentVector {
public:
    explicit ArgumentVector(std::vector<std::string> arguments) : strings_(std::move(arguments))
    {
        strings_.insert(strings_.begin(), "Setup.exe");
        for (const std::string& s : strings_) {
            pointers_.push_back(s.c_str());
        }
        pointers_.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(strings_.size()); }
    const char* const* Values() const { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<const char*> pointers_;
};

inline int RunLauncher(const ArgumentVector& arguments)
{
    CInstalaApp app;
    return AfxWinMain(arguments.Count(), arguments.Values());
}

inline int RunLauncher(std::vector<std::string> arguments)
{
    return RunLauncher(ArgumentVector(std::move(arguments)));
}
