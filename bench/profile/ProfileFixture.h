#pragma once

#include <filesystem>
#include <memory>

class AppState;

// The configurations the profile benchmarks read and write: a freshly reset one and the
// largest the program can hold (every key a macro of 799 steps, every list 50 such entries).
std::unique_ptr<AppState> benchConfiguration(bool maximal);

// A file of that name in the temporary folder.
std::filesystem::path benchScratch(const char *name);

// Our profile of a configuration, and a copy whose root pugixml accepts, in the temporary
// folder.
void prepareProfileFiles(bool maximal, std::filesystem::path &ours, std::filesystem::path &theirs);
