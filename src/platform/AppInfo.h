#pragma once
// What the program knows of itself, and the folders it keeps beside itself.

#include <string>

namespace vantorel::platform {

struct VersionInfo {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

class AppInfo {
  public:
    virtual ~AppInfo() = default;

    // The folder that holds the settings file and the "save" folder: the
    // executable's folder, without a trailing separator unless it is a root
    // ("C:\" or "/"). Never empty.
    virtual std::string path() = 0;

    // The executable's file name without its extension ("vantorel").
    virtual std::string exeName() = 0;

    // The application title ("Vantorel").
    virtual std::string title() = 0;

    // The version record of the program (1.3.5).
    virtual VersionInfo version() = 0;

    // The platform's path separator: '\\' on Windows, '/' elsewhere.
    virtual char pathSeparator() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when anything (file or folder) of that name exists.
    virtual bool exists(const std::string& path) = 0;

    // Creates the folder. Returns false when it cannot be created.
    virtual bool createFolder(const std::string& path) = 0;
};

// Messages for whoever started the program (standard error), for problems
// the user should learn of even with every error box switched off.
class Diagnostics {
  public:
    virtual ~Diagnostics() = default;
    virtual void warn(const std::string& message) = 0;
};

}  // namespace vantorel::platform
