// Helpers shared by the Windows tests: scratch folders, file contents, and
// the program file under test.
#pragma once

#include <windows.h>

#include <string>

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

bool WriteBytes(const std::string& path, const std::string& bytes);
// The whole file, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool MakeFolder(const std::string& path);
// Removes a tree; read-only and hidden files included.
void RemoveTree(const std::string& path);
