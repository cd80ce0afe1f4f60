// Helpers shared by the Windows tests: scratch folders, file contents, and
// the program file under test.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/work_item.h"
#include "util/path.h"

// The Windows form of a path of the build machine (Wine maps / to Z:).
std::string HostPath(const char* unixPath);
// A fresh, empty folder under the system's temporary folder; removed by the
// destructor with everything in it.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    // path() joined with a relative name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// An environment variable of this process (which the programs it starts
// inherit) set to a value, or removed with null, for as long as it lives.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::string old_;
    bool had_;
};

// The program's path for a test's path written in code page 932 (the
// tests' narrow literals are), and back; what code page 932 cannot hold
// comes back as '?'.
Path P(const std::string& cp932);
std::string Cp932(const Path& path);

// The file functions below take either; any name and any length.
bool WriteBytes(const Path& path, const std::string& bytes);
bool WriteBytes(const std::string& path, const std::string& bytes);
// The whole file, or "<missing>" when it cannot be read.
std::string ReadBytes(const Path& path);
std::string ReadBytes(const std::string& path);
bool MakeFolder(const Path& path);
bool MakeFolder(const std::string& path);
// Starts the program with the whole command line (UTF-16) in the folder (or
// the current one, when empty) and waits for its exit code; a program still
// running after timeoutMs is ended. 1000: it could not be started; 1001: it
// did not end in time.
DWORD RunAndWait(const Path& program, const Path& commandLine, const Path& folder = Path(),
                 DWORD timeoutMs = 60000);

// Removes a tree; read-only and hidden files included.
void RemoveTree(const Path& path);
void RemoveTree(const std::string& path);

// A folder at least `length` code units long below base, made of nested
// folders with names of fifty characters (no name the file system cannot
// hold); empty when one of them cannot be made.
Path MakeDeepFolder(const Path& base, std::size_t length);

// A work item a test holds, freed as the program frees items.
struct FreeWorkItem {
    void operator()(WorkItem* item) const { std::free(item); }
};
using HeldItem = std::unique_ptr<WorkItem, FreeWorkItem>;
// MakeWorkItem (classified) for paths in code page 932.
HeldItem MakeHeldItem(const std::string& source, const std::string& destination);
